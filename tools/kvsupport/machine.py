"""What the benchmarks print about the machine beside their figures."""
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
