#!/usr/bin/env bash
# wine_toolkit.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# callerid.exe under Wine against the native callerid on the same
# directories: help, slots, log and doctor must print the same (apart from
# line ends, path separators and the program files' names), with the Polish
# letters in UTF-8 and paths with '\' only. Then, on a Polish Windows
# (the pl_PL locale compiled for Wine): doctor, slots and log in folders
# with Polish letters in both languages, the host's settings taken from
# the program folder (port 1339), send's Mazovia bytes the same as the
# native tool's, a held port's holder named with Windows' commands, and
# log --follow into files. Then the bad-input table and the two languages
# (tests/toolkit/) against callerid.exe.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/callerid-toolkit-XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "wine_toolkit: $*" >&2; exit 1; }
# unwrap FILE: the tool's lines within 79 columns joined again, each line
# that goes on from the one above (it starts with blanks) with one blank,
# so that a path with a blank in it is looked for whole.
unwrap() {
    tr -d '\r' <"$1" | awk 'NR > 1 && /^ / { sub(/^ +/, " "); printf "%s", $0; next } NR > 1 { print "" } { printf "%s", $0 } END { print "" }' >"$1.joined"
    mv "$1.joined" "$1"
}

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
grep -q "OFFICE1 s=1: Firma Łódź" "$work/log.wine" && grep -q "123-45-67-890!$" "$work/log.wine" || fail "log: no marked NIP and letters: $(cat "$work/log.wine")"
grep -q "^exit 0$" "$work/doctor_sound.wine" || fail "doctor found a problem in the sound directory: $(cat "$work/doctor_sound.wine")"
grep -q "option bits 12 hold unknown bits" "$work/doctor_broken.wine" || fail "doctor missed the bad Pytaj"
grep -q "is 1000 bytes, not 5620" "$work/doctor_broken.wine" || fail "doctor missed the short slot file"
grep -q "^exit 1$" "$work/doctor_broken.wine" || fail "doctor's exit code is not 1 for problems"
grep -q 'slot file: sound\\LOGS\\TELEFONY\\CLIP.DAT' "$work/doctor_sound.wine.raw" ||
    fail "doctor: a Windows path with another separator than '\\': $(grep 'slot file' "$work/doctor_sound.wine.raw")"

# A Polish Windows: Wine takes its language and its ANSI code page (1250)
# from the locale, compiled here from the system's definitions.
mkdir -p "$work/locales"
localedef -i pl_PL -f UTF-8 "$work/locales/pl_PL.UTF-8" 2>/dev/null || [ -d "$work/locales/pl_PL.UTF-8" ] ||
    fail "cannot compile the pl_PL.UTF-8 locale (is the locales package installed?)"
polish() { (cd "$1" && shift && LOCPATH="$work/locales" LANG=pl_PL.UTF-8 LC_ALL=pl_PL.UTF-8 "$root/scripts/wine/run.sh" -t 60 "$@"); }

# Folders with Polish letters: the program folder holds the tool, the
# plug-in and the host's settings (port 1339); the data folder, where the
# doctor runs as the guide says, has none.
programs="$work/Program Księgowy" data="$work/Dane Łąka Żółw Śnieg"
mkdir -p "$programs"
cp "$win/callerid.exe" "$programs/"
: >"$programs/callerid.dll"; : >"$programs/MERLOX.DLL"
printf '[Ornitel]\r\nPytaj=1,4,0,1339\r\n' >"$programs/MERLOX.INI"
plant_station "$data" "1,4,0,1339"
rm "$data/MERLOX.INI"
# In Polish the doctor runs in the data folder from the program folder, as
# the guide has it; in English from above both, given the two folders.
polish "$data" "$programs/callerid.exe" --lang pl doctor --date 01-03-2024 >"$work/doctor.pl" 2>&1 || true
polish "$work" "$win/callerid.exe" --lang en doctor "Dane Łąka Żółw Śnieg" --program-dir "Program Księgowy" \
    --date 01-03-2024 >"$work/doctor.en" 2>&1 || true
for lang in pl en; do
    unwrap "$work/doctor.$lang"
    cp "$work/doctor.$lang" "$work/doctor.$lang.txt"
    grep -q 'Program Księgowy\\MERLOX.INI' "$work/doctor.$lang.txt" || fail "doctor ($lang) does not name the program folder's MERLOX.INI: $(cat "$work/doctor.$lang.txt")"
    grep -q '1339' "$work/doctor.$lang.txt" || fail "doctor ($lang) does not check port 1339: $(cat "$work/doctor.$lang.txt")"
    ! grep -qE 'port (UDP )?1338' "$work/doctor.$lang.txt" || fail "doctor ($lang) checks port 1338: $(grep 1338 "$work/doctor.$lang.txt")"
    grep -q 'LOGS\\TELEFONY\\CLIP.DAT: 5620' "$work/doctor.$lang.txt" || fail "doctor ($lang) missed the slot file: $(cat "$work/doctor.$lang.txt")"
    # Another program on this machine may hold port 1339; nothing else is a problem.
    ! grep -v -E '^PROBLEM (UDP )?port (UDP )?1339 ' "$work/doctor.$lang.txt" | grep -q '^PROBLEM' ||
        fail "doctor ($lang) found a problem in a sound installation: $(cat "$work/doctor.$lang.txt")"
    for args in "slots|Dane Łąka Żółw Śnieg\\LOGS\\TELEFONY\\CLIP.DAT" "log|Dane Łąka Żółw Śnieg|--date|01-03-2024"; do
        IFS='|' read -r -a words <<<"$args"
        code=0; out=$(polish "$work" "$win/callerid.exe" --lang $lang "${words[@]}" 2>&1) || code=$?
        [ $code = 0 ] && [[ $out == *"Firma Łódź"* ]] || fail "callerid ${words[*]} ($lang) gave exit $code: $out"
    done
done
# The slot file named in Ornitel.ini in Mazovia, the settings given by name.
printf '[Ornitel]\r\nFilename=LOGS\\TELEFONY\\%s.DAT\r\n' "$lodz" >"$data/Ornitel.ini"
cp "$data/LOGS/TELEFONY/CLIP.DAT" "$data/LOGS/TELEFONY/Łódź.DAT"
polish "$work" "$win/callerid.exe" --lang en doctor "Dane Łąka Żółw Śnieg" --host-ini "Program Księgowy\MERLOX.INI" \
    --program-dir "Program Księgowy" --date 01-03-2024 >"$work/doctor.named" 2>&1 || true
unwrap "$work/doctor.named"
grep -q 'host settings: Program Księgowy\\MERLOX.INI, given with --host-ini' "$work/doctor.named" &&
    grep -q 'slot file: Dane Łąka Żółw Śnieg\\LOGS\\TELEFONY\\Łódź.DAT: 5620 bytes' "$work/doctor.named" ||
    fail "doctor lost the letters of --host-ini or of Ornitel.ini's Filename: $(cat "$work/doctor.named")"
rm "$data/Ornitel.ini"

# Windows' copy of the program folder's settings (file virtualization of a
# host run without administrator rights) is what such a host reads: taken,
# and a problem when it names another port than the file the setup read.
store="${WINEPREFIX:-/var/cache/callerid-wine/prefix}/drive_c/users/$(id -un)/AppData/Local/VirtualStore${work}"
trap 'rm -rf "$work" "$store"; rmdir -p --ignore-fail-on-non-empty "$(dirname "$store")" 2>/dev/null || true' EXIT
mkdir -p "$store/Program Księgowy"
printf '[Ornitel]\r\nPytaj=1,4,0,1341\r\n' >"$store/Program Księgowy/MERLOX.INI"
polish "$data" "$programs/callerid.exe" --lang en doctor --date 01-03-2024 >"$work/doctor.copy" 2>&1 || true
unwrap "$work/doctor.copy"
# (the copy's path is longer than a line: cut, it is looked for by its end)
grep -q "OK      host settings: .*VirtualStore.*Księgowy.MERLOX.INI, Windows' copy" "$work/doctor.copy" &&
    grep -q "PROBLEM host settings: .*Program Księgowy.MERLOX.INI names port 1339 and its copy .* port 1341" "$work/doctor.copy" ||
    fail "doctor missed Windows' copy of the program folder's settings: $(cat "$work/doctor.copy")"
rm -rf "$store"
rmdir -p --ignore-fail-on-non-empty "$(dirname "$store")" 2>/dev/null || true

# Two MERLOX.INI that name different ports: a problem, whichever the host reads.
printf '[Ornitel]\r\nPytaj=1,4,0,1340\r\n' >"$data/MERLOX.INI"
code=0; polish "$data" "$programs/callerid.exe" --lang en doctor --date 01-03-2024 >"$work/doctor.two" 2>&1 || code=$?
unwrap "$work/doctor.two"
[ $code = 1 ] && grep -q "PROBLEM host settings: .*names port 1339 and .*port 1340" "$work/doctor.two" ||
    fail "doctor let two MERLOX.INI with different ports pass: $(cat "$work/doctor.two")"

# send: the Polish text goes out in the same Mazovia bytes as from the
# native tool; a receiver writes each datagram in hex.
port=$((20000 + RANDOM % 40000))
python3 -c '
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", int(sys.argv[1]))); s.settimeout(60)
print("ready", flush=True)
for _ in range(2): print(s.recv(2048).hex(), flush=True)
' "$port" >"$work/received" &
receiver=$!
for _ in $(seq 100); do grep -q ready "$work/received" && break; sleep 0.1; done
"$native/callerid" send --port "$port" 600 201 "Zażółć gęślą" >/dev/null
polish "$work" "$win/callerid.exe" send --port "$port" 600 201 "Zażółć gęślą" >/dev/null || fail "send under Wine failed"
wait $receiver || fail "the receiver did not get both datagrams"
# A held port: the commands that find its holder are Windows' own.
python3 -c '
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("0.0.0.0", int(sys.argv[1]))); print("ready", flush=True); time.sleep(60)
' "$port" >"$work/holder" &
holder=$!
for _ in $(seq 100); do grep -q ready "$work/holder" && break; sleep 0.1; done
code=0; out=$(polish "$work" "$win/callerid.exe" --lang en listen --port "$port" 2>&1) || code=$?
kill $holder 2>/dev/null; wait $holder 2>/dev/null || true
out=$(tr -s ' \n\r' ' ' <<<"$out")
[ $code = 4 ] && [[ $out == *"netstat -ano -p udp shows its process number (PID), tasklist its name"* ]] ||
    fail "listen on a held port under Wine gave exit $code: $out"
[ "$(sed -n 2p "$work/received")" = "$(sed -n 3p "$work/received")" ] ||
    fail "send under Wine put other bytes on the wire than natively: $(cat "$work/received")"

# log --follow, its output to files: the wait is said at once, and a line
# appended while it runs shows up.
followed="$data/LOGS/TELEFONY/follow.LOG"
polish "$work" "$win/callerid.exe" --lang en log "$followed" --follow >"$work/follow.out" 2>"$work/follow.err" &
follower=$!
seen() { for _ in $(seq 150); do grep -q "$1" "$2" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
seen "waiting for" "$work/follow.err" || { kill $follower; fail "log --follow into a file never said it waits: $(cat "$work/follow.err")"; }
printf '01.03.2024 10:00:00 OFFICE1:s=1:u=ANNA UDPOn() - OK\r\n' >"$followed"
seen "UDPOn() - OK" "$work/follow.out" || { kill $follower; fail "log --follow missed the first line"; }
printf '01.03.2024\t10:00:01\t600\t201\t%s\t\r\n' "$lodz" >>"$followed"
seen "Łódź" "$work/follow.out" || { kill $follower; fail "log --follow missed a line appended while it ran: $(cat "$work/follow.out")"; }
kill $follower 2>/dev/null; wait $follower 2>/dev/null || true

wine=("$root/scripts/wine/run.sh" -t 60 "$win/callerid.exe")
"$root/tests/toolkit/bad_input.sh" "${wine[@]}" || fail "callerid.exe mishandles bad input"
"$root/tests/toolkit/languages.sh" "${wine[@]}" || fail "callerid.exe mixes its languages"
echo "wine_toolkit: help, slots, log and doctor print the same under Wine as natively; bad input and both languages hold"
