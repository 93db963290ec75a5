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
# The COFF header follows the "PE\0\0" signature, whose offset is stored at 0x3C; its
# TimeDateStamp field sits 8 bytes after the signature.
read_u32() { od -An -t u4 -j "$2" -N 4 "$1" | tr -d ' '; }
pe=$(read_u32 "$dll" 60)
stamp=$(read_u32 "$dll" $((pe + 8)))
status=0
if [[ $stamp != 0 ]]; then
    echo "$dll: the PE header holds a link time ($stamp); link with --no-insert-timestamp" >&2
    status=1
fi
for dir in "$@"; do
    if found=$(strings -n 6 "$dll" | grep -F -m 3 "$dir"); then
        echo "$dll: holds the build path $dir:" >&2
        echo "$found" >&2
        status=1
    fi
done
((status == 0)) && echo "$dll: no link time, no build paths"
exit "$status"
