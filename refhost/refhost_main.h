// The refhost program, above the services and the screens: parses the
// command line, runs one plug-in session headless, scripted or on the
// screens, and returns the process's exit code. It lives in the MERLOX
// module (exported by name) so that main.cpp stays a one-line program.
#pragma once

namespace refhost {

extern "C" int RefhostMain(int argc, char** argv);

}  // namespace refhost
