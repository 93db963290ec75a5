#!/usr/bin/env bash
# screenshot-editor.sh: saves pictures of the editors as they open: dist/screenshots/
# editor-linux-x64.png from the Linux plug-in, editor-lv2.png from the LV2 panel in jalv.gtk3
# (tests/lv2/lv2_ui_host_test.py --shot, on a dummy JACK server), editor-x64.png,
# editor-x86.png from the x86 build's x86-64 twin, and editor-x86-win32.png from the shipped
# 32-bit DLL. On a private Xvfb
# display the Linux editor-shot program saves its panel itself; each Windows tree's editor-shot
# program holds an editor open under Wine (wine64, or 32-bit Wine for the 32-bit DLL) while
# ImageMagick grabs the panel from the screen's top left corner. Skipped, with a note, when a
# build, Xvfb, ImageMagick or (for the 32-bit picture) 32-bit Wine is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

linux_shot=build/linux-x64/tools/editor-shot/editor-shot
linux_state=build/linux-x64/demo-display
if [[ -x $linux_shot && -f dist/linux-x64/QuellinCorvane.so ]] &&
    cmake/xvfb.sh start "$linux_state" >/dev/null; then
    mkdir -p dist/screenshots
    if DISPLAY=$(<"$linux_state/display") "$linux_shot" dist/linux-x64/QuellinCorvane.so \
        dist/screenshots/editor-linux-x64.png; then
        echo "== dist/screenshots/editor-linux-x64.png (the x64 editor on Linux)"
    fi
    lv2_status=0
    DISPLAY=$(<"$linux_state/display") tests/lv2/lv2_ui_host_test.py \
        --bundle dist/linux-x64/quellin-corvane.lv2 --shot dist/screenshots/editor-lv2.png ||
        lv2_status=$?
    case $lv2_status in
        0) echo "== dist/screenshots/editor-lv2.png (the LV2 panel in jalv.gtk3)" ;;
        77) echo "No LV2 panel screenshot: jalv.gtk3, jackd, xdotool or ImageMagick is missing." ;;
        *) echo "The LV2 panel did not open for its screenshot." >&2 ;;
    esac
    cmake/xvfb.sh stop "$linux_state"
else
    echo "No Linux editor screenshot: build the linux-x64 tree first (or Xvfb did not start)."
fi


state=build/demo-display
if ! compgen -G "build/windows-x*/tools/editor-shot/editor-shot.exe" >/dev/null; then
    echo "No editor screenshots: build the windows-x64 or windows-x86 tree first."
    exit 0
fi
if ! command -v import >/dev/null; then
    echo "No editor screenshots: ImageMagick's import is missing (make deps)."
    exit 0
fi
if ! cmake/xvfb.sh start "$state" >/dev/null; then
    echo "No editor screenshots: Xvfb did not start." >&2
    exit 0
fi
trap 'touch "$state/stop" 2>/dev/null; cmake/xvfb.sh stop "$state"' EXIT

# capture TREE DLL PICTURE SIZE WHAT: holds the editor open with TREE's editor-shot and grabs
# SIZE from the top left corner.
capture() {
    local tree=$1 dll=$2 picture=$3 size=$4 what=$5
    local shot=build/$tree/tools/editor-shot/editor-shot.exe arch=win64 wine=wine64
    [[ $tree == windows-x86 ]] && arch=win32 wine="32-bit Wine"
    if [[ ! -f $dll || ! -f $shot ]]; then
        echo "No screenshot of $what: build the $tree tree first."
        return 0
    fi
    rm -f "$state/stop" "$state/shot.log"
    cmake/wine-run.sh --arch "$arch" --prefix "build/$tree/wineprefix" \
        --display-file "$state/display" -- \
        "$shot" "Z:$PWD/$dll" "Z:$PWD/$state/stop" >"$state/shot.log" 2>&1 &
    local holder=$!
    # The first start of a fresh Wine prefix takes a while.
    for _ in $(seq 600); do
        grep -q '^ready' "$state/shot.log" 2>/dev/null && break
        kill -0 "$holder" 2>/dev/null || break
        sleep 0.1
    done
    local result=0
    if grep -q '^ready' "$state/shot.log"; then
        mkdir -p dist/screenshots
        DISPLAY=$(<"$state/display") import -window root -crop "$size+0+0" +repage "$picture"
        echo "== $picture ($what under $wine)"
    else
        local code=0
        wait "$holder" || code=$?
        if ((code == 77)); then  # 32-bit programs cannot run on this machine
            echo "No screenshot of $what: $(sed -n 's/^SKIPPED: //p' "$state/shot.log")"
            return 0
        fi
        echo "The $what did not open for its screenshot:" >&2
        cat "$state/shot.log" >&2
        result=1
    fi
    touch "$state/stop"
    wait "$holder" || true
    return "$result"
}

status=0
capture windows-x64 dist/windows-x64/QuellinCorvane.dll dist/screenshots/editor-x64.png 512x224 \
    "the x64 editor" || status=1
capture windows-x64 dist/testing/windows-x64/QuellinCorvane-SynthToolkit.dll \
    dist/screenshots/editor-x86.png 513x221 "the x86 editor, its x86-64 twin," || status=1
capture windows-x86 dist/windows-x86/QuellinCorvane.dll dist/screenshots/editor-x86-win32.png \
    513x221 "the x86 editor, the 32-bit DLL," || status=1
exit "$status"
