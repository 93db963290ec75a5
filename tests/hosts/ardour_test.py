#!/usr/bin/env python3
"""The plug-in in Ardour 7, headless: ardour7-lua runs a script from ardour/ against the dummy
backend, with a private HOME so no user configuration, cache or blacklist leaks in.
ardour_test.py --vst3 BINARY --lv2 BUNDLE [CASE...] runs the given cases, all by default; --list
names them."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
SCANNER = Path("/usr/lib/ardour7/ardour-vst3-scanner")
ARGS = None


class Ardour(unittest.TestCase):
    def setUp(self):
        if shutil.which("ardour7-lua") is None:
            self.skipTest("ardour7-lua is not installed ('make deps' installs the ardour package)")
        self.home = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.home, True)
        self.env = dict(os.environ, HOME=str(self.home), XDG_CONFIG_HOME=str(self.home / "config"),
                        XDG_CACHE_HOME=str(self.home / "cache"),
                        XDG_DATA_HOME=str(self.home / "data"), QC_SESSION=str(self.home / "session"),
                        QC_SCRIPTS=str(HERE / "ardour"))

    def run_script(self, script):
        """The CHECK lines of one script run; the whole output goes into a failure's message."""
        run = subprocess.run(["stdbuf", "-oL", "ardour7-lua", str(HERE / "ardour" / script)],
                             env=self.env, stdin=subprocess.DEVNULL, capture_output=True,
                             text=True, timeout=120)
        checks = [line.split(" ", 3)[1:] for line in run.stdout.splitlines()
                  if line.startswith("CHECK ")]
        for name, verdict, figure in checks:
            print(f"{name}: {verdict} ({figure})")
        return checks, run.stdout + run.stderr

    def test_vst3_session(self):
        # Ardour's scripting host does not scan: its scanner writes the cache it reads.
        bundle = Path(ARGS.vst3).resolve().parents[2]
        scan = subprocess.run([SCANNER, "-f", bundle], env=dict(
            self.env, LD_LIBRARY_PATH="/usr/lib/ardour7"), capture_output=True, text=True,
            timeout=60)
        self.assertIn("Found Plugin: Quellin Corvane", scan.stdout + scan.stderr)
        self.env["VST3_PATH"] = str(bundle.parent)
        checks, output = self.run_script("vst3-session.lua")
        self.assertGreaterEqual(len(checks), 15, output)
        self.assertEqual([c[0] for c in checks if c[1] != "pass"], [], output)

    def test_lv2_session(self):
        # The bundle alone on the search path, with the core vocabularies.
        plugins = self.home / "lv2"
        plugins.mkdir()
        (plugins / "quellin-corvane.lv2").symlink_to(Path(ARGS.lv2).resolve())
        self.env["LV2_PATH"] = f"{plugins}:/usr/lib/lv2"
        checks, output = self.run_script("lv2-create.lua")
        self.assertEqual(len(checks), 2, output)
        # A binding learned earlier, as the plug-in keeps it: controller 7 to Output.
        state = self.latest_state()
        bindings = self.bindings_of(state.read_text())
        bindings[7] = 0
        state.write_text(self.with_bindings(state.read_text(), bindings))
        checks += self.run_script("lv2-reopen.lua")[0]
        checks += self.run_script("lv2-readback.lua")[0]
        self.assertGreaterEqual(len(checks), 17, output)
        self.assertEqual([c[0] for c in checks if c[1] != "pass"], [], output)
        self.assertEqual(self.bindings_of(self.latest_state().read_text()), bindings)

    def latest_state(self):
        """The state file Ardour wrote last for the plug-in."""
        states = sorted((self.home / "session" / "plugins").glob("*/state*/state.ttl"),
                        key=lambda p: int(p.parent.name.removeprefix("state")))
        self.assertTrue(states, "Ardour saved no plug-in state")
        return states[-1]

    BINDINGS = re.compile(r'(#midiBindings> \[.*?rdf:value \()(.*?)(\))', re.S)

    def bindings_of(self, text):
        match = self.BINDINGS.search(text)
        self.assertIsNotNone(match, text)
        return [int(v) for v in re.findall(r'"(-?\d+)"', match.group(2))]

    def with_bindings(self, text, bindings):
        values = "".join(f'\n\t\t\t\t"{v}"^^xsd:int' for v in bindings)
        return self.BINDINGS.sub(lambda m: m.group(1) + values + "\n\t\t\t" + m.group(3), text)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--vst3")
    parser.add_argument("--lv2")
    parser.add_argument("--list", action="store_true")
    ARGS, cases = parser.parse_known_args()
    if ARGS.list:
        print("\n".join(n.removeprefix("test_") for n in unittest.TestLoader().getTestCaseNames(Ardour)))
        sys.exit(0)
    suite = unittest.TestSuite(Ardour("test_" + c) for c in cases) if cases else \
        unittest.defaultTestLoader.loadTestsFromTestCase(Ardour)
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
