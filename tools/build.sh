#!/usr/bin/env bash
# build.sh PRESET...  configures (quietly) and builds each preset in order.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in "$@"; do
    echo "=== build $preset"
    cmake --preset "$preset" --log-level=NOTICE
    cmake --build --preset "$preset"
done
