#!/bin/bash
# deps.sh native|win32 [PREFIX] - idempotent installer of the Debian 12 packages the project needs (root).
#   native: compilers, CMake/Ninja, GoogleTest/GoogleMock, Google Benchmark, ncurses, tmux, iproute2,
#           python3, clang (+ libclang-rt-14-dev for sanitizers, when the archive has it)
#   win32:  all of the above + the MinGW-w64 i686 cross toolchain, unzip (the package check),
#           locales (the Polish locale the Wine toolkit test compiles for a Polish Windows),
#           nsis (the setup program, CPack's NSIS generator; python3 sets the OS version
#           in its PE header),
#           then scripts/wine/setup.sh
#           (Wine + prefix; WINEPREFIX or /var/cache/callerid-wine/prefix)
# Only missing packages are installed; `apt-get update` runs only when something is missing.
# A mirror in a bad state is survived where it can be (scripts/apt.sh).
set -euo pipefail
mode=${1:-}; shift || true   # remaining args go to wine/setup.sh (PREFIX)
say() { echo "deps: $*"; }
die() { echo "deps: ERROR: $*" >&2; exit 1; }
[[ $mode == native || $mode == win32 ]] || die "usage: $0 native|win32"
[ "$(id -u)" = 0 ] || die "must run as root"
command -v apt-get >/dev/null && command -v dpkg-query >/dev/null || die "needs a Debian system (apt-get, dpkg-query)"
export DEBIAN_FRONTEND=noninteractive
. "$(dirname "$0")/apt.sh"

want=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libncurses-dev tmux iproute2 python3 clang)
optional=(libclang-rt-14-dev)
[ $mode = native ] || want+=(g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev unzip nsis locales)

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }
available() { [ -n "$(apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: *//p' | grep -v '(none)')" ]; }

miss=() opt=()
for p in "${want[@]}"; do installed "$p" || miss+=("$p"); done
for p in "${optional[@]}"; do installed "$p" || opt+=("$p"); done
[ ${#miss[@]} = 0 ] || apt_update
for p in "${opt[@]}"; do   # optional: only if the archive has it (checked after any update)
    if available "$p"; then miss+=("$p")
    else say "skipping $p (not available)"; fi
done
if [ ${#miss[@]} = 0 ]; then
    say "all $mode packages present"
else
    apt_install "${miss[@]}"
fi

if [ $mode = win32 ]; then
    for t in i686-w64-mingw32-g++-posix i686-w64-mingw32-g++-win32 i686-w64-mingw32-objdump; do
        command -v $t >/dev/null || die "$t not found after install"
    done
    say "wine setup"; start=$SECONDS
    "$(dirname "$0")/wine/setup.sh" "$@" || die "scripts/wine/setup.sh failed"
    say "wine setup done in $((SECONDS - start)) s"
fi
say "OK ($mode)"
