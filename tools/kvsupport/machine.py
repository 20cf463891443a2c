"""What the benchmarks print about the machine beside their figures."""
import collections
import os
import statistics
import time


def round_trip_us(count=2000):
    """The machine's wake-up latency at the moment: microseconds for one byte to go to another
    process and back through pipes, the median of three runs. Under Wine every call to the
    wineserver is such a round trip. On this kind of virtual machine it took from 6 to 48 us
    within minutes (two processes on one processor wake each other far faster than across
    two, and the scheduler decides which), and the engine's and Init's figures swing with it
    by up to a factor of two: compare runs only at similar figures here."""
    runs = []
    for _ in range(3):
        there_read, there_write = os.pipe()
        back_read, back_write = os.pipe()
        child = os.fork()
        if child == 0:
            for _ in range(count):
                os.read(there_read, 1)
                os.write(back_write, b"x")
            os._exit(0)
        started = time.perf_counter()
        for _ in range(count):
            os.write(there_write, b"x")
            os.read(back_read, 1)
        runs.append((time.perf_counter() - started) / count * 1e6)
        os.waitpid(child, 0)
        for fd in (there_read, there_write, back_read, back_write):
            os.close(fd)
    return statistics.median(runs)


# One reading of the counters Load compares: the monotonic clock, the microseconds tasks
# waited on the disk and for a processor, and the host's share in clock ticks (None where
# the kernel has no such counter).
_Reading = collections.namedtuple("_Reading", "at disk_us processor_us steal_ticks")


class Load:
    """What held the machine's processes back over a stretch of a benchmark, from the
    kernel's pressure counters (waits on the disk and for a processor) and the host's share
    of the processors (steal). On this kind of virtual machine the host has taken a quarter of
    the processors for minutes, and `Init` took twice its usual time meanwhile; the round trip
    rose then too, but it rises for other reasons as well.

        load = Load()
        ...
        print(f"machine: {load.summary()}")
    """

    def __init__(self):
        self._start = self._read()

    @staticmethod
    def _stalled_us(kind):
        # "some ... total=N": microseconds in which at least one task waited on `kind`.
        try:
            with open(f"/proc/pressure/{kind}") as f:
                for line in f:
                    if line.startswith("some "):
                        return int(line.rsplit("total=", 1)[1])
        except (OSError, ValueError, IndexError):
            pass
        return None

    @staticmethod
    def _steal_ticks():
        try:
            with open("/proc/stat") as f:
                fields = f.readline().split()
            return int(fields[8]) if len(fields) > 8 and fields[0] == "cpu" else None
        except (OSError, ValueError):
            return None

    @classmethod
    def _read(cls):
        return _Reading(time.monotonic(), cls._stalled_us("io"), cls._stalled_us("cpu"),
                        cls._steal_ticks())

    def summary(self):
        start, end = self._start, self._read()
        wall = end.at - start.at
        if wall <= 0:
            return "no time passed"

        def grown(field):
            before, after = getattr(start, field), getattr(end, field)
            return None if before is None or after is None else after - before

        disk, processor, steal = grown("disk_us"), grown("processor_us"), grown("steal_ticks")
        parts = []
        if disk is not None and processor is not None:
            parts.append(f"tasks waited on the disk {100 * disk / 1e6 / wall:.1f} % and for a processor "
                         f"{100 * processor / 1e6 / wall:.1f} % of the time")
        if steal is not None:
            ticks = os.sysconf("SC_CLK_TCK") * wall * (os.cpu_count() or 1)
            parts.append(f"the host took {100 * steal / ticks:.1f} % of the processors")
        return f"over {wall:.0f} s, " + ("; ".join(parts) if parts else "no load figures on this kernel")
