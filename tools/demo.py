"""The control doing its job end to end: a loopback nginx serves a skin archive and a file
of random bytes made on the spot, and korvendal-host runs demo/index.html against it.

    python3 tools/demo.py --build build/x64 --arch x64 [--headless]

With a display (DISPLAY set, no --headless) the host opens the window on a Wine desktop of
its own and the person at the screen clicks. Otherwise demo/autopilot.js drives the window:
this script prints a line per second with the labels' texts, the final status, checks the
downloaded file against the served one by SHA-256, prints one `SCREENSHOT <path>` line per
picture of the window (before the start, after the end) and exits 0; any failure exits 1
with the reason on standard error. nginx and the Windows programs stop when this script
ends, also on Ctrl-C and on SIGTERM.
"""
import argparse
import os
import shutil
import signal
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
from kvsupport import skins, wine  # noqa: E402
from kvsupport.files import sha256_file  # noqa: E402
from kvsupport.nginx import Nginx  # noqa: E402
from kvsupport.paths import unix_path, user_folder, winpath  # noqa: E402

PAGE = os.path.join(ROOT, "demo", "index.html")
AUTOPILOT = os.path.join(ROOT, "demo", "autopilot.js")
SKIN_NAME = "skin.zip"
FILE_NAME = "korvendal-demo.bin"
BASE_PATH = "KorvendalDemo"
DONE = "다운로드 완료"
HOST_TIMEOUT = 900


class DemoFailed(Exception):
    pass


def say(text):
    print(text, flush=True)


def skin_archive_bytes(build):
    """The default skin packed by the build; until a tree has one, the tests' skin."""
    packed = os.path.join(build, "skins", "default.zip")
    if os.path.isfile(packed):
        with open(packed, "rb") as f:
            return f.read(), packed
    return skins.skin_archive(), "tools/kvsupport/skins.py"


def write_random_file(path, megabytes):
    with open(path, "wb") as f:
        for _ in range(megabytes):
            f.write(os.urandom(1 << 20))


def filled_page(server_url, autopilot_folder=None):
    """The demo page with the server filled in; for a run without a person, the autopilot
    appended as the page's last script."""
    with open(PAGE, encoding="utf-8") as f:
        html = f.read()
    html = html.replace('var serverUrl = "";', f'var serverUrl = "{server_url}";', 1)
    if autopilot_folder is not None:
        with open(AUTOPILOT, encoding="utf-8") as f:
            script = f.read()
        folder = winpath(autopilot_folder) + "\\"
        block = ('<script language="JScript">\nvar demoFolder = "' + folder.replace("\\", "\\\\") + '";\n'
                 + script + "</script>\n")
        html = html.replace("</body>", block + "</body>", 1)
    return html


class WindowsProgram:
    """A Windows program run through wine-run, whose output is read line by line. Stopping
    it sends TERM to wine-run, which passes it on to the program's process group."""

    def __init__(self, arch, args, timeout, capture=True):
        env = dict(os.environ, KORVENDAL_WINE_TIMEOUT=str(timeout))
        self.proc = subprocess.Popen([wine.WINE_RUN, arch] + args, env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.PIPE if capture else None)

    def lines(self):
        for raw in self.proc.stdout:
            yield raw.decode("utf-8", errors="replace").rstrip("\r\n")

    def wait(self):
        return self.proc.wait()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


def register_control(arch, build):
    ocx = os.path.join(build, "Korvendal.ocx")
    if not os.path.isfile(ocx):
        raise DemoFailed(f"{ocx} is not built")
    program = WindowsProgram(arch, ["regsvr32", "/s", winpath(ocx)], 120, capture=False)
    try:
        if program.wait() != 0:
            raise DemoFailed("registering Korvendal.ocx with regsvr32 failed")
    finally:
        program.stop()


def drive_headless(arch, build, page, out, served):
    """Runs the page with the autopilot and checks what it reports."""
    host = os.path.join(build, "korvendal-host.exe")
    args = [host, winpath(page), "--headless", "--timeout", str(HOST_TIMEOUT)]
    program = WindowsProgram(arch, args, HOST_TIMEOUT + 60)
    status, downloaded, failures, shots = None, None, [], []
    try:
        for line in program.lines():
            word, _, rest = line.partition(" ")
            if word == "TICK":
                say(rest)
            elif word == "CAPTURED":
                path = unix_path(rest)
                if not os.path.isfile(path):
                    failures.append(f"the screenshot {path} was not written")
                else:
                    shots.append(path)
                    say(f"SCREENSHOT {path}")
            elif word == "STATUS":
                status = rest
                say(f"상태: {status}")
            elif word == "DOWNLOADED":
                downloaded = rest
            elif word == "FIGURES":
                say(rest)
            elif word == "FAILED":
                failures.append(rest)
            else:
                # The page's own messages, OnClose, and dialogs (BOX caption|text).
                say(line)
                if line.startswith("BOX 에러|"):
                    failures.append("the control showed an error: " + line[len("BOX 에러|"):])
        code = program.wait()
    finally:
        program.stop()
    if failures:
        raise DemoFailed("; ".join(failures))
    if code != 0:
        raise DemoFailed(f"korvendal-host ended with status {code}")
    if status != DONE:
        raise DemoFailed(f"the transfer ended with the status {status!r}, not {DONE!r}")
    if len(shots) != 2:
        raise DemoFailed(f"expected 2 screenshots, got {len(shots)}")
    if not downloaded:
        raise DemoFailed("the page did not report the downloaded file")
    local = unix_path(downloaded)
    if not os.path.isfile(local):
        raise DemoFailed(f"the downloaded file {local} does not exist")
    got, want = sha256_file(local), sha256_file(served)
    if got != want:
        raise DemoFailed(f"{local} differs from the served file (SHA-256 {got}, served {want})")
    say(f"검사: {local} = 보낸 파일 (SHA-256 {got})")


def show_on_display(arch, build, page):
    """The window on a Wine desktop of its own with the X11 driver: the prefix's own
    desktop uses the null driver, so that the tests run without a display."""
    host = winpath(os.path.join(build, "korvendal-host.exe"))
    args = ["explorer", "/desktop=KorvendalDemo,640x480,x11", host, winpath(page)]
    say("창이 열립니다: 시작, 중지, 실행, 폴더, 닫기를 눌러 보십시오.")
    program = WindowsProgram(arch, args, 3600, capture=False)
    try:
        code = program.wait()
    finally:
        program.stop()
    if code != 0:
        raise DemoFailed(f"the host ended with status {code}")


def run(args):
    build = os.path.abspath(args.build)
    out = os.path.join(os.path.dirname(build), "demo")
    site = os.path.join(out, "site")
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(site)
    skin, skin_source = skin_archive_bytes(build)
    with open(os.path.join(site, SKIN_NAME), "wb") as f:
        f.write(skin)
    served = os.path.join(site, FILE_NAME)
    write_random_file(served, args.megabytes)
    # A skin cached by an earlier run would be used as it is, and an earlier download
    # would be resumed after a question: the demo starts from nothing.
    shutil.rmtree(os.path.join(user_folder("Temp"), BASE_PATH), ignore_errors=True)
    leftover = os.path.join(user_folder("Documents"), FILE_NAME)
    if os.path.lexists(leftover):
        os.remove(leftover)

    wine.start_server(args.arch)
    register_control(args.arch, build)
    # A limited rate lets the transfer last long enough to be watched.
    extra = f"location / {{ limit_rate {args.rate}; }}" if args.rate else ""
    with Nginx(site, extra=extra) as server:
        say(f"서버: {server.url()} (스킨 {skin_source}, 파일 {FILE_NAME} {args.megabytes} MB)")
        page = os.path.join(site, "index.html")
        with open(page, "w", encoding="utf-8") as f:
            f.write(filled_page(server.url(), None if args.display else out))
        if args.display:
            show_on_display(args.arch, build, page)
        else:
            drive_headless(args.arch, build, page, out, served)


def stop_on_signal(signum, frame):
    # Unwinds through the `with` and `finally` blocks, which stop nginx and the host.
    raise KeyboardInterrupt


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the build tree, e.g. build/x64")
    parser.add_argument("--arch", required=True, choices=["x86", "x64"])
    parser.add_argument("--headless", action="store_true", help="drive the window without a display")
    parser.add_argument("--megabytes", type=int, default=32, help="size of the served file")
    parser.add_argument("--rate", default="4m", help="nginx's limit_rate for the transfer ('' for none)")
    args = parser.parse_args(argv)
    args.display = not args.headless and bool(os.environ.get("DISPLAY"))
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGHUP, stop_on_signal)
    try:
        run(args)
    except DemoFailed as failure:
        print(f"demo failed: {failure}", file=sys.stderr, flush=True)
        return 1
    except KeyboardInterrupt:
        print("demo stopped", file=sys.stderr, flush=True)
        return 130
    return 0


if __name__ == "__main__":
    sys.exit(main())
