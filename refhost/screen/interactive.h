// The reference host's interactive mode: the host's screens in a terminal,
// for a person to work with the plug-in as an office user would. Only the
// native build has it; elsewhere the host runs headless or scripted.
#pragma once

#include <functional>

#include "services/session.h"

namespace refhost {

// Whether this build has the screens and the host runs in a terminal
// (standard input and output both are one).
bool InteractiveAvailable();

// Shows the screens over a started plug-in until the user quits or
// stopRequested says so, then stops the plug-in. Returns the exit code.
int RunInteractive(PluginSession& session, const std::function<bool()>& stopRequested);

}  // namespace refhost
