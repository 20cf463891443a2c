#!/usr/bin/env python3
"""Skinned-window benchmark, in korvendal-host against a loopback nginx:
- a 200 MB file downloaded by a click on the window's start button, timed by the page from
  the click to "다운로드 완료", beside the engine's design ceiling;
- Init with a skin of 13 KB and one of 22 files of about 1 MB (archive fetched, unpacked and
  laid out), timed by the page around the call, several runs, median printed, with target files
  of several sizes; the control's timeline (KORVENDAL_TIMELINE) of the median run, phase by
  phase, each request with its connect, first byte and end;
- the machine's round-trip latency between two processes before and after Init's runs, by
  which runs on this kind of machine can be compared.
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
from kvsupport import host, machine, paths, skins  # noqa: E402
from kvsupport.nginx import Nginx  # noqa: E402

MB = 1_000_000
CEILING = 102_399 * 100 / MB
CLSID = host.INSTALLER_CLSID


class Tree:
    """The build tree measured."""
    build = None
    arch = "x86"


# What a picture editor embeds in each JPEG it saves: its own resources with a preview of
# the picture (APP13, "Photoshop 3.0"), some 30 KB that neither JPEG nor the archive shrinks
# and that the decoder skips.
EDITOR_RESOURCES = 30_000


def noise_jpeg(width, height):
    """A picture of noise at the highest quality, as an editor saves it: JPEG cannot shrink the
    noise, nor the archive the editor's resources, so the skin weighs what a real one does
    while each picture keeps the size that the window shows."""
    ppm = b"P6 %d %d 255\n" % (width, height) + os.urandom(width * height * 3)
    jpeg = subprocess.run(["cjpeg", "-quality", "100"], input=ppm, capture_output=True, check=True).stdout
    payload = b"Photoshop 3.0\0" + os.urandom(EDITOR_RESOURCES)
    segment = b"\xff\xed" + (len(payload) + 2).to_bytes(2, "big") + payload
    return jpeg[:2] + segment + jpeg[2:]


def heavy_skin():
    """22 files of about 1 MB: the light skin's files, each picture of the same size (the
    background that of the window, 378 x 311) but full of detail and saved by an editor."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w", zipfile.ZIP_DEFLATED) as archive:
        archive.writestr("Config.ini", skins.CONFIG_INI)
        archive.writestr("bk_main.jpg", noise_jpeg(378, 311))
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


# Phases that the control marks on its timeline, in the order Init runs them.
PHASES = ["archive size", "archive fetch", "unpack", "folder", "target size", "local state",
          "pictures", "background", "layout"]
# Phases that lie inside another one (the background is the first of the pictures).
INNER = {"background"}


def read_timeline(path):
    """The timeline's Init runs: each a list of (microseconds from Init's call, words)."""
    runs, current = [], None
    if not os.path.exists(path):
        return runs
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            stamp, _, text = line.rstrip("\n").partition(" ")
            if not stamp.isdigit():
                continue
            if text == "init begin":
                current, start = [], int(stamp)
            if current is None:
                continue
            current.append((int(stamp) - start, text))
            if text == "init end":
                runs.append(current)
                current = None
    return runs


def requests_of(run):
    """Each connection of a run: its marks from the connect to the close, with the passes of
    the receive loop (queue drained, slept) that fell inside it."""
    requests, current = [], None
    for at, text in run:
        words = text.split()
        if text == "connect begin":
            current = {"start": at, "connected": None, "request": "", "first": None, "end": None,
                       "receives": [], "pumps": []}
            requests.append(current)
        elif current is None:
            continue
        elif text in ("connect end", "connect failed"):
            current["connected"] = at
        elif words[0] == "send":
            current["request"] = " ".join(words[1:3]) + (" (range)" if words[-1] == "RANGE" else "")
        elif words[0] == "receive":
            count, took = int(words[1]), int(words[2])
            current["receives"].append((count, took))
            if count > 0 and current["first"] is None:
                current["first"] = at
        elif words[0] == "pump":
            current["pumps"].append((int(words[1]), int(words[2])))
        elif text == "close":
            current["end"] = at
            current = None
    return requests


def phase_spans(run):
    """(name, begin, end) in microseconds for each phase marked in the run."""
    begins, spans = {}, []
    for at, text in run:
        name, _, edge = text.rpartition(" ")
        if name in PHASES and edge == "begin":
            begins[name] = at
        elif name in PHASES and edge == "end" and name in begins:
            spans.append((name, begins.pop(name), at))
    return spans


def ms(microseconds):
    return f"{microseconds / 1000:7.1f}"


def print_timeline(run):
    """One run of Init, phase by phase, each request with its connect, first byte and end."""
    requests = requests_of(run)
    total = run[-1][0]
    print(f"         timeline of that run, ms from Init's call (Init took {total / 1000:.1f} ms):")
    print("              at     took")
    spans = phase_spans(run)
    for name, begin, end in spans:
        print(f"         {ms(begin)}  {ms(end - begin)}  {'  ' if name in INNER else ''}{name}")
        for request in requests:
            if not begin <= request["start"] <= end:
                continue
            start = request["start"]
            after = lambda at: "-" if at is None else f"{(at - start) / 1000:.1f}"
            print(f"         {ms(start)}  {ms((request['end'] or start) - start)}    {request['request'] or '?'}: "
                  f"connected {after(request['connected'])}, first byte {after(request['first'])}, "
                  f"end {after(request['end'])}")
            if request["pumps"]:
                pumps, receives = request["pumps"], request["receives"]
                waited = sum(1 for count, _ in receives if count == -2)
                print(f"                            {len(pumps)} passes: sleeps {sum(s for _, s in pumps) / 1000:.1f}, "
                      f"queue {sum(d for d, _ in pumps) / 1000:.1f}, {len(receives)} receives "
                      f"{sum(t for _, t in receives) / 1000:.1f} ({waited} found nothing)")
    accounted = sum(end - begin for name, begin, end in spans if name not in INNER)
    print(f"         {ms(total)}  {ms(total - accounted)}  outside these phases")


def bench_init(server, work, skin, targets, runs, show_timeline):
    """Init with `skin`, fetched afresh each time, for each target file in turn; prints the
    page's median per target and, for the last target, the timeline of the median run."""
    tag = uuid.uuid4().hex[:8]
    timeline = os.path.join(work, f"timeline-{tag}.txt")
    names = ", ".join(f'"{name}"' for name in targets)
    os.environ["KORVENDAL_TIMELINE"] = paths.winpath(timeline)
    try:
        lines = run_page(page(f"""
Installer.InfoFileName = "{skin}";
var targets = [{names}];
for (var k = 0; k < {runs}; ++k) {{
  for (var t = 0; t < targets.length; ++t) {{
    Installer.BasePath = "KvBench\\\\init-{tag}-" + k + "-" + t;
    var started = new Date();
    Installer.Init("{server.url()}", targets[t]);
    alert("INIT " + t + " " + (new Date() - started));
  }}
}}
window.close();
"""), timeout=600)
    finally:
        del os.environ["KORVENDAL_TIMELINE"]
    results = [line.split()[1:] for line in lines if line.startswith("INIT ")]
    if not results:
        print(f"init: no result ({lines[-3:]})")
        return
    timeline_runs = read_timeline(timeline)
    for t, name in enumerate(targets):
        times = [int(took) for index, took in results if int(index) == t]
        size = os.path.getsize(os.path.join(work, name))
        print(f"init     {skin}, target of {size / 1000:.1f} KB: median {statistics.median(times):.0f} ms over "
              f"{len(times)} runs (min {min(times)}, max {max(times)})")
    if show_timeline and len(timeline_runs) == len(results):
        last = len(targets) - 1
        runs_of_last = [(int(took), timeline_runs[i]) for i, (index, took) in enumerate(results)
                        if int(index) == last]
        runs_of_last.sort(key=lambda pair: pair[0])
        median_run = runs_of_last[len(runs_of_last) // 2][1]
        medians = []
        for name in PHASES:
            took = [end - begin for _, run in runs_of_last for phase, begin, end in phase_spans(run)
                    if phase == name]
            if took:
                medians.append(f"{name} {statistics.median(took) / 1000:.1f}")
        print("         phase medians (ms): " + ", ".join(medians))
        print_timeline(median_run)
    elif show_timeline:
        print(f"         timeline: {len(timeline_runs)} runs marked for {len(results)} calls; not shown")


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
        # Targets of Init: only their header is read, whatever their size.
        for name, size in (("small.bin", 5_000), ("medium.bin", 12_900), ("large.bin", 20 * MB)):
            with open(os.path.join(work, name), "wb") as f:
                f.write(os.urandom(size))
        for name in os.listdir(work):
            os.chmod(os.path.join(work, name), 0o644)
        with Nginx(work) as server:
            light = os.path.getsize(os.path.join(work, "skin.zip"))
            print(f"skins: skin.zip of 22 files, {light / 1000:.1f} KB; heavy.zip of 22 files, "
                  f"{len(heavy) / MB:.2f} MB")
            print(f"pacing floor of Init: 10 ms per pass of 102399 bytes of the archive: "
                  f"{10 * -(-light // 102399)} ms for skin.zip, {10 * -(-len(heavy) // 102399)} ms for heavy.zip")
            print(f"machine: a round trip between two processes took {machine.round_trip_us():.0f} us before Init's runs")
            load = machine.Load()
            bench_init(server, work, "skin.zip", ["small.bin", "medium.bin", "large.bin"], args.init_runs, True)
            bench_init(server, work, "heavy.zip", ["medium.bin"], args.init_runs, True)
            print(f"machine: and {machine.round_trip_us():.0f} us after them; {load.summary()}")
            bench_click_transfer(server, work, args.size_mb * MB)
        return 0
    finally:
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(os.path.join(paths.user_folder("Temp"), "KvBench"), ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
