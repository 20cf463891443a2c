"""Runs kvtool under Wine for the engine's script tests and returns its printed lines."""
import os
import subprocess

import harness


def warm_up():
    """Starts the prefix's wineserver and its system services without any pipe of ours:
    services started by a captured run would hold that run's output pipe open."""
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.environ.get(
        "KORVENDAL_WINEPREFIX", os.path.join(harness.ROOT, "build", "wineprefix")))
    subprocess.run(["wineserver", "-p60"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    subprocess.run([harness.WINE_RUN, harness.Context.arch, harness.program("kvtool.exe")],
                   env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=180, check=False)


def kvtool(*args, timeout=300):
    """(exit status, printed lines) of one kvtool run."""
    result = harness.wine([harness.program("kvtool.exe")] + list(args), timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8").split("\n")[:-1]


def progress_lines(lines):
    """The (lastChunk, received) pairs of the PROGRESS lines, in order."""
    return [tuple(int(v) for v in line.split()[1:]) for line in lines if line.startswith("PROGRESS ")]
