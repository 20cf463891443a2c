"""`demo --headless` as a user runs it (through tools/demo.py on this build tree, which is
what the driver runs after building): the transfer shown second by second, the final
status, the file checked and the two pictures of the window."""
import os
import re
import struct
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

DEMO = os.path.join(harness.ROOT, "tools", "demo.py")
# The object element's size in demo/index.html: the control window's.
WINDOW_SIZE = (378, 311)
SECOND = re.compile(r"^경과 [ \d]\d:\d\d:\d\d \| 받음 [\d,]+ KB \| 속도 [\d,]+ KB/Sec \| "
                    r"남은 시간 [ \d]\d:\d\d:\d\d \| \d+%$")


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", head[16:24])


class HeadlessDemo(unittest.TestCase):
    def test_the_demo_downloads_the_file_and_pictures_the_window(self):
        env = dict(os.environ)
        env.pop("DISPLAY", None)
        run = subprocess.run([sys.executable, DEMO, "--build", harness.Context.build, "--arch",
                              harness.Context.arch, "--headless"],
                             capture_output=True, timeout=540, env=env)
        out = run.stdout.decode("utf-8", errors="replace")
        report = f"{out}\n{run.stderr.decode('utf-8', errors='replace')}"
        self.assertEqual(run.returncode, 0, report)
        lines = out.splitlines()
        seconds = [line for line in lines if SECOND.match(line)]
        # 32 MB at nginx's 4 MB/s: about eight seconds, each with its line, then the last.
        self.assertGreaterEqual(len(seconds), 4, report)
        self.assertTrue(seconds[-1].endswith("| 100%"), report)
        self.assertIn("상태: 다운로드 완료", lines, report)
        self.assertTrue(any(line.startswith("검사: ") for line in lines), report)
        shots = [line.split(" ", 1)[1] for line in lines if line.startswith("SCREENSHOT ")]
        self.assertEqual([os.path.basename(s) for s in shots], ["before.png", "after.png"], report)
        for shot in shots:
            self.assertEqual(png_size(shot), WINDOW_SIZE, shot)
        # The order a user sees: the window before, the transfer, the status, the window after.
        self.assertLess(lines.index(f"SCREENSHOT {shots[0]}"), lines.index(seconds[0]))
        self.assertLess(lines.index("상태: 다운로드 완료"), lines.index(f"SCREENSHOT {shots[1]}"))


if __name__ == "__main__":
    harness.run()
