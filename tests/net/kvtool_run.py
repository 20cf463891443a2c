"""Runs kvtool under Wine for the engine's script tests and returns its printed lines."""
import harness

# The prefix's server and services, started without any pipe of ours.
warm_up = harness.warm_up


def kvtool(*args, timeout=300):
    """(exit status, printed lines) of one kvtool run."""
    result = harness.wine([harness.program("kvtool.exe")] + list(args), timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8").split("\n")[:-1]


def progress_lines(lines):
    """The (lastChunk, received) pairs of the PROGRESS lines, in order."""
    return [tuple(int(v) for v in line.split()[1:]) for line in lines if line.startswith("PROGRESS ")]
