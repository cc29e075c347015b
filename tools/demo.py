#!/usr/bin/env python3
"""Demonstration: a simulated infected Windows machine (a throwaway Wine
prefix) cleaned by fix_pruxa.exe in quiet mode.

Usage: demo.py PATH-TO-fix_pruxa.exe
"""

import os
import shutil
import subprocess
import sys
import tempfile
import zlib

import throwaway_prefix

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
WORM_CHECKSUM = 0x0425EF6D


def with_checksum(data, target):
    """`data` followed by the four bytes that bring its CRC-32 to `target`:
    the CRC register is run backwards from the wanted value over 32 bits."""
    register = zlib.crc32(data) ^ 0xFFFFFFFF
    wanted = target ^ 0xFFFFFFFF
    for _ in range(32):
        if wanted & 0x80000000:
            wanted = (((wanted ^ 0xEDB88320) << 1) | 1) & 0xFFFFFFFF
        else:
            wanted = (wanted << 1) & 0xFFFFFFFF
    return data + (wanted ^ register).to_bytes(4, "little")


def main():
    exe = os.path.abspath(sys.argv[1])
    prefix = tempfile.mkdtemp(prefix="fix_pruxa_demo_")
    env = throwaway_prefix.environment(prefix)
    c = os.path.join(prefix, "drive_c")

    def wine(*args, show=True):
        result = subprocess.run(["wine"] + list(args), env=env,
                                stdin=subprocess.DEVNULL,
                                capture_output=True, start_new_session=True)
        if show:
            sys.stdout.write(result.stdout.decode("latin-1")
                             .replace("\r\n", "\n"))
        return result

    def plant(path, data, attributes=""):
        full = os.path.join(c, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)
        for letter in attributes:
            wine("attrib", "+" + letter, "C:\\" + path.replace("/", "\\"),
                 show=False)

    def show_machine(title):
        print("\n==== %s ====" % title)
        for folder in ("windows", "inetpub/wwwroot", "mirc", "mirc/backup"):
            full = os.path.join(c, folder)
            names = sorted(n for n in os.listdir(full)
                           if folder != "windows" or n.lower() == "vosni.exe")\
                if os.path.isdir(full) else []
            print("C:\\%s:" % folder.replace("/", "\\"))
            for name in names:
                path = os.path.join(full, name)
                if os.path.isdir(path):
                    print("    %-14s <folder>" % name)
                else:
                    print("    %-14s %6d bytes" % (name, os.path.getsize(path)))
            if folder == "windows" and names:
                wine("attrib", "C:\\windows\\" + names[0])
        print("Run key values:")
        wine("reg", "query", RUN_KEY)

    try:
        print("Making a throwaway Windows machine (Wine prefix) ...")
        throwaway_prefix.make(prefix)
        script = with_checksum(b"[script]\r\nn0=on 1:start:{ .remote on }\r\n",
                               WORM_CHECKSUM)
        print("Planting the worm: script.ini CRC-32 = 0x%08X" %
              zlib.crc32(script))
        plant("windows/VOSNI.EXE", b"MZ worm body", "RHS")
        plant("inetpub/wwwroot/default.htm", b"<html>defaced</html>")
        plant("inetpub/wwwroot/redesi.htm", b"<html>defaced</html>")
        plant("inetpub/wwwroot/web.exe", b"MZ worm copy")
        plant("mirc/script.ini", script)
        wine("reg", "add", RUN_KEY, "/v", "Vosni", "/d",
             "C:\\windows\\VOSNI.EXE", "/f", show=False)
        # Things that must survive.
        plant("inetpub/wwwroot/index.htm", b"<html>the real site</html>")
        plant("mirc/backup/script.ini", b"[script]\r\nn0=; the user's own\r\n")
        wine("reg", "add", RUN_KEY, "/v", "Other", "/d",
             "C:\\Program Files\\Other\\other.exe", "/f", show=False)
        show_machine("Before: the infected machine")

        os.makedirs(os.path.join(c, "Tools"))
        shutil.copy(exe, os.path.join(c, "Tools", "fix_pruxa.exe"))
        print("\n==== wine C:\\Tools\\fix_pruxa.exe /Q ====")
        result = wine("C:\\Tools\\fix_pruxa.exe", "/Q")
        print("==== exit status: %d ====" % result.returncode)
        print("\n==== C:\\Tools\\fix_pruxa.log ====")
        with open(os.path.join(c, "Tools", "fix_pruxa.log"), "rb") as f:
            sys.stdout.write(f.read().decode("latin-1").replace("\r\n", "\n"))

        show_machine("After: the same machine")
        gone = ["windows/VOSNI.EXE", "inetpub/wwwroot/default.htm",
                "inetpub/wwwroot/redesi.htm", "inetpub/wwwroot/web.exe",
                "mirc/script.ini"]
        kept = ["inetpub/wwwroot/index.htm", "mirc/backup/script.ini"]
        values = wine("reg", "query", RUN_KEY, show=False).stdout
        clean = (result.returncode == 0 and
                 not any(os.path.exists(os.path.join(c, p)) for p in gone) and
                 all(os.path.exists(os.path.join(c, p)) for p in kept) and
                 b"Vosni" not in values and b"Other" in values)
        print("\n%s" % ("Every trace of the worm is gone; everything else "
                        "is still there." if clean else
                        "THE CLEAN-UP IS INCOMPLETE."))
        return 0 if clean else 1
    finally:
        throwaway_prefix.remove(env, prefix)
        print("(throwaway machine removed)")


if __name__ == "__main__":
    sys.exit(main())
