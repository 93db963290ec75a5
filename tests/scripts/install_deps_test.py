#!/usr/bin/env python3
"""tools/install-deps.sh against stand-in apt-get, dpkg and dpkg-query commands on PATH, as a
package mirror in the middle of a sync and a missing package make them answer.
install_deps_test.py [CASE...] runs the given cases, all by default; --list names them."""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

SCRIPT = Path(__file__).resolve().parents[2] / "tools" / "install-deps.sh"

# Each stand-in keeps its state in files of $STUB: 'installed' (one package a line, or '*'
# for all), 'arches', 'calls' (every apt-get and dpkg call), 'update-failures' (how many
# 'apt-get update' calls still fail) and 'refuse' (a regular expression of packages whose
# installation fails, with the message in 'refuse-message').
STUBS = {
    "dpkg-query": r"""#!/bin/bash
package=${@: -1}
if grep -qxF -e '*' -e "$package" "$STUB/installed"; then printf 'ii '; else exit 1; fi
""",
    "dpkg": r"""#!/bin/bash
echo "dpkg $*" >>"$STUB/calls"
case $1 in
--print-foreign-architectures) cat "$STUB/arches" ;;
--add-architecture) echo "$2" >>"$STUB/arches" ;;
esac
""",
    "apt-get": r"""#!/bin/bash
echo "apt-get $*" >>"$STUB/calls"
if [[ $1 == update ]]; then
    left=$(cat "$STUB/update-failures")
    if ((left > 0)); then
        echo $((left - 1)) >"$STUB/update-failures"
        echo "Err:6 http://mirror/debian-security bookworm-security/main i386 Packages"
        echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
        echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
        echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
        exit 100
    fi
    exit 0
fi
for package in "$@"; do
    if [[ $package != -* && $package != install ]] && grep -qE "^($(cat "$STUB/refuse"))$" <<<"$package"; then
        cat "$STUB/refuse-message"
        exit 100
    fi
done
for package in "$@"; do echo "$package" >>"$STUB/installed"; done
""",
    "sudo": '#!/bin/sh\nexec "$@"\n',
}

I386_UNMET = """The following packages have unmet dependencies:
 libwine:i386 : Depends: zlib1g:i386 (>= 1:1.1.4) but it is not going to be installed
                Depends: libpng16-16:i386 (>= 1.6.2-1) but it is not going to be installed
 libcurl4:i386 : Depends: libssl3:i386 (>= 3.0.0) but it is not going to be installed
E: Unable to correct problems, you have held broken packages.
"""
UNKNOWN_CMAKE = "E: Unable to locate package cmake\n"

NO_UPDATE_LINE = ("deps: apt-get update still fails after 3 tries (bookworm-security/main i386 "
                  "Packages); going on with the package lists there are")
SKIP_32BIT_LINE = ("deps: wine32:i386 not installed, the 32-bit build's tests will skip: "
                   "libwine:i386 : Depends: zlib1g:i386 (>= 1:1.1.4) but it is not going to be "
                   "installed; Depends: libpng16-16:i386 (>= 1.6.2-1) but it is not going to be "
                   "installed (and 1 more)")

# name: (installed, foreign arches, update failures, refused packages, refusal,
#        exit status, lines printed in order (a prefix is enough), apt-get update calls)
CASES = {
    "quick_and_silent_when_installed": ("*", "i386", 9, "", "", 0, [], 0),
    "update_recovers_on_a_retry": ("", "i386", 1, "", "", 0, ["deps: installing g++ make"], 2),
    "update_keeps_failing": ("", "i386", 9, "", "", 0,
                             ["deps: installing g++ make", NO_UPDATE_LINE], 3),
    "32bit_loader_refused": ("", "", 9, ".*:i386", I386_UNMET, 0,
                             ["deps: adding the i386 architecture", "deps: installing g++ make",
                              NO_UPDATE_LINE, SKIP_32BIT_LINE], 3),
    "required_package_refused": ("", "i386", 0, "cmake", UNKNOWN_CMAKE, 1,
                                 ["deps: installing g++ make",
                                  "deps: cannot install what every build needs (g++ make cmake "],
                                 1),
}
SELECTED = list(CASES)


class InstallDeps(unittest.TestCase):
    def test_cases(self):
        for name in SELECTED:
            (installed, arches, failures, refuse, refusal, status, lines,
             updates) = CASES[name]
            with self.subTest(name), tempfile.TemporaryDirectory() as tmp:
                stub = Path(tmp)
                for command, text in STUBS.items():
                    (stub / command).write_text(text)
                    (stub / command).chmod(0o755)
                for file, text in (("installed", installed), ("arches", arches),
                                   ("update-failures", str(failures)), ("refuse", refuse),
                                   ("refuse-message", refusal), ("calls", "")):
                    (stub / file).write_text(text + ("\n" if text and text[-1] != "\n" else ""))
                env = dict(os.environ, STUB=tmp, PATH=f"{tmp}:{os.environ['PATH']}",
                           QC_APT_RETRY_PAUSE="0")
                run = subprocess.run([SCRIPT], env=env, capture_output=True, text=True,
                                     timeout=60)
                printed = [line for line in (run.stdout + run.stderr).splitlines()
                           if line.startswith("deps:")]
                self.assertEqual(run.returncode, status, run.stdout + run.stderr)
                self.assertEqual(len(printed), len(lines), printed)
                for line, expected in zip(printed, lines):
                    self.assertTrue(line.startswith(expected), f"{line!r}\n  expected {expected!r}")
                calls = (stub / "calls").read_text().splitlines()
                self.assertEqual(calls.count("apt-get update -q"), updates, calls)
                if status == 0 and installed != "*":
                    # Everything but the refused 32-bit loader was installed.
                    got = set((stub / "installed").read_text().split())
                    self.assertIn("cmake", got)
                    self.assertEqual("wine32:i386" in got, not refuse)


if __name__ == "__main__":
    if sys.argv[1:] == ["--list"]:
        print("\n".join(CASES))
        sys.exit(0)
    SELECTED = sys.argv[1:] or SELECTED
    unittest.main(argv=sys.argv[:1])
