#!/usr/bin/env python3
"""The deployment scripts of docs/deploy under Wine's cmd: the startup
script cleans an infected machine and collects its log and exit status;
the verify script says 0 on the clean machine and 1 once the worm is back.
"""

import os
import shutil
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e  # noqa: E402

DOCS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                    "docs", "deploy")


def main():
    failures = []
    e2e.reset_machine()
    deploy = os.path.join(e2e.drive_c(), "deploy")
    collect = os.path.join(e2e.drive_c(), "collect")
    os.makedirs(deploy)
    os.makedirs(collect)
    shutil.copy(os.environ["FIX_PRUXA_EXE"], deploy)
    for name in ("fix_pruxa_startup.cmd", "fix_pruxa_verify.cmd"):
        shutil.copy(os.path.join(DOCS, name), deploy)
    vosni = os.path.join(e2e.drive_c(), "windows", "VOSNI.EXE")

    def plant():
        with open(vosni, "wb") as f:
            f.write(b"MZ")

    def run(script, *args):
        return e2e.wine(["cmd", "/c", "C:\\deploy\\" + script] + list(args),
                        capture_output=True, timeout=120).returncode

    plant()
    status = run("fix_pruxa_startup.cmd", "C:\\collect")
    names = sorted(os.listdir(collect))
    if status != 0:
        failures.append("startup script exit status %d" % status)
    if os.path.exists(vosni):
        failures.append("startup script left VOSNI.EXE")
    logs = [n for n in names if n.endswith(".log")]
    statuses = [n for n in names if n.endswith(".status")]
    if len(logs) != 1 or len(statuses) != 1:
        failures.append("collected %s" % names)
    else:
        with open(os.path.join(collect, logs[0]), "rb") as f:
            if b'VOSNI.EXE" was deleted.\r\n' not in f.read():
                failures.append("collected log lacks the deletion")
        with open(os.path.join(collect, statuses[0]), "rb") as f:
            if f.read() != b"0\r\n":
                failures.append("collected status is not 0")

    for infected, expected in ((False, 0), (True, 1), (False, 0)):
        if infected:
            plant()
        status = run("fix_pruxa_verify.cmd")
        if status != expected:
            failures.append("verify script on a %s machine: %d, expected %d"
                            % ("infected" if infected else "clean", status,
                               expected))
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("ok: startup script collects, verify script tells clean from "
              "infected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
