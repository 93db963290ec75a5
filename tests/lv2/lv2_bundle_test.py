#!/usr/bin/env python3
"""The LV2 bundle as the LV2 tools and hosts see it: lv2_validate, lv2info, lv2file renders
against the VST 2.x plug-in's renders through qc-host, and jalv on a dummy JACK server.
lv2_bundle_test.py --bundle DIR --vst2 SO --qc-host EXE [CASE...] runs the given cases, all by
default; --list names them. A case whose tool is missing is skipped and says which."""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from array import array
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
URI = "https://quellin.example/plugins/corvane"
# The ports hosts store by symbol: (symbol, minimum, maximum, default, scale points, unit).
CONTROLS = {
    4: ("output_mode", 0.0, 3.0, 0.0, {0.0: "Off", 1.0: "Low", 2.0: "High", 3.0: "Both"}, None),
    5: ("cutoff", 0.0, 10000.0, 100.0, {}, "units:hz"),
    6: ("slope", 0.0, 3.0, 0.0, {0.0: "-6 dB", 1.0: "-12 dB", 2.0: "-18 dB", 3.0: "-24 dB"}, None),
    7: ("spread", 0.0, 100.0, 0.0, {}, None),
    8: ("bass_amp", -10.0, 10.0, 0.0, {}, "units:db"),
    9: ("enabled", 0.0, 1.0, 1.0, {}, None),
}
OTHER_PORTS = {0: "in_l", 1: "in_r", 2: "out_l", 3: "out_r", 10: "control", 11: "notify"}
# lv2file port values against qc-host settings of the VST 2.x plug-in.
SETTINGS = [
    (["output_mode:3", "cutoff:120", "slope:1", "spread:50", "bass_amp:2.5"],
     ["Out=both", "CutFrq=120Hz", "Slope=-12", "Spread=50", "Amp=2.5dB"]),
    (["output_mode:1", "cutoff:2500", "slope:3", "spread:0", "bass_amp:-6"],
     ["Out=low", "CutFrq=2500Hz", "Slope=-24", "Spread=0", "Amp=-6dB"]),
    (["output_mode:2", "cutoff:80.5", "slope:2", "spread:100", "bass_amp:10"],
     ["Out=high", "CutFrq=80.5Hz", "Slope=-18", "Spread=100", "Amp=10dB"]),
]
ARGS = None


def samples(path):
    """The 32-bit float samples of a WAV file, interleaved."""
    data = Path(path).read_bytes()
    at = 12
    while at + 8 <= len(data):
        size = int.from_bytes(data[at + 4:at + 8], "little")
        if data[at:at + 4] == b"data":
            values = array("f")
            values.frombytes(data[at + 8:at + 8 + size])
            return values
        at += 8 + size + (size & 1)
    raise ValueError(f"{path}: no data chunk")


def need(*tools):
    missing = [tool for tool in tools if shutil.which(tool) is None]
    if missing:
        raise unittest.SkipTest(f"{', '.join(missing)} not installed ('make deps' installs them)")


class Bundle(unittest.TestCase):
    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.tmp, True)
        # Only this bundle and the LV2 vocabularies, and no user configuration.
        (self.tmp / "lv2").mkdir()
        (self.tmp / "lv2" / "quellin-corvane.lv2").symlink_to(Path(ARGS.bundle).resolve())
        (self.tmp / "home").mkdir()
        self.env = dict(os.environ, LV2_PATH=f"/usr/lib/lv2:{self.tmp / 'lv2'}",
                        HOME=str(self.tmp / "home"), XDG_CONFIG_HOME=str(self.tmp / "home"),
                        XDG_CACHE_HOME=str(self.tmp / "home"))

    def run_tool(self, *command, **options):
        run = subprocess.run([str(c) for c in command], env=self.env, capture_output=True,
                             text=True, timeout=120, **options)
        self.assertEqual(run.returncode, 0, f"{command}: {run.stdout}{run.stderr}")
        return run.stdout

    def input_wav(self):
        path = self.tmp / "in.wav"
        self.run_tool(ARGS.qc_host, "demo-signal", path, "--seconds", "1", "--rate", "48000")
        return path

    def assert_same_samples(self, a, b):
        first, second = samples(a), samples(b)
        self.assertEqual(len(first), len(second))
        differing = [i for i, (x, y) in enumerate(zip(first, second)) if x != y]
        self.assertEqual(differing[:5], [], f"{len(differing)} samples differ")

    def lv2file(self, output, *args):
        self.run_tool("lv2file", "-i", self.tmp / "in.wav", "-o", output, "--ignore-clipping",
                      *args, URI)

    def preset_labels(self):
        """The program name in each .fxp the VST builds ship, by file."""
        labels = {}
        for fxp in sorted((SOURCE / "presets").glob("*.fxp")):
            shown = self.run_tool(ARGS.qc_host, "preset", "show", fxp)
            labels[fxp] = re.search(r"^name:\s+(.*)$", shown, re.M).group(1)
        return labels

    def test_validate(self):
        need("lv2_validate", "sord_validate")
        files = sorted(Path(ARGS.bundle).glob("*.ttl"))
        run = subprocess.run(["lv2_validate", *map(str, files)], capture_output=True, text=True,
                             timeout=120)
        report = run.stdout + run.stderr
        self.assertEqual(run.returncode, 0, report)
        self.assertRegex(report, r"Found 0 errors")
        self.assertNotRegex(report, r"(?i)warn", report)

    def test_lv2info(self):
        need("lv2info")
        info = self.run_tool("lv2info", URI)
        self.assertIn("Name:              Quellin Corvane", info)
        self.assertIn("Required Features: http://lv2plug.in/ns/ext/urid#map\n", info)
        ports = {int(m.group(1)): m.group(2) for m in
                 re.finditer(r"\tPort (\d+):\n(.*?)(?=\n\tPort |\Z)", info, re.S)}
        self.assertEqual(sorted(ports), list(range(12)))
        turtle = (Path(ARGS.bundle) / "quellin-corvane.ttl").read_text()
        for index, symbol in OTHER_PORTS.items():
            self.assertIn(f"Symbol:      {symbol}\n", ports[index])
        for index, (symbol, low, high, default, points, unit) in CONTROLS.items():
            with self.subTest(symbol):
                port = ports[index]
                self.assertIn(f"Symbol:      {symbol}\n", port)
                for name, value in (("Minimum", low), ("Maximum", high), ("Default", default)):
                    shown = float(re.search(rf"{name}:\s+(\S+)", port).group(1))
                    self.assertAlmostEqual(shown, value, delta=1e-4, msg=name)
                shown_points = {float(v): label for v, label in
                                re.findall(r"\t\t\t(\S+) = \"(.*)\"", port)}
                self.assertEqual(shown_points, points)
                block = re.search(rf'lv2:symbol "{symbol}" ;(.*?)\]', turtle, re.S).group(1)
                self.assertEqual(re.findall(r"units:unit (\S+)", block), [unit] if unit else [])
        # Each preset is one of the .fxp files, under the program name it carries.
        presets = re.search(r"Presets: \n(.*?)\n\n", info, re.S).group(1).split("\n")
        self.assertEqual(sorted(p.strip() for p in presets), sorted(self.preset_labels().values()))
        # Numbers are decimals everywhere: some hosts drop integer literals.
        for ttl in Path(ARGS.bundle).glob("*.ttl"):
            text = ttl.read_text()
            self.assertNotRegex(text, r"(lv2:(default|minimum|maximum)|rdf:value|pset:value)"
                                      r" -?\d+ ", ttl.name)

    def test_lv2file_renders_settings_as_the_vst2_plugin(self):
        need("lv2file")
        self.input_wav()
        for ports, settings in SETTINGS:
            with self.subTest(" ".join(ports)):
                lv2 = self.tmp / "lv2.wav"
                vst = self.tmp / "vst.wav"
                self.lv2file(lv2, *[a for p in ports for a in ("-p", p)])
                self.run_tool(ARGS.qc_host, "render", ARGS.vst2, self.tmp / "in.wav", vst,
                              *[a for s in settings for a in ("--set", s)])
                self.assert_same_samples(lv2, vst)

    def test_lv2file_renders_presets_as_the_vst2_plugin(self):
        need("lv2file")
        self.input_wav()
        for fxp, label in self.preset_labels().items():
            with self.subTest(label):
                lv2 = self.tmp / "lv2.wav"
                vst = self.tmp / "vst.wav"
                self.lv2file(lv2, "-P", label)
                self.run_tool(ARGS.qc_host, "render", ARGS.vst2, self.tmp / "in.wav", vst,
                              "--preset", fxp)
                self.assert_same_samples(lv2, vst)

    def test_lv2file_disabled_passes_the_input(self):
        need("lv2file")
        source = self.input_wav()
        self.lv2file(self.tmp / "off.wav", "-p", "enabled:0", "-p", "output_mode:3", "-p",
                     "bass_amp:10")
        self.assert_same_samples(self.tmp / "off.wav", source)

    def test_jalv_loads_a_preset_and_a_saved_state(self):
        need("jalv", "jackd")
        server = f"qc-lv2-test-{os.getpid()}"
        self.env["JACK_DEFAULT_SERVER"] = server
        jackd = subprocess.Popen(["jackd", "-n", server, "--no-realtime", "-d", "dummy", "-r",
                                  "48000", "-p", "256"], env=self.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(jackd.wait, 10)
        self.addCleanup(os.killpg, jackd.pid, signal.SIGTERM)
        time.sleep(1.5)
        self.assertIsNone(jackd.poll(), "jackd did not start")

        clients = iter(range(1, 10))

        def jalv(commands, *options):
            # A client name of its own each time: the server may still hold the last one.
            run = subprocess.run(["jalv", "-n", f"corvane-{next(clients)}", *options, URI],
                                 env=self.env,
                                 input="".join(f"{c}\n" for c in commands) + "\n",
                                 capture_output=True, text=True, timeout=30)
            self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
            controls = re.findall(r"^(?:> )?(\w+) = (\S+)$", run.stdout, re.M)
            return dict(controls[-6:]), run.stdout

        controls, shown = jalv(["presets", f"preset {URI}/presets/bass-lift-3-db", "controls"])
        self.assertIn("Bass Lift +3 dB", shown)
        self.assertEqual(float(controls["output_mode"]), 3.0)
        self.assertEqual(float(controls["slope"]), 1.0)
        self.assertAlmostEqual(float(controls["bass_amp"]), 3.0, delta=1e-5)

        # A state as hosts save it: port values, and the bindings in the plug-in's own terms.
        saved = self.tmp / "state"
        saved.mkdir()
        bindings = " ".join('"4"^^xsd:int' if c == 7 else '"-1"^^xsd:int' for c in range(128))
        (saved / "manifest.ttl").write_text(
            "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
            "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
            "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
            f"<state.ttl> a pset:Preset ; lv2:appliesTo <{URI}> ; rdfs:seeAlso <state.ttl> .\n")
        (saved / "state.ttl").write_text(
            "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
            "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
            "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
            "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
            "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
            "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
            f"<> a pset:Preset ; lv2:appliesTo <{URI}> ;\n"
            '  lv2:port [ lv2:symbol "cutoff" ; pset:value 250.0 ] ,'
            ' [ lv2:symbol "output_mode" ; pset:value 1.0 ] ;\n'
            f"  state:state [ <{URI}#stateVersion> \"1\"^^xsd:int ;\n"
            f"    <{URI}#midiBindings> [ a atom:Vector ; atom:childType atom:Int ;\n"
            f"      rdf:value ( {bindings} ) ] ] .\n")
        controls, _ = jalv(["controls"], "-l", saved)
        self.assertEqual(float(controls["cutoff"]), 250.0)
        self.assertEqual(float(controls["output_mode"]), 1.0)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--bundle")
    parser.add_argument("--vst2")
    parser.add_argument("--qc-host")
    parser.add_argument("--list", action="store_true")
    ARGS, cases = parser.parse_known_args()
    if ARGS.list:
        print("\n".join(name for name in dir(Bundle) if name.startswith("test_")))
        sys.exit(0)
    unittest.main(argv=sys.argv[:1] + [f"Bundle.{case}" for case in cases])
