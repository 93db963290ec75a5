#!/usr/bin/env bash
# demo.sh: lists every plug-in binary under dist/ with its size and exported entry points.
set -euo pipefail
cd "$(dirname "$0")/.."
pecheck=build/linux-x64/tools/pecheck/pecheck

mapfile -t binaries < <(find dist -type f \( -name '*.dll' -o -name '*.so' \) 2>/dev/null | sort)
if ((${#binaries[@]} == 0)); then
    echo "No plug-in binaries in dist/ yet; they appear there once the plug-in targets exist."
    exit 0
fi
for binary in "${binaries[@]}"; do
    echo "== $binary ($(stat -c %s "$binary") bytes)"
    case $binary in
        *.dll) "$pecheck" "$binary" --list ;;
        *.so) echo "  exported:"; nm -D --defined-only "$binary" | awk '{print "    " $3}' ;;
    esac
done
