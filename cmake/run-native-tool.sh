#!/usr/bin/env bash
# run-native-tool.sh TOOL [ARGS...]
# Runs a tool built by the linux-x64 tree, failing clearly when that tree has not built it.
set -u
tool=$1
shift
if [[ ! -x $tool ]]; then
    echo "error: native tool '$tool' does not exist." >&2
    echo "Build the linux-x64 preset first ('make build' does), or set QC_NATIVE_TOOLS_DIR" >&2
    echo "to the tools/pecheck folder of a linux-x64 build." >&2
    exit 1
fi
exec "$tool" "$@"
