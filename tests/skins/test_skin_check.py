"""kvtool skin-check over the default skin and over copies of it broken on purpose: the lines
it prints and the exit status that says whether Init would fail."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402


def default_skin():
    return os.path.join(harness.Context.build, "skins", "default")


def check(path):
    run = harness.wine([harness.program("kvtool.exe"), "skin-check", harness.winpath(path)])
    return run.returncode, run.stdout.decode("utf-8").splitlines()


def replace_keys(config, **values):
    """Config.ini text with keys replaced (a value of None removes the key)."""
    lines = []
    for line in config.splitlines():
        key = line.split("=", 1)[0]
        if key in values:
            if values[key] is not None:
                lines.append(f"{key}={values[key]}")
        else:
            lines.append(line)
    return "\n".join(lines) + "\n"


class SkinCheck(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="kv-skincheck-")
        self.addCleanup(shutil.rmtree, self.work, ignore_errors=True)
        with open(os.path.join(default_skin(), "Config.ini"), encoding="utf-8") as f:
            self.config = f.read()

    def archive(self, config, members=()):
        """The default skin's plain pictures, `config` as Config.ini, then `members` (name,
        bytes)."""
        path = os.path.join(self.work, "skin.zip")
        with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
            z.writestr("Config.ini", config)
            for name in sorted(os.listdir(default_skin())):
                if name.endswith(".jpg") and "@2x" not in name and name not in dict(members):
                    z.write(os.path.join(default_skin(), name), name)
            for name, data in members:
                z.writestr(name, data)
        return path

    def test_the_default_skin_has_no_problem_as_folder_or_archive(self):
        archive = os.path.join(harness.Context.build, "skins", "default.zip")
        for path in (default_skin(), archive):
            self.assertEqual(check(path), (0, []), path)

    def test_a_short_or_missing_key_fails_init_at_the_first_one(self):
        config = replace_keys(self.config, file_name="10,20,200", btn_close=None)
        status, lines = check(self.archive(config))
        self.assertEqual(status, 1, lines)
        self.assertIn("ERROR file_name: has 3 field(s), needs 4: Init fails here (E_INVALIDARG) "
                      "and places nothing after it", lines)
        self.assertIn("ERROR btn_close: missing or empty", lines)

    def test_warnings_leave_init_working(self):
        small = subprocess.run(["convert", "-size", "60x20", "xc:red", "jpg:-"],
                               capture_output=True, check=True).stdout
        config = replace_keys(self.config, text_color="31,x,300", down_folder="100,300,256,16",
                              down_status="100,170,256,16")
        members = [("btn_stop_mo.jpg", small), ("btn_run_di.jpg", b"no picture"),
                   ("btn_close@2x.jpg", small), ("extra/notes.txt", b"x"), ("../outside.jpg", small),
                   ("late.jpg", small)]
        status, lines = check(self.archive(config, members))
        self.assertEqual(status, 0, lines)
        self.assertEqual(sorted(lines), sorted([
            "WARNING extra/notes.txt: below the archive's top level: the control reads skin "
            "files from the top level only",
            "WARNING ../outside.jpg: a name the control refuses (a drive, a root, \"..\", a device "
            "or a stream): unpacking stops here",
            "WARNING btn_run_di.jpg: unreadable: not a picture the control's loader reads",
            "WARNING btn_stop_mo.jpg: 60x20, not the size of btn_run.jpg (76x28): drawn cut or short",
            "WARNING btn_close@2x.jpg: 60x20, not twice the size of btn_close.jpg (76x28): drawn "
            "scaled to 152x56 at 192 dpi",
            "WARNING text_color: field 2 \"x\" is not a number: read as 0",
            "WARNING text_color: field 3 \"300\" is taken as 44",
            "WARNING down_status: 100,170,256,16 overlaps down_speed (100,160,256,16)",
            "WARNING down_folder: 100,300,256,16 lies outside the window (378x311)",
        ]))


if __name__ == "__main__":
    harness.run()
