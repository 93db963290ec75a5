#!/usr/bin/env bash
# demo.sh: the demo 'make demo' runs once everything is built. It makes a stereo test signal,
# renders it through the Linux plug-in and the Windows x64 DLL (under wine64) with every
# factory preset, plots each preset's response, takes editor screenshots when
# tools/screenshot-editor.sh exists, and prints a table of what each preset did.
#
#   demo.sh [--seconds S] [--out DIR] [--no-windows] [--check] [--keep-wine] [--no-screenshots]
#
# --check fails the run when a Linux and a Windows render differ; make test runs it that way
# with a short signal. --keep-wine leaves the Wine server to whoever started it (ctest's
# fixture).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

seconds=10
out=dist/demo
windows=1
check=0
keep_wine=0
screenshots=1
while (($# > 0)); do
    case $1 in
        --seconds) seconds=$2; shift 2 ;;
        --out) out=$2; shift 2 ;;
        --no-windows) windows=0; shift ;;
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
if ((windows && !keep_wine)); then
    # One Wine server for all the renders rather than one start-up each.
    "${wine_run[@]}" --init
    trap '"${wine_run[@]}" --shutdown' EXIT
fi
for preset in "${presets[@]}"; do
    base=$(basename "$preset" .fxp)
    echo "== render $base"
    "$qc_host" render "$plugin_so" "$signal" "$out/$base-linux.wav" --preset "$preset"
    if ((windows)); then
        "${wine_run[@]}" -- "$qc_host_exe" render "$root/$plugin_dll" "$signal" \
            "$out/$base-windows.wav" --preset "$root/$preset"
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

echo
echo "Done in $((SECONDS - started)) s. Renders and plots: $out"
[[ -d dist/screenshots ]] && echo "Editor screenshots: $root/dist/screenshots"
if ((check && differ)); then
    echo "demo.sh: the Linux and Windows renders differ" >&2
    exit 1
fi
