"""Ctrl-C and a kill of the driver stop the Windows program it started: `./korvendal tool
get` downloads from a loopback nginx slowly enough to be caught in the middle, the driver
gets SIGINT or SIGTERM, and no process of that run may remain."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
import uuid

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

DRIVER = os.path.join(harness.ROOT, "korvendal")


def processes_naming(marker):
    """The command lines of the running processes that carry `marker`."""
    listing = subprocess.run(["ps", "-eo", "args="], capture_output=True, text=True, check=True).stdout
    return [line for line in listing.splitlines() if marker in line and "ps -eo" not in line]


def driver_arch():
    # The driver runs everything through the 32-bit build only where the kernel runs it.
    try:
        subprocess.run(["/usr/lib/wine/wine", "--version"], capture_output=True, check=True)
        return "x86"
    except (OSError, subprocess.CalledProcessError):
        return "x64"


class StoppingTheDriver(unittest.TestCase):
    def setUp(self):
        if harness.Context.arch != driver_arch():
            self.skipTest(f"the driver runs the {driver_arch()} build on this machine")
        harness.warm_up()
        self.root = tempfile.mkdtemp(prefix="kv-stop-")
        os.chmod(self.root, 0o755)
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        with open(os.path.join(self.root, "big.bin"), "wb") as f:
            f.write(os.urandom(8 << 20))
        os.chmod(os.path.join(self.root, "big.bin"), 0o644)

    def stop_driver_with(self, send):
        # 8 MB at 128 KB/s: a minute, far longer than the test waits.
        with harness.Nginx(self.root, extra="location / { limit_rate 128k; }") as server:
            marker = f"kv-stop-{uuid.uuid4().hex}"
            target = os.path.join(self.root, marker + ".bin")
            env = dict(os.environ, KORVENDAL_BUILD_DIR=os.path.dirname(harness.Context.build))
            # A session of its own, as a shell puts a command: the terminal's Ctrl-C goes to
            # that whole process group.
            driver = subprocess.Popen([DRIVER, "tool", "get", server.url("big.bin"), harness.winpath(target)],
                                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, env=env,
                                      start_new_session=True)
            try:
                deadline = time.monotonic() + 60
                while not (os.path.exists(target) and os.path.getsize(target) > 0):
                    self.assertIsNone(driver.poll(), "the transfer ended before it could be stopped")
                    self.assertLess(time.monotonic(), deadline, "the transfer never started")
                    time.sleep(0.1)
                running = processes_naming(marker)
                self.assertTrue(any("kvtool.exe" in line and not line.startswith("timeout") for line in running),
                                running)
                send(driver.pid)
                driver.wait(timeout=30)
                deadline = time.monotonic() + 10
                while processes_naming(marker) and time.monotonic() < deadline:
                    time.sleep(0.2)
                self.assertEqual(processes_naming(marker), [])
            finally:
                if driver.poll() is None:
                    driver.kill()
                    driver.wait()

    def test_ctrl_c_stops_the_windows_program(self):
        self.stop_driver_with(lambda pid: os.killpg(pid, signal.SIGINT))

    def test_a_kill_of_the_driver_stops_the_windows_program(self):
        self.stop_driver_with(lambda pid: os.kill(pid, signal.SIGTERM))


if __name__ == "__main__":
    harness.run()
