#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEEDS WORK [MAX_LEN]: runs a libFuzzer target for FUZZ_SECONDS (default
# 20) on a working corpus that starts from the committed seeds; with FUZZ_RUNS set, until it
# has run that many inputs instead (bounded by FUZZ_SECONDS only when that is set too). MAX_LEN
# bounds the inputs' length: for a stream of calls or events a hundred bytes or so reach every
# path, and longer inputs only make each run slower. Prints libFuzzer's final statistics and
# the time taken; fails when the fuzzer found a crash, leak or timeout (the input is left in
# WORK).
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
length=()
if [[ -n ${4:-} ]]; then length=(-max_len="$4"); fi
limits=(-max_total_time="${FUZZ_SECONDS:-20}")
if [[ -n ${FUZZ_RUNS:-} ]]; then
    limits=(-runs="$FUZZ_RUNS")
    if [[ -n ${FUZZ_SECONDS:-} ]]; then limits+=(-max_total_time="$FUZZ_SECONDS"); fi
fi
mkdir -p "$work/corpus"
cd "$work"
rm -f crash-* leak-* timeout-* oom-*
started=$SECONDS
"$fuzzer" "${limits[@]}" "${length[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" corpus "$seeds" 2>fuzz.log || status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+.*DONE)' fuzz.log || true
echo "$(basename "$fuzzer"): $((SECONDS - started)) s"
if [[ ${status:-0} -ne 0 ]]; then
    tail -n 40 fuzz.log
    echo "$(basename "$fuzzer"): finding saved in $work"
    exit 1
fi
