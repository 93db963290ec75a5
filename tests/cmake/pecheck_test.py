#!/usr/bin/env python3
"""cmake/pecheck.py on `objdump -p` output of the shipped DLLs, as printed or with a fault
edited in, fed to it through a stand-in objdump. The fixtures are made by
  (cd dist/windows-x64 && TZ=UTC0 x86_64-w64-mingw32-objdump -p QuellinCorvane.dll) |
  awk '/^(The Function Table|Dump of|PE File Base Relocations)/ {skip = 1}
       /^The .rsrc/ {skip = 0} !skip && !/^\t[0-9a-f]+\t/' > fixtures/QuellinCorvane-x64.txt
and the same for windows-x86, leaving out imported function names, unwind data and relocations.
pecheck_test.py [CASE...] runs the given cases, all by default; --list names them."""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

HERE = Path(__file__).resolve().parent
PECHECK = HERE.parents[1] / "cmake" / "pecheck.py"
X64 = (HERE / "fixtures" / "QuellinCorvane-x64.txt").read_text()
X86 = (HERE / "fixtures" / "QuellinCorvane-x86.txt").read_text()


def edit(text, *replacements):
    for old, new in replacements:
        if old not in text:
            raise ValueError(f"the fixture no longer holds {old!r}")
        text = text.replace(old, new)
    return text


def resources(*pairs):
    return [arg for pair in pairs for arg in ("--resource", pair)]


PLUGIN = ["--exports", "VSTPluginMain,main", "--exact-exports", "--system-imports-only",
          "--no-timestamp"]
X64_ARGS = PLUGIN + ["--machine", "amd64"] + resources(
    "PNG:115", "PNG:113", "PNG:114", "RT_BITMAP:112", "RT_DIALOG:ABOUTDIALOG")
X86_ARGS = PLUGIN + ["--machine", "i386"] + resources(
    "PNG:BACKGROUND", "PNG:KNOB", "PNG:SWITCHTHUMB", "RT_BITMAP:112", "RT_DIALOG:101",
    "RT_DIALOG:102")

# name: (objdump's output, arguments, exit status, problems reported)
CASES = {
    "x64_passes": (X64, X64_ARGS, 0, []),
    "x86_passes": (X86, X86_ARGS, 0, []),
    "wrong_machine": (X86, X86_ARGS + ["--machine", "amd64"], 1,
                      ["machine is i386, expected amd64"]),
    "exports": (edit(X64, ("] main\n", "] helper\n")), X64_ARGS, 1,
                ["missing export main", "unexpected export helper"]),
    "runtime_imports": (
        edit(X86, ("Name: KERNEL32.dll", "Name: libgcc_s_dw2-1.dll"),
             ("Name: msvcrt.dll", "Name: libstdc++-6.dll"),
             ("Name: ole32.dll", "Name: libwinpthread-1.dll")),
        X86_ARGS, 1,
        [f"imports {dll}, which is not a Windows system DLL (link the runtime statically)"
         for dll in ("libgcc_s_dw2-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll")]),
    "missing_resources": (
        edit(X64, ("ID: 0x000071,", "ID: 0x000074,"), ("]: ABOUTDIALOG,", "]: ABOUTWINDOW,")),
        X64_ARGS, 1, ["missing resource PNG:113", "missing resource RT_DIALOG:ABOUTDIALOG"]),
    "resource_spellings": (edit(X64, ("]: ABOUTDIALOG,", "]: AboutDialog,")),
                           resources("png:#115", "#2:112", "rt_dialog:aboutDIALOG"), 0, []),
    "link_time": (edit(X64, ("Thu Jan  1 00:00:00 1970", "Sat Feb 18 22:16:11 2023")), X64_ARGS,
                  1, ["the PE header holds a link time (1676758571); "
                      "link with --no-insert-timestamp"]),
    "not_objdump_output": ("QuellinCorvane.dll: file format not recognized\n", [], 2,
                           ["not what objdump -p prints for a PE file"]),
}
SELECTED = list(CASES)


class PeCheck(unittest.TestCase):
    def test_cases(self):
        for name in SELECTED:
            dump, args, status, problems = CASES[name]
            with self.subTest(name), tempfile.TemporaryDirectory() as tmp:
                dll, objdump = Path(tmp, "Plugin.dll"), Path(tmp, "objdump")
                dll.write_text(dump)
                objdump.write_text('#!/bin/sh\ncat "$2"\n')  # run as: objdump -p DLL
                objdump.chmod(0o755)
                # Not UTC: pecheck has objdump print the link time in UTC and must read it so.
                result = subprocess.run([PECHECK, "--objdump", objdump, *args, dll],
                                        capture_output=True, text=True,
                                        env=dict(os.environ, TZ="EST5"))
                self.assertEqual(result.stderr.splitlines(),
                                 [f"pecheck: {dll}: {problem}" for problem in problems])
                self.assertEqual(result.returncode, status)


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        print("\n".join(CASES))
        sys.exit()
    SELECTED = sys.argv[1:] or SELECTED
    unittest.main(argv=sys.argv[:1])
