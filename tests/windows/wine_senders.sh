#!/usr/bin/env bash
# wine_senders.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The allowed senders on the Windows build: callerid.exe senders add writes
# Nadawcy= where the i686 plug-in in refhost.exe reads it, and the plug-in
# then files the box's call (127.0.0.1) and refuses another device's
# (127.0.0.2) with one line, filing nothing of it. Two Wine starts.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
clock="2024-03-01 10:00:00"
day_log="LOGS/TELEFONY/01-03-2024.LOG"
work=$(mktemp -d /tmp/callerid-senders-XXXXXX)
host_pid=""

cleanup() {
    [ -n "$host_pid" ] && kill -INT "$host_pid" 2>/dev/null && wait "$host_pid" 2>/dev/null
    [ -n "${KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "wine_senders: $*" >&2; exit 1; }
count() { local n; n=$(grep -a -c -F -- "$1" "$work/$day_log" 2>/dev/null) || true; echo "${n:-0}"; }
wait_for() {
    for _ in $(seq 1 600); do
        [ "$(count "$1")" -ge 1 ] && return 0
        sleep 0.1
    done
    fail "no \"$1\" in the day log: $(cat "$work/console.txt" 2>/dev/null)"
}

port=$((20000 + RANDOM % 40000))
printf '[Ornitel]\r\nPytaj=1,4,0,%s\r\n' "$port" >"$work/MERLOX.INI"
(cd "$work" && "$root/scripts/wine/run.sh" -t 120 "$win/callerid.exe" --lang en senders add 127.0.0.1) >"$work/tool.txt" 2>&1 ||
    fail "senders add failed: $(cat "$work/tool.txt")"
grep -q '^Nadawcy=127.0.0.1' "$work/Ornitel.ini" || fail "no Nadawcy in Ornitel.ini: $(cat "$work/Ornitel.ini")"

(cd "$work" && exec "$root/scripts/wine/run.sh" -t 300 "$win/refhost.exe" --headless --clock "$clock" >"$work/console.txt" 2>&1) &
host_pid=$!
wait_for "rozpoczeto nasluch na UDP UDP $port"
python3 - "$port" <<'PY' || fail "cannot send from 127.0.0.2"
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.2", 0))
s.sendto(b"600100200\t201\t\t\tObca NIP:9999999999", ("127.0.0.1", int(sys.argv[1])))
PY
"$native/callerid" send --port "$port" 600100200 201 "Centralka NIP:1234567890" >/dev/null
wait_for " Zapis"
kill -INT "$host_pid"
wait "$host_pid" || fail "the host ended with status $?: $(cat "$work/console.txt")"
host_pid=""

[ "$(count 'Odrzucono datagramy od 127.0.0.2: 1 - ')" -eq 1 ] || fail "no refusal line: $(cat "$work/$day_log")"
[ "$(count 'R[127.0.0.2]')" -eq 0 ] || fail "the refused datagram was logged as a datagram"
[ "$(count 'Obca')" -eq 0 ] || fail "the refused datagram reached the day log"
[ "$(count $'600100200\t201\tCentralka NIP:1234567890')" -eq 1 ] || fail "the box's call was not filed: $(cat "$work/$day_log")"
grep -a -q 'Centralka NIP:1234567890' "$work/LOGS/TELEFONY/CLIP.DAT" || fail "the box's call is not in the slots"
! grep -a -q 'Obca' "$work/LOGS/TELEFONY/CLIP.DAT" || fail "the refused call reached the slots"
echo "wine_senders: the Windows build reads the tool's Nadawcy, files the box's call and refuses the other's"
