#!/usr/bin/env python3
"""Download benchmark: one file of 200 MB served by a loopback nginx, fetched by the engine
(kvtool get under Wine) and by curl in the same run, in plain HTTP and then over TLS. Prints
throughput, the engine's share of its design ceiling and CPU seconds per 100 MB, both for the
whole kvtool process and for the transfer alone (as kvtool measures its Download), the whole
process's share for a file of 100 MB, and where one pass of the engine's receive loop spends
its time. Prints figures only; timing never fails.

    python3 bench/download_bench.py --build build/x86 --wine "tools/wine-run x86"
"""
import argparse
import os
import resource
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools"))
from kvsupport.files import sha256_file  # noqa: E402
from kvsupport.nginx import Nginx  # noqa: E402
from kvsupport.paths import winpath  # noqa: E402
from kvsupport.authority import TestAuthority  # noqa: E402
from kvsupport.machine import Load, round_trip_us  # noqa: E402

MB = 1_000_000
# The engine receives at most bufferSize - 1 bytes per pass and sleeps 10 ms per pass.
CEILING = 102_399 * 100 / MB
HUNDRED = 100 * MB


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed(command, log_path):
    """Wall seconds and CPU seconds (user + sys of the waited-for process tree)."""
    cpu, wall = children_cpu(), time.monotonic()
    with open(log_path, "wb") as log:
        # Output goes to a file: a Wine service started meanwhile may inherit the handle,
        # and a file, unlike a pipe, is not waited on.
        result = subprocess.run(command, stdin=subprocess.DEVNULL, stdout=log,
                                stderr=subprocess.STDOUT, timeout=1800)
    return result.returncode, time.monotonic() - wall, children_cpu() - cpu


def fetched(command, out_path, expected):
    """Runs a download that writes out_path: whether its bytes are the expected ones (by
    SHA-256), wall and CPU seconds. The file is removed; the output is kept beside it."""
    code, wall, cpu = timed(command, out_path + ".log")
    same = code == 0 and os.path.exists(out_path) and sha256_file(out_path) == expected
    if not same:
        with open(out_path + ".log", encoding="utf-8", errors="replace") as log:
            tail = log.read().splitlines()[-5:]
        print(f"         exit status {code}; the program's last lines:")
        for line in tail:
            print(f"           {line}")
    if os.path.exists(out_path):
        os.remove(out_path)
    return same, wall, cpu


def transfer_times(log_path):
    """Wall seconds, CPU seconds and the kernel's share of that CPU for the transfer alone,
    from the TIMES line `kvtool get --times` printed (None without one)."""
    with open(log_path, encoding="utf-8", errors="replace") as log:
        for line in log:
            words = line.split()
            if len(words) == 4 and words[0] == "TIMES" and all(w.isdigit() for w in words[1:]):
                wall, user, kernel = (int(w) / 1e6 for w in words[1:])
                return wall, user + kernel, kernel
    return None


def make_file(path, size):
    block = os.urandom(4 * 1024 * 1024)
    with open(path, "wb") as f:
        written = 0
        while written < size:
            piece = block[:min(len(block), size - written)]
            f.write(piece)
            written += len(piece)


def report(name, size, wall, cpu):
    rate = size / MB / wall
    print(f"{name:8s} {rate:8.2f} MB/s  {wall:7.2f} s  CPU {cpu * 100 * MB / size:6.2f} s per 100 MB")
    return rate


def pass_breakdown(timeline_path):
    """Medians in microseconds of one pass of the receive loop and of its parts, from the
    engine's timeline: the queue drained, the pause, the receive, and the rest (the write
    to the file and the notification); beside them the 99th percentile of the whole pass."""
    passes, drains, pauses, receives, rests = [], [], [], [], []
    last_pump = last_receive = None
    with open(timeline_path, encoding="utf-8", errors="replace") as f:
        for line in f:
            stamp, _, text = line.rstrip("\n").partition(" ")
            words = text.split()
            if not stamp.isdigit() or not words:
                continue
            at = int(stamp)
            if words[0] == "pump" and len(words) == 3:
                drained, paused = int(words[1]), int(words[2])
                drains.append(drained)
                pauses.append(paused)
                if last_pump is not None:
                    passes.append(at - last_pump)
                if last_receive is not None:
                    rests.append(at - drained - paused - last_receive)
                last_pump = at
            elif words[0] == "receive" and len(words) == 3 and int(words[1]) > 0:
                receives.append(int(words[2]))
                last_receive = at
    if not passes:
        return None
    medians = {name: statistics.median(values) for name, values in
               (("pass", passes), ("drain", drains), ("pause", pauses), ("receive", receives),
                ("rest", rests)) if values}
    # The slow passes a median hides: one in a hundred takes longer than this.
    return medians, sorted(passes)[len(passes) * 99 // 100]


def report_passes(wine, kvtool, url, work):
    """One more transfer with the timeline on (its marks cost a little), for where a pass's
    time goes."""
    timeline = os.path.join(work, "timeline.txt")
    out = os.path.join(work, "passes.bin")
    env = dict(os.environ, KORVENDAL_TIMELINE=winpath(timeline))
    with open(out + ".log", "wb") as log:
        subprocess.run(wine + [kvtool, "get", url, winpath(out)], stdin=subprocess.DEVNULL, stdout=log,
                       stderr=subprocess.STDOUT, timeout=600, env=env)
    if os.path.exists(out):
        os.remove(out)
    breakdown = pass_breakdown(timeline) if os.path.exists(timeline) else None
    if not breakdown:
        print("         passes: no timeline")
        return
    medians, slow = breakdown
    print("         one pass, medians in ms (timeline on, 20 MB): " +
          ", ".join(f"{name} {value / 1000:.3f}" for name, value in medians.items()) +
          f"; one pass in a hundred took {slow / 1000:.3f} or more; the design's pass is 10 ms")


def tls_section(wine, kvtool, root, work, size, expected, curl):
    """The same file over TLS: nginx with a certificate from an authority made here, trusted
    in the prefix only for this run. Returns whether the bytes matched."""
    authority = TestAuthority(os.path.join(work, "ca"))
    cert, key = authority.issue("bench")
    trust = [kvtool, "trust-ca", winpath(authority.cert)]
    subprocess.run(wine + trust, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, check=True,
                   timeout=300)
    ok = True
    try:
        with Nginx(root, cert=cert, key=key) as server:
            url = server.url("bench.bin", host="localhost")
            print(f"TLS: the same file from nginx over TLS 1.2 on localhost:{server.port}")
            engine_out = os.path.join(work, "engine-tls.bin")
            same, wall, cpu = fetched(wine + [kvtool, "get", url, winpath(engine_out)], engine_out,
                                      expected)
            rate = report("engine", size, wall, cpu)
            print(f"         {100 * rate / CEILING:.1f} % of the design ceiling over TLS "
                  f"(at least 90 % wanted); CPU {cpu * 100 * MB / size:.2f} s per 100 MB "
                  f"(at most 0.6 wanted); bytes {'match' if same else 'DIFFER'}")
            ok &= same
            if curl:
                curl_out = os.path.join(work, "curl-tls.bin")
                same, wall, cpu = fetched([curl, "-s", "--cacert", authority.cert, "-o", curl_out, url],
                                          curl_out, expected)
                report("curl", size, wall, cpu)
                ok &= same
    finally:
        untrust = [kvtool, "untrust-ca", winpath(authority.cert)]
        subprocess.run(wine + untrust, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       timeout=300)
    return ok


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="build folder holding kvtool.exe")
    parser.add_argument("--wine", required=True, help='Wine runner, e.g. "tools/wine-run x86"')
    parser.add_argument("--size-mb", type=int, default=200)
    args = parser.parse_args()

    wine = shlex.split(args.wine)
    kvtool = os.path.join(os.path.abspath(args.build), "kvtool.exe")
    curl = shutil.which("curl")
    size = args.size_mb * MB
    work = tempfile.mkdtemp(prefix="kv-bench-")
    try:
        root = os.path.join(work, "root")
        os.makedirs(root)
        os.chmod(work, 0o755)
        os.chmod(root, 0o755)
        make_file(os.path.join(root, "bench.bin"), size)
        make_file(os.path.join(root, "passes.bin"), 20 * MB)
        make_file(os.path.join(root, "hundred.bin"), HUNDRED)
        expected = sha256_file(os.path.join(root, "bench.bin"))
        hundred = sha256_file(os.path.join(root, "hundred.bin"))

        # Starts the wineserver and the prefix's services before anything is measured.
        subprocess.run(wine + [kvtool], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)

        ok = True
        with Nginx(root) as server:
            url = server.url("bench.bin")
            print(f"file: {size / MB:.0f} MB from nginx on 127.0.0.1:{server.port}")
            # Each pass makes three calls to the wineserver: the engine's figures follow this.
            print(f"machine: a round trip between two processes took {round_trip_us():.0f} us")

            engine_out = os.path.join(work, "engine.bin")
            load = Load()
            same, wall, cpu = fetched(wine + [kvtool, "get", url, winpath(engine_out), "--times"],
                                      engine_out, expected)
            process_rate = report("kvtool", size, wall, cpu)
            print(f"         the whole process, Wine's start included: {100 * process_rate / CEILING:.1f} % "
                  f"of the design ceiling {CEILING:.2f} MB/s (102399 bytes and 10 ms per pass); "
                  f"bytes {'match' if same else 'DIFFER'}")
            ok &= same
            times = transfer_times(engine_out + ".log")
            if times:
                wall, cpu, kernel = times
                engine_rate = report("engine", size, wall, cpu)
                print(f"         the transfer alone (kvtool get --times): {100 * engine_rate / CEILING:.1f} % "
                      f"of the design ceiling (at least 95 % wanted); "
                      f"CPU {cpu * 100 * MB / size:.2f} s per 100 MB (at most 0.3 wanted), "
                      f"{kernel * 100 * MB / size:.2f} s of it in the kernel")
            else:
                engine_rate = process_rate
                print("         the transfer's own times are missing")
            print("         CPU is the Wine process's own; the wineserver's share is not in it")
            print(f"machine: and {round_trip_us():.0f} us after it; {load.summary()}")

            hundred_out = os.path.join(work, "hundred.bin")
            same, wall, cpu = fetched(wine + [kvtool, "get", server.url("hundred.bin"), winpath(hundred_out)],
                                      hundred_out, hundred)
            rate = report("kvtool", HUNDRED, wall, cpu)
            print(f"         100 MB, the whole process with Wine's start: {100 * rate / CEILING:.1f} % of "
                  f"the design ceiling (at least 92 % wanted); bytes {'match' if same else 'DIFFER'}")
            report_passes(wine, kvtool, server.url("passes.bin"), work)

            if curl:
                curl_out = os.path.join(work, "curl.bin")
                same, wall, cpu = fetched([curl, "-s", "-o", curl_out, url], curl_out, expected)
                curl_rate = report("curl", size, wall, cpu)
                print(f"         bytes {'match' if same else 'DIFFER'}; engine / curl = "
                      f"{engine_rate / curl_rate:.3f}")
                ok &= same
            else:
                print("curl     not installed")
        ok &= tls_section(wine, kvtool, root, work, size, expected, curl)
        return 0 if ok else 1
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
