"""tools/skin_preview.py over the default skin, as `./korvendal skin preview` runs it: the
pictures it names exist, have the window's size, and carry the skin's colours where the
skin puts them."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
import harness  # noqa: E402


def pixel(png, x, y):
    text = subprocess.run(["convert", png, "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],"
                           f"%[fx:int(255*p{{{x},{y}}}.g)],%[fx:int(255*p{{{x},{y}}}.b)]", "info:"],
                          capture_output=True, text=True, check=True).stdout
    return tuple(int(v) for v in text.split(","))


def size(png):
    with open(png, "rb") as f:
        header = f.read(24)
    return int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")


class SkinPreview(unittest.TestCase):
    def assert_near(self, got, expected, tolerance=16):
        for a, b in zip(got, expected):
            self.assertLessEqual(abs(a - b), tolerance, f"{got} is not {expected}")

    def test_the_default_skin_in_its_looks(self):
        with tempfile.TemporaryDirectory(prefix="kv-preview-") as out:
            run = subprocess.run([sys.executable, "-B", os.path.join(ROOT, "tools", "skin_preview.py"),
                                  os.path.join(harness.Context.build, "skins", "default.zip"),
                                  "--out", out, "--build", harness.Context.build,
                                  "--arch", harness.Context.arch],
                                 capture_output=True, text=True, timeout=400)
            self.assertEqual(run.returncode, 0, run)
            shots = {os.path.basename(p)[:-4]: p for p in run.stdout.splitlines()}
            looks = [f"{phase}-{button}-{look}" for phase, button in
                     (("idle", "folder"), ("idle", "start"), ("idle", "close"),
                      ("transfer", "stop"), ("done", "run")) for look in ("over", "pressed")]
            self.assertEqual(sorted(shots), sorted(["idle", "transfer", "done", "buttons"] + looks))
            for name, path in shots.items():
                if name != "buttons":
                    self.assertEqual(size(path), (378, 311), name)
            # Header, panel and body of the background; the bar filled in the skin's colour.
            self.assert_near(pixel(shots["idle"], 5, 5), (47, 92, 133))
            self.assert_near(pixel(shots["idle"], 200, 120), (255, 255, 255))
            self.assert_near(pixel(shots["idle"], 5, 300), (238, 242, 246))
            self.assert_near(pixel(shots["done"], 300, 240), (47, 128, 200))
            self.assert_near(pixel(shots["transfer"], 18, 240), (47, 128, 200))
            # The start button's body, normal, under the mouse and held (its caption lies
            # elsewhere); held, it must not have started the transfer.
            self.assert_near(pixel(shots["idle"], 200, 290), (0x34, 0x69, 0x9d), 12)
            self.assert_near(pixel(shots["idle-start-over"], 200, 290), (0x47, 0x84, 0xbd), 12)
            self.assert_near(pixel(shots["idle-start-pressed"], 200, 290), (0x2d, 0x5e, 0x90), 12)
            self.assert_near(pixel(shots["idle-close-pressed"], 18, 240), (245, 245, 245))


if __name__ == "__main__":
    harness.run()
