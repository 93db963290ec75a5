#!/usr/bin/env bash
# run-fuzzer.sh FUZZER SEEDS WORK: runs a libFuzzer target for FUZZ_SECONDS (default 20) on a
# working corpus that starts from the committed seeds. Prints libFuzzer's final statistics;
# fails when the fuzzer found a crash, leak or timeout (the input is left in WORK).
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3
seconds=${FUZZ_SECONDS:-20}
mkdir -p "$work/corpus"
cd "$work"
rm -f crash-* leak-* timeout-* oom-*
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" corpus "$seeds" 2>fuzz.log || status=$?
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+.*DONE)' fuzz.log || true
if [[ ${status:-0} -ne 0 ]]; then
    tail -n 40 fuzz.log
    echo "$(basename "$fuzzer"): finding saved in $work"
    exit 1
fi
