#!/usr/bin/env bash
# validate.sh [--short]: the validator against every binary that runs on this machine, natively
# and under Wine, plus memcheck over the Linux builds; prints one table (binary x check) with
# the deciding figures below it and exits non-zero when anything failed. --short is the version
# 'make test' runs; the default is the thorough one ('make validate').
set -uo pipefail
cd "$(dirname "$0")/.."

thorough=--thorough
[[ ${1:-} == --short ]] && thorough=

wine64=(cmake/wine-run.sh --arch win64 --prefix build/windows-x64/wineprefix)
wine32=(cmake/wine-run.sh --arch win32 --prefix build/windows-x86/wineprefix)
state=build/validate
mkdir -p "$state"
native_display=()
if cmake/xvfb.sh start "$state/xvfb" >/dev/null 2>&1; then
    wine64+=(--display-file "$state/xvfb/display")
    wine32+=(--display-file "$state/xvfb/display")
    # The native runs open the Linux editor on the same private display.
    native_display=(env "DISPLAY=$(<"$state/xvfb/display")")
fi
trap 'cmake/xvfb.sh stop "$state/xvfb" >/dev/null 2>&1
      "${wine64[@]}" --shutdown >/dev/null 2>&1; "${wine32[@]}" --shutdown >/dev/null 2>&1' EXIT

# label | runner | plug-in path as the runner sees it
targets=(
    "x64 .so (Linux)|${native_display[*]} build/linux-x64/tools/validate/qc-validate|dist/linux-x64/QuellinCorvane.so"
    "x86 code .so (Linux)|${native_display[*]} build/linux-x64/tools/validate/qc-validate|dist/testing/linux-x64/QuellinCorvane-SynthToolkit.so"
    "x64 DLL (wine64)|${wine64[*]} -- build/windows-x64/tools/validate/qc-validate.exe|Z:$PWD/dist/windows-x64/QuellinCorvane.dll"
    "x86 code DLL (wine64)|${wine64[*]} -- build/windows-x64/tools/validate/qc-validate.exe|Z:$PWD/dist/testing/windows-x64/QuellinCorvane-SynthToolkit.dll"
    "x86 DLL (32-bit Wine)|${wine32[*]} -- build/windows-x86/tools/validate/qc-validate.exe|Z:$PWD/dist/windows-x86/QuellinCorvane.dll"
    "x64 VST3 (Linux)|${native_display[*]} build/linux-x64/tools/validate/qc-validate|dist/linux-x64/QuellinCorvane.vst3"
    "x64 LV2 (Linux)|build/linux-x64/tools/validate/qc-validate|dist/linux-x64/quellin-corvane.lv2"
    "x64 VST3 (wine64)|${wine64[*]} -- build/windows-x64/tools/validate/qc-validate.exe|Z:$PWD/dist/windows-x64/QuellinCorvane.vst3"
)

declare -A cell
columns=()
details=()
failed=0
record() { # label check verdict figure
    cell["$1|$2"]=$3
    [[ " ${columns[*]} " == *" $2 "* ]] || columns+=("$2")
    details+=("$1 / $2: $3 $4")
    [[ $3 == PASS || $3 == SKIP ]] || failed=$((failed + 1))
}

for target in "${targets[@]}"; do
    IFS='|' read -r label runner plugin <<<"$target"
    runner_exe=${runner##* }
    if [[ ! -e $runner_exe ]]; then
        record "$label" build FAIL "($runner_exe not built: make build)"
        continue
    fi
    # shellcheck disable=SC2086 # the runner is a command line
    output=$($runner $thorough "$plugin" 2>"$state/stderr")
    status=$?
    if ((status == 77)); then
        # The 32-bit loader cannot run here; wine-run.sh said why.
        record "$label" run SKIP "$output"
        continue
    fi
    while IFS=$'\t' read -r check verdict figure; do
        [[ -n $check ]] && record "$label" "$check" "$verdict" "$figure"
    done <<<"$output"
    if [[ -z $output || ($status -ne 0 && $output != *FAIL*) ]]; then
        record "$label" run FAIL "(exit $status: $(tail -n 3 "$state/stderr" | tr '\n' ' '))"
    fi
    # memcheck: create, process, chunk round trips, destroy; no error and no leak.
    if [[ $runner != *wine* ]]; then
        if valgrind -q --error-exitcode=9 --leak-check=full --errors-for-leak-kinds=definite,indirect \
            "$runner_exe" --only info,programs,restore,instances "$plugin" >/dev/null 2>"$state/memcheck"; then
            record "$label" memcheck PASS "no error, no leak"
        else
            record "$label" memcheck FAIL "$(grep -m3 -E '==[0-9]+== [A-Z]' "$state/memcheck" | tr '\n' ' ')"
        fi
    fi
done

printf '\n%-26s' "binary"
for column in "${columns[@]}"; do printf ' %-10s' "$column"; done
printf '\n'
for target in "${targets[@]}"; do
    label=${target%%|*}
    printf '%-26s' "$label"
    for column in "${columns[@]}"; do printf ' %-10s' "${cell["$label|$column"]:--}"; done
    printf '\n'
done
printf '\n'
printf '%s\n' "${details[@]}"
echo
if ((failed == 0)); then
    echo "validate: every check passed"
else
    echo "validate: $failed check(s) failed"
fi
((failed == 0))
