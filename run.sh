#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the plug-in in the reference
# host with the current directory as the host's working directory.
# Extra arguments go to refhost (see `refhost --help`).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh" native >/dev/null
cmake --preset native -S "$here" >/dev/null
cmake --build --preset native -j "$(nproc)" >/dev/null
args=()
[ -t 1 ] || args+=(--headless)
exec "$here/build/native/bin/refhost" "${args[@]}" --dir "$PWD" "$@"
