#!/usr/bin/env bash
# wine_toolkit.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# callerid.exe under Wine against the native callerid on the same
# directories: help, slots, log and doctor must print the same (apart from
# line ends, path separators and the program files' names), with the Polish
# letters in UTF-8 and paths with '\' only. Then the bad-input table and
# the two languages (tests/toolkit/) against callerid.exe.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/callerid-toolkit-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "wine_toolkit: $*" >&2; exit 1; }

port=$((20000 + RANDOM % 40000))
source "$root/tests/toolkit/fixture.sh"
plant_station "$work/sound" "1,4,0,$port"
plant_station "$work/broken" "1,12,0,$port"
head -c 1000 /dev/zero >"$work/broken/LOGS/TELEFONY/CLIP.DAT"

# run NAME ARGS...: both tools' output and exit code, normalised.
run() {
    local name=$1; shift
    local code
    code=0; (cd "$work" && "$native/callerid" --lang en "$@") >"$work/$name.native" 2>&1 || code=$?
    echo "exit $code" >>"$work/$name.native"
    code=0; (cd "$work" && "$root/scripts/wine/run.sh" -t 120 "$win/callerid.exe" --lang en "$@") >"$work/$name.wine" 2>&1 || code=$?
    echo "exit $code" >>"$work/$name.wine"
    cp "$work/$name.wine" "$work/$name.wine.raw"
    # Where the tool itself lies and what its neighbours are called differ by system.
    sed -i -e 's/\r$//' -e 's|\\|/|g' -e '/^OK      \(plug-in\|host program\): /d' "$work/$name.native" "$work/$name.wine"
    diff "$work/$name.native" "$work/$name.wine" >&2 || fail "callerid $* differs between native and Windows"
}
run help help
run slots slots sound/LOGS/TELEFONY/CLIP.DAT
run log log sound --date 01-03-2024
run doctor_sound doctor sound --date 01-03-2024
run doctor_broken doctor broken --date 01-03-2024

grep -q "Firma Łódź NIP:7790004561" "$work/slots.wine" || fail "slots: no Polish letters: $(cat "$work/slots.wine")"
grep -q "123-45-67-890!  OFFICE1 s=1       Firma Łódź" "$work/log.wine" || fail "log: no marked NIP and letters: $(cat "$work/log.wine")"
grep -q "^exit 0$" "$work/doctor_sound.wine" || fail "doctor found a problem in the sound directory: $(cat "$work/doctor_sound.wine")"
grep -q "option bits 12 hold unknown bits" "$work/doctor_broken.wine" || fail "doctor missed the bad Pytaj"
grep -q "is 1000 bytes, not 5620" "$work/doctor_broken.wine" || fail "doctor missed the short slot file"
grep -q "^exit 1$" "$work/doctor_broken.wine" || fail "doctor's exit code is not 1 for problems"
grep -q 'slot file: sound\\LOGS\\TELEFONY\\CLIP.DAT' "$work/doctor_sound.wine.raw" ||
    fail "doctor: a Windows path with another separator than '\\': $(grep 'slot file' "$work/doctor_sound.wine.raw")"

wine=("$root/scripts/wine/run.sh" -t 60 "$win/callerid.exe")
"$root/tests/toolkit/bad_input.sh" "${wine[@]}" || fail "callerid.exe mishandles bad input"
"$root/tests/toolkit/languages.sh" "${wine[@]}" || fail "callerid.exe mixes its languages"
echo "wine_toolkit: help, slots, log and doctor print the same under Wine as natively; bad input and both languages hold"
