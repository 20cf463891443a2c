"""Registration of the built Korvendal.ocx for real: regsvr32 runs DllRegisterServer and
DllUnregisterServer under Wine, and reg.exe (of the same bitness, so that it sees the same
registry view) reads back what they wrote and removed."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402

CLSID = "{D0D05CAA-80C0-455A-B5C8-6433218CBA29}"
APPID = "{CF7DB100-A536-4B12-AA19-68C3F52245BE}"
LIBID = "{80E7FB26-1F4E-4854-830E-82A232056E0E}"
SAFE_FOR_INITIALIZING = "{7DD95802-9882-11CF-9FA9-00AA006C42C4}"
SAFE_FOR_SCRIPTING = "{7DD95801-9882-11CF-9FA9-00AA006C42C4}"
CLASS_KEY = "HKEY_CLASSES_ROOT\\CLSID\\" + CLSID

VALUE_LINE = re.compile(r"^    (.*?)    (REG_\w+)    ?(.*)$")


def reg_query(key):
    """The key and everything below it as {key path: {value name: data}}, with "" for the
    default value; None when the key does not exist."""
    result = harness.wine(["reg", "query", key, "/s"], timeout=60)
    if result.returncode != 0:
        return None
    tree = {}
    current = None
    for line in result.stdout.decode("cp949", errors="replace").splitlines():
        if not line.strip():
            continue
        match = VALUE_LINE.match(line)
        if match and current is not None:
            name, _, data = match.groups()
            # The default value's name is localized, "(기본)" under the Korean locale.
            if name.startswith("(") and name.endswith(")"):
                name = ""
            tree[current][name] = data
        elif not line.startswith(" "):
            current = line.strip()
            tree[current] = {}
    return tree


def regsvr32(*args):
    return harness.wine(["regsvr32"] + list(args), timeout=120)


class Registration(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ocx = harness.winpath(harness.program("Korvendal.ocx"))
        cls.was_registered = reg_query("HKCR\\Korvendal.Installer.1") is not None

    @classmethod
    def tearDownClass(cls):
        # Other tests of this prefix may rely on the control being registered.
        if cls.was_registered:
            regsvr32("/s", cls.ocx)

    def check(self, result, *args):
        if result.returncode != 0:
            # Without /s regsvr32 says what failed.
            loud = regsvr32(*[a for a in args if a != "/s"])
            self.fail(f"regsvr32 {' '.join(args)} gave {result.returncode}; again: {loud.returncode} "
                      f"{loud.stdout.decode('cp949', errors='replace')!r} {loud.stderr[-2000:]!r}")

    def register(self):
        self.check(regsvr32("/s", self.ocx), "/s", self.ocx)

    def unregister(self):
        self.check(regsvr32("/u", "/s", self.ocx), "/u", "/s", self.ocx)

    def start_unregistered(self):
        # Fails when nothing is registered (the type library is not there to remove); only
        # the outcome matters here.
        regsvr32("/u", "/s", self.ocx)
        self.assertIsNone(reg_query("HKCR\\CLSID\\" + CLSID))

    def test_registration_writes_every_key_and_removal_takes_them_out(self):
        self.start_unregistered()
        self.register()

        progid = reg_query("HKCR\\Korvendal.Installer.1")
        self.assertEqual({
            "HKEY_CLASSES_ROOT\\Korvendal.Installer.1": {"": "Installer Class"},
            "HKEY_CLASSES_ROOT\\Korvendal.Installer.1\\CLSID": {"": CLSID},
        }, progid)
        independent = reg_query("HKCR\\Korvendal.Installer")
        self.assertEqual({"": "Installer Class"}, independent["HKEY_CLASSES_ROOT\\Korvendal.Installer"])
        self.assertEqual({"": CLSID}, independent["HKEY_CLASSES_ROOT\\Korvendal.Installer\\CLSID"])
        self.assertEqual({"": "Korvendal.Installer.1"},
                         independent["HKEY_CLASSES_ROOT\\Korvendal.Installer\\CurVer"])

        tree = reg_query("HKCR\\CLSID\\" + CLSID)
        self.assertIsNotNone(tree)
        self.assertEqual({
            CLASS_KEY: {"": "Installer Class", "AppID": APPID},
            CLASS_KEY + "\\Control": {},
            CLASS_KEY + "\\Implemented Categories": {},
            CLASS_KEY + "\\Implemented Categories\\" + SAFE_FOR_INITIALIZING: {},
            CLASS_KEY + "\\Implemented Categories\\" + SAFE_FOR_SCRIPTING: {},
            CLASS_KEY + "\\InprocServer32": {"": self.ocx, "ThreadingModel": "Apartment"},
            CLASS_KEY + "\\MiscStatus": {"": "0"},
            CLASS_KEY + "\\MiscStatus\\1": {"": "131473"},
            CLASS_KEY + "\\ProgID": {"": "Korvendal.Installer.1"},
            CLASS_KEY + "\\Programmable": {},
            CLASS_KEY + "\\ToolboxBitmap32": {"": self.ocx + ", 103"},
            CLASS_KEY + "\\TypeLib": {"": LIBID},
            CLASS_KEY + "\\Version": {"": "1.0"},
            CLASS_KEY + "\\VersionIndependentProgID": {"": "Korvendal.Installer"},
        }, tree)

        appid = reg_query("HKCR\\AppID\\" + APPID)
        self.assertEqual({"HKEY_CLASSES_ROOT\\AppID\\" + APPID: {"": "Korvendal"}}, appid)
        dll = reg_query("HKCR\\AppID\\Korvendal.DLL")
        self.assertEqual({"HKEY_CLASSES_ROOT\\AppID\\Korvendal.DLL": {"AppID": APPID}}, dll)

        platform = "win64" if harness.Context.arch == "x64" else "win32"
        typelib = reg_query("HKCR\\TypeLib\\" + LIBID)
        self.assertIsNotNone(typelib)
        version_key = "HKEY_CLASSES_ROOT\\TypeLib\\" + LIBID + "\\1.0"
        self.assertEqual("Korvendal 1.0 형식 라이브러리", typelib[version_key][""])
        self.assertEqual(self.ocx, typelib[version_key + "\\0\\" + platform][""])

        self.unregister()
        for key in ("HKCR\\Korvendal.Installer.1", "HKCR\\Korvendal.Installer", "HKCR\\CLSID\\" + CLSID,
                    "HKCR\\AppID\\" + APPID, "HKCR\\AppID\\Korvendal.DLL",
                    "HKCR\\TypeLib\\" + LIBID + "\\1.0\\0\\" + platform):
            self.assertIsNone(reg_query(key), key)
        # The TypeLib key is shared by the 32-bit and the 64-bit registry views: it stays only
        # while the other bitness's control is registered too.
        typelib = reg_query("HKCR\\TypeLib\\" + LIBID)
        if typelib is not None:
            other = "win32" if platform == "win64" else "win64"
            self.assertIn(version_key + "\\0\\" + other, typelib)
        # The shared parents stay: only their children named by the scripts went.
        for key in ("HKCR\\CLSID", "HKCR\\AppID"):
            result = harness.wine(["reg", "query", key], timeout=60)
            self.assertEqual(0, result.returncode, key)

    def test_second_unregistration_fails_on_the_missing_type_library(self):
        self.register()
        self.unregister()
        result = regsvr32("/u", "/s", self.ocx)
        self.assertNotEqual(0, result.returncode)
        self.assertIsNone(reg_query("HKCR\\CLSID\\" + CLSID))
        self.assertIsNone(reg_query("HKCR\\AppID\\Korvendal.DLL"))


if __name__ == "__main__":
    harness.run()
