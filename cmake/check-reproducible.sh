#!/usr/bin/env bash
# check-reproducible.sh DLL DIR...: fails when the DLL carries what would make two builds of
# the same sources differ: a link time in the PE header, or any of the given folders (the
# source and build trees) among its strings.
set -euo pipefail
dll=$1
shift
if [[ ! -f $dll ]]; then
    echo "check-reproducible.sh: $dll not found" >&2
    exit 2
fi
status=0
"$(dirname "$0")/pecheck.py" --no-timestamp "$dll" >/dev/null || status=1
for dir in "$@"; do
    if found=$(strings -n 6 "$dll" | grep -F -m 3 "$dir"); then
        echo "$dll: holds the build path $dir:" >&2
        echo "$found" >&2
        status=1
    fi
done
((status == 0)) && echo "$dll: no link time, no build paths"
exit "$status"
