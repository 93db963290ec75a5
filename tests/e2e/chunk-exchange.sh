#!/usr/bin/env bash
# chunk-exchange.sh DIR X64_EXE X64_PREFIX X86_EXE X86_PREFIX
# Program and bank files travel between the two Windows builds: the x64 side (X64_EXE, run
# under wine64 in X64_PREFIX) saves its files into DIR, the x86 side (under 32-bit Wine in
# X86_PREFIX) loads them and saves its own, and the x64 side loads those. Exit status 77, with
# the reason, when one side cannot run here; ctest shows that as a skipped test.
set -u
if (($# != 5)); then
    echo "usage: chunk-exchange.sh DIR X64_EXE X64_PREFIX X86_EXE X86_PREFIX" >&2
    exit 2
fi
dir=$(realpath -m "$1")
x64_exe=$2
x64_prefix=$3
x86_exe=$4
x86_prefix=$5
wine_run=$(dirname "$0")/../../cmake/wine-run.sh

if [[ ! -f $x64_exe ]]; then
    echo "SKIPPED: the x64 side, $x64_exe, is missing: build the windows-x64 preset first"
    exit 77
fi
rm -rf "$dir"
mkdir -p "$dir"
export QC_EXCHANGE_DIR="Z:$dir"

x64_ran=0
# side ARCH EXE PREFIX TESTS: one side's run; returns its exit status.
side() {
    local arch=$1 exe=$2 prefix=$3 tests=$4
    echo "=== $arch: $tests"
    [[ $arch == win64 ]] && x64_ran=1
    "$wine_run" --arch "$arch" --prefix "$prefix" -- "$exe" --gtest_color=no \
        --gtest_filter="ChunkExchange.$tests"
}

status=0
side win64 "$x64_exe" "$x64_prefix" Save || status=$?
if ((status == 0)); then
    side win32 "$x86_exe" "$x86_prefix" "Save:ChunkExchange.TheOtherBuilds*" || status=$?
fi
if ((status == 0)); then
    side win64 "$x64_exe" "$x64_prefix" "TheOtherBuilds*" || status=$?
fi
# The x64 prefix serves only this test; its server should not linger.
((x64_ran)) && "$wine_run" --arch win64 --prefix "$x64_prefix" --shutdown
exit "$status"
