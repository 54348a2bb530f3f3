#!/bin/bash
# run.sh [-t SECONDS] PROGRAM.exe [ARGS...] | run.sh --stop
# Runs a Windows console program under Wine with the loader for its bitness (PE i386 -> wine,
# x86-64 -> wine64); stdout/stderr pass through. Exit status: the program's code mod 256 (nonzero
# codes with low byte 0 become 1; a crash gives the NTSTATUS low byte: 5 access violation on x86-64,
# 29 for a 32-bit crash under qemu, 53 DLL not found), 124 timeout, 125 prefix not set up,
# 126 not an x86 PE, 127 no such file. `--stop` ends the prefix's wineserver (use it in an EXIT trap).
# Env: WINEPREFIX (/var/cache/callerid-wine/prefix, created by setup.sh), WINE_RUN_TIMEOUT (300),
# WINE_RUN_PERSIST=0 (no persistent wineserver: every run then pays Wine's boot, ~1-3 s).
set -u
export WINEPREFIX=${WINEPREFIX:-/var/cache/callerid-wine/prefix} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
unset DISPLAY WAYLAND_DISPLAY
limit=${WINE_RUN_TIMEOUT:-300}
[ "${1:-}" = -t ] && { limit=${2:?-t needs SECONDS}; shift 2; }
[ "${1:-}" = --stop ] && { /usr/lib/wine/wineserver -k 2>/dev/null; exit 0; }
exe=${1:?usage: run.sh [-t SECONDS] PROGRAM.exe [ARGS...] | run.sh --stop}; shift
[ -f "$exe" ] || { echo "wine-run: no such file: $exe" >&2; exit 127; }
[ -f "$WINEPREFIX/.callerid-wine-ready" ] || { echo "wine-run: run scripts/wine/setup.sh $WINEPREFIX first" >&2; exit 125; }
pe=$(od -An -tu4 -j60 -N4 "$exe" 2>/dev/null | tr -d ' ')
case $(od -An -tx2 -j$((${pe:-0} + 4)) -N2 "$exe" 2>/dev/null | tr -d ' ') in
    014c) loader=/usr/lib/wine/wine ;;
    8664) loader=/usr/lib/wine/wine64 ;;
    *) echo "wine-run: $exe is not an i386/x86-64 PE" >&2; exit 126 ;;
esac
if [ "${WINE_RUN_PERSIST:-1}" = 1 ]; then
    # A persistent wineserver keeps services.exe & co alive so later runs skip wineboot. It is
    # started detached, without stdio and without the lock fd, so it never holds pipes or the lock.
    (
        flock 9
        if /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 9>&-; then
            boot=/usr/lib/wine/wine64
            grep -q '^#arch=win32' "$WINEPREFIX/system.reg" && boot=/usr/lib/wine/wine
            timeout 300 setsid $boot wineboot </dev/null >/dev/null 2>&1 9>&-
        fi
    ) 9>"$WINEPREFIX/.callerid-wine-lock"
fi
exec timeout -k 10 "$limit" "$loader" "$exe" "$@"
