#!/usr/bin/env bash
# wine_window.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The caller-ID window and both hooks of the i686 plug-in in refhost.exe
# under Wine, played by one script (a walk through the window with edits,
# F5, F6, a radio button, a check box, ESC; Ctrl-F and Ctrl-Z in the NIP
# column; the search window with F1), and the same script in the native
# build. The slot files, the settings and what reached the clipboard and
# the suggestion must be the same. Leaving the window broadcasts a restart,
# so everything runs in a network namespace of its own where only loopback
# is up and the broadcast reaches nobody, with a wineserver of its own.
# KEEP=1 keeps the scratch directory.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/scripts/wine/run.sh"

# shellcheck source-path=SCRIPTDIR
source "$root/tests/windows/network_namespace.sh"
# The listener may bind after the window has closed, to the port typed in
# it: the restart that leaving broadcasts must not reach it in one run and
# miss it in the other, so it reaches nobody.
unroutable_broadcast=1
isolate_network wine_window "$@"

work=$(mktemp -d /tmp/callerid-wine-window-XXXXXX)
cleanup() { "$wine_run" --stop; [ -n "${KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "wine_window: $*" >&2; exit 1; }

cat >"$work/walk.script" <<'EOF'
action
expect input 0x410D "123-45-67-890"
window type 0x410B "48123"
window type 0x4116 "202"
window type 0x4115 "600300400"
window key F5
window key F6
expect input 0x4116 "202"
window key 2
window key P
window key 1
window type 0x4184 "1339"
window key ESC
expect closed 0x5002
expect clipboard "123-45-67-890"
table key Ctrl-F column 7
expect suggestion "123-45-67-890"
table key Ctrl-Z column 7
expect keys Home 0xBF00
search open
expect field 0 "123-45-67-890 (0:59)"
search key F1
expect suggestion "123-45-67-890"
search key ESC
EOF

# Slot 0: the call of 600100200 for 201, with a NIP, at 11:59:01.
field() { printf '%s' "$1"; head -c $(($2 - ${#1})) /dev/zero; }
seed() {
    mkdir -p "$1/LOGS/TELEFONY"
    { field "Firma NIP:1234567890" 500; field 600100200 21; field 201 21; field 01.03.2024 11; field 11:59:01 9
      head -c $((9 * 562)) /dev/zero; } >"$1/LOGS/TELEFONY/CLIP.DAT"
    printf '[Ornitel]\r\nPytaj=1,2,0,1338\r\n' >"$1/MERLOX.INI"
}

# run NAME COMMAND...: the script in a directory of its own; what reached
# the clipboard, the suggestion and the keys is kept from the console.
run() {
    local name=$1; shift
    local dir="$work/$name"
    mkdir -p "$dir"
    seed "$dir"
    (cd "$dir" && "$@" --headless --clock "2024-03-01 12:00:00" --script "$work/walk.script") \
        >"$dir/console.txt" 2>&1 || fail "$name: the script failed: $(tail -20 "$dir/console.txt")"
    tr -d '\r' <"$dir/console.txt" | grep -E '^(clipboard|suggestion|keys for the host):' >"$dir/handed.txt" || true
    for ini in MERLOX.INI Ornitel.ini; do tr -d '\r' <"$dir/$ini" >"$dir/$ini.txt"; done
}

run windows "$wine_run" -t 300 "$win/refhost.exe"
run native "$native/refhost"

w="$work/windows" n="$work/native"
cmp "$w/LOGS/TELEFONY/CLIP.DAT" "$n/LOGS/TELEFONY/CLIP.DAT" || fail "the slot files differ"
for file in MERLOX.INI.txt Ornitel.ini.txt handed.txt; do
    diff "$w/$file" "$n/$file" >&2 || fail "$file differs"
done

# Both runs agreeing is not enough: they must have done the right thing.
grep -qx 'Pytaj=1,3,0,1339' "$n/MERLOX.INI.txt" || fail "the settings are not 1,3,0,1339: $(cat "$n/MERLOX.INI.txt")"
[ "$(grep -c '^clipboard: "123-45-67-890"' "$n/handed.txt")" -eq 3 ] || fail "ESC, Ctrl-F and Ctrl-Z did not each copy the NIP"
slots="$n/LOGS/TELEFONY/CLIP.DAT"
bytes() { dd if="$slots" bs=1 skip="$1" count="$2" 2>/dev/null | tr -d '\0'; }
[ "$(bytes 500 21)" = 48123 ] && [ "$(bytes 521 21)" = 201 ] || fail "F5 did not save row 1"
[ "$(bytes $((562 + 500)) 21)" = 600300400 ] && [ "$(bytes $((562 + 521)) 21)" = 202 ] || fail "F5 did not save row 2"
echo "wine_window: the Windows and native builds ran the window and the hooks the same way"
