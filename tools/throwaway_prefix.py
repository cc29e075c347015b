"""A throwaway Wine prefix (a simulated Windows machine) for the tools:
made with its own persistent wineserver, and removed with it."""

import os
import shutil
import subprocess


def make(prefix):
    """Creates the prefix in the new folder `prefix`; returns the
    environment that runs Wine in it."""
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEARCH="win32", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)
    os.makedirs(prefix, exist_ok=True)
    subprocess.run(["wineserver", "-p"], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineboot", "-i"], env=env, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return env


def remove(env, folder):
    """Ends the prefix's own wineserver (never another's) and removes
    `folder`, which holds the prefix."""
    for flag in ("-k", "-w"):
        subprocess.run(["wineserver", flag], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shutil.rmtree(folder, ignore_errors=True)
