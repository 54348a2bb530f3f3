#!/usr/bin/env bash
# wine_exclusive_port.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# The listener's port is its own: with the i686 plug-in listening in
# refhost.exe under Wine, a program that asks to share the port
# (SO_REUSEADDR) on every address or on loopback alone, or that binds
# loopback alone, is refused (take_port.exe), and the listener still files
# the call sent next. Wine refuses those binds even next to a socket that
# did not ask for exclusive use, where Windows lets a program that binds
# one address of the station take that address's datagrams; so the socket
# trace is read too: the socket that holds the port asked for
# SO_EXCLUSIVEADDRUSE before its bind. One Wine start, no window (nothing
# is broadcast). KEEP=1 keeps the scratch directory.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/scripts/wine/run.sh"
day_log="LOGS/TELEFONY/01-03-2024.LOG"
work=$(mktemp -d /tmp/callerid-wine-exclusive-XXXXXX)
host_pid=""

cleanup() {
    [ -n "$host_pid" ] && kill -INT "$host_pid" 2>/dev/null && wait "$host_pid" 2>/dev/null
    if [ -n "${KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() { echo "wine_exclusive_port: $*" >&2; exit 1; }

free_port() {
    local port
    while :; do
        port=$((20000 + RANDOM % 40000))
        command -v ss >/dev/null || { echo $port; return; }
        ss -Hlun "sport = :$port" | grep -q . || { echo $port; return; }
    done
}

wait_for() {
    for _ in $(seq 1 600); do
        grep -q -F -- "$1" "$work/$day_log" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "no \"$1\" in the day log"
}

port=$(free_port)
printf '[Ornitel]\r\nPytaj=1,4,0,%s\r\n' "$port" >"$work/MERLOX.INI"
(cd "$work" && WINEDEBUG=trace+winsock exec "$wine_run" -t 120 "$win/refhost.exe" --headless \
    --clock "2024-03-01 10:00:00" >"$work/console.txt" 2>"$work/trace.txt") &
host_pid=$!
wait_for "rozpoczeto nasluch na UDP UDP $port"

"$wine_run" -t 60 "$win/take_port.exe" "$port" >"$work/take.txt" 2>&1 ||
    fail "another program took the port: $(tr -d '\r' <"$work/take.txt")"
tr -d '\r' <"$work/take.txt" >&2
"$native/callerid" send --port "$port" 600100200 201 "po probie" >/dev/null
wait_for $'\t600100200\t201\tpo probie'

kill -INT "$host_pid"
wait "$host_pid" || fail "the host ended with status $?: $(tail -5 "$work/console.txt")"
host_pid=""

# Wine's trace: "setsockopt socket 0x.., level SOL_SOCKET, name
# SO_EXCLUSIVEADDRUSE, optval ... (1)", then "bind socket 0x.., addr {
# family AF_INET, address 0.0.0.0, port N }".
awk -v port="$port" '
    function socket_of(line) { match(line, /socket 0x[0-9a-f]+/); return substr(line, RSTART + 7, RLENGTH - 7) }
    /:setsockopt socket / && /name SO_EXCLUSIVEADDRUSE,/ && /\(1\),/ { exclusive[socket_of($0)] = 1 }
    /:bind socket / && index($0, "address 0.0.0.0, port " port " }") { bound = 1; if (socket_of($0) in exclusive) ok = 1 }
    END { exit bound && ok ? 0 : 1 }' "$work/trace.txt" ||
    fail "the listening socket did not ask for exclusive use before its bind"
echo "wine_exclusive_port: the port stayed the listener's, bound for its exclusive use"
