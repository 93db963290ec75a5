#!/usr/bin/env bash
# demo.sh: the demo 'make demo' runs once everything is built. It makes a stereo test signal,
# renders it through the Linux plug-in and the Windows x64 DLL (under wine64) with every
# factory preset, and through the x86 build's 32-bit DLL (under 32-bit Wine) and its x86-64
# twin; plots each preset's response, takes editor screenshots when tools/screenshot-editor.sh
# exists, and prints a table of what each preset did.
#
#   demo.sh [--seconds S] [--out DIR] [--no-windows | --no-x64 | --no-x86] [--check]
#           [--keep-wine] [--no-screenshots]
#
# --no-x64 and --no-x86 leave out one Windows DLL, --no-windows both. --check fails the run
# when a Linux and a Windows x64 render differ, or the 32-bit DLL's render and its twin's; make
# test runs it that way with a short signal. --keep-wine leaves the Wine servers to whoever started them (ctest's fixture).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=10
out=dist/demo
windows=1
x86=1
check=0
keep_wine=0
screenshots=1
while (($# > 0)); do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --no-windows) windows=0; x86=0; shift ;;
        --no-x64) windows=0; shift ;;
        --no-x86) x86=0; shift ;;
        --check) check=1; shift ;;
        --keep-wine) keep_wine=1; shift ;;
        --no-screenshots) screenshots=0; shift ;;
        *) echo "demo.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

qc_host=${QC_HOST:-build/linux-x64/tools/qc-host/qc-host}
qc_host_exe=${QC_HOST_WINDOWS:-build/windows-x64/tools/qc-host/qc-host.exe}
plugin_so=dist/linux-x64/QuellinCorvane.so
plugin_dll=dist/windows-x64/QuellinCorvane.dll
wine_run=(cmake/wine-run.sh --prefix build/windows-x64/wineprefix)
qc_host_x86=${QC_HOST_WINDOWS_X86:-build/windows-x86/tools/qc-host/qc-host.exe}
plugin_x86=dist/windows-x86/QuellinCorvane.dll
plugin_twin=dist/testing/linux-x64/QuellinCorvane-SynthToolkit.so
wine_run_x86=(cmake/wine-run.sh --arch win32 --prefix build/windows-x86/wineprefix)
# The 32-bit DLL's render matches its twin's bit for bit: the per-sample arithmetic is single
# precision on SSE in both (the x86 toolchain file keeps it off the x87 unit, and no build fuses
# multiply-adds). The only library maths on the audio side, exp and pow for the coefficients,
# comes from different code (MinGW-w64's runtime, x87 inside, linked into the DLL; glibc for
# the twin), but runs in double and is rounded to float: a last-bit difference in the double
# changes the float only when it sits right at a rounding boundary.

for needed in "$qc_host" "$plugin_so"; do
    if [[ ! -x $needed && ! -f $needed ]]; then
        echo "demo.sh: $needed is missing; run 'make build' first" >&2
        exit 1
    fi
done
if ((windows)) && [[ ! -f $qc_host_exe || ! -f $plugin_dll ]]; then
    echo "demo.sh: $qc_host_exe or $plugin_dll is missing; Windows renders skipped" >&2
    windows=0
fi
if ((x86)); then
    for needed in "$qc_host_x86" "$plugin_x86" "$plugin_twin"; do
        if [[ ! -f $needed ]]; then
            echo "demo.sh: $needed is missing; 32-bit renders skipped" >&2
            x86=0
            break
        fi
    done
fi
mkdir -p "$out"
out=$(realpath "$out")
started=$SECONDS

# ---- 1. The demo signal ------------------------------------------------------------------
signal=$out/demo-signal.wav
echo "== demo signal: ${seconds} s, 48 kHz stereo -> $signal"
"$qc_host" demo-signal "$signal" --seconds "$seconds" --rate 48000

mapfile -t presets < <(find presets -maxdepth 1 -name '*.fxp' | sort)
if ((${#presets[@]} == 0)); then
    echo "demo.sh: no presets in presets/" >&2
    exit 1
fi
preset_name() { "$qc_host" preset show "$1" | sed -n 's/^name: *//p'; }

# ---- 2. Renders ---------------------------------------------------------------------------
# One Wine server per prefix for all the renders rather than one start-up each.
started_x64=0
started_x86=0
x86_skipped=0
shutdown_servers() {
    ((started_x64)) && "${wine_run[@]}" --shutdown
    ((started_x86)) && "${wine_run_x86[@]}" --shutdown
    return 0
}
trap shutdown_servers EXIT
if ((windows && !keep_wine)); then
    "${wine_run[@]}" --init
    started_x64=1
fi
if ((x86)); then
    # The 32-bit DLL needs 32-bit Wine; a machine without it skips these renders and says why.
    x86_status=0
    if ((keep_wine)); then
        # The prefix is someone else's to set up; this only asks whether it can run anything.
        "${wine_run_x86[@]}" -- cmd.exe /c exit 0 || x86_status=$?
    else
        "${wine_run_x86[@]}" --init || x86_status=$?
        started_x86=1
    fi
    if ((x86_status == 77)); then
        echo "demo.sh: 32-bit renders skipped" >&2
        x86=0
        x86_skipped=1
    elif ((x86_status != 0)); then
        echo "demo.sh: 32-bit Wine did not start" >&2
        exit 1
    fi
fi
for preset in "${presets[@]}"; do
    base=$(basename "$preset" .fxp)
    echo "== render $base"
    "$qc_host" render "$plugin_so" "$signal" "$out/$base-linux.wav" --preset "$preset"
    if ((windows)); then
        "${wine_run[@]}" -- "$qc_host_exe" render "$root/$plugin_dll" "$signal" \
            "$out/$base-windows.wav" --preset "$root/$preset"
    fi
    if ((x86)); then
        "$qc_host" render "$plugin_twin" "$signal" "$out/$base-x86-twin.wav" --preset "$preset"
        "${wine_run_x86[@]}" -- "$qc_host_x86" render "Z:$root/$plugin_x86" "Z:$signal" \
            "Z:$out/$base-x86-win32.wav" --preset "Z:$root/$preset"
    fi
done

# ---- 3. Response plots --------------------------------------------------------------------
curves=()
for preset in "${presets[@]}"; do
    base=$(basename "$preset" .fxp)
    name=$(preset_name "$preset")
    "$qc_host" response "$plugin_so" "$out/response-$base.png" --preset "$preset" \
        --curve "$name" --title "Quellin Corvane: $name"
    curves+=(--curve "$name" --preset "$preset")
done
"$qc_host" response "$plugin_so" "$out/response-all.png" "${curves[@]}" \
    --title "Quellin Corvane: the factory presets"
echo "== response plots: $out/response-*.png"

# ---- 4. Editor screenshots (a step of its own, when present) -----------------------------
if ((screenshots)) && [[ -x tools/screenshot-editor.sh ]]; then
    tools/screenshot-editor.sh
fi

# ---- 5. The table -------------------------------------------------------------------------
echo
echo "Per preset: levels in and out, the L/R correlation below 120 Hz before and after"
echo "(1.0 = mono low end) and the largest sample difference between the Linux and the"
echo "Windows render (n/a without a Windows render)."
echo
"$qc_host" analyze --header
differ=0
for preset in "${presets[@]}"; do
    base=$(basename "$preset" .fxp)
    compare=()
    ((windows)) && compare=(--compare "$out/$base-windows.wav")
    row=$("$qc_host" analyze "$signal" "$out/$base-linux.wav" "${compare[@]}" --row "$base")
    echo "$row"
    if ((windows)) && [[ $(awk '{print $NF}' <<<"$row") != 0 ]]; then
        differ=1
    fi
done


strays=0
if ((x86)); then
    echo
    echo "The x86 build: its 32-bit DLL under 32-bit Wine against its x86-64 twin on Linux (the"
    echo "last column is the largest sample difference between the two renders; 0 is expected,"
    echo "see demo.sh)."
    echo
    "$qc_host" analyze --header
    for preset in "${presets[@]}"; do
        base=$(basename "$preset" .fxp)
        row=$("$qc_host" analyze "$signal" "$out/$base-x86-twin.wav" \
            --compare "$out/$base-x86-win32.wav" --row "$base")
        echo "$row"
        if [[ $(awk '{print $NF}' <<<"$row") != 0 ]]; then strays=1; fi
    done
fi

echo
echo "Done in $((SECONDS - started)) s. Renders and plots: $out"
[[ -d dist/screenshots ]] && echo "Editor screenshots: $root/dist/screenshots"
if ((check && differ)); then
    echo "demo.sh: the Linux and Windows renders differ" >&2
    exit 1
fi
if ((check && strays)); then
    echo "demo.sh: the 32-bit DLL's render differs from its twin's" >&2
    exit 1
fi
# A check that could not compare what it was asked to is a skip (for ctest), not a pass.
if ((check && x86_skipped)); then
    exit 77
fi
