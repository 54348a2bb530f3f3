#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them, or all, for
# a number of seconds each, starting from the committed corpus.
#   fuzz/run.sh TARGET SECONDS      TARGET: datagram, slot_window,
#                                   window_description, ini, day_log,
#                                   doctor, or all
# New inputs go to build/fuzz/corpus/TARGET (the committed corpus in
# fuzz/corpus/TARGET is only read); a finding is saved in
# build/fuzz/findings/TARGET/ and makes the script fail. Each run ends
# with a line "fuzz TARGET: N executions in S s, no finding".
# Without clang's libFuzzer the script says SKIPPED and exits 0.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
targets=(datagram slot_window window_description ini day_log doctor)

if [ $# -ne 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
    echo "usage: fuzz/run.sh TARGET|all SECONDS  (TARGET: ${targets[*]})" >&2
    exit 2
fi
wanted=$1 seconds=$2
if [ "$wanted" = all ]; then
    run=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $wanted "* ]]; then
    run=("$wanted")
else
    echo "fuzz/run.sh: no target $wanted (${targets[*]})" >&2
    exit 2
fi

# A one-line program tells whether this clang can link a fuzzer at all.
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! command -v clang++ >/dev/null || ! clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
    echo "fuzz: SKIPPED (clang++ with libFuzzer is not installed)"
    exit 0
fi

# Light optimisation and line tables only: the targets build in a fraction
# of the time and still run fast, with readable stacks.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCALLERID_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" >/dev/null
cmake --build "$build" --target "${run[@]/#/fuzz_}"

status=0
for target in "${run[@]}"; do
    work=$build/corpus/$target findings=$build/findings/$target
    mkdir -p "$work" "$findings"
    log=$build/fuzz_$target.log
    # Paths are absolute: the targets work in a scratch directory of their own.
    if "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$work" "$here/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $target: ${runs:-?} executions in $seconds s, no finding"
    else
        status=1
        echo "fuzz $target: FINDING (log $log, inputs in $findings)"
        grep -E 'ERROR|property broken|SUMMARY' "$log" | head -5 || true
    fi
done
exit $status
