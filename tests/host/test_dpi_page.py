"""The skinned window on a screen of 144 dpi, in a prefix of that resolution of its own (see
tools/kvsupport/dpi.py): the page's declared size, every control's place and the pictures
are 1.5 times their 96 dpi selves, give or take a pixel, and the pictures fill their places,
the double-size one where the skin has it. The arithmetic is proven by skin_unit_tests; this
page checks that the window puts it together."""
import os
import shutil
import struct
import sys
import tempfile
import unittest
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from host_pages import INSTALLER_CLSID, harness, register_installer, run_page  # noqa: E402
from kvsupport import dpi, skins  # noqa: E402

DPI = 144
START_DOUBLE = (230, 200, 20)  # btn_start@2x.jpg, drawn in place of btn_start.jpg


def design_places():
    """Each control id's place at 96 dpi (x, y, width, height) from the test skin."""
    values = dict(line.split("=", 1) for line in skins.CONFIG_INI.splitlines() if "=" in line)
    rects = {207: "progress_pos", 214: "progress_text_pos", 208: "file_name", 209: "file_size",
             210: "elapsed_time", 211: "down_size", 212: "odd_time", 213: "down_speed",
             215: "down_status", 216: "down_folder"}
    buttons = {221: "btn_folder", 217: "btn_run", 218: "btn_start", 219: "btn_stop", 220: "btn_close"}
    places = {id: tuple(int(v) for v in values[key].split(",")) for id, key in rects.items()}
    for id, key in buttons.items():
        x, y = (int(v) for v in values[key].split(","))
        places[id] = (x, y, 64, 24)
    return places


def png_size(path):
    with open(path, "rb") as f:
        header = f.read(24)
    return struct.unpack(">II", header[16:24])


class DpiPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.environ["WINEPREFIX"] = dpi.prefix_at(DPI)
        # The prefix's own server, and its desktop kept between the registration and the page.
        harness.warm_up(keep_desktop=True)
        register_installer()

    @classmethod
    def tearDownClass(cls):
        harness.stop_server()

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="kv-dpi-")
        os.chmod(self.root, 0o755)
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        archive = skins.skin_archive({"btn_start@2x.jpg": skins.jpeg(128, 48, START_DOUBLE)})
        for name, data in (("skin.zip", archive), ("target.bin", b"x" * 5000)):
            with open(os.path.join(self.root, name), "wb") as f:
                f.write(data)
            os.chmod(os.path.join(self.root, name), 0o644)
        self.base_path = "KvDpiTest\\" + uuid.uuid4().hex
        self.addCleanup(shutil.rmtree, harness.unix_path("C:\\users\\root\\Temp\\" + self.base_path),
                        ignore_errors=True)

    def assert_colour(self, line, expected, tolerance=12):
        got = [int(v) for v in line.rsplit(" ", 1)[1].split(",")]
        for a, b in zip(got, expected):
            self.assertLessEqual(abs(a - b), tolerance, f"{line} is not {expected}")

    def test_the_window_its_places_and_its_pictures_scale_by_one_and_a_half(self):
        places = design_places()
        capture = os.path.join(self.root, "window.png")
        # A picture fills its place when the pixel one in from its far corner is its own.
        probes = "".join(f'alert("corner {id} " + external.pixel({round((x + w) * 1.5) - 2}, '
                         f'{round((y + h) * 1.5) - 2}));\n'
                         for id, (x, y, w, h) in places.items() if id in (217, 218, 220, 221))
        with harness.Nginx(self.root) as server:
            run = run_page(f"""<html><body>
<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script language="JScript">
try {{
  Installer.BasePath = "{self.base_path.replace(chr(92), chr(92) * 2)}";
  Installer.InfoFileName = "skin.zip";
  Installer.Init("{server.url()}", "target.bin");
  for (var id = 207; id <= 221; ++id) alert("rect " + id + " " + external.rect(id));
  alert("background " + external.pixel(566, 466));
  {probes}
  external.capture("{harness.winpath(capture).replace(chr(92), chr(92) * 2)}");
}} catch (e) {{
  alert("failed " + e.number + " [" + e.description + "]");
}}
window.close();
</script></body></html>""")
        self.assertEqual(run.status, 0, run)
        self.assertFalse([line for line in run.alerts if line.startswith("failed")], run)
        # The page declares 378 x 311: the window is that at 144 dpi.
        self.assertEqual(png_size(capture), (567, 467))
        lines = {tuple(line.split(" ", 2)[:2]): line.split(" ", 2)[2] for line in run.alerts
                 if line.startswith(("rect ", "corner "))}
        for id, design in places.items():
            got = [int(v) for v in lines[("rect", str(id))].split(",")]
            for value, designed in zip(got, design):
                self.assertLessEqual(abs(value - designed * 1.5), 1, f"{id}: {got} is not 1.5 x {design}")
        self.assert_colour(next(line for line in run.alerts if line.startswith("background")), skins.BACKGROUND)
        self.assert_colour("x " + lines[("corner", "217")], skins.button_colour("run", "_di"))
        self.assert_colour("x " + lines[("corner", "218")], START_DOUBLE)
        self.assert_colour("x " + lines[("corner", "220")], skins.button_colour("close", ""))
        self.assert_colour("x " + lines[("corner", "221")], skins.button_colour("folder", ""))


if __name__ == "__main__":
    harness.run()
