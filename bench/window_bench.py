#!/usr/bin/env python3
"""Skinned-window benchmark, in korvendal-host against a loopback nginx:
- a 200 MB file downloaded by a click on the window's start button, timed by the page from
  the click to "다운로드 완료", beside the engine's design ceiling;
- Init with a skin of 22 files of about 1 MB (archive fetched, unpacked and laid out), timed
  by the page around the call, several runs, median printed.
Prints figures only; timing never fails. The downloaded bytes are checked.

    python3 bench/window_bench.py --build build/x64 --arch x64
"""
import argparse
import io
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import uuid
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from kvsupport import host, paths, skins  # noqa: E402
from kvsupport.nginx import Nginx  # noqa: E402

MB = 1_000_000
CEILING = 102_399 * 100 / MB
CLSID = host.INSTALLER_CLSID


class Tree:
    """The build tree measured."""
    build = None
    arch = "x86"


def noise_jpeg(width, height):
    """A picture of noise: JPEG cannot shrink it, so the skin weighs what a real one does."""
    ppm = b"P6 %d %d 255\n" % (width, height) + os.urandom(width * height * 3)
    return subprocess.run(["cjpeg", "-quality", "95"], input=ppm, capture_output=True, check=True).stdout


def heavy_skin():
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("Config.ini", skins.CONFIG_INI)
        archive.writestr("bk_main.jpg", noise_jpeg(1024, 768))
        for button in skins.BUTTONS:
            for state in skins.STATES:
                archive.writestr(f"btn_{button}{state}.jpg", noise_jpeg(64, 24))
    return data.getvalue()


def run_page(html, timeout):
    """The page's output lines, run in the tree under measurement (Tree)."""
    return host.run_page(Tree.arch, Tree.build, html, timeout_seconds=timeout).alerts


def page(body):
    return f"""<object id="Installer" classid="clsid:{CLSID}" width="378" height="311"></object>
<script language="JScript">
try {{
{body}
}} catch (e) {{ alert("failed " + e.number + " " + e.description); window.close(); }}
</script>"""


def bench_click_transfer(server, root, size):
    name = f"bench-{uuid.uuid4().hex}.bin"
    with open(os.path.join(root, name), "wb") as f:
        f.truncate(size)
    os.chmod(os.path.join(root, name), 0o644)
    lines = run_page(page(f"""
Installer.BasePath = "KvBench\\\\click";
Installer.InfoFileName = "skin.zip";
Installer.Init("{server.url()}", "{name}");
alert("TARGET " + external.text(216));
var started = new Date();
external.click(218);
function poll() {{
  if (external.text(215) == "다운로드 완료") {{ alert("MS " + (new Date() - started)); window.close(); return; }}
  setTimeout(poll, 20);
}}
setTimeout(poll, 20);
"""), timeout=1200)
    values = dict(line.split(" ", 1) for line in lines if " " in line)
    os.remove(os.path.join(root, name))
    if "MS" not in values:
        print(f"click transfer: no result ({lines[-3:]})")
        return
    target = values["TARGET"]
    unix = paths.unix_path(target)
    same = os.path.exists(unix) and os.path.getsize(unix) == size
    if os.path.exists(unix):
        os.remove(unix)
    seconds = int(values["MS"]) / 1000
    rate = size / MB / seconds
    print(f"click    {rate:8.2f} MB/s  {seconds:7.2f} s  {100 * rate / CEILING:.1f} % of the design "
          f"ceiling {CEILING:.2f} MB/s; size {'matches' if same else 'DIFFERS'}")


def bench_init(server, runs):
    tag = uuid.uuid4().hex[:8]
    lines = run_page(page(f"""
Installer.InfoFileName = "heavy.zip";
for (var k = 0; k < {runs}; ++k) {{
  Installer.BasePath = "KvBench\\\\init-{tag}-" + k;
  var started = new Date();
  Installer.Init("{server.url()}", "skin.zip");
  alert("INIT " + (new Date() - started));
}}
window.close();
"""), timeout=600)
    times = [int(line.split()[1]) for line in lines if line.startswith("INIT ")]
    if not times:
        print(f"init: no result ({lines[-3:]})")
        return
    print(f"init     median {statistics.median(times):.0f} ms over {len(times)} runs "
          f"(min {min(times)}, max {max(times)}); each fetches, unpacks and lays out the skin")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--arch", default="x86", choices=["x86", "x64"])
    parser.add_argument("--size-mb", type=int, default=200)
    parser.add_argument("--init-runs", type=int, default=7)
    args = parser.parse_args()
    Tree.build = os.path.abspath(args.build)
    Tree.arch = args.arch
    try:
        host.register_control(Tree.arch, Tree.build)
    except RuntimeError as error:
        print(error)
        return 1
    work = tempfile.mkdtemp(prefix="kv-window-bench-")
    try:
        os.chmod(work, 0o755)
        heavy = heavy_skin()
        with open(os.path.join(work, "heavy.zip"), "wb") as f:
            f.write(heavy)
        with open(os.path.join(work, "skin.zip"), "wb") as f:
            f.write(skins.skin_archive())
        for name in os.listdir(work):
            os.chmod(os.path.join(work, name), 0o644)
        with Nginx(work) as server:
            print(f"skin: 22 files, {len(heavy) / MB:.2f} MB archive")
            bench_init(server, args.init_runs)
            bench_click_transfer(server, work, args.size_mb * MB)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(os.path.join(paths.user_folder("Temp"), "KvBench"), ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
