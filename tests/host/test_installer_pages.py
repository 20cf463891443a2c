"""Pages that embed the Installer control, run headless in korvendal-host.exe under Wine
against skins served by a real nginx: properties, Init and its failures as script sees
them, and OnCreate through the host's event binding."""
import os
import re
import shutil
import sys
import tempfile
import unittest
import uuid

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from host_pages import INSTALLER_CLSID, harness, register_installer, run_page  # noqa: E402
from kvsupport import skins  # noqa: E402

E_FAIL = -2147467259
E_INVALIDARG = -2147024809
TARGET = "setup.exe"


unix_path = harness.unix_path


def js(text):
    """A JScript string literal."""
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def installer_page(body, base_path=None, info_file_name="skin.zip"):
    """A page as its author writes it for a browser: the object, its OnCreate handler and
    one block that sets the properties, runs `body` (which may throw) and closes."""
    properties = ""
    if base_path is not None:
        properties += f"Installer.BasePath = {js(base_path)};\n"
    if info_file_name is not None:
        properties += f"Installer.InfoFileName = {js(info_file_name)};\n"
    return f"""<html>
<head><title>Installer</title></head>
<body>
<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script for="Installer" event="OnCreate()" language="JScript">
  alert("OnCreate");
</script>
<script language="JScript">
try {{
  {properties}
  {body}
}} catch (e) {{
  alert("failed " + e.number + " " + e.description);
}}
window.close();
</script>
</body>
</html>
"""


class InstallerPages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        register_installer()

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="kv-skins-")
        os.chmod(self.root, 0o755)  # nginx's workers read it under an account of their own
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)
        self.skins = os.path.join(self.root, "skins")
        os.makedirs(self.skins)
        with open(os.path.join(self.skins, "skin.zip"), "wb") as f:
            f.write(skins.skin_archive({"marker.txt": "unpacked"}))
        with open(os.path.join(self.skins, "empty.zip"), "wb"):
            pass
        with open(os.path.join(self.skins, TARGET), "wb") as f:
            f.write(os.urandom(50000))
        # A base folder of this test's own below the temporary folder of the prefix.
        self.base_path = "KvHostTest\\" + uuid.uuid4().hex
        self.target = f"kvhost-{uuid.uuid4().hex}.exe"
        os.link(os.path.join(self.skins, TARGET), os.path.join(self.skins, self.target))
        self.base_folder = None
        self.base_path_shown = None

    def tearDown(self):
        if self.base_folder:
            shutil.rmtree(self.base_folder, ignore_errors=True)

    def run_init(self, server, url_path="skins/", info_file_name="skin.zip"):
        """Runs the Init page; gives the run and its alerts without the BasePath line,
        which tells where the base folder is (removed after the test)."""
        body = ("alert(\"BasePath \" + Installer.BasePath);\n"
                f"  Installer.Init({js(server.url(url_path))}, {js(self.target)});\n"
                "  alert(\"Init ok\");")
        run = run_page(installer_page(body, self.base_path, info_file_name))
        outcome = []
        for line in run.alerts:
            if line.startswith("BasePath "):
                self.base_path_shown = line[len("BasePath "):]
                self.base_folder = unix_path(self.base_path_shown)
            else:
                outcome.append(line)
        return run, outcome

    @staticmethod
    def requests(server, name):
        return re.findall(r'"GET ([^ ]*' + re.escape(name) + r') HTTP', server.access_log())

    def test_oncreate_fires_before_the_page_scripts_and_init_builds_the_skin(self):
        with harness.Nginx(self.root) as server:
            run, outcome = self.run_init(server)
        self.assertEqual(run.status, 0, run)
        self.assertEqual(outcome, ["OnCreate", "Init ok"], run)
        self.assertTrue(self.base_path_shown.startswith("C:\\"), run)
        self.assertTrue(self.base_path_shown.endswith("\\Temp\\" + self.base_path), run)
        self.assertTrue(os.path.isfile(os.path.join(self.base_folder, "skin.zip")))
        self.assertTrue(os.path.isfile(os.path.join(self.base_folder, "Config.ini")))
        self.assertTrue(os.path.isfile(os.path.join(self.base_folder, "btn_folder_di.jpg")))

    def test_archive_is_fetched_once_and_not_again_when_present(self):
        with harness.Nginx(self.root) as server:
            first, outcome = self.run_init(server)
            self.assertEqual(first.status, 0, first)
            self.assertEqual(outcome, ["OnCreate", "Init ok"], first)
            fetched = len(self.requests(server, "/skin.zip"))
            self.assertGreaterEqual(fetched, 1)
            # Not unpacked again either: a file removed from the base folder stays away.
            os.remove(os.path.join(self.base_folder, "marker.txt"))
            second, outcome = self.run_init(server)
            self.assertEqual(second.status, 0, second)
            self.assertEqual(outcome, ["OnCreate", "Init ok"], second)
            self.assertEqual(len(self.requests(server, "/skin.zip")), fetched, server.access_log())
            self.assertFalse(os.path.exists(os.path.join(self.base_folder, "marker.txt")))

    def test_url_with_and_without_trailing_slash_reach_the_same_folder(self):
        with harness.Nginx(self.root) as server:
            without, outcome = self.run_init(server, url_path="skins")
            self.assertEqual(without.status, 0, without)
            self.assertEqual(outcome, ["OnCreate", "Init ok"], without)
            shutil.rmtree(self.base_folder)
            with_slash, outcome = self.run_init(server, url_path="skins/")
            self.assertEqual(with_slash.status, 0, with_slash)
            self.assertEqual(outcome, ["OnCreate", "Init ok"], with_slash)
            paths = set(self.requests(server, "skin.zip"))
        self.assertEqual(paths, {"/skins/skin.zip"})

    def test_info_file_name_unset_fails_without_network_traffic(self):
        with harness.Nginx(self.root) as server:
            run, outcome = self.run_init(server, info_file_name=None)
            log = server.access_log()
        self.assertEqual(run.status, 0, run)
        self.assertEqual(outcome, [
            "OnCreate",
            f"failed {E_FAIL} 스킨파일명(InfoFileName 속성)을 지정해 주십시오.(-2147467259)"])
        self.assertEqual(log, "")

    def test_missing_archive_reports_the_servers_404(self):
        with harness.Nginx(self.root) as server:
            run, outcome = self.run_init(server, info_file_name="absent.zip")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(outcome, ["OnCreate", f"failed {E_FAIL} Not Found - 문서를 찾을 수 없습니다.(404)"])

    def test_zero_size_archive_reports_404_with_its_url(self):
        with harness.Nginx(self.root) as server:
            run, outcome = self.run_init(server, url_path="skins", info_file_name="empty.zip")
            url = server.url("skins/")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(outcome, [
            "OnCreate", f"failed {E_FAIL} 지정된 파일({url}empty.zip)의 크기가 0바이트 입니다.(404)"])

    def test_empty_url_is_an_invalid_argument(self):
        run = run_page(installer_page(f'Installer.Init("", {js(TARGET)}); alert("Init ok");'))
        self.assertEqual(run.status, 0, run)
        self.assertEqual(len(run.alerts), 2, run)
        self.assertEqual(run.alerts[0], "OnCreate")
        self.assertTrue(run.alerts[1].startswith(f"failed {E_INVALIDARG}"), run)

    def test_uncaught_init_failure_is_a_script_error(self):
        page = f"""<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script>
Installer.InfoFileName = "absent.zip";
Installer.Init("http://127.0.0.1:1/skins/", "{TARGET}");
</script>
<script>window.close();</script>"""
        with harness.Nginx(self.root) as server:
            run = run_page(page.replace("http://127.0.0.1:1/", server.url()))
        self.assertEqual(run.status, 1, run)
        self.assertIn("(line 4, column 1): Not Found - 문서를 찾을 수 없습니다.(404)", run.stderr)

    def test_object_exists_from_where_the_page_places_it(self):
        # As in a browser: a block before the element does not see the control, its
        # handler is bound even though it stands after the element, and the blocks after
        # the element find it created and its window initialised.
        run = run_page(f"""<script>alert("before: " + typeof Installer);</script>
<object id="Installer" classid="clsid:{INSTALLER_CLSID}" width="378" height="311"></object>
<script>alert("after: " + typeof Installer); close();</script>
<script for="Installer" event="OnCreate()">alert("OnCreate");</script>""")
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["before: undefined", "OnCreate", "after: object"])

    def test_properties_round_trip_korean_text(self):
        run = run_page(installer_page(
            'alert(Installer.InfoFileName); Installer.InfoFileName = "스킨.zip"; alert(Installer.InfoFileName);',
            info_file_name=None))
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["OnCreate", "", "스킨.zip"])


if __name__ == "__main__":
    harness.run()
