#!/usr/bin/env python3
"""Checks the built fix_pruxa.exe as an administrator would before trusting
it: a 32-bit console program that loads on Windows 2000 and later, imports
only from known system DLLs, never reads the script file into a buffer,
carries its version and manifest, and stays small.

Usage: check_exe.py PATH-TO-fix_pruxa.exe
"""

import os
import re
import struct
import subprocess
import sys

ALLOWED_DLLS = {"KERNEL32.dll", "ADVAPI32.dll", "msvcrt.dll"}
MAX_SIZE = 64 * 1024


def main():
    exe = sys.argv[1]
    failures = []
    headers = subprocess.run(["i686-w64-mingw32-objdump", "-x", exe],
                             capture_output=True, text=True,
                             check=True).stdout

    def field(name):
        match = re.search(r"^%s\s+(\S+)" % name, headers, re.M)
        return match.group(1) if match else None

    if "file format pei-i386" not in headers:
        failures.append("not a PE32 (i386) image")
    if field("Subsystem") != "00000003":
        failures.append("subsystem %s, not the console" % field("Subsystem"))
    for kind in ("OSystem", "Subsystem"):
        version = (int(field("Major%sVersion" % kind)),
                   int(field("Minor%sVersion" % kind)))
        # Windows 2000 is 5.0: anything above would refuse to load there.
        if version > (5, 0):
            failures.append("%s version %d.%d is above Windows 2000's" %
                            ((kind,) + version))
    stamp = re.search(r"^Time/Date\s+(.*)$", headers, re.M)
    if not stamp or "1970" not in stamp.group(1):
        failures.append("a link time stamp is set")

    dlls = set(re.findall(r"DLL Name: (\S+)", headers))
    if dlls != ALLOWED_DLLS:
        failures.append("imports from %s" % sorted(dlls))
    functions = set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\w+)$", headers,
                               re.M))
    if "ReadFile" in functions:
        failures.append("imports ReadFile")
    if not {"MapViewOfFile", "DeleteFileA", "RegDeleteValueA"} <= functions:
        failures.append("import table not read: %s" % sorted(functions)[:5])

    size = os.path.getsize(exe)
    if size > MAX_SIZE:
        failures.append("%d bytes, over %d" % (size, MAX_SIZE))

    with open(exe, "rb") as f:
        image = f.read()
    # VS_FIXEDFILEINFO: signature, structure version, then the file and
    # product versions as (major << 16 | minor, build << 16 | revision).
    fixed = struct.pack("<IIIIII", 0xFEEF04BD, 0x00010000,
                        0x0001000A, 0, 0x0001000A, 0)
    if fixed not in image:
        failures.append("no version resource for 1.10.0.0")
    for name, value in (("FileVersion", "1.10.0.0"),
                        ("ProductVersion", "1.10.0.0"),
                        ("ProductName", "FIX_PRUXA"),
                        ("FileDescription", "WORM_PRUXA.A removal tool"),
                        ("CompanyName", "Qarlo Vemmo, Inc."),
                        ("OriginalFilename", "fix_pruxa.exe")):
        if name.encode("utf-16-le") not in image or \
                value.encode("utf-16-le") not in image:
            failures.append("version string %s missing" % name)
    for text in (b'level="requireAdministrator"',
                 b"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
                 b"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"):
        if text not in image:
            failures.append("manifest lacks %s" % text.decode())

    print("%s: %d bytes, imports %s" % (os.path.basename(exe), size,
                                        ", ".join(sorted(dlls))))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
