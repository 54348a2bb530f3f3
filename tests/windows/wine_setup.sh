#!/usr/bin/env bash
# wine_setup.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The setup program under Wine, silently (/S /D=DIR):
#  - into a directory without the host's main module: exit code 2, a line
#    that says so, in English or (LANG=pl_PL.UTF-8) in Polish, nothing
#    installed;
#  - into a host directory (Merlox.dll: the name compares without case)
#    whose MERLOX.INI names port 0: the files are there, and the firewall
#    rules are added for 1338; run again after the port became 1339, the
#    setup replaces them with rules for 1339; the uninstaller removes the
#    files and the 1339 rules and leaves LOGS\ and the INI files;
#  - on Windows XP (Wine's version for this one program): exit code 2, a line
#    that names Vista, nothing installed.
# Wine's netsh keeps no rules, so the test reads the command lines the setup
# starts from Wine's process trace (WINEDEBUG=+process).
# Builds the setup program first when it is missing.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(dirname "$win")
run=$root/scripts/wine/run.sh
fail() { echo "wine_setup: $*" >&2; exit 1; }
command -v makensis >/dev/null || fail "makensis is missing (scripts/deps.sh win32 installs nsis)"
setups=("$build"/callerid-*-setup.exe)
if [ ! -f "${setups[0]}" ]; then
    (cd "$build" && cpack -G NSIS >/dev/null) || fail "cpack -G NSIS failed"
    setups=("$build"/callerid-*-setup.exe)
fi
setup=${setups[0]}
work=$(mktemp -d /tmp/callerid-setup-XXXXXX)
prefix=${WINEPREFIX:-/var/cache/callerid-wine/prefix}
regexe=$prefix/drive_c/windows/syswow64/reg.exe
[ -f "$regexe" ] || regexe=$prefix/drive_c/windows/system32/reg.exe
reg() { "$run" -t 60 "$regexe" "$@" >/dev/null 2>&1; }
appdefaults="HKCU\\Software\\Wine\\AppDefaults\\$(basename "$setup")"
trap 'reg delete "$appdefaults" /f || true; rm -rf "$work"' EXIT
windows() { local d="Z:${1//\//\\}"; echo "$d"; }
# The command lines the traced program started, unescaped.
started() { sed -n 's/.*CreateProcessInternalW app .* cmdline L"\(.*\)"$/\1/p' "$1" | sed 's/\\\(["\\]\)/\1/g'; }
# The arguments of every netsh run in a trace.
netsh_runs() { started "$1" | { grep -i 'netsh.exe"* advfirewall' || true; } | sed 's/^.*netsh.exe"* //'; }
installed=(callerid.dll callerid.exe INSTALACJA.md INSTALL.md datagram-format.md callerid-uninstall.exe)
[ ! -f "$root/docs/callerid-tool.md" ] || installed+=(callerid-tool.md)

# No host's main module: refused, with its reason on the standard error.
empty=$work/empty
mkdir -p "$empty"
printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >"$empty/MERLOX.INI"
# English on an English system, Polish on a Polish one.
for lang in C.UTF-8 pl_PL.UTF-8; do
    code=0
    LC_ALL=$lang "$run" -t 120 "$setup" /S "/D=$(windows "$empty")" 2>"$work/empty.err" || code=$?
    [ $code = 2 ] || fail "a silent install into a directory without MERLOX.DLL ended with $code, not 2"
    case $lang in
        C*) grep -q "holds no MERLOX.DLL" "$work/empty.err" ;;
        pl*) grep -q "nie ma pliku MERLOX.DLL" "$work/empty.err" ;;
    esac || fail "the refusal under LANG=$lang reads: $(cat "$work/empty.err")"
done
[ ! -e "$empty/callerid.dll" ] || fail "the refused install copied callerid.dll"

# Runs PROGRAM ARGS under Wine's process trace and compares the netsh runs
# with EXPECTED (one per line).
traced() {
    local what=$1 expected=$2; shift 2
    WINEDEBUG=+process "$run" -t 120 "$@" 2>"$work/trace" || fail "$what ended with $?"
    local netsh
    netsh=$(netsh_runs "$work/trace")
    [ "$netsh" = "$expected" ] || fail "$what ran netsh with:
$netsh
expected:
$expected"
}
add_rules() {
    echo "advfirewall firewall add rule name=\"Caller ID UDP $1 in\" dir=in action=allow protocol=UDP localport=$1 remoteip=localsubnet"
    echo "advfirewall firewall add rule name=\"Caller ID UDP $1 broadcast out\" dir=out action=allow protocol=UDP remoteport=$1 remoteip=255.255.255.255"
}
delete_rules() {
    echo "advfirewall firewall delete rule name=\"Caller ID UDP $1 in\""
    echo "advfirewall firewall delete rule name=\"Caller ID UDP $1 broadcast out\""
}

# A host directory with the office's data and port 0 (that is 1338) in its
# settings.
host=$work/host
mkdir -p "$host/LOGS/TELEFONY"
printf 'host' >"$host/Merlox.dll"
printf 'slots' >"$host/LOGS/TELEFONY/CLIP.DAT"
printf '[Ornitel]\r\nPytaj=1,4,0,0\r\n' >"$host/MERLOX.INI"
printf '[Ornitel]\r\nFilename=LOGS\\TELEFONY\\CLIP.DAT\r\n' >"$host/Ornitel.ini"
traced "the silent install" "$(add_rules 1338)" "$setup" /S "/D=$(windows "$host")"
for file in "${installed[@]}"; do [ -f "$host/$file" ] || fail "the setup did not install $file: $(ls "$host")"; done
cmp -s "$host/callerid.dll" "$win/callerid.dll" || fail "the installed DLL is not the built one"

# The station moves to port 1339 (with a space and a leading zero, as the
# host's own reader takes them); the setup run again replaces its rules.
printf '[Ornitel]\r\nPytaj=1,4,0, 01339\r\n' >"$host/MERLOX.INI"
traced "the silent install on port 1339" "$(delete_rules 1338; add_rules 1339)" "$setup" /S "/D=$(windows "$host")"

# _?= keeps the uninstaller in place, so that it ends before we look.
traced "the uninstaller" "$(delete_rules 1339)" "$host/callerid-uninstall.exe" /S "_?=$(windows "$host")"
rm -f "$host/callerid-uninstall.exe"   # run in place, it cannot remove itself
for file in "${installed[@]}"; do [ ! -e "$host/$file" ] || fail "the uninstaller left $file"; done
[ -z "$(ls "$host" | grep -iv '^\(merlox.dll\|merlox.ini\|ornitel.ini\|logs\)$')" ] || fail "the uninstaller left: $(ls "$host")"
[ "$(cat "$host/LOGS/TELEFONY/CLIP.DAT")" = slots ] || fail "the uninstaller touched LOGS\\"
[ -f "$host/MERLOX.INI" ] && [ -f "$host/Ornitel.ini" ] || fail "the uninstaller removed an INI file"

# Windows XP, for the setup program alone: refused before anything else.
old=$work/old
mkdir -p "$old"
cp "$host/Merlox.dll" "$host/MERLOX.INI" "$old/"
reg add "$appdefaults" /v Version /d winxp /f || fail "cannot set Wine's Windows version for the setup"
code=0
"$run" -t 120 "$setup" /S "/D=$(windows "$old")" 2>"$work/old.err" || code=$?
reg delete "$appdefaults" /f
[ $code = 2 ] || fail "the setup on Windows XP ended with $code, not 2"
grep -q "Windows Vista" "$work/old.err" || fail "the refusal on Windows XP names no Vista: $(cat "$work/old.err")"
[ ! -e "$old/callerid.dll" ] || fail "the setup installed on Windows XP"

echo "wine_setup: $(basename "$setup") refuses Windows XP and a directory without MERLOX.DLL, installs into the host's with rules for its port, and its uninstaller removes its files and those rules and keeps the office's data"
