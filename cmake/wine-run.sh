#!/usr/bin/env bash
# Runs a Windows x64 program under Wine in a prefix private to the build tree, creating the
# prefix on first use. Used as the CMake cross-compiling emulator and by the ctest fixture.
#
#   wine-run.sh --prefix DIR [--display-file FILE] [--] PROGRAM [ARGS...]
#   wine-run.sh --prefix DIR --init        create the prefix and start a lingering wineserver
#   wine-run.sh --prefix DIR --shutdown    stop every Wine process using the prefix
#
# The exit status is the program's. DISPLAY is taken from FILE when the Xvfb fixture wrote it
# and is unset otherwise, so results never depend on the caller's desktop.
set -u

prefix=""
display_file=""
mode=run
while (($# > 0)); do
    case $1 in
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

wine=${QC_WINE:-/usr/lib/wine/wine64}
wineserver=${QC_WINESERVER:-/usr/lib/wine/wineserver64}
if [[ ! -x $wine || ! -x $wineserver ]]; then
    echo "wine-run.sh: $wine or $wineserver not found; run 'make deps' (Debian package wine64)" >&2
    exit 2
fi

prefix=$(realpath -m "$prefix")
export WINEPREFIX=$prefix
export WINEARCH=win64
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
