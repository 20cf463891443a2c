"""The skinned window as a user meets it, in pages run by korvendal-host against a real nginx:
the skin laid out after Init, a transfer started, stopped, resumed and closed by clicks, the
resume question and the error box answered, a bad Config.ini refused, skin and file over https. What the controller
and the texts compute is proven by the unit and window tests; these pages check the flows."""
import hashlib
import os
import shutil
import sys
import tempfile
import unittest
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from host_pages import harness, run_page  # noqa: E402
from kvsupport import skins  # noqa: E402
from test_installer_pages import INSTALLER_CLSID, E_INVALIDARG, js, unix_path  # noqa: E402
from test_authority import TestAuthority  # noqa: E402

TARGET_SIZE = 3 * 1024 * 1024
QUESTION = "BOX 알림|파일이 존재합니다. 이어받으시겠습니까?"

# Polls a condition from the host's message loop (and from the control's own while a
# transfer runs); gives up after `limit` milliseconds.
HELPERS = """
function when(condition, then, limit) {
  var waited = 0;
  function poll() {
    if (condition()) { then(); return; }
    waited += 50;
    if (waited > (limit || 20000)) { alert("gave up waiting"); window.close(); return; }
    setTimeout(poll, 50);
  }
  setTimeout(poll, 50);
}
function status() { return external.text(215); }
function show(id) {
  alert(id + " " + external.rect(id) + " " + external.visible(id) + " " + external.enabled(id) + " " + external.text(id));
}
"""


def page(steps, target, base_path, info="skin.zip", url_path="skins/", on_close='alert("OnClose"); window.close();'):
    return f"""<html><body>
<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script for="Installer" event="OnClose()" language="JScript">{on_close}</script>
<script language="JScript">
{HELPERS}
try {{
  Installer.BasePath = {js(base_path)};
  Installer.InfoFileName = {js(info)};
  Installer.Init(SERVER + {js(url_path)}, {js(target)});
  {steps}
}} catch (e) {{
  alert("failed " + e.number + " [" + e.description + "]");
  window.close();
}}
</script></body></html>"""


class SkinnedWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        registered = harness.wine(["regsvr32", "/s", harness.winpath(harness.program("Korvendal.ocx"))])
        if registered.returncode != 0:
            raise AssertionError(f"regsvr32 failed: {registered}")

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="kv-window-")
        os.chmod(self.root, 0o755)
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        folder = os.path.join(self.root, "skins")
        os.makedirs(os.path.join(folder, "slow"))
        for where in (folder, os.path.join(folder, "slow")):
            with open(os.path.join(where, "skin.zip"), "wb") as f:
                f.write(skins.skin_archive())
        broken = skins.CONFIG_INI.replace("btn_close=290,260\n", "")
        with open(os.path.join(folder, "broken.zip"), "wb") as f:
            f.write(skins.skin_archive(config=broken))
        self.target = f"kvwin-{uuid.uuid4().hex}.exe"
        self.served = os.urandom(TARGET_SIZE)
        for where in (folder, os.path.join(folder, "slow")):
            with open(os.path.join(where, self.target), "wb") as f:
                f.write(self.served)
        for dirpath, _, files in os.walk(self.root):
            os.chmod(dirpath, 0o755)
            for name in files:
                os.chmod(os.path.join(dirpath, name), 0o644)
        self.base_path = "KvWindowTest\\" + uuid.uuid4().hex
        self.downloaded = None
        self.addCleanup(self.remove_leftovers)

    def remove_leftovers(self):
        shutil.rmtree(unix_path("C:\\users\\root\\Temp\\" + self.base_path), ignore_errors=True)
        if self.downloaded and os.path.exists(self.downloaded):
            os.remove(self.downloaded)

    def run_steps(self, steps, answers=(), target=None, tls=None, **options):
        # The slow folder lets a transfer last long enough to be stopped by a click.
        extra = "location /skins/slow/ { limit_rate 1m; }"
        cert, key = tls or (None, None)
        with harness.Nginx(self.root, extra=extra, cert=cert, key=key) as server:
            html = page(steps, target or self.target, self.base_path, **options)
            html = html.replace("SERVER + ", js(server.url(host="localhost")) + " + ")
            run = run_page(html, answers=list(answers))
            log = server.access_log()
        for line in run.alerts:
            if line.startswith("216 ") and line.endswith(self.target):
                path = line.split(" ", 4)[4]
                self.downloaded = unix_path(path)
        return run, log

    def expect_downloaded_whole(self):
        self.assertIsNotNone(self.downloaded)
        with open(self.downloaded, "rb") as f:
            self.assertEqual(hashlib.sha256(f.read()).hexdigest(), hashlib.sha256(self.served).hexdigest())

    def test_init_lays_out_every_control_from_the_skin(self):
        run, _ = self.run_steps("""
for (var id = 207; id <= 221; ++id) show(id);
alert("background " + external.pixel(5, 5));
alert("run button " + external.pixel(80 + 32, 260 + 12));
window.close();""")
        self.assertEqual(run.status, 0, run)
        lines = {line.split(" ", 1)[0]: line for line in run.alerts}
        self.assertEqual(lines["207"], "207 10,200,358,14 true true ")
        self.assertEqual(lines["208"], f"208 10,20,358,16 true true {self.target}")
        self.assertEqual(lines["209"], f"209 10,40,358,16 true true {TARGET_SIZE // 1024:,} KB")
        self.assertEqual(lines["210"], "210 10,60,358,16 true true 00:00:00")
        self.assertEqual(lines["211"], "211 10,80,358,16 true true 0 KB")
        self.assertEqual(lines["212"], "212 10,100,358,16 true true 00:00:00")
        self.assertEqual(lines["213"], "213 10,120,358,16 true true 0 KB/Sec")
        self.assertEqual(lines["214"], "214 10,218,358,16 true true 0%")
        self.assertEqual(lines["215"], "215 10,140,358,16 true true ")
        self.assertTrue(lines["216"].startswith("216 10,160,358,16 true true C:\\"), run)
        self.assertTrue(lines["216"].endswith("\\" + self.target), run)
        # Buttons are the size of btn_run.jpg wherever the skin puts them.
        # A button's caption is its window text, for screen readers; its face is the picture.
        self.assertEqual(lines["217"], "217 80,260,64,24 true false 실행")
        self.assertEqual(lines["218"], "218 150,260,64,24 true true 시작")
        self.assertEqual(lines["219"], "219 220,260,64,24 false true 중지")
        self.assertEqual(lines["221"], "221 10,260,64,24 true true 폴더")
        self.assert_colour(lines["background"], skins.BACKGROUND)
        self.assert_colour(lines["run"], skins.button_colour("run", "_di"))

    def assert_colour(self, line, expected, tolerance=12):
        got = [int(v) for v in line.rsplit(" ", 1)[1].split(",")]
        for a, b in zip(got, expected):
            self.assertLessEqual(abs(a - b), tolerance, f"{line} is not {expected}")

    def test_start_downloads_the_file_to_its_end(self):
        run, log = self.run_steps("""
show(216);
external.click(218);
when(function () { return status() == "다운로드 완료"; }, function () {
  show(211); show(214); show(217); show(218); show(219); show(221);
  window.close();
});""")
        self.assertEqual(run.status, 0, run)
        lines = {line.split(" ", 1)[0]: line for line in run.alerts}
        self.assertTrue(lines["211"].endswith(f" {TARGET_SIZE // 1024:,} KB"), run)
        self.assertTrue(lines["214"].endswith(" 100%"), run)
        self.assertIn(" true true ", lines["217"])  # run enabled
        self.assertIn(" false true ", lines["219"])  # stop hidden
        self.assertIn(" true false ", lines["221"])  # folder still disabled
        self.expect_downloaded_whole()

    def test_skin_and_file_over_https(self):
        authority = TestAuthority(os.path.join(self.root, "ca"))
        tls = authority.issue("site")
        authority.trust()
        self.addCleanup(authority.untrust)
        run, log = self.run_steps("""
show(216);
external.click(218);
when(function () { return status() == "다운로드 완료"; }, function () { window.close(); });""",
                                  tls=tls)
        self.assertEqual(run.status, 0, run)
        self.assertIn('"GET /skins/skin.zip HTTP/1.1" 200', log)
        self.assertIn(f'"GET /skins/{self.target} HTTP/1.1" 200', log)
        self.expect_downloaded_whole()

    def test_stop_then_resume_after_the_question_then_close_during_the_transfer(self):
        run, log = self.run_steps("""
show(216);
external.click(218);
// Stopped once some bytes are on disk, so that the next start finds a partial file.
when(function () { return status() == "다운로드 중..." && external.text(211) != "0 KB"; }, function () {
  external.click(219);
  when(function () { return status() == "다운로드 중단"; }, function () {
    show(217); show(218); show(219);
    external.click(218);
    when(function () { return status() == "다운로드 중..."; }, function () { external.click(220); });
  });
});""", url_path="skins/slow/", answers=["yes"],
            on_close='alert("OnClose " + external.text(215)); window.close();')
        self.assertEqual(run.status, 0, run)
        lines = {line.split(" ", 1)[0]: line for line in run.alerts}
        self.assertIn("217", lines, run)
        self.assertIn(" true false ", lines["217"])  # run disabled after a stop
        self.assertIn(" true true ", lines["218"])
        self.assertIn(" false true ", lines["219"])
        self.assertEqual(run.alerts.count(QUESTION), 1, run)
        self.assertEqual(run.alerts[-1], "OnClose 다운로드 중단", run)
        ranged = [line for line in log.splitlines() if self.target in line and "GET" in line]
        self.assertTrue(ranged, log)
        # What came before the stop is on disk and is the start of the served file.
        with open(self.downloaded, "rb") as f:
            kept = f.read()
        self.assertGreater(len(kept), 0)
        self.assertEqual(kept, self.served[:len(kept)])

    def test_answering_no_leaves_the_window_as_it_was_and_yes_completes_the_file(self):
        prefix = "C:\\users\\root\\Documents\\"
        self.downloaded = unix_path(prefix + self.target)
        os.makedirs(os.path.dirname(self.downloaded), exist_ok=True)
        with open(self.downloaded, "wb") as f:
            f.write(self.served[:TARGET_SIZE // 2])
        run, log = self.run_steps("""
show(214);
external.click(218);
setTimeout(function () {
  show(215); show(218); show(219);
  external.click(218);
  when(function () { return status() == "다운로드 완료"; }, function () { window.close(); });
}, 500);""", answers=["no"])
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts.count(QUESTION), 2, run)
        self.assertIn("214 10,218,358,16 true true 50%", run.alerts)
        self.assertIn("215 10,140,358,16 true true ", run.alerts)
        self.assertIn(f'"GET /skins/{self.target} HTTP/1.1" 206 ', log)
        self.expect_downloaded_whole()

    def test_keyboard_alone_downloads_the_file(self):
        run, _ = self.run_steps("""
function focusIs(id) { return function () { return external.focused() == id; }; }
external.focusControl();
when(focusIs(221), function () {
  alert("window " + external.accName(0));
  external.key("Tab");
  when(focusIs(218), function () {
    alert("focused " + external.accName(218) + " " + external.accState(218));
    external.key("Space");
    when(function () { return status() == "다운로드 완료"; }, function () {
      show(216);
      alert("done " + external.accName(211) + " | " + external.accValue(207) + " | " + external.accName(215));
      external.key("Tab");
      when(focusIs(0), function () { window.close(); });
    }, 60000);
  });
});""")
        self.assertEqual(run.status, 0, run)
        self.assertIn("window Korvendal 다운로드", run.alerts, run)
        # Focusable and focused (0x100000 | 0x4).
        self.assertIn("focused 시작 1048580", run.alerts, run)
        self.assertIn(f"done 받은 크기 {TARGET_SIZE // 1024:,} KB | 100% | 상태 다운로드 완료", run.alerts, run)
        self.expect_downloaded_whole()

    def test_close_while_idle_fires_onclose(self):
        run, _ = self.run_steps("external.click(220);")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["OnClose"], run)

    def test_a_failing_size_query_shows_the_error_box(self):
        run, _ = self.run_steps("""
when(function () { return status() != ""; }, function () { show(209); show(215); window.close(); });""",
                                target="absent.exe")
        self.assertEqual(run.status, 0, run)
        text = "Not Found - 문서를 찾을 수 없습니다.(404)"
        self.assertIn(f"BOX 에러|{text}", run.alerts, run)
        self.assertIn(f"215 10,140,358,16 true true {text}", run.alerts, run)
        self.assertIn("209 10,40,358,16 true true 0 KB", run.alerts, run)

    def test_a_short_config_fails_init_with_invalid_argument(self):
        run, _ = self.run_steps("""alert("Init ok"); window.close();""", info="broken.zip")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, [f"failed {E_INVALIDARG} []"], run)


if __name__ == "__main__":
    harness.run()
