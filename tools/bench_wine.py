#!/usr/bin/env python3
"""Measures fix_pruxa.exe under Wine on a throwaway prefix:

1. a quiet run on a clean machine beside a do-nothing .exe (what the tool
   adds to process start), median of repeated runs;
2. a quiet run with a 256 MiB script.ini that does not match: the
   checksum's throughput, and the process's anonymous (private) resident
   memory at its peak beside the same run with a 1 MiB file, to show that
   the tool's own memory does not grow with the file (the file is mapped,
   never read into a buffer).

Usage: bench_wine.py PATH-TO-fix_pruxa.exe
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import throwaway_prefix

NOTHING = "int main(void) { return 0; }\n"


def main():
    exe = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="fix_pruxa_bench_")
    prefix = os.path.join(work, "prefix")
    c = os.path.join(prefix, "drive_c")
    env = throwaway_prefix.environment(prefix)
    try:
        throwaway_prefix.make(prefix)
        os.makedirs(os.path.join(c, "Tools"))
        shutil.copy(exe, os.path.join(c, "Tools", "fix_pruxa.exe"))
        source = os.path.join(work, "nothing.c")
        with open(source, "w") as f:
            f.write(NOTHING)
        subprocess.run(["i686-w64-mingw32-gcc-win32", "-O2", "-s", "-static",
                        source, "-o", os.path.join(c, "Tools", "nothing.exe")],
                       check=True)

        def run(program, *args, sample_memory=False):
            start = time.perf_counter()
            process = subprocess.Popen(["wine", program] + list(args),
                                       env=env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            peak = {"anon": 0, "hwm": 0}
            if sample_memory:
                thread = threading.Thread(target=sample, args=(process, peak))
                thread.start()
            process.wait()
            elapsed = time.perf_counter() - start
            if sample_memory:
                thread.join()
            return elapsed, peak

        def median(program, *args, times=15):
            run(program, *args)  # warm up
            return statistics.median(run(program, *args)[0]
                                     for _ in range(times))

        tool = "C:\\Tools\\fix_pruxa.exe"
        nothing = median("C:\\Tools\\nothing.exe")
        clean = median(tool, "/Q")
        print("do-nothing .exe under Wine:      %7.1f ms (median of 15)" %
              (nothing * 1000))
        print("fix_pruxa /Q, clean machine:     %7.1f ms (median of 15), "
              "%.2f x the do-nothing start" % (clean * 1000, clean / nothing))

        mirc = os.path.join(c, "mirc")
        os.makedirs(mirc)
        script = os.path.join(mirc, "script.ini")
        results = {}
        for mib in (1, 256):
            block = bytes(range(256)) * 4096  # 1 MiB, not the worm's
            with open(script, "wb") as f:
                for _ in range(mib):
                    f.write(block)
            times = []
            peaks = []
            for _ in range(3):
                elapsed, peak = run(tool, "/Q", sample_memory=True)
                times.append(elapsed)
                peaks.append(peak)
            results[mib] = (statistics.median(times),
                            max(p["anon"] for p in peaks),
                            max(p["hwm"] for p in peaks))
            if not os.path.exists(script):
                print("the script file was removed: it must not match")
                return 1
        for mib, (elapsed, anon, hwm) in sorted(results.items()):
            print("fix_pruxa /Q, %3d MiB script.ini: %7.1f ms (median of 3), "
                  "peak private memory %6.1f MiB, peak resident %6.1f MiB" %
                  (mib, elapsed * 1000, anon / 1024, hwm / 1024))
        extra = results[256][0] - results[1][0]
        print("checksum throughput under Wine:  %7.1f MiB/s "
              "(255 MiB more in %.0f ms more)" % (255 / extra, extra * 1000))
        return 0
    finally:
        throwaway_prefix.remove(env, work)


def sample(process, peak):
    """Largest RssAnon and VmHWM, in KiB, of the Wine process that runs
    fix_pruxa.exe, polled until it ends."""
    while process.poll() is None:
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    if b"fix_pruxa.exe" not in f.read():
                        continue
                with open("/proc/%s/status" % pid) as f:
                    for line in f:
                        key, _, value = line.partition(":")
                        if key == "RssAnon":
                            peak["anon"] = max(peak["anon"],
                                               int(value.split()[0]))
                        elif key == "VmHWM":
                            peak["hwm"] = max(peak["hwm"],
                                              int(value.split()[0]))
            except OSError:
                continue
        time.sleep(0.005)


if __name__ == "__main__":
    sys.exit(main())
