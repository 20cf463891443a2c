"""The control registered in the prefix and pages run in korvendal-host.exe, headless: the
page is written into a temporary folder, and its exit status and output (the host writes
UTF-8 lines) come back."""
import os
import tempfile

from kvsupport import wine
from kvsupport.paths import winpath

INSTALLER_CLSID = "D0D05CAA-80C0-455A-B5C8-6433218CBA29"


class PageRun:
    def __init__(self, completed):
        self.status = completed.returncode
        self.stdout = completed.stdout.decode("utf-8", errors="replace")
        self.stderr = completed.stderr.decode("utf-8", errors="replace")
        self.alerts = self.stdout.splitlines()

    def __repr__(self):
        return f"PageRun(status={self.status}, stdout={self.stdout!r}, stderr={self.stderr!r})"


def register_control(arch, build):
    """Registers build's Korvendal.ocx with regsvr32 of its bitness; raises on failure."""
    ocx = os.path.join(build, "Korvendal.ocx")
    if not os.path.exists(ocx):
        raise RuntimeError(f"{ocx} is not built")
    registered = wine.run(arch, ["regsvr32", "/s", winpath(ocx)])
    if registered.returncode != 0:
        raise RuntimeError(f"regsvr32 failed: {registered}")


def run_page(arch, build, html, timeout_seconds=60, answers=(), extra_args=()):
    """Runs `html` (text) as a page; the page should end with window.close(). `answers`
    reply, in order, to the dialogs that appear."""
    with tempfile.TemporaryDirectory(prefix="kv-page-") as work:
        page = os.path.join(work, "page.html")
        with open(page, "w", encoding="utf-8") as f:
            f.write(html)
        args = [os.path.join(build, "korvendal-host.exe"), winpath(page), "--headless",
                "--timeout", str(timeout_seconds)]
        for answer in answers:
            args += ["--answer", answer]
        args += list(extra_args)
        return PageRun(wine.run(arch, args, timeout=timeout_seconds + 60))
