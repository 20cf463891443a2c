#!/usr/bin/env python3
"""Shows a skin in the real control, headless: serves the skin and a sample file from a
loopback nginx, runs a page in korvendal-host.exe that lays the skin out and drives the
window, and writes PNG pictures of its looks. Prints the path of each picture, one a line.

    skin_preview.py SKIN (folder or zip) --build BUILD_DIR --arch x64 [--out DIR] [--dpi N]

With --dpi the window is shown on a screen of N dpi (in a prefix of that resolution, see
kvsupport/dpi.py): N/96 times its size, with the skin's double-size pictures from 144 up.

Pictures: idle; each idle button under the mouse and held down; a transfer under way at 40 %
or more, with stop under the mouse and held down; done, with run under the mouse and held
down; and buttons.png, a sheet of the 20 button pictures as files (a row per button:
normal, pressed, mouse over, disabled), which also shows the looks of disabled buttons.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import uuid
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
from kvsupport import dpi, host, wine  # noqa: E402
from kvsupport.nginx import Nginx  # noqa: E402
from kvsupport.paths import unix_path, winpath  # noqa: E402

CLSID = "D0D05CAA-80C0-455A-B5C8-6433218CBA29"
# The labels are refreshed once per so many received pieces (about 1 MB), so a larger file
# lets the transfer picture be taken nearer to 40 %; the rate keeps it about three seconds.
SAMPLE_SIZE = 12 * 1024 * 1024
SAMPLE_RATE = "4m"
BUTTONS = ("run", "start", "stop", "close", "folder")
DONE = "다운로드 완료"

# Each step waits for a condition, then acts; the page captures through window.external.
PAGE = """<html><body>
<object id="Installer" classid="clsid:%(clsid)s" width="378" height="311"></object>
<script language="JScript">
var out = %(out)s, steps = [], at = 0, waited = 0;
function shot(name) { external.capture(out + name + ".png"); alert("PNG " + name); }
function percent() { return parseInt(external.text(214), 10) || 0; }
function later(f, ms) { setTimeout(f, ms); }
function run() {
  if (at >= steps.length) { window.close(); return; }
  var step = steps[at];
  if (step.until && !step.until()) {
    waited += 50;
    if (waited > 60000) { alert("FAILED waiting for step " + at); window.close(); return; }
    later(run, 50); return;
  }
  waited = 0; ++at;
  step.then();
  later(run, step.pause || 0);
}
// The mouse over a button, then the button held down (let go off the window: no click).
function over(id, name) {
  steps.push({then: function () { external.hover(id); }, pause: 300});
  steps.push({then: function () { shot(name + "-over"); external.press(id); }, pause: 300});
  steps.push({then: function () { shot(name + "-pressed"); external.release(id); }, pause: 400});
}
steps.push({then: function () { shot("idle"); }});
over(221, "idle-folder"); over(218, "idle-start"); over(220, "idle-close");
steps.push({then: function () { external.click(218); }});
steps.push({until: function () { return percent() >= 40; }, then: function () { shot("transfer"); }});
over(219, "transfer-stop");
steps.push({until: function () { return external.text(215) == %(done)s; }, then: function () { shot("done"); }});
over(217, "done-run");
try {
  Installer.BasePath = %(base)s;
  Installer.InfoFileName = "skin.zip";
  Installer.Init(%(url)s, %(target)s);
  later(run, 200);
} catch (e) {
  alert("FAILED Init " + e.number + " " + e.description);
  window.close();
}
</script></body></html>"""


def pack_folder(folder, archive):
    """The folder's top-level files, flat, as the control expects them in an archive."""
    with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                z.write(path, name)


def button_sheet(skin_folder, out):
    """A sheet of the button pictures, one row per button: normal, pressed, over, disabled."""
    names = [f"btn_{b}{s}.jpg" for b in BUTTONS for s in ("", "_se", "_mo", "_di")]
    paths = [os.path.join(skin_folder, n) for n in names]
    if not all(os.path.isfile(p) for p in paths):
        return None
    subprocess.run(["montage", "-background", "#808080", "-geometry", "+6+6", "-tile", "4x"]
                   + paths + [out], check=True, stdout=subprocess.DEVNULL)
    return out


def preview(skin, out_dir, build, arch):
    os.makedirs(out_dir, exist_ok=True)
    out_dir = os.path.abspath(out_dir)
    work = tempfile.mkdtemp(prefix="kv-preview-")
    base = "KvPreview-" + uuid.uuid4().hex
    target = f"Setup-{uuid.uuid4().hex[:8]}.exe"
    try:
        served = os.path.join(work, "served")
        os.makedirs(served)
        unpacked = os.path.join(work, "unpacked")
        if os.path.isdir(skin):
            pack_folder(skin, os.path.join(served, "skin.zip"))
            unpacked = skin
        else:
            shutil.copyfile(skin, os.path.join(served, "skin.zip"))
            with zipfile.ZipFile(skin) as z:
                for name in z.namelist():
                    if "/" not in name.rstrip("/") and not name.endswith("/"):
                        z.extract(name, unpacked)
        with open(os.path.join(served, target), "wb") as f:
            f.write(os.urandom(SAMPLE_SIZE))
        for dirpath, _, files in os.walk(work):
            os.chmod(dirpath, 0o755)
            for name in files:
                os.chmod(os.path.join(dirpath, name), 0o644)

        host.register_control(arch, build)
        with Nginx(served, extra=f"limit_rate {SAMPLE_RATE};") as server:
            page = os.path.join(work, "preview.html")
            with open(page, "w", encoding="utf-8") as f:
                f.write(PAGE % {
                    "clsid": CLSID, "out": json.dumps(winpath(out_dir) + "\\"),
                    "done": json.dumps(DONE), "base": json.dumps(base),
                    "url": json.dumps(server.url()), "target": json.dumps(target)})
            run = wine.run(arch, [os.path.join(build, "korvendal-host.exe"), winpath(page),
                                  "--headless", "--timeout", "120"], timeout=200)
        lines = run.stdout.decode("utf-8", errors="replace").splitlines()
        failures = [line for line in lines if not line.startswith("PNG ")]
        pictures = [os.path.join(out_dir, line[4:] + ".png") for line in lines if line.startswith("PNG ")]
        sheet = button_sheet(unpacked, os.path.join(out_dir, "buttons.png"))
        if sheet:
            pictures.append(sheet)
        if run.returncode != 0 or failures:
            for line in failures:
                print(line, file=sys.stderr)
            print(f"korvendal-host exited with {run.returncode}", file=sys.stderr)
            for path in pictures:
                print(path)
            return 1
        for path in pictures:
            print(path)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)
        for leftover in ("C:\\users\\root\\Documents\\" + target, "C:\\users\\root\\Temp\\" + base):
            path = unix_path(leftover)
            if os.path.isdir(path):
                shutil.rmtree(path, ignore_errors=True)
            elif os.path.exists(path):
                os.remove(path)


def main():
    parser = argparse.ArgumentParser(description="Pictures of a skin in the real control.")
    parser.add_argument("skin", help="skin folder or zip archive")
    parser.add_argument("--out", default="skin-preview", help="folder for the PNG pictures")
    parser.add_argument("--build", required=True, help="build tree with the host and the control")
    parser.add_argument("--arch", default="x64", choices=["x86", "x64"])
    parser.add_argument("--dpi", type=int, default=dpi.DESIGN_DPI, help="the screen's resolution (48 to 480)")
    args = parser.parse_args()
    if not os.path.exists(args.skin):
        parser.error(f"no such skin: {args.skin}")
    if not 48 <= args.dpi <= 480:
        parser.error(f"--dpi {args.dpi}: give 48 to 480")
    os.environ["WINEPREFIX"] = dpi.prefix_at(args.dpi)
    return preview(args.skin, args.out, os.path.abspath(args.build), args.arch)


if __name__ == "__main__":
    sys.exit(main())
