# apt.sh - sourced by deps.sh and wine/setup.sh: apt-get that survives a mirror in a bad state.
# A mirror in the middle of a sync serves an index of the wrong size, and `apt-get update` then
# exits non-zero although every other index came in. So the update is tried a few times, the
# indexes that failed are named, and the set-up goes on with what it has; an install that cannot
# be resolved against the indexes as they are (an amd64 library at a security version whose i386
# twin's index is missing) is tried again from the release suite; a package that still cannot be
# had stops the set-up with one line saying which, why and what to try.
# The caller defines say() and die(). CALLERID_APT_TRIES and CALLERID_APT_PAUSE (seconds) tune
# the update's retries.

apt_updated=
apt_stale=   # the indexes the last update could not fetch, one per line

# The release's own suite (bookworm), whose point versions exist for every architecture.
apt_release_suite() {
    sed -n 's/^VERSION_CODENAME=//p' /etc/os-release 2>/dev/null | tr -d '"' | head -1
}

# apt-get update, tried again after a pause while it fails; never fatal: what is missing
# shows up at the install, which says so.
apt_update() {
    [ -z "$apt_updated" ] || return 0
    apt_updated=1
    local tries=${CALLERID_APT_TRIES:-3} pause=${CALLERID_APT_PAUSE:-15} try out
    for ((try = 1; try <= tries; try++)); do
        if [ "$try" = 1 ]; then say "apt-get update"; else say "apt-get update again (try $try of $tries)"; fi
        if out=$(apt-get update -qq 2>&1); then apt_stale=; return 0; fi
        apt_stale=$(printf '%s\n' "$out" | sed -n 's/^[EW]: Failed to fetch \([^ ]*\) *\(.*\)/\1 (\2)/p')
        [ -n "$apt_stale" ] || apt_stale=$(printf '%s\n' "$out" | grep '^E:' | head -3)
        printf '%s\n' "$apt_stale" | sed 's/^/    /' >&2
        [ "$try" = "$tries" ] || sleep "$pause"
    done
    say "WARNING: apt-get update failed $tries times (the mirror may be in the middle of a sync);" \
        "going on with the indexes it has"
}

# Forget the update (a new architecture or source was added).
apt_reset() { apt_updated=; }

# Installs the packages ([-t SUITE] PACKAGE...); when they cannot be resolved against the indexes
# as they are, from the release suite. Dies with one line when even that fails.
apt_install() {
    apt_update
    local log suite= target=()
    [ "$1" != -t ] || { target=(-t "$2"); shift 2; }
    log=$(mktemp)
    say "installing $*${target[*]:+ (${target[*]})}"
    if apt-get install -y -qq --no-install-recommends "${target[@]}" "$@" >"$log" 2>&1; then
        rm -f "$log"; return 0
    fi
    [ ${#target[@]} != 0 ] || suite=$(apt_release_suite)
    if [ -n "$suite" ]; then
        say "cannot resolve $* against the current indexes; installing from the release suite $suite" \
            "(some installed libraries may move to the release's versions)"
        if apt-get install -y -qq --no-install-recommends --allow-downgrades -t "$suite" "$@" >"$log" 2>&1; then
            rm -f "$log"; return 0
        fi
    fi
    apt_explain_failure "$log" "$@"
}

# The one line for a package that could not be had: which, why, what to try.
apt_explain_failure() {
    local log=$1; shift
    local p why=
    for p in "$@"; do
        if ! apt-cache policy "$p" 2>/dev/null | grep -q '^ *Candidate: *[^( ]'; then
            why="package $p: no index offers it"; break
        fi
    done
    [ -n "$why" ] || why="packages $*: $(grep '^E:' "$log" | tail -1 | sed 's/^E: *//' | grep . || echo 'apt-get install failed')"
    [ -z "$apt_stale" ] || why="$why (indexes not fetched: $(printf '%s' "$apt_stale" | head -1 | cut -d' ' -f1))"
    rm -f "$log"
    die "$why; try again when the mirror has finished syncing, or point /etc/apt/sources.list.d at another mirror"
}
