#!/usr/bin/env bash
# test-all.sh PRESET...  builds and tests every preset, carrying on past failures, then prints
# one total "N passed, N failed" line; exits non-zero when anything failed or did not build.
set -uo pipefail
cd "$(dirname "$0")/.."

total_passed=0
total_failed=0
summary=()

# ctest's JUnit report counts skipped tests separately, which its console summary does not.
junit_count() {
    local attribute=$1 file=$2
    grep -o -m1 "<testsuite [^>]*" "$file" | grep -o " $attribute=\"[0-9]*\"" | tr -dc 0-9
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
    rm -f "$junit"
    ctest --test-dir "$dir" -j2 --output-on-failure --timeout 600 --output-junit "$(realpath "$junit")"
    status=$?
    if [[ ! -s $junit ]]; then
        summary+=("$preset: ctest produced no results (exit $status, counted as 1 failure)")
        total_failed=$((total_failed + 1))
        continue
    fi
    tests=$(junit_count tests "$junit")
    failures=$(junit_count failures "$junit")
    skipped=$(junit_count skipped "$junit")
    disabled=$(junit_count disabled "$junit")
    passed=$((tests - failures - ${skipped:-0} - ${disabled:-0}))
    if ((status != 0 && failures == 0)); then
        failures=1  # ctest failed without a failing test, e.g. a discovery error
    fi
    summary+=("$preset: $passed passed, $failures failed, ${skipped:-0} skipped")
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failures))
done

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
echo "$total_passed passed, $total_failed failed"
((total_failed == 0))
