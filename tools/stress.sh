#!/usr/bin/env bash
# stress.sh PRESET...  builds each preset and reruns its hammer tests (ctest label "hammer")
# for longer: every thread hammer for STRESS_SECONDS (default 60) and every stability case
# for STRESS_AUDIO_MINUTES of audio at its sample rate (default 40). Prints each run's summary
# line, then one line per preset; exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${STRESS_SECONDS:-60}
minutes=${STRESS_AUDIO_MINUTES:-40}
export QC_STRESS_SECONDS=$seconds QC_STRESS_AUDIO_MINUTES=$minutes
# A hung thread is caught by the hammer's own watchdog; this only bounds a stability render
# of many minutes of audio at eight rates, which runs for about a minute natively.
timeout=$((seconds * 3 + 3600))

summary=()
failed=0
for preset in "$@"; do
    if ! tools/build.sh "$preset"; then
        summary+=("$preset: BUILD FAILED")
        failed=1
        continue
    fi
    echo "=== stress $preset (hammer ${seconds} s, stability ${minutes} min of audio per case)"
    log=build/$preset/stress-output.log
    # One at a time: each hammer keeps both cores busy.
    ctest --test-dir "build/$preset" -L '^hammer$' -j1 -V --timeout "$timeout" 2>&1 |
        tee "$log" | grep --line-buffered -E '^[0-9]+: (hammer |stability|  )|Test +#|tests passed'
    status=${PIPESTATUS[0]}
    line=$(grep -E 'tests passed' "$log" | tail -n1)
    summary+=("$preset: ${line:-ctest produced no summary}")
    ((status != 0)) && failed=1
done

echo
echo "=== stress summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
