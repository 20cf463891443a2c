"""Runs pages in korvendal-host.exe under Wine for the page tests: writes the page into a
temporary folder, starts the host headless and gives back its exit status and its output
as text (the host writes UTF-8 lines)."""
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402


class PageRun:
    def __init__(self, completed):
        self.status = completed.returncode
        self.stdout = completed.stdout.decode("utf-8", errors="replace")
        self.stderr = completed.stderr.decode("utf-8", errors="replace")
        self.alerts = self.stdout.splitlines()

    def __repr__(self):
        return f"PageRun(status={self.status}, stdout={self.stdout!r}, stderr={self.stderr!r})"


INSTALLER_CLSID = "D0D05CAA-80C0-455A-B5C8-6433218CBA29"


def register_installer():
    """Registers the built control with regsvr32 of the page's bitness."""
    ocx = harness.program("Korvendal.ocx")
    if not os.path.exists(ocx):
        raise AssertionError(f"{ocx} is not built")
    registered = harness.wine(["regsvr32", "/s", harness.winpath(ocx)])
    if registered.returncode != 0:
        raise AssertionError(f"regsvr32 failed: {registered}")


def run_page(html, timeout_seconds=60, answers=(), url=None):
    """Runs `html` (text) as a page; the page should end with window.close(). `answers`
    reply, in order, to the dialogs that appear; `url` is the address the page answers
    with instead of its own file:/// one."""
    with tempfile.TemporaryDirectory(prefix="kv-page-") as work:
        page = os.path.join(work, "page.html")
        with open(page, "w", encoding="utf-8") as f:
            f.write(html)
        args = [harness.program("korvendal-host.exe"), harness.winpath(page), "--headless",
                "--timeout", str(timeout_seconds)]
        for answer in answers:
            args += ["--answer", answer]
        if url:
            args += ["--url", url]
        completed = harness.wine(args, timeout=timeout_seconds + 60)
        return PageRun(completed)
