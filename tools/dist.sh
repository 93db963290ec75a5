#!/usr/bin/env bash
# dist.sh: packs the release, dist/QuellinCorvane-<version>.zip, from the built binaries:
# x64/ and x86/ Windows DLLs, linux-x64/ .so, the VST3 bundle with both platforms' binaries,
# the LV2 bundle, presets/, README, LICENSE and SHA256SUMS. The
# version is the CMake project's. Entries carry a fixed date and order, so packing the same
# binaries twice gives the same zip.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(QuellinCorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
if [[ -z $version ]]; then
    echo "dist.sh: no version found in CMakeLists.txt's project()" >&2
    exit 1
fi
name=QuellinCorvane-$version
vst3_win=QuellinCorvane.vst3/Contents/x86_64-win/QuellinCorvane.vst3
vst3_linux=QuellinCorvane.vst3/Contents/x86_64-linux/QuellinCorvane.so
files=(
    "dist/windows-x64/QuellinCorvane.dll:x64/QuellinCorvane.dll"
    "dist/windows-x86/QuellinCorvane.dll:x86/QuellinCorvane.dll"
    "dist/linux-x64/QuellinCorvane.so:linux-x64/QuellinCorvane.so"
    "dist/windows-x64/$vst3_win:vst3/$vst3_win"
    "dist/linux-x64/$vst3_linux:vst3/$vst3_linux"
    "README.md:README.md"
    "LICENSE:LICENSE"
)
for preset in presets/*.fxp presets/*.fxb; do files+=("$preset:$preset"); done
lv2=dist/linux-x64/quellin-corvane.lv2
if [[ ! -f $lv2/manifest.ttl ]]; then
    echo "dist.sh: $lv2 is missing; run 'make build' first" >&2
    exit 1
fi
for file in "$lv2"/*; do files+=("$file:lv2/${file#dist/linux-x64/}"); done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
for entry in "${files[@]}"; do
    from=${entry%%:*} to=${entry#*:}
    if [[ ! -f $from ]]; then
        echo "dist.sh: $from is missing; run 'make build' first" >&2
        exit 1
    fi
    mkdir -p "$stage/$name/$(dirname "$to")"
    cp "$from" "$stage/$name/$to"
done
(cd "$stage/$name" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort |
    xargs sha256sum >SHA256SUMS)
# A fixed date on every entry, in a fixed order, without extra attributes.
find "$stage/$name" -exec touch -h -d '2000-01-01 00:00:00 UTC' {} +
zip_path=$PWD/dist/$name.zip
rm -f "$zip_path"
(cd "$stage" && find "$name" | LC_ALL=C sort | TZ=UTC zip -q -X -D "$zip_path" -@)
echo "dist: $zip_path"
(cd "$stage/$name" && cat SHA256SUMS)
