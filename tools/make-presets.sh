#!/usr/bin/env bash
# make-presets.sh [QC_HOST [PLUGIN]]: writes the factory presets in presets/ with qc-host from
# the real Linux plug-in: one .fxp per setting, and a bank holding them all in its first
# programs. The files are committed; run this again only when the settings change.
#
# Values are normalised: Output Off/Low/High/Both sit at the centres of the value's quarters
# (0.125/0.375/0.625/0.875), as do the slopes -6/-12/-18/-24 dB/oct; the cutoff is
# sqrt(Hz / 10000); Bass Amp is (dB / 10 + 1) / 2; Spread runs from 0 (mono) to 1 (stereo).
set -euo pipefail
cd "$(dirname "$0")/.."
qc_host=${1:-build/linux-x64/tools/qc-host/qc-host}
plugin=${2:-dist/linux-x64/QuellinCorvane.so}

# file name | program name (at most 23 characters) | Out | CutFrq | Slope | Spread | Amp
presets=(
    "mono-bass-120hz|Mono Bass 120 Hz|0.875|0.1095445|0.125|0|0.5"
    "mono-sub-80hz|Mono Sub 80 Hz|0.875|0.0894427|0.125|0|0.5"
    "bass-lift-3db|Bass Lift +3 dB|0.875|0.1095445|0.375|1|0.65"
    "high-band-only-150hz|High Band Only 150 Hz|0.625|0.1224745|0.125|1|0.5"
    "low-band-solo-100hz|Low Band Solo 100 Hz|0.375|0.1|0.875|1|0.5"
    "narrow-low-end-200hz|Narrow Low End 200 Hz|0.875|0.1414214|0.125|0.5|0.449"
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
