#!/usr/bin/env bash
# make-presets.sh [QC_HOST [PLUGIN]]: writes the factory presets in presets/ with qc-host from
# the real Linux plug-in: one .fxp per setting, and a bank holding them all in its first
# programs. The files are committed; run this again only when the settings change.
#
# Values are in each parameter's own terms, as the plug-in displays them; qc-host finds the
# normalised value that shows each one (choices at the middle of their stretch). The promise
# of every preset is in the README's preset table and tests/tools/qc-host/PresetPromisesTest.cpp.
set -euo pipefail
cd "$(dirname "$0")/.."
qc_host=${1:-build/linux-x64/tools/qc-host/qc-host}
plugin=${2:-dist/linux-x64/QuellinCorvane.so}

# file name | program name (at most 23 characters) | Out | CutFrq | Slope | Spread | Amp
presets=(
    "mono-bass-120hz|Mono Bass 120 Hz|Both|120Hz|-6|0|0dB"
    "mono-sub-80hz|Mono Sub 80 Hz|Both|80Hz|-6|0|0dB"
    "bass-lift-3db|Bass Lift +3 dB|Both|120Hz|-12|100|+3dB"
    "high-band-only-150hz|High Band Only 150 Hz|High|150Hz|-6|100|0dB"
    "low-band-solo-100hz|Low Band Solo 100 Hz|Low|100Hz|-24|100|0dB"
    "narrow-low-end-200hz|Narrow Low End 200 Hz|Both|200Hz|-6|50|-1.02dB"
)

mkdir -p presets
rm -f presets/*.fxp presets/*.fxb
bank_args=()
for ((i = 0; i < ${#presets[@]}; ++i)); do
    IFS='|' read -r file name out cutoff slope spread amp <<<"${presets[i]}"
    "$qc_host" preset save "$plugin" "presets/$file.fxp" --name "$name" \
        --set Out="$out" --set CutFrq="$cutoff" --set Slope="$slope" \
        --set Spread="$spread" --set Amp="$amp"
    bank_args+=(--program "$i" --preset "presets/$file.fxp")
done
"$qc_host" preset save "$plugin" presets/QuellinCorvane-Factory.fxb "${bank_args[@]}" --program 0
ls -l presets
