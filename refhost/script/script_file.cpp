// Loading and running the script file of the refhost program.
#include "script/script_file.h"

#include <fstream>
#include <sstream>

#include "plumbing/host.h"
#include "script/script_driver.h"

namespace refhost {

std::optional<Script> LoadScriptFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read the script " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseScript(text.str(), path, error);
}

bool RunScriptFile(Script script, PluginSession& session) {
    std::string name = script.name;
    ScriptContext context;
    context.action30010 = [&session](int32_t argument) { return session.Action30010(argument); };
    context.action30009 = [&session] { return session.Action30009(); };
    ScriptDriver driver(std::move(script), std::move(context));
    ScriptResult result = driver.Run();
    PrintLine(result.ok ? "refhost: script " + name + " passed" : "refhost: script " + name + " failed: " + result.error);
    return result.ok;
}

}  // namespace refhost
