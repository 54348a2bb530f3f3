#!/usr/bin/env bash
# bad_input.sh TOOL...: the tool given every kind of bad argument and file.
# Each case must end with the exit code of the one table (2 bad usage, 3 a
# file that cannot be read or is not what the command expects; a file or
# folder named that does not exist is bad usage), print exactly one
# message that starts with "callerid" (one line, with the lines it goes on
# with, indented, within 79 columns), and never crash. TOOL is
# the command that runs the tool (the native program, or the Wine runner
# and callerid.exe), run in a scratch directory with the cases' files.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 TOOL [ARGS...]" >&2; exit 2; }
tool=("$@")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/callerid-bad-input-XXXXXX)
trap 'rm -rf "$work"' EXIT
source "$here/fixture.sh"
cd "$work"
plant_station sound 1,4,0,47321
mkdir empty
head -c 5620 /dev/urandom | tr '\0' 'x' >junk.dat        # slot-sized, no field ends anywhere
head -c 3000 /dev/urandom | tr -d '\n' | tr '\0\1' 'ab' >noise.bin; printf '\0' >>noise.bin
printf 'Dear all,\nthe meeting is at ten.\n' >letter.txt
failures=0

# expect CODE ARGS...: one case of the table.
expect() {
    local want=$1; shift
    local out code=0
    out=$("${tool[@]}" --lang en "$@" 2>&1 </dev/null) || code=$?
    out=${out//$'\r'/}
    local lines
    lines=$(printf '%s' "$out" | grep -c '^[^ ]' || true)
    if printf '%s\n' "$out" | awk 'length($0) > 79 { found = 1 } END { exit !found }'; then lines="too wide"; fi
    if [ "$code" != "$want" ] || [ "$lines" != 1 ] || [[ $out != callerid* ]]; then
        echo "bad_input: callerid $* gave exit $code (want $want) and $lines line(s):" >&2
        printf '%s\n' "$out" | head -5 | sed 's/^/    /' >&2
        failures=$((failures + 1))
    fi
}

expect 2 nosuch
expect 2 --lang xx help
expect 2 send
expect 2 send --port 70000 600 201
expect 2 send --to 300.1.1.1 600 201
expect 2 send --raw 'x\q'
expect 2 ping --port abc
expect 2 restart 1.2.3
expect 2 listen --port 0
expect 2 listen --bogus
expect 2 slots
expect 3 slots empty
expect 2 slots nosuch.dat
expect 3 slots junk.dat
expect 3 slots letter.txt
expect 3 slots sound/LOGS/TELEFONY/01-03-2024.LOG
expect 2 log --date 2026-12-09
expect 2 log --date 31-02-2026
expect 2 log --date
expect 2 log nosuch.log
expect 3 log noise.bin
expect 3 log letter.txt
expect 3 log empty --date 01-03-2024
expect 3 log sound/LOGS/TELEFONY/CLIP.DAT
expect 2 doctor --date 99-99-9999
expect 2 doctor sound --date 1-3-2024
expect 2 doctor --bogus
expect 2 doctor nosuch
expect 2 doctor sound --program-dir nosuch
expect 2 doctor sound --host-ini nosuch.ini
expect 3 doctor letter.txt
expect 2 window-description --bogus
expect 2 firewall
expect 2 firewall open
expect 2 firewall add --port 0
expect 2 firewall remove --port
expect 2 firewall add --program-dir nosuch
expect 2 firewall remove --program-dir letter.txt

# The raw window description refuses a terminal (natively, where script(1)
# gives the tool one; the Wine console is no terminal of this kind).
if [[ ${tool[0]} != *run.sh ]] && command -v script >/dev/null; then
    printf -v line '%q ' "${tool[@]}" --lang en window-description
    out=$(script -qec "$line" /dev/null </dev/null 2>&1 | tr -d '\r') || true
    if [[ $out != "callerid window-description: the raw description is binary"* ]]; then
        echo "bad_input: window-description wrote to a terminal: $(head -c 80 <<<"$out" | cat -v)" >&2
        failures=$((failures + 1))
    fi
fi

[ $failures -eq 0 ] || { echo "bad_input: $failures case(s) failed" >&2; exit 1; }
echo "bad_input: every bad argument and file gave one line and its exit code"
