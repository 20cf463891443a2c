"""The Installer's scripting surface as JScript sees it through Wine's cscript, with no
container around the control: properties, refused values, Init's failures, and Init against
a real nginx. Without a container the control has no window; Init then fetches and unpacks
the skin archive all the same (the skinned window is built once a window exists).

Wine's WScript.Echo crashes on Korean text when its output is redirected, so scripts print
only escape()d values as key=value lines, and Korean literals reach the scripts as \\u
escapes."""
import json
import os
import re
import shutil
import sys
import tempfile
import unittest
import uuid
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "net"))
import harness  # noqa: E402
from kvsupport import skins  # noqa: E402
from misbehaving_server import MisbehavingServer, serve  # noqa: E402

E_FAIL = -2147467259
E_INVALIDARG = -2147024809

MISSING_INFO = "스킨파일명(InfoFileName 속성)을 지정해 주십시오.(-2147467259)"
UNSAFE_BASE = "기본 폴더(BasePath 속성)는 임시 폴더 안의 상대 경로여야 합니다.(-2147024809)"
UNSAFE_INFO = "스킨파일명(InfoFileName 속성)은 기본 폴더 안의 상대 경로여야 합니다.(-2147024809)"
UNSAFE_FILE = "다운로드 파일명은 다운로드 폴더 안의 상대 경로여야 합니다.(-2147024809)"
NOT_FOUND = "Not Found - 문서를 찾을 수 없습니다.(404)"

UNSAFE_VALUES = ["..", "..\\outside", "Skin\\..\\..\\outside", "Skin/../../outside",
                 "C:\\Windows", "C:outside", "\\rooted", "/rooted", "\\\\server\\share",
                 "//server/share", "skin.zip:stream"]

PRELUDE = r"""
function out(key, value) { WScript.Echo(key + "=" + escape(String(value))); }
function attempt(key, action) {
    try { action(); out(key, "ok"); }
    catch (e) { out(key, e.number + "|" + e.description); }
}
var fso = new ActiveXObject("Scripting.FileSystemObject");
"""


def js(value):
    """A JScript literal of a Python value, ASCII only."""
    return json.dumps(value, ensure_ascii=True)


def unescape(text):
    return re.sub(r"%u([0-9A-Fa-f]{4})|%([0-9A-Fa-f]{2})",
                  lambda m: chr(int(m.group(1) or m.group(2), 16)), text)


def run_script(body):
    """Runs JScript in cscript and returns its key=value lines as a dict."""
    with tempfile.TemporaryDirectory(prefix="kv-cscript-") as folder:
        path = os.path.join(folder, "test.js")
        with open(path, "w", encoding="ascii") as f:
            f.write(PRELUDE + body)
        result = harness.wine(["cscript", "//nologo", harness.winpath(path)], timeout=180)
    stdout = result.stdout.decode("ascii", "replace")
    if result.returncode != 0:
        raise AssertionError(f"cscript failed ({result.returncode}):\n{stdout}\n"
                             f"{result.stderr.decode('utf-8', 'replace')}")
    values = {}
    for line in stdout.splitlines():
        key, sep, value = line.strip().partition("=")
        if sep:
            values[key] = unescape(value)
    return values


def setUpModule():
    ocx = harness.program("Korvendal.ocx")
    result = harness.wine(["regsvr32", "/s", harness.winpath(ocx)])
    if result.returncode != 0:
        raise RuntimeError(f"regsvr32 failed with {result.returncode}")


class Properties(unittest.TestCase):
    def test_base_path_is_the_temporary_folder_followed_by_the_value(self):
        tag = "kv-object-" + uuid.uuid4().hex[:8]
        blue, trailing = tag + "\\Blue", tag + "\\"
        values = run_script(f"""
var c = new ActiveXObject("Korvendal.Installer");
out("initial", c.BasePath);
var temp = fso.GetSpecialFolder(2).Path;
out("temp", temp);
c.BasePath = {js(tag)};
out("plain", c.BasePath); out("plain.exists", fso.FolderExists(c.BasePath));
c.BasePath = {js(blue)};
out("blue", c.BasePath); out("blue.exists", fso.FolderExists(c.BasePath));
c.BasePath = {js(trailing)};
out("trailing", c.BasePath);
c.InfoFileName = {js("스킨 파일.zip")};
out("info", c.InfoFileName);
out("info.same", c.InfoFileName == {js("스킨 파일.zip")});
""")
        # Another process removes the folders: CreateFolderTree leaves the script's current
        # folder inside them.
        run_script(f'fso.DeleteFolder({js(values["plain"])}, true);')
        temp = values["temp"].rstrip("\\") + "\\"
        self.assertEqual(values["initial"], "")
        self.assertEqual(values["plain"], temp + tag)
        self.assertEqual(values["plain.exists"], "true")
        self.assertEqual(values["blue"], temp + tag + "\\Blue")
        self.assertEqual(values["blue.exists"], "true")
        self.assertEqual(values["trailing"], temp + tag + "\\")
        self.assertEqual(values["info"], "스킨 파일.zip")
        self.assertEqual(values["info.same"], "true")

    def test_values_leading_out_of_their_folder_are_refused(self):
        lines = ['var c = new ActiveXObject("Korvendal.Installer");',
                 'c.BasePath = ""; c.InfoFileName = "skin.zip";',
                 'out("base.before", c.BasePath);']
        for i, value in enumerate(UNSAFE_VALUES):
            lines.append(f'attempt("base{i}", function () {{ c.BasePath = {js(value)}; }});')
            lines.append(f'attempt("info{i}", function () {{ c.InfoFileName = {js(value)}; }});')
            lines.append(f'attempt("file{i}", function () {{ c.Init("http://127.0.0.1:9/", {js(value)}); }});')
        lines.append('out("base.after", c.BasePath); out("info.after", c.InfoFileName);')
        values = run_script("\n".join(lines))
        for i, value in enumerate(UNSAFE_VALUES):
            with self.subTest(value=value):
                self.assertEqual(values[f"base{i}"], f"{E_FAIL}|{UNSAFE_BASE}")
                self.assertEqual(values[f"info{i}"], f"{E_FAIL}|{UNSAFE_INFO}")
                self.assertEqual(values[f"file{i}"], f"{E_FAIL}|{UNSAFE_FILE}")
        self.assertEqual(values["base.after"], values["base.before"])
        self.assertEqual(values["info.after"], "skin.zip")


class InitFailures(unittest.TestCase):
    def test_without_info_file_name_it_asks_for_it_and_sends_nothing(self):
        with tempfile.TemporaryDirectory() as root, harness.Nginx(root) as server:
            values = run_script(f"""
var c = new ActiveXObject("Korvendal.Installer");
try {{ c.Init({js(server.url("skins"))}, "file.bin"); out("result", "ok"); }}
catch (e) {{
    out("number", e.number);
    out("description", e.description);
    out("same", e.description == {js(MISSING_INFO)});
}}
""")
            self.assertEqual(server.access_log(), "")
        self.assertEqual(values["number"], str(E_FAIL))
        self.assertEqual(values["description"], MISSING_INFO)
        self.assertEqual(values["same"], "true")

    def test_empty_url_is_an_invalid_argument(self):
        values = run_script("""
var c = new ActiveXObject("Korvendal.Installer");
c.InfoFileName = "skin.zip";
attempt("init", function () { c.Init("", "file.bin"); });
""")
        self.assertTrue(values["init"].startswith(f"{E_INVALIDARG}|"), values["init"])


class InitWithServer(unittest.TestCase):
    """Init before any window exists, against nginx serving a skin folder."""

    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="kv-skins-")
        os.mkdir(os.path.join(self.root, "skins"))
        # Section and key names in capitals: the profile reader matches them without case.
        self.config = skins.CONFIG_INI.replace("[main]", "[MAIN]").replace("text_color", "TEXT_COLOR")
        self.picture = bytes(range(256)) * 40
        with zipfile.ZipFile(os.path.join(self.root, "skins", "blue.zip"), "w",
                             zipfile.ZIP_DEFLATED) as archive:
            archive.writestr("Config.ini", self.config)
            archive.writestr("bk_main.jpg", self.picture)
        open(os.path.join(self.root, "skins", "empty.zip"), "wb").close()
        # nginx's workers drop to an unprivileged user, who must be able to read the folder.
        for folder, _, files in os.walk(self.root):
            os.chmod(folder, 0o755)
            for name in files:
                os.chmod(os.path.join(folder, name), 0o644)
        self.tag = "kv-object-" + uuid.uuid4().hex[:8]

    def tearDown(self):
        run_script(f"""
var folder = fso.GetSpecialFolder(2).Path + "\\\\" + {js(self.tag)};
if (fso.FolderExists(folder)) fso.DeleteFolder(folder, true);
""")
        shutil.rmtree(self.root, ignore_errors=True)

    def init_script(self, url, info, file_name="file.bin"):
        return f"""
var c = new ActiveXObject("Korvendal.Installer");
c.BasePath = {js(self.tag)};
c.InfoFileName = {js(info)};
attempt("init", function () {{ c.Init({js(url)}, {js(file_name)}); }});
var base = c.BasePath;
out("archive", fso.FileExists(base + "\\\\" + {js(info)}));
out("config", fso.FileExists(base + "\\\\Config.ini") ? fso.GetFile(base + "\\\\Config.ini").Size : -1);
out("picture", fso.FileExists(base + "\\\\bk_main.jpg") ? fso.GetFile(base + "\\\\bk_main.jpg").Size : -1);
"""

    @staticmethod
    def archive_requests(server, name):
        return [line for line in server.access_log().splitlines() if f"/{name} " in line]

    def test_archive_is_fetched_and_unpacked_once(self):
        with harness.Nginx(self.root) as server:
            first = run_script(self.init_script(server.url("skins"), "blue.zip"))
            self.assertEqual(first["init"], "ok")
            self.assertEqual(first["archive"], "true")
            self.assertEqual(first["config"], str(len(self.config)))
            self.assertEqual(first["picture"], str(len(self.picture)))
            fetched = self.archive_requests(server, "blue.zip")
            self.assertTrue(fetched)
            # No slash was given: one was added, and only one.
            self.assertTrue(all("GET /skins/blue.zip " in line for line in fetched), fetched)

            second = run_script(self.init_script(server.url("skins"), "blue.zip"))
            self.assertEqual(second["init"], "ok")
            self.assertEqual(self.archive_requests(server, "blue.zip"), fetched)

    def test_url_with_trailing_slash_is_taken_as_it_is(self):
        with harness.Nginx(self.root) as server:
            values = run_script(self.init_script(server.url("skins/"), "blue.zip"))
            self.assertEqual(values["init"], "ok")
            fetched = self.archive_requests(server, "blue.zip")
            self.assertTrue(fetched)
            self.assertTrue(all("GET /skins/blue.zip " in line for line in fetched), fetched)
        self.assertEqual(values["picture"], str(len(self.picture)))

    def test_without_base_path_the_skin_goes_to_the_controls_own_folder_below_temp(self):
        name = "kv-object-" + uuid.uuid4().hex[:8]
        with zipfile.ZipFile(os.path.join(self.root, "skins", name + ".zip"), "w") as archive:
            archive.writestr(name + ".ini", self.config)
            archive.writestr("Config.ini", self.config)
        os.chmod(os.path.join(self.root, "skins", name + ".zip"), 0o644)
        with harness.Nginx(self.root) as server:
            values = run_script(f"""
var c = new ActiveXObject("Korvendal.Installer");
c.InfoFileName = {js(name + ".zip")};
attempt("init", function () {{ c.Init({js(server.url("skins"))}, "file.bin"); }});
var own = fso.GetSpecialFolder(2).Path + "\\\\Korvendal";
out("base", c.BasePath == own);
out("archive", fso.FileExists(own + "\\\\" + {js(name + ".zip")}));
out("member", fso.FileExists(own + "\\\\" + {js(name + ".ini")}));
out("root", fso.FileExists("C:\\\\" + {js(name + ".zip")}) || fso.FileExists("C:\\\\" + {js(name + ".ini")}));
var names = [{js(name + ".zip")}, {js(name + ".ini")}, "Config.ini"];
for (var i = 0; i < names.length; ++i) {{
    if (fso.FileExists(own + "\\\\" + names[i])) fso.DeleteFile(own + "\\\\" + names[i]);
}}
""")
        self.assertEqual(values["init"], "ok")
        self.assertEqual(values["base"], "true")
        self.assertEqual(values["archive"], "true")
        self.assertEqual(values["member"], "true")
        self.assertEqual(values["root"], "false")

    def test_archive_cut_short_is_fetched_again_by_the_next_init(self):
        with open(os.path.join(self.root, "skins", "blue.zip"), "rb") as f:
            archive = f.read()
        path = "/skins/" + self.tag + ".zip"
        with MisbehavingServer({path: serve(archive, cut_at=len(archive) // 2)}) as server:
            script = self.init_script(server.url("/skins"), self.tag + ".zip") + f"""
out("staging", fso.FileExists(base + "\\\\" + {js(self.tag + ".zip.part")}));
"""
            first = run_script(script)
            server.routes[path] = serve(archive)
            second = run_script(script)
        # A cut transfer leaves nothing that a later Init could take for the archive.
        self.assertTrue(first["init"].startswith(f"{E_FAIL}|"), first["init"])
        self.assertEqual((first["archive"], first["staging"]), ("false", "false"))
        self.assertEqual(second["init"], "ok")
        self.assertEqual((second["archive"], second["staging"]), ("true", "false"))
        self.assertEqual(second["config"], str(len(self.config)))

    def test_empty_archive_fails_with_404_and_its_url(self):
        with harness.Nginx(self.root) as server:
            url = server.url("skins")
            values = run_script(self.init_script(url, "empty.zip"))
        expected = f"지정된 파일({url}/empty.zip)의 크기가 0바이트 입니다.(404)"
        self.assertEqual(values["init"], f"{E_FAIL}|{expected}")
        self.assertEqual(values["archive"], "false")

    def test_missing_archive_fails_with_the_status_text(self):
        with harness.Nginx(self.root) as server:
            values = run_script(self.init_script(server.url("skins"), "missing.zip"))
        self.assertEqual(values["init"], f"{E_FAIL}|{NOT_FOUND}")
        self.assertEqual(values["config"], "-1")


if __name__ == "__main__":
    harness.run()
