#!/usr/bin/env bash
# apt_mirror.sh: scripts/deps.sh in front of a mirror in the middle of a sync, played by
# stand-ins for apt-get, apt-cache, dpkg-query and id on PATH (no network, nothing installed).
# The update fails every time with an index of the wrong size; the plain install cannot be
# resolved ("held broken packages"); the release suite's can. The set-up must go on, name the
# index, install the missing package from the release suite, and say so. With no index offering
# the package, it must stop with one line naming the package, the reason and what to try.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/callerid-apt-mirror-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
suite=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release | tr -d '"')
suite=${suite:-bookworm}

# The stand-ins keep their state in $work: missing (packages not installed), calls (apt-get's
# arguments, a line a call), offered (packages an index offers).
cat >"$work/bin/apt-get" <<EOF
#!/bin/bash
echo "\$*" >>"$work/calls"
case "\$1" in
update)
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/$suite-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 192.0.2.1 80]" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
install)
    if [[ " \$* " != *" -t $suite "* ]] || ! grep -qx "\${@: -1}" "$work/offered"; then
        echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100
    fi
    for p in "\$@"; do sed -i "/^\$p\\\$/d" "$work/missing"; done ;;
esac
EOF
cat >"$work/bin/apt-cache" <<EOF
#!/bin/bash
grep -qx "\$2" "$work/offered" && echo "  Candidate: 1.0-1" || echo "  Candidate: (none)"
EOF
cat >"$work/bin/dpkg-query" <<EOF
#!/bin/bash
grep -qx "\${@: -1}" "$work/missing" || printf 'install ok installed'
EOF
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
chmod +x "$work/bin"/*

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run_deps: the set-up with the stand-ins first on PATH; its output in $work/out.
run_deps() {
    : >"$work/calls"
    local rc=0
    PATH="$work/bin:$PATH" CALLERID_APT_PAUSE=0 timeout 30 "$root/scripts/deps.sh" native \
        >"$work/out" 2>&1 || rc=$?
    return $rc
}

# 1. Bad index, package resolvable from the release suite: installed, and said so.
echo tmux >"$work/missing"
printf 'tmux\nlibclang-rt-14-dev\n' >"$work/offered"
if ! run_deps; then fail "the set-up stopped:"; cat "$work/out"; fi
[ ! -s "$work/missing" ] || fail "tmux was not installed"
[ "$(grep -c '^update' "$work/calls")" = 3 ] || fail "the update was not tried three times"
grep -q 'binary-i386/Packages.xz' "$work/out" || fail "the failed index is not named"
grep -q "WARNING: apt-get update failed" "$work/out" || fail "no warning for the failed update"
grep -q "release suite $suite" "$work/out" || fail "the release suite is not mentioned"
grep -q -- "-t $suite tmux" "$work/calls" || fail "no install from the release suite"

# 2. No index offers the package: one line that names it, why, and what to try.
echo tmux >"$work/missing"
echo libclang-rt-14-dev >"$work/offered"
if run_deps; then fail "the set-up went on without tmux"; fi
errors=$(grep -c 'ERROR' "$work/out" || true)
[ "$errors" = 1 ] || fail "$errors error lines, one expected"
grep 'ERROR' "$work/out" | grep -q 'package tmux: no index offers it.*try' ||
    fail "the error line does not name tmux, the reason and what to try: $(grep ERROR "$work/out")"

[ $failures = 0 ] && echo "apt_mirror: all cases passed"
exit $((failures > 0))
