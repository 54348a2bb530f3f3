#!/bin/bash
# setup.sh [PREFIX] - idempotent, headless Wine setup for running the Windows build's tests
# (Debian 12 amd64, as root). Installs wine/wine64/wine32:i386 (+ i386 foreign architecture),
# makes 32-bit ELF programs runnable (natively, or via qemu-i386 >= 8.1 from bookworm-backports
# registered in binfmt_misc when the kernel lacks 32-bit support), creates a win64 (WoW64) prefix
# that runs both i686 and x86-64 programs, and marks it ready only after a complete boot plus an
# exit-code check. ~20-30 s the first time, well under a second afterwards.
# PREFIX: first argument, else $WINEPREFIX, else /var/cache/callerid-wine/prefix.
# CALLERID_WINE_ARCH=win64 (default) | win32.
set -euo pipefail
PREFIX=${1:-${WINEPREFIX:-/var/cache/callerid-wine/prefix}} ARCH=${CALLERID_WINE_ARCH:-win64}
W32=/usr/lib/wine/wine W64=/usr/lib/wine/wine64 BF=/proc/sys/fs/binfmt_misc
say() { echo "wine-setup: $*"; }
die() { echo "wine-setup: ERROR: $*" >&2; exit 1; }
[[ $ARCH == win64 || $ARCH == win32 ]] || die "CALLERID_WINE_ARCH must be win64 or win32"
[ "$(id -u)" = 0 ] && [ "$(dpkg --print-architecture)" = amd64 ] || die "needs root on Debian amd64"
export DEBIAN_FRONTEND=noninteractive
. "$(dirname "$0")/../apt.sh"   # apt_update, apt_install: a mirror in a bad state is survived

# 1. 32-bit ELF support: native, or qemu-i386 >= 8.1 via binfmt_misc (7.2 is very slow under Wine)
tiny=$(mktemp); trap 'rm -f "$tiny"' EXIT   # 96-byte i386 ELF doing exit(42)
printf '\x7fELF\x01\x01\x01\0\0\0\0\0\0\0\0\0\x02\0\x03\0\x01\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0\0\0\0\0\x34\0\x20\0\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08\x60\0\0\0\x60\0\0\0\x05\0\0\0\0\x10\0\0\xbb\x2a\0\0\0\xb8\x01\0\0\0\xcd\x80' >"$tiny"
chmod +x "$tiny"
probe() {  # -> native | qemu VERSION | none
    local rc=0 v; "$tiny" 2>/dev/null || rc=$?
    [ $rc = 42 ] || { echo none; return; }
    v=$(QEMU_VERSION=1 "$tiny" 2>&1 | sed -n 's/^qemu-i386 version \([0-9.]*\).*/\1/p' | head -1 || true)
    echo "${v:+qemu }${v:-native}"
}
fast() { [ "$1" = native ] || { [ "${1%% *}" = qemu ] && dpkg --compare-versions "${1#qemu }" ge 8.1; }; }
st=$(probe); say "32-bit ELF: $st"
if ! fast "$st"; then
    inst=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
    if [ -z "$inst" ] || dpkg --compare-versions "${inst#*:}" lt 8.1; then
        bpo=/etc/apt/sources.list.d/bookworm-backports.sources   # same mirror as bookworm
        m=$(sed -n 's|^URIs:[[:space:]]*\([^[:space:]]*/debian/\?\)[[:space:]]*$|\1|p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 || true)
        if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d/ && [ -n "$m" ]; then
            say "adding bookworm-backports"
            printf 'Types: deb\nURIs: %s\nSuites: bookworm-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' "$m" >$bpo
            apt_reset
        fi
        apt_update
        if [[ $(apt-cache policy qemu-user) == *bookworm-backports* ]]; then apt_install -t bookworm-backports qemu-user
        elif [ -z "$inst" ]; then apt_install qemu-user; fi
    fi
    grep -qs " $BF " /proc/mounts || mount -t binfmt_misc binfmt_misc $BF || die "cannot mount binfmt_misc"
    # an F entry pins the qemu binary it was registered with: re-register after upgrades
    [ ! -e $BF/qemu-i386 ] || echo -1 >$BF/qemu-i386
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' \
        >$BF/register || die "cannot register qemu-i386 in binfmt_misc"
    st=$(probe); say "32-bit ELF now: $st"
    [ "${st%% *}" = qemu ] || die "no 32-bit ELF support ($st): 32-bit Wine cannot run here"
    fast "$st" || [ $ARCH = win64 ] || die "qemu < 8.1 hangs in win32 prefixes"
    fast "$st" || say "WARNING: qemu < 8.1: win64 prefix only, 32-bit crash handling broken"
fi

# 2. packages (wine32-preloader: ~0.4 s instead of ~45 s per 32-bit process under qemu)
[[ " $(dpkg --print-foreign-architectures | tr '\n' ' ') " == *" i386 "* ]] || { say "adding i386 architecture"; dpkg --add-architecture i386; apt_reset; }
miss=()
for p in wine wine64 wine32:i386 wine32-preloader:i386; do
    [ "$(dpkg-query -W -f='${Status}' $p 2>/dev/null)" = "install ok installed" ] || miss+=($p)
done
[ ${#miss[@]} = 0 ] || apt_install "${miss[@]}"
v=$($W64 --version 2>&1) && $W32 --version >/dev/null 2>&1 || die "wine loaders do not start: $v"

# 3. prefix, marked ready only after a complete wineboot + exit-code smoke test
export WINEPREFIX=$PREFIX WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
unset DISPLAY WAYLAND_DISPLAY
stamp="$ARCH $v"
if [ "$(cat "$PREFIX/.callerid-wine-ready" 2>/dev/null)" = "$stamp" ]; then say "prefix $PREFIX ready"; exit 0; fi
if [ -e "$PREFIX" ]; then
    [ -f "$PREFIX/system.reg" ] || [ -z "$(ls -A "$PREFIX")" ] || die "$PREFIX exists and is not a Wine prefix"
    say "removing incomplete prefix"; /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$PREFIX"
fi
say "creating $ARCH prefix $PREFIX"; setup_log=$(mktemp)
mkdir -p "$(dirname "$PREFIX")"; L=$W64; [ $ARCH = win64 ] || L=$W32
WINEARCH=$ARCH timeout 1200 $L wineboot -i </dev/null >"$setup_log" 2>&1 &&
    timeout 300 /usr/lib/wine/wineserver -w || { cat "$setup_log" >&2; die "wineboot -i failed"; }
rm -f "$setup_log"
check() {  # exit code must come through cmd.exe of each bitness
    local rc=0; timeout 300 $1 cmd.exe /c exit $2 </dev/null >/dev/null 2>&1 || rc=$?
    [ $rc = $2 ] || { /usr/lib/wine/wineserver -k 2>/dev/null; die "$1 cmd /c exit $2 gave $rc"; }
}
[ $ARCH = win32 ] || check $W64 7
check $W32 5
/usr/lib/wine/wineserver -k 2>/dev/null || true
echo "$stamp" >"$PREFIX/.callerid-wine-ready"
say "OK (WINEPREFIX=$PREFIX)"
