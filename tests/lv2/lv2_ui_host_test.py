#!/usr/bin/env python3
"""The LV2 panel in a real host: jalv.gtk3 on a dummy JACK server shows it embedded on $DISPLAY,
where xdotool finds and drives it and ImageMagick grabs it.
lv2_ui_host_test.py --bundle DIR --vst2 SO --editor-shot EXE runs the checks;
lv2_ui_host_test.py --bundle DIR --shot PICTURE only saves the panel's picture (make demo).
Exits 77 (skipped) when a tool is missing."""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

URI = "https://quellin.example/plugins/corvane"
VIEW_CLASS = "QuellinCorvaneWindowClass"
TOOLS = ["jalv.gtk3", "jackd", "xdotool", "xwininfo", "import", "compare"]


def run(*command, **options):
    return subprocess.run([str(c) for c in command], capture_output=True, text=True, timeout=60,
                          check=True, **options).stdout


def until(probe, seconds=15):
    """probe's first true answer, or None after the time."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    return None


class Jalv:
    """jalv.gtk3 with the bundle alone, a private HOME and its own dummy JACK server, both
    stopped by their process IDs."""

    def __init__(self, bundle):
        self.tmp = Path(tempfile.mkdtemp())
        (self.tmp / "lv2").mkdir()
        (self.tmp / "lv2" / "quellin-corvane.lv2").symlink_to(Path(bundle).resolve())
        home = self.tmp / "home"
        home.mkdir()
        server = f"qc-lv2-ui-{os.getpid()}"
        self.env = dict(os.environ, LV2_PATH=f"/usr/lib/lv2:{self.tmp / 'lv2'}", HOME=str(home),
                        XDG_CONFIG_HOME=str(home), XDG_CACHE_HOME=str(home),
                        XDG_DATA_HOME=str(home), JACK_DEFAULT_SERVER=server)
        self.processes = []
        self.start(["jackd", "-n", server, "--no-realtime", "-d", "dummy", "-r", "48000", "-p",
                    "256"])
        time.sleep(1.5)
        self.start(["jalv.gtk3", URI], cwd=self.tmp)
        self.view = until(lambda: self.windows("--class", VIEW_CLASS))
        if not self.view:
            self.close()
            raise RuntimeError("jalv.gtk3 shows no panel")
        self.view = self.view[0]
        if not until(lambda: "IsViewable" in run("xwininfo", "-id", self.view)):
            self.close()
            raise RuntimeError("the panel is not shown")
        time.sleep(1)  # the host's first idle calls paint it

    def start(self, command, **options):
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL, start_new_session=True,
                                               **options))

    def windows(self, *query):
        found = subprocess.run(["xdotool", "search", *query], capture_output=True, text=True)
        return found.stdout.split()

    def size(self, window):
        shown = run("xwininfo", "-id", window)
        return (int(re.search(r"Width: (\d+)", shown).group(1)),
                int(re.search(r"Height: (\d+)", shown).group(1)))

    def shot(self, picture):
        # The pointer rests on the cutoff knob, as for the VST editor's picture: the status line
        # shows its value.
        run("xdotool", "mousemove", "--window", self.view, 227, 150, "sleep", "0.5")
        run("import", "-window", self.view, picture)

    def drag(self, x, y, to_y):
        run("xdotool", "mousemove", "--window", self.view, x, y, "mousedown", "1", "sleep", "0.2",
            *[a for step in range(y - 5, to_y - 1, -5)
              for a in ("mousemove", "--window", self.view, x, step, "sleep", "0.05")],
            "mouseup", "1", "sleep", "0.3")

    def save_state(self):
        """The port values jalv holds, by symbol, through its File > Save menu."""
        top = self.windows("--name", "^Quellin Corvane$")[0]
        run("xdotool", "mousemove", "--window", top, 15, 12, "click", "1", "sleep", "0.5",
            "key", "Down", "Return")
        dialog = until(lambda: self.windows("--name", "^Save State$"))[0]
        until(lambda: "IsViewable" in run("xwininfo", "-id", dialog))
        time.sleep(1)  # GTK takes input once the dialog has settled
        run("xdotool", "mousemove", "--window", dialog, 300, 26, "click", "1", "sleep", "0.3",
            "type", "saved")  # type takes every argument after it
        time.sleep(1)
        run("xdotool", "key", "Return")
        state = self.tmp / "saved" / "state.ttl"
        ports = until(lambda: state.exists() and dict(re.findall(
            r'lv2:symbol "(\w+)" ;\s*pset:value ([-\d.e]+)', state.read_text())))
        return {symbol: float(value) for symbol, value in (ports or {}).items()}

    def close(self):
        for process in reversed(self.processes):
            os.killpg(process.pid, signal.SIGTERM)
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:  # a dialog's loop does not end on SIGTERM
                os.killpg(process.pid, signal.SIGKILL)
                process.wait(5)
        shutil.rmtree(self.tmp, True)


def differing_pixels(a, b):
    """Pixels that differ by more than 2 % between two pictures."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", str(a), str(b), "null:"],
                            capture_output=True, text=True)
    return int(float(result.stderr.split()[0]))


def check(args):
    work = Path(tempfile.mkdtemp())
    failures = []
    reference = work / "editor.png"
    # The VST editor at its defaults with the pointer on the cutoff knob, as the screenshot tool
    # saves it; before jalv takes the same corner of the screen.
    run(args.editor_shot, args.vst2, reference)
    jalv = Jalv(args.bundle)
    try:
        size = jalv.size(jalv.view)
        print(f"panel window {jalv.view}: {size[0]}x{size[1]}")
        if size != (512, 224):
            failures.append(f"the panel is {size[0]}x{size[1]}, not 512x224")
        jalv.shot(work / "lv2.png")
        differ = differing_pixels(work / "lv2.png", reference)
        print(f"pixels differing from the VST editor's picture: {differ}")
        if differ > 0:
            failures.append(f"{differ} pixels differ from the VST editor's picture")
        jalv.drag(227, 150, 110)
        ports = jalv.save_state()
        print(f"ports after dragging Cutoff up: {ports}")
        if not ports.get("cutoff", 0.0) > 1000.0:
            failures.append(f"the drag did not raise the cutoff port: {ports}")
    finally:
        jalv.close()
        shutil.rmtree(work, True)
    for failure in failures:
        print(f"FAIL: {failure}")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bundle", required=True)
    parser.add_argument("--vst2")
    parser.add_argument("--editor-shot")
    parser.add_argument("--shot")
    args = parser.parse_args()
    missing = [tool for tool in TOOLS if shutil.which(tool) is None]
    if missing or not os.environ.get("DISPLAY"):
        print(f"SKIPPED: {', '.join(missing) or 'no display'} ('make deps' installs them)")
        return 77
    if args.shot:
        jalv = Jalv(args.bundle)
        try:
            jalv.shot(Path(args.shot).resolve())
        finally:
            jalv.close()
        return 0
    return check(args)


if __name__ == "__main__":
    sys.exit(main())
