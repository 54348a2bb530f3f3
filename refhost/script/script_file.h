// The refhost program's --script: the script file is read and parsed
// before the plug-in loads, and run once the plug-in has started.
#pragma once

#include <optional>
#include <string>

#include "script/script.h"
#include "services/session.h"

namespace refhost {

// The script, or nothing with the reason in error ("FILE:LINE: ...").
std::optional<Script> LoadScriptFile(const std::string& path, std::string& error);
// Runs the script with the session's actions; true when it passed.
bool RunScriptFile(Script script, PluginSession& session);

}  // namespace refhost
