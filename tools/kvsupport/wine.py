"""The project's Wine prefix, its wineserver, and Windows programs run in it through
tools/wine-run (the Korean locale, code page 949)."""
import atexit
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")
WINE_SERVER = os.path.join(ROOT, "tools", "wine-server")


def prefix():
    """The prefix every Windows program of the project runs in; the same rule as wine-run."""
    return (os.environ.get("WINEPREFIX") or os.environ.get("KORVENDAL_WINEPREFIX")
            or os.path.join(ROOT, "build", "wineprefix"))


def environment(**extra):
    """The environment for a Wine program or the wineserver: the prefix named, Wine quiet."""
    env = dict(os.environ, WINEPREFIX=prefix(), **extra)
    env.setdefault("WINEDEBUG", "-all")
    return env


_started = set()


# Hang reports take up to this long once a program is past its time (tools/wine-run).
REPORT_SECONDS = 200


def start_server(arch, linger=60, keeper=None):
    """Makes sure the prefix's wineserver runs and its system services are up (see
    tools/wine-server). A server that a whole run started is left as it is; otherwise the
    new one ends `linger` seconds after its last client. With `keeper` (the built
    desktop_keeper.exe) the server stays instead, and so does its desktop, until
    stop_server(): for a prefix of a test's own, whose programs come with gaps between them,
    in which Wine would close the desktop and a program starting just then could fail. Done
    once per prefix and process."""
    if prefix() in _started:
        return
    how = ["--keep-desktop", arch, keeper] if keeper else [str(linger)]
    subprocess.run([WINE_SERVER, "start", *how], env=environment(), timeout=400,
                   check=False, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    _started.add(prefix())
    if keeper:
        # Such a server never ends by itself: should the caller end without stopping it,
        # it goes with this process.
        atexit.register(_stop, prefix())


def stop_server():
    """Ends the prefix's wineserver and every program still in the prefix."""
    _stop(prefix())


def _stop(path):
    if path not in _started:
        return
    subprocess.run([WINE_SERVER, "stop"], env=dict(environment(), WINEPREFIX=path), timeout=200,
                   check=False, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    _started.discard(path)


def run(arch, args, timeout=120, check=False, input=None):
    """Runs a Windows program (first element of args) under Wine; a CompletedProcess with
    stdout and stderr as bytes (Wine programs print code page 949 or UTF-8)."""
    start_server(arch)
    # wine-run's own limit comes first, so that a program past it leaves what it was doing
    # in stderr (and ends with status 124) before this process would kill wine-run itself.
    env = environment(KORVENDAL_WINE_TIMEOUT=str(timeout))
    return subprocess.run([WINE_RUN, arch] + list(args), capture_output=True,
                          timeout=timeout + REPORT_SECONDS, check=check, input=input, env=env)
