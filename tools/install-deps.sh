#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need. Quick and silent
# when everything is already present; apt only runs when something is missing.
#   install-deps.sh          what 'make build/test/demo' need
#   install-deps.sh --bench  also the peer plug-ins 'make bench' measures ours against
set -euo pipefail

packages=(
    # native toolchain and build system
    g++ make cmake ninja-build clang-format binutils file
    # tests and benchmarks (GoogleTest is built from its Debian source package; python3 runs
    # the DLL checks)
    googletest libbenchmark-dev python3
    # the fuzzing tree: clang with libFuzzer and its sanitizer runtimes
    clang-14 libfuzzer-14-dev libclang-rt-14-dev
    # Windows cross toolchains (posix thread model) and their binutils/windres
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    # running and driving the Windows builds and GUI tests: wine64 for x64, and Wine's 32-bit
    # loader (from the i386 architecture, added below when missing) for x86
    wine64 wine32:i386 xvfb x11-utils xdotool imagemagick util-linux
    # audio files, plots and rendering used by tests and the demo
    libcairo2-dev fonts-dejavu-core libsndfile1-dev pkg-config gnuplot-nox zip
    # the Linux editor (X11 through xcb) and its tests' synthetic input (XTest)
    libxcb1-dev libx11-dev libxtst-dev
)

if [[ ${1:-} == --bench ]]; then
    packages+=(dpf-plugins-vst lsp-plugins-vst)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
    if [[ $status != ii* ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    echo "deps: all ${#packages[@]} packages installed"
    exit 0
fi

echo "deps: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *:i386\ * ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "deps: adding the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
