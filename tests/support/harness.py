"""The script tests' side of the shared helpers: command-line arguments and the build tree
under test. The prefix, Wine runs, paths and nginx live in tools/kvsupport; their names are
offered here too, so that a test needs one import.

Every test script is started by CTest as
    python3 SCRIPT --build BUILD_DIR --arch x86|x64
and uses unittest; run() parses those two options and hands the rest to unittest.
"""
import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
    os.path.abspath(__file__)))), "tools"))

from kvsupport import wine as _wine  # noqa: E402
from kvsupport.files import sha256_file  # noqa: E402,F401
from kvsupport.nginx import Nginx, free_port, wait_for_port  # noqa: E402,F401
from kvsupport.paths import unix_path, user_folder, winpath  # noqa: E402,F401
from kvsupport.wine import ROOT, WINE_RUN, prefix  # noqa: E402,F401


class Context:
    build = None
    arch = "x86"


def run(argv=None):
    """Entry point of a test script: reads --build and --arch, then runs unittest."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--build", required=True)
    parser.add_argument("--arch", default="x86", choices=["x86", "x64"])
    args, rest = parser.parse_known_args(argv if argv is not None else sys.argv[1:])
    Context.build = os.path.abspath(args.build)
    Context.arch = args.arch
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


def program(name):
    """Full Unix path of a built program, e.g. program('kvtool.exe')."""
    return os.path.join(Context.build, name)


def warm_up(arch=None, keep_desktop=False):
    """The prefix's wineserver and system services, started without any pipe of ours. With
    keep_desktop (a test's prefix of its own) the server and the prefix's desktop stay until
    stop_server()."""
    arch = arch or Context.arch
    _wine.start_server(arch, keeper=program("desktop_keeper.exe") if keep_desktop else None)


def stop_server():
    """Ends the current prefix's wineserver and its programs."""
    _wine.stop_server()


def wine(args, timeout=120, check=False, input=None):
    """Runs a Windows program (first element of args) of the architecture under test."""
    return _wine.run(Context.arch, args, timeout=timeout, check=check, input=input)
