#!/usr/bin/env python3
"""pecheck.py [options] DLL: checks a built Windows DLL by what `objdump -p` reads from it
(machine, link time, exported names, imported DLLs, resources) without running it, so the
32-bit DLL is checked on machines that cannot run 32-bit code.
Exit status: 0 every check passes, 1 a check failed, 2 bad usage or unreadable file."""

import argparse
import calendar
import os
import re
import subprocess
import sys
import time

# The x86-64 binutils read PE32 and PE32+ alike, so a DLL built for the wrong machine is
# reported as such instead of as unreadable.
OBJDUMP = "x86_64-w64-mingw32-objdump"
MACHINES = {"pei-i386": "i386", "pei-x86-64": "amd64"}

# DLLs that every supported Windows version ships: a plug-in importing only these needs no
# runtime installed beside it. The Universal CRT's api-ms-win-crt-* forwarders count too.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "gdiplus.dll", "ole32.dll", "oleaut32.dll",
    "shell32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll", "msvcrt.dll", "msimg32.dll",
    "winmm.dll", "ucrtbase.dll", "uxtheme.dll", "shlwapi.dll", "version.dll", "ws2_32.dll",
    "dwmapi.dll", "imm32.dll",
}

RESOURCE_TYPES = {
    "RT_CURSOR": 1, "RT_BITMAP": 2, "RT_ICON": 3, "RT_MENU": 4, "RT_DIALOG": 5, "RT_STRING": 6,
    "RT_FONTDIR": 7, "RT_FONT": 8, "RT_ACCELERATOR": 9, "RT_RCDATA": 10,
    "RT_MESSAGETABLE": 11, "RT_GROUP_CURSOR": 12, "RT_GROUP_ICON": 14, "RT_VERSION": 16,
    "RT_DLGINCLUDE": 17, "RT_PLUGPLAY": 19, "RT_VXD": 20, "RT_ANICURSOR": 21,
    "RT_ANIICON": 22, "RT_HTML": 23, "RT_MANIFEST": 24,
}

RESOURCE_ENTRY = re.compile(r"[0-9a-f]+ ( *)Entry: (?:ID: (\w+)|name: \[.*?\]: (.*)), Value: \w+$")


class Image:
    def __init__(self):
        self.machine = None
        self.timestamp = None
        self.exports = []
        self.imports = []
        self.resources = []  # (type, name) pairs of keys


def parse(text):
    """The parts of `objdump -p` output, run with TZ=UTC0, that the checks look at."""
    image = Image()
    in_exports = False
    tables = {}  # indentation of a resource table's entries -> the table's kind
    resource_type = None
    for line in text.splitlines():
        if m := re.search(r":\s+file format (\S+)$", line):
            image.machine = MACHINES.get(m[1], m[1])
        elif line.startswith("Time/Date\t"):
            stamp = time.strptime(line.split("\t")[-1], "%a %b %d %H:%M:%S %Y")
            image.timestamp = calendar.timegm(stamp)
        elif m := re.match(r"\tDLL Name: (.+)$", line):
            image.imports.append(m[1])
        elif line.startswith("[Ordinal/Name Pointer] Table"):
            in_exports = True
        elif in_exports and (m := re.match(r"\t\[ *\d+\] (\S+)$", line)):
            image.exports.append(m[1])
        elif m := re.match(r"[0-9a-f]+ ( *)(Type|Name|Language) Table:", line):
            tables[len(m[1]) + 1] = m[2]
        elif m := RESOURCE_ENTRY.match(line):
            key = int(m[2], 16) if m[2] else m[3].upper()
            kind = tables.get(len(m[1]))
            if kind == "Type":
                resource_type = key
            elif kind == "Name":
                image.resources.append((resource_type, key))
    if image.machine is None or image.timestamp is None:
        raise ValueError("not what objdump -p prints for a PE file")
    return image


def resource_key(text, is_type):
    """A resource type (RT_DIALOG, PNG, 5 or #5) or name (ABOUTDIALOG, 101 or #101) as an int
    ID or an upper-case name: the resource compiler upper-cases names."""
    body = text.removeprefix("#")
    if body.isdigit():
        return int(body)
    name = text.upper()
    return RESOURCE_TYPES.get(name, name) if is_type else name


def resource(text):
    """TYPE:NAME as a (type, name) pair of keys."""
    type_text, colon, name_text = text.partition(":")
    if not colon:
        raise ValueError(f"'{text}' is not TYPE:NAME")
    return resource_key(type_text, True), resource_key(name_text, False)


def describe(pair):
    type_key, name_key = pair
    type_name = next((name for name, key in RESOURCE_TYPES.items() if key == type_key), type_key)
    return f"{type_name}:{name_key}"


def is_system_dll(name):
    name = name.lower()
    return name in SYSTEM_DLLS or re.fullmatch(r"api-ms-win-crt-.+\.dll", name) is not None


def check(image, machine=None, exports=(), exact_exports=False, system_imports_only=False,
          resources=(), no_timestamp=False):
    """One message per unmet expectation; resources are (type, name) pairs of keys."""
    problems = []
    if machine and image.machine != machine:
        problems.append(f"machine is {image.machine}, expected {machine}")
    if no_timestamp and image.timestamp:
        problems.append(f"the PE header holds a link time ({image.timestamp}); "
                        "link with --no-insert-timestamp")
    problems += [f"missing export {name}" for name in exports if name not in image.exports]
    if exact_exports:
        problems += [f"unexpected export {name}" for name in image.exports if name not in exports]
    if system_imports_only:
        problems += [f"imports {dll}, which is not a Windows system DLL (link the runtime "
                     "statically)" for dll in image.imports if not is_system_dll(dll)]
    problems += [f"missing resource {describe(pair)}" for pair in resources
                 if pair not in image.resources]
    return problems


def listing(path, image):
    lines = [path, f"  machine:   {image.machine}", f"  timestamp: {image.timestamp}",
             f"  exports ({len(image.exports)}):"]
    lines += [f"    {name}" for name in image.exports]
    lines.append(f"  imports ({len(image.imports)}):")
    lines += [f"    {dll}" + ("" if is_system_dll(dll) else "  [not a system DLL]")
              for dll in image.imports]
    lines.append(f"  resources ({len(image.resources)}):")
    lines += [f"    {describe(pair)}" for pair in image.resources]
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("dll")
    parser.add_argument("--list", action="store_true", help="print what the DLL holds")
    parser.add_argument("--machine", choices=sorted(MACHINES.values()))
    parser.add_argument("--exports", type=lambda text: text.split(","), default=[],
                        metavar="NAME[,NAME...]", help="names the DLL must export")
    parser.add_argument("--exact-exports", action="store_true", help="and no other names")
    parser.add_argument("--system-imports-only", action="store_true",
                        help="import from Windows system DLLs only")
    parser.add_argument("--resource", type=resource, action="append", default=[],
                        metavar="TYPE:NAME", help="e.g. RT_DIALOG:101 or PNG:KNOB")
    parser.add_argument("--no-timestamp", action="store_true", help="no link time in the header")
    parser.add_argument("--objdump", default=OBJDUMP)
    args = parser.parse_args()

    # objdump prints the link time with ctime(): in local time and in the locale's words.
    env = dict(os.environ, TZ="UTC0", LC_ALL="C")
    try:
        # Resource names are printed as stored, in whatever encoding.
        dump = subprocess.run([args.objdump, "-p", args.dll], env=env, capture_output=True,
                              text=True, errors="replace", check=True)
        image = parse(dump.stdout)
    except subprocess.CalledProcessError as error:
        print(error.stderr.strip(), file=sys.stderr)
        return 2
    except (OSError, ValueError) as error:
        print(f"pecheck: {args.dll}: {error}", file=sys.stderr)
        return 2

    if args.list:
        print(listing(args.dll, image))
    problems = check(image, args.machine, args.exports, args.exact_exports,
                     args.system_imports_only, args.resource, args.no_timestamp)
    for problem in problems:
        print(f"pecheck: {args.dll}: {problem}", file=sys.stderr)
    if not problems and not args.list:
        print(f"pecheck: {args.dll}: ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
