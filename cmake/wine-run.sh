#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix private to the build tree, creating the
# prefix on first use. Used as the CMake cross-compiling emulator and by the ctest fixture.
#
#   wine-run.sh [--arch win64|win32] --prefix DIR [--display-file FILE] [--] PROGRAM [ARGS...]
#   wine-run.sh ... --prefix DIR --init [PROBE]  create the prefix, start a lingering wineserver
#                                                and run PROBE, a tiny program of the same kind
#                                                (Wine's cmd.exe by default)
#   wine-run.sh ... --prefix DIR --shutdown      stop every Wine process using the prefix
#
# win64 (the default) runs x64 programs with wine64; win32 runs 32-bit ones with Wine's 32-bit
# loader in a 32-bit prefix. The exit status is the program's. DISPLAY is taken from FILE when
# the Xvfb fixture wrote it and is unset otherwise, so results never depend on the caller's
# desktop.
#
# Not every machine can run 32-bit programs (no wine32:i386, or a kernel without 32-bit
# support). For win32 that ends in exit status 77 with one line saying why, which ctest reports
# as a skipped test; the reason is kept next to the prefix so that every later run says the
# same until the next --init looks again.
set -u

arch=win64
prefix=""
display_file=""
mode=run
while (($# > 0)); do
    case $1 in
        --arch) arch=$2; shift 2 ;;
        --prefix) prefix=$2; shift 2 ;;
        --display-file) display_file=$2; shift 2 ;;
        --init) mode=init; shift ;;
        --shutdown) mode=shutdown; shift ;;
        --) shift; break ;;
        *) break ;;
    esac
done
if [[ -z $prefix ]]; then
    echo "wine-run.sh: --prefix is required" >&2
    exit 2
fi

prefix=$(realpath -m "$prefix")
unavailable=$prefix.unavailable
readonly skip_status=77

# unable REASON: 32-bit programs cannot run on this machine; remembered for later runs.
unable() {
    mkdir -p "$(dirname "$prefix")"
    echo "$1" >"$unavailable"
    echo "SKIPPED: $1"
    exit "$skip_status"
}

case $arch in
    win64)
        wine=${QC_WINE:-/usr/lib/wine/wine64}
        wineserver=${QC_WINESERVER:-/usr/lib/wine/wineserver64}
        if [[ ! -x $wine || ! -x $wineserver ]]; then
            echo "wine-run.sh: $wine or $wineserver not found; run 'make deps' (Debian package wine64)" >&2
            exit 2
        fi
        ;;
    win32)
        wine=${QC_WINE32:-/usr/lib/wine/wine}
        wineserver=${QC_WINESERVER32:-/usr/lib/wine/wineserver32}
        if [[ $mode == init ]]; then
            rm -f "$unavailable"
        elif [[ -s $unavailable ]]; then
            [[ $mode == shutdown ]] && exit 0
            echo "SKIPPED: $(<"$unavailable")"
            exit "$skip_status"
        fi
        if [[ ! -x $wine || ! -x $wineserver ]]; then
            [[ $mode == shutdown ]] && exit 0
            unable "this machine cannot run 32-bit Windows programs: $wine is missing (Debian package wine32:i386, which 'make deps' installs when the package mirror has it)"
        fi
        ;;
    *)
        echo "wine-run.sh: --arch must be win64 or win32, not '$arch'" >&2
        exit 2
        ;;
esac

export WINEPREFIX=$prefix
export WINEARCH=$arch
export WINEDEBUG=${WINEDEBUG--all}
# Without Mono and Gecko installed wineboot would offer to download them; the menu builder
# would write desktop entries for a throwaway prefix.
overrides="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDLLOVERRIDES="$overrides${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Every Wine program of a test run shares the run's Xvfb, when one is up: the first program
# starts Wine's desktop process, which serves all later windows and keeps the display it began
# with.
if [[ -z $display_file ]]; then
    display_file=$(dirname "$prefix")/xvfb/display
fi
if [[ -n $display_file && -s $display_file ]]; then
    DISPLAY=$(<"$display_file")
    export DISPLAY
else
    unset DISPLAY
fi

# Keeps stray Wine processes off the caller's pipes: ctest waits for every holder of a test's
# output pipe to exit, and wineserver or services.exe may outlive the test by seconds. Nor may
# they inherit the prefix lock, which would block every later run for the server's lifetime.
detached() {
    "$@" </dev/null >>"$prefix.log" 2>&1 9>&-
}

# A server that outlives each test saves one start-up per test; it quits by itself a minute
# after its last client should the shutdown fixture never run. One already running is kept.
start_server() {
    detached "$wineserver" --persistent=60 || true
}

ensure_prefix() {
    mkdir -p "$(dirname "$prefix")"
    # Two tests started together by ctest -j must not both build the prefix.
    exec 9>"$prefix.lock"
    flock 9
    if [[ ! -f $prefix/.qc-ready ]]; then
        rm -rf "$prefix"
        mkdir -p "$prefix"
        : >"$prefix.log"
        [[ $mode == init ]] && start_server
        if ! detached "$wine" wineboot --init; then
            if [[ $arch == win32 ]]; then
                exec 9>&-
                unable "this machine cannot run 32-bit Windows programs: 32-bit Wine did not start ($(tail -n1 "$prefix.log"))"
            fi
            echo "wine-run.sh: creating the Wine prefix $prefix failed:" >&2
            cat "$prefix.log" >&2
            exit 1
        fi
        touch "$prefix/.qc-ready"
    elif [[ $mode == init ]]; then
        start_server
        # Starts the prefix's services now, detached, rather than under the first test.
        detached "$wine" cmd.exe /c exit 0 || true
    fi
    exec 9>&-
}

case $mode in
    init)
        ensure_prefix
        # A program built like the ones under test shows the whole chain works, runtime
        # included, before any test depends on it; without one, Wine's own command prompt.
        (($# > 0)) || set -- cmd.exe /c exit 0
        if ! detached "$wine" "$@"; then
            [[ $arch == win32 ]] &&
                unable "this machine cannot run 32-bit Windows programs: the probe $(basename "$1") failed under $wine"
            echo "wine-run.sh: the probe $1 failed under $wine:" >&2
            tail -n 5 "$prefix.log" >&2
            exit 1
        fi
        exit 0
        ;;
    shutdown)
        if [[ -d $prefix ]]; then
            "$wineserver" -k </dev/null >/dev/null 2>&1 || true
            "$wineserver" -w </dev/null >/dev/null 2>&1 || true
        fi
        exit 0
        ;;
esac

if (($# == 0)); then
    echo "wine-run.sh: no program given" >&2
    exit 2
fi
ensure_prefix

# Programs the test starts (services.exe, winedevice.exe, ...) can outlive it by as long as
# the wineserver lingers. Were they to inherit the test's output pipe, ctest would wait for
# them too; so the output goes through a file that tail streams until the program exits.
output=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
"$wine" "$@" </dev/null >"$output" 2>&1 &
program=$!
trap 'kill "$program" 2>/dev/null' TERM INT
tail -n +1 -s 0.1 -f --pid="$program" "$output" &
streamer=$!
wait "$program"
status=$?
wait "$streamer"
rm -f "$output"
exit "$status"
