#!/usr/bin/env bash
# bench.sh: runs every benchmark registered with qc_add_benchmark in the linux-x64 tree.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build/linux-x64/benchmarks
mapfile -t benches < <(find "$dir" -maxdepth 1 -type f -executable 2>/dev/null | sort)
if ((${#benches[@]} == 0)); then
    echo "No benchmarks yet (qc_add_benchmark registers them into $dir)."
    exit 0
fi
for bench in "${benches[@]}"; do
    echo "=== $bench"
    "$bench" "$@"
done
