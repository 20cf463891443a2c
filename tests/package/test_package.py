"""The web package as the browser, the publisher and the page author meet it: tools/package.py
run against the built trees, its signatures checked by osslsigncode, its cabinet unpacked by
cabextract, its INF read by SetupAPI, and its control registered in a fresh Wine prefix where
the page snippet runs in korvendal-host against a real nginx.

A 32-bit run installs the 32-bit control taken out of the cabinet; where the kernel runs no
32-bit programs the x64 build tree runs this, and the fresh prefix gets the signed x64 control
from x64/ instead (the 32-bit control is then checked as bytes only)."""
import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))
sys.path.insert(0, os.path.join(HERE, "..", "host"))
import harness  # noqa: E402
from kvsupport import skins  # noqa: E402
from host_pages import run_page  # noqa: E402

PACKAGE = os.path.join(harness.ROOT, "tools", "package.py")
CLSID = "{D0D05CAA-80C0-455A-B5C8-6433218CBA29}"
I386, AMD64 = 0x14C, 0x8664


def package(out, *options):
    build_root = os.path.dirname(harness.Context.build)
    done = subprocess.run([sys.executable, PACKAGE, "--build", build_root, "--out", out, *options],
                          capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        raise AssertionError(f"package.py failed: {done.stderr}")
    return done.stdout


def verify(path, authority):
    return subprocess.run(["osslsigncode", "verify", "-CAfile", authority, "-in", path],
                          capture_output=True, text=True, timeout=60)


def machine(path):
    """The machine field of a PE file's header."""
    with open(path, "rb") as f:
        data = f.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    return struct.unpack_from("<H", data, pe + 4)[0]


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, capture_output=True, timeout=120)


POLICY = "HKLM\\SOFTWARE\\Policies\\Korvendal\\AllowedSites"
REFUSED = "-2147024891 이 사이트에서는 Korvendal을 사용할 수 없습니다."

# Sets both properties and calls Init, telling each outcome.
SITE_PAGE = """<html><body>
<object id="Installer" classid="clsid:D0D05CAA-80C0-455A-B5C8-6433218CBA29"></object>
<script language="JScript">
function attempt(what, f) {
  try { f(); alert(what + " ok"); } catch (e) { alert(what + " " + e.number + " " + e.description); }
}
attempt("BasePath", function () { Installer.BasePath = "BASE"; });
attempt("InfoFileName", function () { Installer.InfoFileName = "skin.zip"; });
attempt("Init", function () { Installer.Init("SERVER", "TARGET"); });
window.close();
</script></body></html>
"""


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="kv-package-test-")
        cls.out = os.path.join(cls.work, "dist")
        cls.printed = package(cls.out)
        cls.unpacked = os.path.join(cls.work, "unpacked")
        cls.cabextract = subprocess.run(["cabextract", "-d", cls.unpacked,
                                         os.path.join(cls.out, "Korvendal.cab")],
                                        capture_output=True, text=True, timeout=60)
        cls.authority = os.path.join(cls.out, "test-ca", "ca.crt")
        cls.prefix = None

    @classmethod
    def tearDownClass(cls):
        if cls.prefix:
            harness.stop_server()
            os.environ.pop("WINEPREFIX", None)
            if cls.previous_prefix is not None:
                os.environ["WINEPREFIX"] = cls.previous_prefix
        shutil.rmtree(cls.work, ignore_errors=True)

    @classmethod
    def fresh_prefix(cls):
        """A Wine prefix of its own, made once for the class and headless; from then on
        every Wine run of this test happens there."""
        if cls.prefix:
            return
        cls.prefix = os.path.join(cls.work, "prefix")
        cls.previous_prefix = os.environ.get("WINEPREFIX")
        os.environ["WINEPREFIX"] = cls.prefix
        quiet = dict(stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        arch = harness.Context.arch
        subprocess.run([harness.WINE_RUN, arch, "wineboot", "-i"], timeout=300, check=True, **quiet)
        for key, value, kind in (("Drivers", "Graphics", ["/d", "null"]),
                                 ("WineDbg", "ShowCrashDialog", ["/t", "REG_DWORD", "/d", "0"])):
            subprocess.run([harness.WINE_RUN, arch, "reg", "add", "HKCU\\Software\\Wine\\" + key,
                            "/v", value, *kind, "/f"], timeout=120, check=True, **quiet)
        # The desktop started by wineboot has already chosen its graphics driver: end the
        # prefix's programs so that the next start reads the null driver.
        for ending in (["-k"], ["-w"]):
            subprocess.run(["wineserver", *ending], timeout=120, check=False, **quiet)
        # The test's programs come with gaps between them (packing, signing, unpacking), in
        # which Wine would close the desktop; one that started just as it closed could fail.
        harness.warm_up(keep_desktop=True)

    def test_writes_the_package_and_the_signatures_verify_against_the_test_authority(self):
        for name in ("Korvendal.cab", "Korvendal.inf", "korvendal-object.html",
                     os.path.join("x64", "Korvendal.ocx")):
            self.assertIn(f"WROTE {os.path.join(self.out, name)}", self.printed)
        signed = [os.path.join(self.out, "Korvendal.cab"), os.path.join(self.out, "x64", "Korvendal.ocx"),
                  os.path.join(self.unpacked, "Korvendal.ocx")]
        for path in signed:
            checked = verify(path, self.authority)
            self.assertEqual(checked.returncode, 0, f"{path}: {checked.stdout} {checked.stderr}")
            self.assertIn("Korvendal Test Publisher", checked.stdout)
        self.assertEqual(machine(signed[1]), AMD64)
        # A key is never left readable by others.
        for key in ("ca.key", "codesign.key"):
            self.assertEqual(os.stat(os.path.join(self.out, "test-ca", key)).st_mode & 0o077, 0)

    def test_cabinet_holds_exactly_the_32_bit_control_and_the_inf(self):
        self.assertEqual(self.cabextract.returncode, 0, self.cabextract.stderr)
        self.assertEqual(sorted(os.listdir(self.unpacked)), ["Korvendal.inf", "Korvendal.ocx"])
        self.assertEqual(machine(os.path.join(self.unpacked, "Korvendal.ocx")), I386)
        with open(os.path.join(self.unpacked, "Korvendal.inf"), "rb") as packed, \
                open(os.path.join(self.out, "Korvendal.inf"), "rb") as beside:
            self.assertEqual(packed.read(), beside.read())

    def test_a_publisher_certificate_signs_instead_of_the_test_authority(self):
        own = os.path.join(self.work, "publisher")
        os.makedirs(own)
        key, cert, bundle = (os.path.join(own, n) for n in ("key.pem", "cert.pem", "publisher.p12"))
        password = os.path.join(own, "password")
        with open(password, "w") as f:
            f.write("korvendal-publisher")
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-keyout", key,
                "-out", cert, "-subj", "/CN=Publisher Of Its Own", "-addext", "extendedKeyUsage=codeSigning")
        openssl("pkcs12", "-export", "-inkey", key, "-in", cert, "-out", bundle,
                "-passout", "file:" + password)
        out = os.path.join(self.work, "publisher-dist")
        printed = package(out, "--pkcs12", bundle, "--password-file", password)
        self.assertNotIn("test authority", printed)
        self.assertFalse(os.path.exists(os.path.join(out, "test-ca")))
        cab = os.path.join(out, "Korvendal.cab")
        self.assertEqual(verify(cab, cert).returncode, 0)
        self.assertNotEqual(verify(cab, self.authority).returncode, 0)

    def test_platform_inf_reader_finds_the_file_its_class_and_version(self):
        self.fresh_prefix()
        read = harness.wine([harness.program("inf_reader_test.exe"),
                             harness.winpath(os.path.join(self.unpacked, "Korvendal.inf"))])
        self.assertEqual(read.returncode, 0, read)
        self.assertEqual(read.stdout.decode().splitlines(), [
            "[version] signature=$CHICAGO$",
            "[version] AdvancedINF=2.0",
            "[Add.Code] Korvendal.ocx=Korvendal.ocx",
            "[Korvendal.ocx] file-win32-x86=thiscab",
            f"[Korvendal.ocx] clsid={CLSID}",
            "[Korvendal.ocx] FileVersion=1|0|1|7",
            "[Korvendal.ocx] RegisterServer=yes",
        ])

    def install(self, out, unpacked=None):
        """Registers the control of the package in `out` in the fresh prefix, where the code
        download puts the files it takes out of a cabinet: the 32-bit one from the cabinet
        (unpacked into `unpacked`), the x64 one from x64/."""
        self.fresh_prefix()
        folder = os.path.join(self.prefix, "drive_c", "windows", "Downloaded Program Files")
        os.makedirs(folder, exist_ok=True)
        if harness.Context.arch == "x86":
            if not unpacked:
                unpacked = os.path.join(out, "unpacked")
                subprocess.run(["cabextract", "-q", "-d", unpacked, os.path.join(out, "Korvendal.cab")],
                               check=True, capture_output=True, timeout=60)
            shipped = os.path.join(unpacked, "Korvendal.ocx")
        else:
            shipped = os.path.join(out, "x64", "Korvendal.ocx")
        ocx = os.path.join(folder, "Korvendal.ocx")
        shutil.copyfile(shipped, ocx)
        registered = harness.wine(["regsvr32", "/s", harness.winpath(ocx)])
        self.assertEqual(registered.returncode, 0, registered)

    def serve(self):
        """A folder with the skin and a target file of its own; gives (folder, target name)."""
        served = tempfile.mkdtemp(prefix="served-", dir=self.work)
        target = f"kvpackage-{uuid.uuid4().hex}.exe"
        with open(os.path.join(served, "skin.zip"), "wb") as f:
            f.write(skins.skin_archive())
        with open(os.path.join(served, target), "wb") as f:
            f.write(os.urandom(20000))
        for path in (self.work, served):
            os.chmod(path, 0o755)  # nginx's workers read it under an account of their own
        for name in os.listdir(served):
            os.chmod(os.path.join(served, name), 0o644)
        return served, target

    def test_control_registered_in_a_fresh_prefix_runs_the_page_snippet(self):
        self.install(self.out, self.unpacked)
        served, target = self.serve()

        with open(os.path.join(self.out, "korvendal-object.html"), encoding="utf-8") as f:
            snippet = f.read()
        with harness.Nginx(served) as server:
            page = snippet
            for example, used in (
                    ('"http://www.example.com/download/"', f'"{server.url()}"'),
                    ('"setup.exe"', f'"{target}"'),
                    ("// The control's window exists; the page's scripts run after this.", 'alert("OnCreate");'),
                    ("// Init returned: the window waits for the user to start the download.",
                     'alert("Init ok"); window.close();'),
                    ("// The control is missing", "window.close(); //")):
                self.assertIn(example, page)
                page = page.replace(example, used)
            run = run_page("<html><body>\n" + page + "</body></html>\n")
            log = server.access_log()
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.alerts, ["OnCreate", "Init ok"], run)
        self.assertIn("GET /skin.zip ", log)

    def run_site_page(self, url):
        """SITE_PAGE answering with `url`, against a server of its own; gives the page's
        lines, whether it fetched anything and whether its base folder exists."""
        served, target = self.serve()
        base = f"kvsites-{uuid.uuid4().hex}"
        with harness.Nginx(served) as server:
            page = SITE_PAGE.replace("BASE", base).replace("SERVER", server.url()).replace("TARGET", target)
            run = run_page(page, extra_args=["--url", url] if url else ())
            fetched = bool(server.access_log().strip())
        self.assertEqual(run.status, 0, run)
        folder = glob.glob(os.path.join(self.prefix, "drive_c", "users", "*", "Temp", base))
        return run.alerts, fetched, bool(folder)

    def assert_allowed(self, url):
        self.assertEqual(self.run_site_page(url), (["BasePath ok", "InfoFileName ok", "Init ok"], True, True), url)

    def assert_refused(self, url):
        # The host reports what a browser would refuse, then scripts the control all the same.
        self.assertEqual(self.run_site_page(url), ([
            "UNSAFE Installer data 0x80004005", "UNSAFE Installer scripting 0x80004005",
            "BasePath " + REFUSED, "InfoFileName " + REFUSED, "Init " + REFUSED], False, False), url)

    def policy(self, *entries):
        """The machine policy with `entries` (an empty key for none), in the registry view
        that both controls read."""
        harness.wine(["reg", "delete", POLICY, "/f", "/reg:64"])
        added = harness.wine(["reg", "add", POLICY, "/f", "/reg:64"])
        self.assertEqual(added.returncode, 0, added)
        for k, entry in enumerate(entries):
            added = harness.wine(["reg", "add", POLICY, "/v", f"site{k}", "/d", entry, "/f", "/reg:64"])
            self.assertEqual(added.returncode, 0, added)

    def test_site_list_packed_in_or_set_by_policy_locks_the_control_to_its_sites(self):
        out = os.path.join(self.work, "sites-dist")
        printed = package(out, "--allow-site", "https://example.com", "--allow-site", "https://*.example.org")
        self.assertIn("allowed sites: https://example.com https://*.example.org", printed)
        self.install(out)
        try:
            self.assert_allowed("https://shop.example.com/setup/index.html")
            self.assert_allowed("https://www.example.org/")
            self.assert_refused("https://example.net/")
            self.assert_refused("https://example.com.attacker.net/")
            self.assert_refused("https://example.com@attacker.net/")
            self.assert_refused("https://example.org/")  # subdomains only
            self.assert_refused(None)  # the page on disk: file:// is not listed

            # The policy replaces the packed list; an empty policy allows no site.
            self.policy("https://example.net", "not an entry")
            self.assert_allowed("https://example.net/")
            self.assert_refused("https://example.com/")
            self.policy()
            self.assert_refused("https://example.net/")
        finally:
            harness.wine(["reg", "delete", POLICY, "/f", "/reg:64"])
        # Without a list, any site.
        self.install(self.out, self.unpacked)
        self.assert_allowed("https://example.net/")


if __name__ == "__main__":
    harness.run()
