"""Pages run in korvendal-host.exe for the page tests, against the build tree under test."""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from kvsupport import host  # noqa: E402
from kvsupport.host import INSTALLER_CLSID, PageRun  # noqa: E402,F401


def register_installer():
    """Registers the built control with regsvr32 of the page's bitness."""
    try:
        host.register_control(harness.Context.arch, harness.Context.build)
    except RuntimeError as error:
        raise AssertionError(str(error)) from None


def run_page(html, timeout_seconds=60, answers=(), extra_args=()):
    """Runs `html` (text) as a page; the page should end with window.close(). `answers`
    reply, in order, to the dialogs that appear."""
    return host.run_page(harness.Context.arch, harness.Context.build, html,
                         timeout_seconds=timeout_seconds, answers=answers, extra_args=extra_args)
