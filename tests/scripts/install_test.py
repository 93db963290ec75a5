#!/usr/bin/env python3
"""'make install' and its relatives (tools/install.sh) into temporary folders, with the tree's
own plug-in and qc-host.
install_test.py --plugin SO --vst3 SO --lv2 FOLDER --qc-host EXE [CASE...] runs the given cases, all by default;
--list names them."""

import argparse
import filecmp
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]
PRESETS = sorted(p.name for p in (SOURCE / "presets").iterdir())
LV2 = "quellin-corvane.lv2"
INSTALLED = {
    "lib/vst/QuellinCorvane.so": 0o644,
    "lib/vst3/QuellinCorvane.vst3/Contents/x86_64-linux/QuellinCorvane.so": 0o644,
    "bin/qc-host": 0o755,
    "share/doc/quellin-corvane/README.md": 0o644,
    "share/doc/quellin-corvane/qc-host.md": 0o644,
    "share/doc/quellin-corvane/LICENSE": 0o644,
    "share/quellin-corvane/installed-files": 0o644,
    **{f"share/quellin-corvane/presets/{name}": 0o644 for name in PRESETS},
}
# What other software keeps in the same prefix; uninstall leaves it alone.
FOREIGN = ["lib/vst/OtherPlugin.so", "bin/other-tool", "share/doc/other/README"]
ARGS = None


def tree(root):
    """Every file and folder below root, relative, folders with a trailing slash."""
    entries = set()
    for folder, folders, files in os.walk(root):
        base = Path(folder).relative_to(root)
        entries |= {f"{base / name}/".removeprefix("./") for name in folders}
        entries |= {str(base / name).removeprefix("./") for name in files}
    return entries


def folders_of(paths):
    return {f"{'/'.join(p.split('/')[:i])}/" for p in paths for i in range(1, p.count("/") + 1)}


class Install(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.lv2_files = sorted(p.name for p in Path(ARGS.lv2).iterdir())
        INSTALLED.update({f"lib/lv2/{LV2}/{name}": 0o644 for name in cls.lv2_files})

    def setUp(self):
        self.tmp = Path(tempfile.mkdtemp())
        self.addCleanup(subprocess.run, ["rm", "-rf", str(self.tmp)])

    def run_script(self, action, **env):
        run = subprocess.run(
            [SOURCE / "tools" / "install.sh", action, "--plugin", ARGS.plugin, "--vst3", ARGS.vst3,
             "--lv2", ARGS.lv2, "--qc-host", ARGS.qc_host], env=dict(os.environ, **env), capture_output=True, text=True,
            timeout=60)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)
        return run.stdout

    def test_install_and_uninstall_into_an_empty_destdir(self):
        env = {"DESTDIR": str(self.tmp / "stage"), "PREFIX": "/usr"}
        root = self.tmp / "stage" / "usr"
        for _ in range(2):  # a second install over the first changes nothing
            self.run_script("install", **env)
            self.assertEqual(tree(root), set(INSTALLED) | folders_of(INSTALLED))
        for path, mode in INSTALLED.items():
            self.assertEqual((root / path).stat().st_mode & 0o777, mode, path)
        self.assertTrue(filecmp.cmp(root / "lib/vst/QuellinCorvane.so", ARGS.plugin, False))
        self.assertTrue(filecmp.cmp(root / next(p for p in INSTALLED if "vst3" in p), ARGS.vst3,
                                    False))
        # make uninstall, as users type it
        subprocess.run(["make", "--no-print-directory", "-C", str(SOURCE), "uninstall",
                        f"DESTDIR={env['DESTDIR']}", "PREFIX=/usr"], check=True,
                       capture_output=True, timeout=60)
        self.assertEqual(tree(self.tmp / "stage"), set())

    def test_uninstall_keeps_what_others_installed(self):
        root = self.tmp / "usr" / "local"
        for path in FOREIGN:
            (root / path).parent.mkdir(parents=True, exist_ok=True)
            (root / path).write_text("not ours")
        before = tree(root)
        self.run_script("install", PREFIX=str(root))
        self.assertTrue(tree(root) >= set(INSTALLED) | before)
        self.assertIn(f"removed {len(INSTALLED)} files", self.run_script("uninstall", PREFIX=str(root)))
        self.assertEqual(tree(root), before)
        self.assertIn("nothing to do", self.run_script("uninstall", PREFIX=str(root)))

    def test_install_user_puts_the_plugins_into_dot_vst_dot_vst3_and_dot_lv2(self):
        bundle = ".vst3/QuellinCorvane.vst3/Contents/x86_64-linux/QuellinCorvane.so"
        lv2 = [f".lv2/{LV2}/{name}" for name in self.lv2_files]
        (self.tmp / ".lv2" / LV2).mkdir(parents=True)
        (self.tmp / ".lv2" / LV2 / "left-by-an-older-version.ttl").touch()
        self.run_script("install-user", HOME=str(self.tmp))
        self.assertEqual(tree(self.tmp), {".vst/", ".vst/QuellinCorvane.so", bundle, *lv2}
                         | folders_of([bundle, *lv2]))
        self.run_script("uninstall-user", HOME=str(self.tmp))
        self.assertEqual(tree(self.tmp), {".vst/", ".vst3/", ".lv2/"})


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--plugin")
    parser.add_argument("--vst3")
    parser.add_argument("--lv2")
    parser.add_argument("--qc-host")
    parser.add_argument("--list", action="store_true")
    ARGS, cases = parser.parse_known_args()
    if ARGS.list:
        print("\n".join(name for name in dir(Install) if name.startswith("test_")))
        sys.exit(0)
    unittest.main(argv=sys.argv[:1] + [f"Install.{case}" for case in cases])
