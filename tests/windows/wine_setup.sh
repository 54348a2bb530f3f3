#!/usr/bin/env bash
# wine_setup.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The setup program under Wine: a silent install (/S /D=DIR) into a
# temporary host directory that already holds the office's data, the files
# are there, and the uninstaller removes them and leaves LOGS\ and the INI
# files in place. Builds the setup program first when it is missing.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(dirname "$win")
fail() { echo "wine_setup: $*" >&2; exit 1; }
command -v makensis >/dev/null || fail "makensis is missing (scripts/deps.sh win32 installs nsis)"
setups=("$build"/callerid-*-setup.exe)
if [ ! -f "${setups[0]}" ]; then
    (cd "$build" && cpack -G NSIS >/dev/null) || fail "cpack -G NSIS failed"
    setups=("$build"/callerid-*-setup.exe)
fi
setup=${setups[0]}
host=$(mktemp -d /tmp/callerid-setup-XXXXXX)
trap 'rm -rf "$host"' EXIT
mkdir -p "$host/LOGS/TELEFONY"
printf 'slots' >"$host/LOGS/TELEFONY/CLIP.DAT"
printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >"$host/MERLOX.INI"
printf '[Ornitel]\r\nFilename=LOGS\\TELEFONY\\CLIP.DAT\r\n' >"$host/Ornitel.ini"
windir="Z:${host//\//\\}"

"$root/scripts/wine/run.sh" -t 120 "$setup" /S "/D=$windir" || fail "the silent install ended with $?"
installed=(callerid.dll callerid.exe INSTALACJA.md INSTALL.md datagram-format.md callerid-uninstall.exe)
for file in "${installed[@]}"; do [ -f "$host/$file" ] || fail "the setup did not install $file: $(ls "$host")"; done
cmp -s "$host/callerid.dll" "$win/callerid.dll" || fail "the installed DLL is not the built one"

# _?= keeps the uninstaller in place, so that it ends before we look.
"$root/scripts/wine/run.sh" -t 120 "$host/callerid-uninstall.exe" /S "_?=$windir" || fail "the uninstaller ended with $?"
rm -f "$host/callerid-uninstall.exe"   # run in place, it cannot remove itself
for file in "${installed[@]}"; do [ ! -e "$host/$file" ] || fail "the uninstaller left $file"; done
[ "$(cat "$host/LOGS/TELEFONY/CLIP.DAT")" = slots ] || fail "the uninstaller touched LOGS\\"
[ -f "$host/MERLOX.INI" ] && [ -f "$host/Ornitel.ini" ] || fail "the uninstaller removed an INI file"
echo "wine_setup: $(basename "$setup") installs silently, and its uninstaller removes its files and keeps the office's data"
