#!/usr/bin/env bash
# with-display.sh FILE [--] PROGRAM [ARGS...]
# Runs PROGRAM on the display named in FILE (written by xvfb.sh), or with no display at all
# when FILE is absent, so results never depend on the caller's desktop.
set -u
file=$1
shift
[[ ${1-} == -- ]] && shift
if [[ -s $file ]]; then
    DISPLAY=$(<"$file")
    export DISPLAY
else
    unset DISPLAY
fi
exec "$@"
