#!/usr/bin/env python3
"""Makes the release ZIP with CPack and checks what it holds: the program,
the README, and SHA256SUMS that match them.

Usage: check_package.py BUILD-DIR
"""

import hashlib
import subprocess
import sys
import zipfile


def main():
    build = sys.argv[1]
    subprocess.run(["cpack", "-G", "ZIP"], cwd=build, check=True,
                   stdout=subprocess.DEVNULL)
    path = "%s/fix_pruxa-1.10.0-win32.zip" % build
    failures = []
    with zipfile.ZipFile(path) as package:
        names = sorted(package.namelist())
        if names != ["README.md", "SHA256SUMS", "fix_pruxa.exe"]:
            failures.append("holds %s" % names)
        else:
            sums = package.read("SHA256SUMS").decode()
            for name in ("fix_pruxa.exe", "README.md"):
                digest = hashlib.sha256(package.read(name)).hexdigest()
                if "%s  %s\n" % (digest, name) not in sums:
                    failures.append("SHA256SUMS does not match " + name)
    print("%s: %s" % (path, ", ".join(names)))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
