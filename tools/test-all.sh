#!/usr/bin/env bash
# test-all.sh PRESET...  builds and tests every preset, carrying on past failures, then prints
# one total "N passed, N failed" line; exits non-zero when anything failed or did not build.
# The presets are those of CMakePresets.json: linux-x64, linux-x64-asan, linux-x64-tsan,
# windows-x64, windows-x86.
set -uo pipefail
cd "$(dirname "$0")/.."

total_passed=0
total_failed=0
summary=()

# ctest's console summary gives the failed and total counts ("N tests failed out of M"); its
# JUnit report adds skipped tests, listing tests that could not run as skipped as well.
junit_count() {
    local attribute=$1 file=$2
    grep -o -m1 "\<$attribute=\"[0-9]*\"" "$file" | head -n1 | tr -dc 0-9
}

for preset in "$@"; do
    dir=build/$preset
    if ! tools/build.sh "$preset"; then
        summary+=("$preset: BUILD FAILED (counted as 1 failure); tests of what was built:")
        total_failed=$((total_failed + 1))
    fi
    if [[ ! -f $dir/CTestTestfile.cmake ]]; then
        summary+=("$preset: no test tree")
        continue
    fi
    echo "=== test $preset"
    junit=$dir/ctest-results.xml
    log=$dir/ctest-output.log
    rm -f "$junit"
    ctest --test-dir "$dir" -j2 --output-on-failure --timeout 600 \
        --output-junit "$(realpath "$junit")" 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n1)
    if [[ -n $line ]]; then
        failures=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
        tests=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    elif grep -q 'No tests were found' "$log"; then
        failures=0
        tests=0
    else
        summary+=("$preset: ctest produced no summary (exit $status, counted as 1 failure)")
        total_failed=$((total_failed + 1))
        continue
    fi
    skipped=0
    if [[ -s $junit ]]; then
        not_run=$((failures - $(junit_count failures "$junit")))
        skipped=$(($(junit_count skipped "$junit") - (not_run > 0 ? not_run : 0)))
        ((skipped < 0)) && skipped=0
    fi
    if ((status != 0 && failures == 0)); then
        failures=1 # ctest failed without a failing test, e.g. a discovery error
    fi
    passed=$((tests - failures - skipped))
    summary+=("$preset: $passed passed, $failures failed, $skipped skipped")
    # Tests that skip themselves say why in a "SKIPPED: reason" line; each reason once.
    if ((skipped > 0)) && [[ -s $junit ]]; then
        while IFS= read -r reason; do
            summary+=("  skipped because $reason")
        done < <(grep -o 'SKIPPED: [^<&]*' "$junit" | sed 's/^SKIPPED: //' | sort -u)
    fi
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failures))
done

# The validator's short run over every binary that the trees above built.
if [[ " $* " == *" linux-x64 "* && " $* " == *" windows-x64 "* ]]; then
    echo "=== validate (short)"
    if tools/validate.sh --short; then
        summary+=("validate: every binary passed every check")
        total_passed=$((total_passed + 1))
    else
        summary+=("validate: FAILED (see the table above)")
        total_failed=$((total_failed + 1))
    fi
fi

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
((total_failed == 0))
