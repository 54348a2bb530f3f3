#!/usr/bin/env bash
# Runs every test of the Windows build: the DLL's export table, the
# shipped binaries' imports against the Windows floor,
# then the reference host with the i686 plug-in under Wine. Each check has
# five minutes (a few seconds is usual), so a hang fails with its name.
#   run_all.sh WIN32_BIN_DIR NATIVE_BIN_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
win32=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
failed=0
for check in "$here"/check_exports.sh "$here"/check_imports.sh "$here"/wine_*.sh; do
    [ -f "$check" ] || continue
    name=$(basename "$check" .sh)
    if timeout --kill-after=10 300 "$check" "$win32" "$native"; then
        echo "PASS $name"
    else
        echo "FAIL $name"
        failed=1
    fi
done
exit $failed
