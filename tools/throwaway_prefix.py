"""A throwaway Wine prefix (a simulated Windows machine): made with its own
persistent wineserver, and removed with it. Used by the tools and by the
end-to-end tests."""

import os
import shutil
import subprocess


def environment(prefix):
    """The environment that runs Wine, quietly and headless, in `prefix`,
    with arguments decoded the same way on every machine."""
    env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all",
               WINEARCH="win32", WINEDLLOVERRIDES="mscoree,mshtml=",
               LANG="C.UTF-8")
    env.pop("DISPLAY", None)
    env.pop("LC_ALL", None)
    return env


def make(prefix):
    """Creates the prefix in the folder `prefix`; returns its environment.
    The wineserver outlives the caller, so it must hold none of its output
    pipes."""
    env = environment(prefix)
    os.makedirs(prefix, exist_ok=True)
    subprocess.run(["wineserver", "-p"], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineboot", "-i"], env=env, check=True,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=600)
    return env


def remove(env, folder):
    """Ends the prefix's own wineserver (never another's) and removes
    `folder`, which holds the prefix."""
    for flag in ("-k", "-w"):
        subprocess.run(["wineserver", flag], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shutil.rmtree(folder, ignore_errors=True)
