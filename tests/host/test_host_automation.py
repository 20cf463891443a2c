"""What korvendal-host gives a page to drive it as a tester would: window timers, the
`external` object over a real Installer control window, and dialogs answered from the
command line in a headless run."""
import json
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from host_pages import INSTALLER_CLSID, harness, register_installer, run_page  # noqa: E402

E_FAIL = -2147467259
E_INVALIDARG = -2147024809


def picture_format(path):
    """Width, height, channels and alpha of a picture file, as ImageMagick reads it."""
    return subprocess.run(["identify", "-format", "%w,%h,%[channels],%A", path],
                          capture_output=True, check=True, text=True).stdout


class Timers(unittest.TestCase):
    def test_callbacks_run_once_in_order_of_their_delay_and_cleared_ones_never(self):
        run = run_page("""<script>
var order = [];
var cleared = setTimeout(function () { order.push("cleared"); }, 0);
var last = setTimeout(function () { order.push("late"); alert(order.join(",")); close(); }, 300);
setTimeout(function () { order.push("early"); window.setTimeout("order.push('code')", 0); }, 0);
clearTimeout(cleared);
clearTimeout(12345);
order.push("now");
alert((cleared > 0) + " " + (last > cleared));
</script>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["true true", "now,early,code,late"])

    def test_a_callbacks_error_is_a_script_error_and_later_timers_still_run(self):
        run = run_page("""<script>
setTimeout(function () { throw new Error("타이머 실패"); }, 0);
setTimeout(function () {
  // No control on this page: external has no window to act on.
  try { external.text(201); } catch (e) { alert(e.number + " " + e.description); }
  close();
}, 200);
</script>""")
        self.assertEqual(run.status, 1, run)
        self.assertEqual(run.alerts, [f"{E_FAIL} the page has no control window"])
        self.assertIn("(line 2, column 26): 타이머 실패", run.stderr)


class External(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        register_installer()

    def test_reads_the_control_windows_children_and_the_window_as_painted(self):
        with tempfile.TemporaryDirectory(prefix="kv-capture-") as work:
            picture = os.path.join(work, "window.png")
            run = run_page(f"""<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script>
var x = window.external;
alert(x.rect(201) + " " + x.visible(201) + " " + x.enabled(201) + " [" + x.text(201) + "]");
alert(x.pixel(0, 0) + " " + x.pixel(377, 310));
try {{ x.text(999); }} catch (e) {{ alert(e.number + " " + e.description); }}
try {{ x.pixel(378, 0); }} catch (e) {{ alert(e.number); }}
x.capture({json.dumps(harness.winpath(picture))});
close();
</script>""")
            self.assertEqual(run.status, 0, run)
            self.assertEqual(run.alerts, [
                # The background picture's place: 20 by 20 dialog units of the template's
                # font, in the control window's own coordinates.
                "0,0,35,35 true true []",
                # Unskinned, the window erases nothing, so nothing shows; the host
                # window around it would show white.
                "0,0,0 0,0,0",
                f"{E_INVALIDARG} the control window has no child with id 999",
                f"{E_INVALIDARG}"], run)
            # Opaque: with an alpha channel GDI's pixels would show fully transparent.
            self.assertEqual(picture_format(picture), "378,311,srgb,False")


class Dialogs(unittest.TestCase):
    def test_folder_dialogs_are_told_and_answered_in_order_then_cancelled(self):
        # The shell's own automation object shows the folder dialog on the page's thread.
        run = run_page("""<script>
var shell = new ActiveXObject("Shell.Application");
for (var k = 0; k < 3; ++k) {
  var folder = shell.BrowseForFolder(0, "다운로드 폴더 " + k, 0);
  alert(folder ? folder.Self.Path : "none");
}
close();
</script>""", answers=["cancel", "C:\\windows"])
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, [
            "FOLDER 다운로드 폴더 0", "none",
            "FOLDER 다운로드 폴더 1", "C:\\windows",
            "FOLDER 다운로드 폴더 2", "none"])


if __name__ == "__main__":
    harness.run()
