#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the demo need. Quick and silent
# when everything is already present; apt only runs when something is missing.
#   install-deps.sh          what 'make build/test/demo' need
#   install-deps.sh --bench  also the peer plug-ins 'make bench' measures ours against
#
# A package mirror in the middle of a sync can fail one index for hours. The script then goes
# on with the indexes it has: what every build needs usually still installs, and only the
# 32-bit Wine loader, whose i386 libraries must match the amd64 ones version for version, may
# not. Without it the 32-bit tests skip and say why; every other missing package is an error.
# QC_APT_RETRY_PAUSE sets the seconds between tries of 'apt-get update' (5).
set -euo pipefail

required=(
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
    # running and driving the Windows builds and GUI tests
    wine64 xvfb x11-utils xdotool imagemagick util-linux
    # audio files, plots and rendering used by tests and the demo
    libcairo2-dev fonts-dejavu-core libsndfile1-dev pkg-config gnuplot-nox zip
    # the Linux editor (X11 through xcb) and its tests' synthetic input (XTest)
    libxcb1-dev libx11-dev libxtst-dev
    # third-party hosts the plug-in formats are tested in: Ardour (VST3, LV2), the LV2 tools,
    # and a JACK server with a dummy driver for the console host
    ardour lv2-dev lilv-utils lv2file jalv jackd2
)
# Wine's 32-bit loader, for the 32-bit build's tests only.
only_32bit=(wine32:i386)

if [[ ${1:-} == --bench ]]; then
    required+=(dpf-plugins-vst lsp-plugins-vst)
fi

missing_of() {
    local package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
        [[ $status == ii* ]] || echo "$package"
    done
}

mapfile -t missing_required < <(missing_of "${required[@]}")
mapfile -t missing_32bit < <(missing_of "${only_32bit[@]}")
if ((${#missing_required[@]} + ${#missing_32bit[@]} == 0)); then
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# apt's own words for a failure, on one line: its first unmet dependencies or errors.
apt_reason() {
    grep -E '^ *[^ ]+ : (Pre)?Depends:|^ *(Depends|Conflicts|Breaks):|^E: ' "$log" |
        grep -vE '^E: (Unable to correct problems|Error, pkgProblemResolver)' |
        sed -E 's/^ +//; s/^E: //' | awk 'NF && !seen[$0]++' |
        awk 'NR <= 2 {printf "%s%s", (NR > 1 ? "; " : ""), $0}
             END {if (NR > 2) printf " (and %d more)", NR - 2; print ""}'
}

# Each index that failed to download, as apt names it ("bookworm-security/main i386 Packages").
failed_indexes() {
    sed -nE 's/^Err:[0-9]+ [^ ]+ (.*)$/\1/p' "$log" | awk '!seen[$0]++' | paste -sd ',' |
        sed 's/,/, /g'
}

if ((${#missing_32bit[@]} > 0)) && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "deps: adding the i386 architecture"
    "${sudo[@]}" dpkg --add-architecture i386
fi

missing=("${missing_required[@]}" "${missing_32bit[@]}")
echo "deps: installing ${missing[*]}"
tries=3
for ((try = 1; ; try++)); do
    # 'apt-get update' exits 0 on some failed indexes and 100 on others; its E: lines tell.
    if "${sudo[@]}" apt-get update -q >"$log" 2>&1 && ! grep -q '^E: ' "$log"; then
        break
    fi
    if ((try == tries)); then
        indexes=$(failed_indexes)
        echo "deps: apt-get update still fails after $tries tries" \
            "(${indexes:-$(apt_reason)}); going on with the package lists there are"
        break
    fi
    sleep "${QC_APT_RETRY_PAUSE:-5}"
done

if ((${#missing_required[@]} > 0)); then
    if ! "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing_required[@]}" \
        2>&1 | tee "$log"; then
        echo "deps: cannot install what every build needs (${missing_required[*]}): $(apt_reason)" >&2
        exit 1
    fi
fi

if ((${#missing_32bit[@]} > 0)); then
    if ! "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing_32bit[@]}" \
        >"$log" 2>&1; then
        echo "deps: ${missing_32bit[*]} not installed, the 32-bit build's tests will skip:" \
            "$(apt_reason)"
    fi
fi
