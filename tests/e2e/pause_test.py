#!/usr/bin/env python3
"""The pause at a real console: fix_pruxa.exe under Wine inside tmux, keys
sent with send-keys, the screen read with capture-pane.

Wine's terminal backend raises Ctrl+C as a signal even with processed input
off, where a Windows console hands it over as a key; the tool turns that
signal into the key during the pause, so both end the wait. tmux cannot
send a modifier key alone, so that rule is left to a Windows console.
Wine's terminal backend also reads console input from the process's
standard input, so the Windows rule that redirected standard input does not
answer the pause cannot be shown here either.
"""

import os
import shlex
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import e2e  # noqa: E402

SOCKET = "fix_pruxa_e2e_%d" % os.getpid()
PROMPT = "Press any key to continue ...."


def tmux(*args, **kwargs):
    return subprocess.run(["tmux", "-L", SOCKET] + list(args),
                          capture_output=True, text=True, **kwargs)


def screen():
    return tmux("capture-pane", "-p", "-J", "-S", "-200", "-t", "pause").stdout


def wait_for(condition, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.1)
    return False


def run(arguments, key, work):
    """Starts the tool at a console, checks that it waits at the prompt,
    sends `key`, and returns (exit status, screen)."""
    e2e.reset_machine()
    program = e2e.unix_path("C:\\fix\\fix_pruxa.exe")
    os.makedirs(os.path.dirname(program), exist_ok=True)
    shutil.copy(os.environ["FIX_PRUXA_EXE"], program)
    status_file = os.path.join(work, "status")
    if os.path.exists(status_file):
        os.remove(status_file)
    env = e2e.wine_env()
    exports = "".join("export %s=%s\n" % (k, shlex.quote(env[k]))
                      for k in ("WINEPREFIX", "WINEDEBUG", "WINEARCH",
                                "WINEDLLOVERRIDES", "LANG"))
    command = "wine 'C:\\fix\\fix_pruxa.exe' " + " ".join(arguments)
    script = os.path.join(work, "run.sh")
    with open(script, "w") as f:
        # bash, unlike dash, goes on after a child that survived Ctrl+C.
        f.write("unset DISPLAY\n%s%s\necho $? > %s\nsleep 600\n" %
                (exports, command, status_file))
    tmux("kill-session", "-t", "pause")
    tmux("new-session", "-d", "-s", "pause", "-x", "200", "-y", "60",
         "bash " + script, check=True)
    try:
        if not wait_for(lambda: PROMPT in screen()):
            raise AssertionError("no prompt:\n" + screen())
        time.sleep(1.5)
        if os.path.exists(status_file) or "Deleting" in screen():
            raise AssertionError("did not wait:\n" + screen())
        tmux("send-keys", "-t", "pause", key)
        if not wait_for(lambda: os.path.exists(status_file)):
            raise AssertionError("still waiting after %s:\n%s" %
                                 (key, screen()))
        time.sleep(0.2)
        with open(status_file) as f:
            return int(f.read()), screen()
    finally:
        tmux("kill-session", "-t", "pause")


def line_after_prompt(text):
    for line in text.splitlines():
        if line.startswith(PROMPT):
            return line[len(PROMPT):]
    raise AssertionError("prompt line missing:\n" + text)


def main():
    failures = []
    work = tempfile.mkdtemp(prefix="fix_pruxa_pause_")
    try:
        checks = [
            # (arguments, key, status, text after prompt)
            ([], "x", 0, ""),
            ([], "C-c", 0, ""),
            (["/?"], "F5", 1, "Scans and removes all copies"),
            (["/?"], "Up", 1, "Scans and removes all copies"),
            (["word"], "Enter", 2, "Too many command-line parameters"),
        ]
        for arguments, key, status, after in checks:
            label = "%s, key %s" % (arguments, key)
            try:
                got, text = run(arguments, key, work)
                rest = line_after_prompt(text)
                if got != status:
                    raise AssertionError("status %d, expected %d" %
                                         (got, status))
                if not rest.startswith(after) or (not after and rest):
                    raise AssertionError("after the prompt: %r" % rest)
                if status == 0:
                    log = e2e.unix_path("C:\\fix\\fix_pruxa.log", True)
                    if log is None or "Deleting file" not in text:
                        raise AssertionError("the run did not go on:\n" +
                                             text)
                print("ok:", label)
            except AssertionError as error:
                failures.append("%s: %s" % (label, error))
    finally:
        tmux("kill-server")
        shutil.rmtree(work, ignore_errors=True)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
