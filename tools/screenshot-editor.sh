#!/usr/bin/env bash
# screenshot-editor.sh: saves a picture of the x64 editor as it opens, dist/screenshots/
# editor-x64.png. The editor-shot program holds the editor open on a private Xvfb display under
# Wine while ImageMagick grabs the panel from the screen's top left corner. Skipped, with a
# note, when the Windows build, Xvfb or ImageMagick is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

shot=build/windows-x64/tools/editor-shot/editor-shot.exe
dll=dist/windows-x64/QuellinCorvane.dll
state=build/windows-x64/demo-display
if [[ ! -f $shot || ! -f $dll ]]; then
    echo "No editor screenshot: build the windows-x64 tree first."
    exit 0
fi
if ! command -v import >/dev/null; then
    echo "No editor screenshot: ImageMagick's import is missing (make deps)."
    exit 0
fi
if ! cmake/xvfb.sh start "$state" >/dev/null; then
    echo "No editor screenshot: Xvfb did not start." >&2
    exit 0
fi
trap 'touch "$state/stop" 2>/dev/null; cmake/xvfb.sh stop "$state"' EXIT
rm -f "$state/stop" "$state/shot.log"
cmake/wine-run.sh --prefix build/windows-x64/wineprefix --display-file "$state/display" -- \
    "$shot" "Z:$PWD/$dll" "Z:$PWD/$state/stop" >"$state/shot.log" 2>&1 &
holder=$!
# The first start of a fresh Wine prefix takes a while.
for _ in $(seq 600); do
    grep -q '^ready' "$state/shot.log" 2>/dev/null && break
    kill -0 "$holder" 2>/dev/null || break
    sleep 0.1
done
status=0
if grep -q '^ready' "$state/shot.log"; then
    mkdir -p dist/screenshots
    DISPLAY=$(<"$state/display") import -window root -crop 512x224+0+0 +repage \
        dist/screenshots/editor-x64.png
    echo "== dist/screenshots/editor-x64.png (the x64 editor under wine64)"
else
    echo "The x64 editor did not open for its screenshot:" >&2
    cat "$state/shot.log" >&2
    status=1
fi
touch "$state/stop"
wait "$holder" || true
exit "$status"
