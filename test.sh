#!/usr/bin/env bash
# Sets up what a fresh Debian 12 machine lacks, builds the native, sanitizer
# and Windows builds, and runs every test. Exits non-zero on any failure.
#   ./test.sh            everything
#   ./test.sh --native   the native build and its tests only
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
mode=${1:-all}

step() { printf '\n== %s\n' "$*"; }

step "dependencies"
if [ "$mode" = --native ]; then scripts/deps.sh native; else scripts/deps.sh win32; fi

step "native build"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"

step "native tests"
ctest --preset native -j "$jobs"

[ "$mode" = --native ] && exit 0

step "sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
step "sanitizer tests"
ctest --preset sanitize -j "$jobs"

# The tests in which two threads meet (slot file and settings shared by the
# listener and the user-interface thread, listener restarts and stops), and
# a short soak whose reference host runs instrumented too.
step "thread sanitizer build and tests (the tests where two threads meet)"
cmake --preset tsan >/dev/null
cmake --build --preset tsan -j "$jobs" --target unit_tests plugin_tests soak_tests
CALLERID_SOAK_DATAGRAMS=3000 ctest --preset tsan -j "$jobs" \
    -R 'StorageConcurrency|SlotTransaction|SharedSlotFile|WaitingCalls|HeldStation|FrozenStation|Listener|SocketFaults|NoticeAgainstRestarts|Soak|CallerIdWindow|ContractorSearch|HostRaces|WindowPorts|Senders'

step "fuzzing (libFuzzer, a few seconds per target from fuzz/corpus)"
fuzz/run.sh all 10

step "Windows build (i686)"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

step "Windows release package (cpack)"
tests/windows/check_package.sh build/win32

step "Windows tests (export table, Wine)"
export WINEPREFIX=${WINEPREFIX:-/var/cache/callerid-wine/prefix}
trap 'scripts/wine/run.sh --stop' EXIT
tests/windows/run_all.sh build/win32/bin build/native/bin

step "all tests passed"
