#!/usr/bin/env bash
# wine_udp_end_to_end.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The UDP caller-ID service end to end on both builds: the i686 plug-in in
# refhost.exe under Wine, and the native plug-in in refhost, each receive the
# same datagrams from the native `callerid send`. Both hosts' clocks stand at
# the same moment, so the slot files must be identical byte for byte and the
# day logs identical line for line, apart from the computer name, the line
# ends and the "I'm alive" lines, whose number follows the wall clock.
# One Wine start. Exits non-zero on any difference; KEEP=1 keeps the scratch
# directory for a look afterwards.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
callerid="$native/callerid"
clock="2024-03-01 10:00:00"
day_log="LOGS/TELEFONY/01-03-2024.LOG"
work=$(mktemp -d /tmp/callerid-udp-e2e-XXXXXX)
host_pid=""

cleanup() {
    [ -n "$host_pid" ] && kill -INT "$host_pid" 2>/dev/null && wait "$host_pid" 2>/dev/null
    [ -n "${KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "wine_udp_end_to_end: $*" >&2; exit 1; }

# A UDP port nobody listens on (ss, when there, says which are taken).
free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 40000))
        command -v ss >/dev/null || { echo $port; return; }
        ss -Hlun "sport = :$port" | grep -q . || { echo $port; return; }
    done
}

count() { local n; n=$(grep -c -F -- "$1" "$2" 2>/dev/null) || true; echo "${n:-0}"; }

# Waits until the day log holds the line at least N times.
wait_for() {
    local text=$1 times=$2 dir=$3
    for _ in $(seq 1 600); do
        [ "$(count "$text" "$dir/$day_log")" -ge "$times" ] && return 0
        sleep 0.1
    done
    fail "$dir: no \"$text\" ($times) in the day log"
}

filed() { echo $(( $(count " Zapis" "$1/$day_log") + $(count " Bez zapisu" "$1/$day_log") )); }

# Sends one datagram through the native tool.
send() { "$callerid" send --port "$port" "$@"; }

# The datagrams, and after each step what the log must show before the next.
feed() {
    local dir=$1
    wait_for "rozpoczeto nasluch na UDP UDP $port" 1 "$dir"
    send 600100200 201 "Firma Łódź NIP:1234567890"
    send 600100200 201 "Firma Łódź NIP:1234567890"   # a repeat within 19 s
    send --raw 'Ring\t201\t\t\t'
    send --raw 'Ring\t201\t\t\t'                       # the very same record
    send --raw "$(printf 'x%.0s' $(seq 1 1100))"       # too long for the listener
    send --raw '700\t202\tf2\tf3\tnul ends here\0hidden\tmore'
    send --raw 'restart\trestart\trestart\r'
    wait_for "R[127.0.0.1]:restart" 1 "$dir"
    send 900500600 204 "w przerwie"                   # during the restart's pause
    wait_for "rozpoczeto nasluch na UDP UDP $port" 2 "$dir"
    send 800300400 203 "po restarcie"
    for _ in $(seq 1 600); do [ "$(filed "$dir")" -ge 8 ] && return 0; sleep 0.1; done
    fail "$dir: not every datagram was filed"
}

# run NAME COMMAND...: the host in its own directory, fed, then stopped.
run() {
    local name=$1; shift
    local dir="$work/$name"
    mkdir -p "$dir"
    port=$(free_port)
    printf '[Ornitel]\r\nPytaj=1,4,0,%s\r\n' "$port" >"$dir/MERLOX.INI"
    (cd "$dir" && exec "$@" --headless --clock "$clock" --pause-divisor 5 >"$dir/console.txt" 2>&1) &
    host_pid=$!
    feed "$dir"
    kill -INT "$host_pid"
    wait "$host_pid" || fail "$name: the host ended with status $?: $(cat "$dir/console.txt")"
    host_pid=""
    grep -q "refhost: stopped" "$dir/console.txt" || fail "$name: no orderly stop: $(cat "$dir/console.txt")"
    # The receive queue is what each system gives; it is shown, not compared.
    echo "$name: $(grep -a -o 'UDPOn() - SO_RCVBUF [0-9]*' "$dir/$day_log" | head -1)" >&2
    # The port is the one thing the two runs are told apart by on purpose.
    sed -e 's/\r$//' -e '/ I'"'"'m alive - pooling loop 10 sek$/d' \
        -e 's/SO_RCVBUF [0-9]*$/SO_RCVBUF SIZE/' \
        -e 's/^\([^ ]* [^ ]*\) [^ :]*:s=/\1 COMPUTER:s=/' \
        -e "s/UDP $port\$/UDP PORT/" "$dir/$day_log" >"$dir/day.log"
}

run windows "$root/scripts/wine/run.sh" -t 300 "$win/refhost.exe"
run native "$native/refhost"

w="$work/windows" n="$work/native"
cmp "$w/LOGS/TELEFONY/CLIP.DAT" "$n/LOGS/TELEFONY/CLIP.DAT" || fail "the slot files differ"
diff "$w/day.log" "$n/day.log" >&2 || fail "the day logs differ"

# Both runs agreeing is not enough: they must have done the right thing.
log="$n/day.log"
[ "$(stat -c %s "$n/LOGS/TELEFONY/CLIP.DAT")" -eq 5620 ] || fail "the slot file is not 5620 bytes"
calls=$(grep -c -v ':u=' "$log" || true)
[ "$calls" -eq 4 ] || fail "expected 4 call lines (the call, 700, the call in the restart's pause, the call after it; the restart is no call), found $calls"
# The call in the pause is filed as it comes, before that cycle ends.
in_pause=$(grep -n -F 'R[127.0.0.1]:900500600' "$log" | cut -d: -f1)
ending=$(grep -n -F 'UDPoling() - zakonczenie' "$log" | head -1 | cut -d: -f1)
[ -n "$in_pause" ] && [ "$in_pause" -lt "$ending" ] || fail "the call in the pause was not filed during it"
mazovia=$(printf 'Firma \x9c\xa2d\xa6 NIP:1234567890')   # "Łódź" as the host shows it
for line in "recvfrom() error: 10040" "Bez zapisu" "UDPoling() - zakonczenie" \
            $'01.03.2024\t10:00:00\t700\t202\tnul ends here\t' "$mazovia" \
            "Slot nr 2 wpisanie NOWEGO telefonu: 900500600 - > 204" \
            "Slot nr 3 wpisanie NOWEGO telefonu: 800300400 - > 203"; do
    LC_ALL=C grep -q -F -- "$line" "$log" || fail "the day log lacks: $line"
done
echo "wine_udp_end_to_end: the Windows and native builds filed the same calls the same way"
