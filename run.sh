#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the plug-in in the reference
# host with the current directory as the host's working directory.
# Extra arguments go to refhost (see `refhost --help`).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh" native >/dev/null
# CMake finds its presets in the current directory, so it builds from the
# project's; the host then runs in the caller's.
(cd "$here" && cmake --preset native >/dev/null && cmake --build --preset native -j "$(nproc)" >/dev/null)
# A first run in a directory gets settings with the day log on (option 4)
# and the UDP port 1338, so that every datagram that arrives is shown.
[ -e MERLOX.INI ] || printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >MERLOX.INI
args=(--show-log)
[ -t 1 ] || args+=(--headless)
exec "$here/build/native/bin/refhost" "${args[@]}" --dir "$PWD" "$@"
