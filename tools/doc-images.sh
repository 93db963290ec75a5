#!/usr/bin/env bash
# doc-images.sh: redraws the README's response plots in docs/images/ from the built Linux
# plug-in with qc-host and gnuplot (make deps installs both's needs).
#   response-mono-bass.png    mid and side of two factory presets
#   side-mono-slopes.png      the side at Spread mono, 120 Hz, for each of the four slopes
set -euo pipefail
cd "$(dirname "$0")/.."
qc_host=${QC_HOST:-build/linux-x64/tools/qc-host/qc-host}
plugin=dist/linux-x64/QuellinCorvane.so
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$qc_host" response "$plugin" "$work/presets.png" \
    --curve "Mono Bass 120 Hz" --preset presets/mono-bass-120hz.fxp \
    --curve "Bass Lift +3 dB" --preset presets/bass-lift-3db.fxp \
    --title "Quellin Corvane: Mono Bass 120 Hz and Bass Lift +3 dB"
cp "$work/presets.png" docs/images/response-mono-bass.png

# The mid is 0 dB at every slope here, so only the side is drawn, against that line.
"$qc_host" response "$plugin" "$work/slopes.png" --csv-only \
    --set Out=Both --set CutFrq=120Hz --set Spread=0 --set Amp=0dB \
    --curve "-6" --set Slope=-6 --curve "-12" --set Slope=-12 \
    --curve "-18" --set Slope=-18 --curve "-24" --set Slope=-24
gnuplot <<GP
set terminal pngcairo size 1100,640 enhanced font 'DejaVu Sans,12' linewidth 1.5
set output 'docs/images/side-mono-slopes.png'
set title 'Quellin Corvane at Spread mono, cutoff 120 Hz: the side (L−R) for each slope'
set datafile separator ','
set logscale x 10
set xrange [10:2000]
set yrange [-30:6]
set xtics ('10' 10.001, '20' 20, '30' 30, '50' 50, '100' 100, '120' 120, '200' 200, '500' 500, '1k' 1000, '2k' 1999)
set ytics 3
set grid xtics ytics lc rgb '#d0d0d0'
set xlabel 'Frequency (Hz)'
set ylabel 'Level (dB)'
set key inside right bottom opaque box lc rgb '#a0a0a0' spacing 1.1
set lmargin 9
set rmargin 4
plot 0 with lines lw 1.5 lc rgb '#808080' dt 3 title 'mid (L+R), every slope', \
     '$work/slopes.csv' using 1:3 with lines lw 2 lc rgb '#1f77b4' title 'side, −6 dB/oct (one stage)', \
     '$work/slopes.csv' using 1:5 with lines lw 2 lc rgb '#2ca02c' title 'side, −12 dB/oct (two stages)', \
     '$work/slopes.csv' using 1:7 with lines lw 2 lc rgb '#ff7f0e' title 'side, −18 dB/oct (three stages)', \
     '$work/slopes.csv' using 1:9 with lines lw 2 lc rgb '#d62728' title 'side, −24 dB/oct (four stages)'
GP
ls -l docs/images
