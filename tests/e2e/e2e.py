#!/usr/bin/env python3
"""End-to-end runs of the real fix_pruxa.exe under Wine.

  e2e.py prefix-create      make the suite's throwaway Wine prefix
  e2e.py prefix-remove      end its wineserver and remove it
  e2e.py case FILE          run one case file (format: cases/README.md)

The prefix comes from WINEPREFIX; the programs from FIX_PRUXA_EXE and
HOLD_FILE_EXE. Output, log and exit status are compared byte for byte.
"""

import os
import re
import shlex
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                "..", "..", "tools"))
import throwaway_prefix  # noqa: E402

RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
BANNER = (
    "+==============================================================+\n"
    "|                    FIX_PRUXA Version 1.10                    |\n"
    "|                      Qarlo Vemmo, Inc.                       |\n"
    "+==============================================================+\n"
    "|   1.  Scan and remove WORM_PRUXA.A from the system.          |\n"
    '|       a.  Delete the file "%Windows%\\VOSNI.EXE".             |\n'
    '|       b.  Delete the file "C:\\INETPUB\\WWWROOT\\DEFAULT.HTM".  |\n'
    '|       c.  Delete the file "C:\\INETPUB\\WWWROOT\\REDESI.HTM".   |\n'
    '|       d.  Delete the file "C:\\INETPUB\\WWWROOT\\WEB.EXE".      |\n'
    '|       e.  Delete the file "C:\\MIRC\\SCRIPT.INI".              |\n'
    '|       f.  Delete the registry entry "HKLM\\Software\\Microsoft\\|\n'
    '|           Windows\\CurrentVersion\\Run\\Vosni".                 |\n'
    '|   2.  Log actions in a file named "fix_pruxa.log" located    |\n'
    "|       in the same folder as this fix tool.                   |\n"
    "|   NOTE:                                                      |\n"
    "|       %Windows% refers to the Windows folder, which          |\n"
    '|       is usually "C:\\WINDOWS".                               |\n'
    "|   For information about this virus, visit:                   |\n"
    "|       http://www.qarlovemmo.com/vo-querix/vinfo/             |\n"
    "|           virusencyclo/default5.asp?VName=WORM_PRUXA.A       |\n"
    "+==============================================================+")
USAGE = (
    'Scans and removes all copies of the worm "WORM_PRUXA.A"\n\n'
    "FIX_PRUXA [/Q] [/?]\n\n"
    "    /Q          Quiet mode: Disables opening message. Removes\n"
    "                virus/worm and clean infected computer.\n"
    "    /?          Display help information.")
HEADER = (
    "\n\n"
    "/--------------------------------------------------------------\\\n"
    "|                      FIX_PRUXA Log File                       |\n"
    "|                      Qarlo Vemmo, Inc.                       |\n"
    "\\--------------------------------------------------------------/\n"
    "\n")
# Any text with this CRC-32 is the worm's script; "123456789" plus four
# bytes that bring the checksum there.
WORM_SCRIPT = b"123456789\xd8\xc1\xe1\xfd"
LONG = "x" * 20000


def wine_env():
    return throwaway_prefix.environment(prefix())


def prefix():
    return os.environ["WINEPREFIX"]


def drive_c():
    return os.path.join(prefix(), "drive_c")


def unix_path(windows_path, must_exist=False):
    """C:\\a\\b as a path under the prefix, matching existing names
    without regard to letter case, as Windows does."""
    assert windows_path[:3].lower() == "c:\\", windows_path
    current = drive_c()
    for part in [p for p in windows_path[3:].split("\\") if p]:
        candidate = os.path.join(current, part)
        if not os.path.lexists(candidate) and os.path.isdir(current):
            for name in os.listdir(current):
                if name.lower() == part.lower():
                    candidate = os.path.join(current, name)
                    break
        current = candidate
    if must_exist and not os.path.lexists(current):
        return None
    return current


def wine(args, **kwargs):
    return subprocess.run(["wine"] + args, env=wine_env(),
                          stdin=subprocess.DEVNULL, start_new_session=True,
                          **kwargs)


def reg_values():
    out = wine(["reg", "query", RUN_KEY], capture_output=True,
               timeout=120).stdout.decode("latin-1")
    values = {}
    for line in out.splitlines():
        if line.startswith("    "):
            parts = line.strip().split("    ")
            values[parts[0].lower()] = parts[2] if len(parts) > 2 else ""
    return values


def prefix_create():
    if os.path.isdir(prefix()):
        prefix_remove()
    # One wineserver for the whole suite; prefix-remove ends it.
    throwaway_prefix.make(prefix())
    wine(["reg", "add", RUN_KEY, "/f"], check=True, capture_output=True,
         timeout=120)
    os.makedirs(os.path.join(drive_c(), "e2e"), exist_ok=True)
    shutil.copy(os.environ["HOLD_FILE_EXE"],
                os.path.join(drive_c(), "e2e", "hold_file.exe"))
    print("Wine prefix ready:", prefix())


def prefix_remove():
    if os.path.isdir(prefix()):
        throwaway_prefix.remove(wine_env(), prefix())
    print("Wine prefix removed:", prefix())


class Case:
    def __init__(self, path):
        self.path = path
        self.lists = {}
        self.sections = {}
        section = None
        with open(path, encoding="utf-8") as f:
            for line in f:
                if line.startswith("--- "):
                    section = line[4:].strip()
                    self.sections[section] = ""
                elif section is not None:
                    self.sections[section] += line
                elif line.strip() and not line.startswith("#"):
                    key, _, value = line.rstrip("\n").partition(":")
                    value = value.strip()
                    self.lists.setdefault(key, []).append(value)

    def get(self, key, default=None):
        return self.lists.get(key, [default])[-1]

    def all(self, key):
        return self.lists.get(key, [])


# With C:\work\ before it, a current folder of 247 characters: about the
# longest that Windows lets a program start in (MAX_PATH less the room for
# a backslash and a file name). Wine's launcher garbles longer ones before
# the program is even started.
DEEP = "d" * 200 + "\\" + "d" * 38


def expand(text):
    return text.replace("@LONG@", LONG).replace("@DEEP@", DEEP)


def content_of(entry):
    """file: PATH [attributes RHS] [worm-script | size N | text TEXT]"""
    words = entry.split()
    data = b""
    if "worm-script" in words:
        data = WORM_SCRIPT
    elif "worm-script-changed" in words:
        data = bytearray(WORM_SCRIPT)
        data[4] ^= 1
        data = bytes(data)
    elif "size" in words:
        size = int(words[words.index("size") + 1])
        block = bytes(range(256)) * 4096
        data = (block * (size // len(block) + 1))[:size]
    elif "text" in words:
        data = entry.split(" text ", 1)[1].encode("latin-1")
    return data


def set_attributes(path, letters):
    if "R" in letters:
        os.chmod(path, 0o444)
    hidden_system = (2 if "H" in letters else 0) | (4 if "S" in letters else 0)
    if hidden_system:
        # Where Wine keeps the DOS attributes it cannot map to Unix ones.
        os.setxattr(path, "user.DOSATTRIB", b"0x%x" % hidden_system)


# What a new prefix holds in C:\, and the suite's own folder.
KEEP = {"windows", "users", "program files", "programdata", "e2e"}


def reset_machine():
    for name in os.listdir(drive_c()):
        path = os.path.join(drive_c(), name)
        if name.lower() in KEEP:
            continue
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        else:
            os.remove(path)
    windows = os.path.join(drive_c(), "windows")
    for name in os.listdir(windows):
        if name.lower() == "vosni.exe":
            os.chmod(os.path.join(windows, name), 0o644)
            os.remove(os.path.join(windows, name))
    for name in ("ready", "stop"):
        path = os.path.join(drive_c(), "e2e", name)
        if os.path.exists(path):
            os.remove(path)


def pattern(expected_text):
    """The expected text as a bytes regex: CR LF line breaks, and the
    placeholders described in cases/README.md."""
    parts = re.split(r"@([A-Z]+(?: [0-9a-f]+)?)@", expand(expected_text))
    regex = b""
    for i, part in enumerate(parts):
        if i % 2 == 0:
            regex += re.escape(part.replace("\n", "\r\n").encode("latin-1"))
            continue
        name, _, number = part.partition(" ")
        literal = {"BANNER": BANNER, "USAGE": USAGE, "HEADER": HEADER,
                   "PROMPT": "Press any key to continue ....",
                   "WINDIR": "C:\\windows",
                   "RUNKEY": RUN_KEY.replace("HKLM", "HKEY_LOCAL_MACHINE")}
        if name in literal:
            regex += re.escape(literal[name].replace("\n", "\r\n").encode())
        elif name == "T":
            regex += rb"\d{4}-\d\d-\d\d, \d\d:\d\d:\d\d,   "
        elif name == "ERROR":
            # The system's wording is Wine's here; only shape and number
            # are compared.
            regex += (rb"(?:[^\r\n]+ \(error " + number.encode() +
                      rb"\)|error " + number.encode() + rb")")
        elif name == "BYTE":
            regex += re.escape(bytes([int(number, 16)]))
        elif name == "PREVIOUS":
            regex += b"(?P<previous>.*?)"
        else:
            raise ValueError("unknown placeholder @%s@" % part)
    return re.compile(regex, re.DOTALL)


def show(label, data):
    text = data.decode("latin-1").replace("\r\n", "\u21b5\n")
    if len(text) > 6000:
        text = text[:3000] + "\n[...]\n" + text[-3000:]
    print("---- %s ----\n%s\n---- end ----" % (label, text))


def run_case(path):
    case = Case(path)
    failures = []
    reset_machine()
    program = case.get("program", "C:\\fix\\fix_pruxa.exe")
    program_unix = unix_path(program)
    os.makedirs(os.path.dirname(program_unix), exist_ok=True)
    shutil.copy(os.environ["FIX_PRUXA_EXE"], program_unix)
    cwd = expand(case.get("cwd", program.rsplit("\\", 1)[0]))
    cwd_unix = unix_path(cwd)
    os.makedirs(cwd_unix, exist_ok=True)

    for name in case.all("planted-dll"):
        shutil.copy(os.environ["PLANTED_DLL"],
                    os.path.join(os.path.dirname(program_unix), name))
    mark = os.path.join(drive_c(), "e2e", "planted-dll-loaded")
    if os.path.exists(mark):
        os.remove(mark)

    files = {}
    for entry in case.all("folder"):
        os.makedirs(unix_path(entry), exist_ok=True)
    for entry in case.all("file"):
        target = entry.split()[0]
        target_unix = unix_path(target)
        os.makedirs(os.path.dirname(target_unix), exist_ok=True)
        data = content_of(entry)
        with open(target_unix, "wb") as f:
            f.write(data)
        words = entry.split()
        if "attributes" in words:
            set_attributes(target_unix, words[words.index("attributes") + 1])
        files[target] = data
    log_path = program.rsplit("\\", 1)[0] + "\\fix_pruxa.log"
    previous = case.sections.get("previous-log")
    if previous is not None:
        previous = previous.replace("\n", "\r\n").encode("latin-1")
        if previous.endswith(b"[cut]\r\n"):
            previous = previous[: -len(b"[cut]\r\n")]
        with open(unix_path(log_path), "wb") as f:
            f.write(previous)

    values = {}
    commands = ["reg delete %s /v Vosni /f" % RUN_KEY,
                "reg delete %s /v Other /f" % RUN_KEY]
    for entry in case.all("value"):
        name, _, data = entry.partition(" ")
        values[name.lower()] = data
        commands.append('reg add %s /v %s /d "%s" /f' % (RUN_KEY, name, data))
    batch = os.path.join(drive_c(), "e2e", "setup.bat")
    with open(batch, "w") as f:
        f.write("@echo off\r\n" + "\r\n".join(commands) + "\r\n")
    wine(["cmd", "/c", "C:\\e2e\\setup.bat"], capture_output=True,
         timeout=120)
    before = reg_values()

    holder = None
    if case.get("hold"):
        words = case.get("hold").split()
        holder = subprocess.Popen(
            ["wine", "C:\\e2e\\hold_file.exe", words[0], "C:\\e2e\\ready",
             "C:\\e2e\\stop"] + words[1:], env=wine_env(),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        ready = os.path.join(drive_c(), "e2e", "ready")
        deadline = time.time() + 60
        while not os.path.exists(ready):
            if holder.poll() is not None or time.time() > deadline:
                print("FAIL: the holder could not open", words[0])
                return 1
            time.sleep(0.05)

    lexer = shlex.shlex(case.get("args", ""), posix=True)
    lexer.whitespace_split = True
    lexer.escape = ""  # backslashes are path separators here
    args = [expand(a) for a in lexer]
    try:
        result = wine([case.get("command", program)] + args, cwd=cwd_unix,
                      capture_output=True,
                      timeout=float(case.get("timeout", "120")))
    finally:
        if holder is not None:
            open(os.path.join(drive_c(), "e2e", "stop"), "w").close()
            holder.wait(timeout=60)

    expected_exit = int(case.get("exit", "0"))
    if result.returncode != expected_exit:
        failures.append("exit status %d, expected %d" %
                        (result.returncode, expected_exit))
    if "stdout" in case.sections and not pattern(
            case.sections["stdout"]).fullmatch(result.stdout):
        failures.append("standard output differs")
        show("expected stdout", case.sections["stdout"].encode("latin-1"))
        show("actual stdout", result.stdout)

    log_unix = unix_path(log_path, must_exist=True)
    if case.get("log") == "none":
        if log_unix is not None:
            failures.append("a log was created: " + log_path)
    elif "log" in case.sections:
        if log_unix is None or not os.path.isfile(log_unix):
            failures.append("no log at " + log_path)
        else:
            with open(log_unix, "rb") as f:
                log = f.read()
            match = pattern(case.sections["log"]).fullmatch(log)
            if not match or (previous is not None and
                             match.group("previous") != previous):
                failures.append("log differs")
                show("expected log", case.sections["log"].encode("latin-1"))
                show("actual log", log)

    if os.path.exists(mark):
        failures.append("a DLL planted beside the program was loaded")

    stray = unix_path(cwd + "\\fix_pruxa.log", must_exist=True)
    if cwd.lower() != program.rsplit("\\", 1)[0].lower() and stray:
        failures.append("a log in the current folder: " + cwd)

    gone = {p.lower() for p in case.all("absent")}
    for target, data in files.items():
        found = unix_path(target, must_exist=True)
        if target.lower() in gone:
            if found is not None:
                failures.append("still there: " + target)
        elif found is None:
            failures.append("removed, but must stay: " + target)
        else:
            with open(found, "rb") as f:
                if f.read() != data:
                    failures.append("changed, but must stay: " + target)
    for folder in case.all("folder"):
        if not os.path.isdir(unix_path(folder)):
            failures.append("folder removed: " + folder)

    after = reg_values()
    removed = {n.lower() for n in case.all("value-absent")}
    expected_values = {k: v for k, v in before.items() if k not in removed}
    if after != expected_values:
        failures.append("Run key values %r, expected %r" %
                        (after, expected_values))

    if failures:
        show("stderr", result.stderr)
        for failure in failures:
            print("FAIL:", failure)
        return 1
    print("ok:", os.path.basename(path))
    return 0


def main():
    command = sys.argv[1]
    if command == "prefix-create":
        prefix_create()
    elif command == "prefix-remove":
        prefix_remove()
    elif command == "case":
        return run_case(sys.argv[2])
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
