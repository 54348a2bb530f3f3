# shellcheck shell=bash
# Sourced by the Wine tests whose plug-in broadcasts (leaving the caller-ID
# window broadcasts a restart): `isolate_network NAME "$@"` first thing
# re-runs the sourcing script in a network namespace of its own where only
# loopback is up, the broadcast address routed to it, with a wineserver of
# its own (one started outside would make its sockets outside). Outside it
# exits with the script's status; inside it returns. A script that sets
# unroutable_broadcast=1 first gets no broadcast route: its plug-in's
# restart is then never filed, however late its listener binds.
isolate_network() {
    local name=$1 wine_run
    shift
    wine_run="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine/run.sh"
    if [ "${CALLERID_WINE_ISOLATED:-}" != 1 ]; then
        unshare -n true 2>/dev/null || { echo "$name: no network namespace can be made here" >&2; exit 1; }
        "$wine_run" --stop
        local status=0
        CALLERID_WINE_ISOLATED=1 unshare -n "$0" "$@" || status=$?
        "$wine_run" --stop
        exit $status
    fi
    ip link set lo up
    [ "${unroutable_broadcast:-}" = 1 ] || ip route add 255.255.255.255/32 dev lo
}
