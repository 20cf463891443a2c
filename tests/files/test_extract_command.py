"""kvtool extract ARCHIVE DEST under Wine, over archives made here by Python's zipfile and
Info-ZIP zip: what lands on disk, what is refused, and the result line."""
import contextlib
import hashlib
import os
import shutil
import stat
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402
import archive_maker as am  # noqa: E402


@contextlib.contextmanager
def current_folder(path):
    saved = os.getcwd()
    os.chdir(path)
    try:
        yield
    finally:
        os.chdir(saved)


def tree(root):
    """Every file and folder below root, relative, '/'-separated, sorted."""
    found = []
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            found.append(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return sorted(found)


def pictures(count):
    """Small distinct JPEG-like payloads, so that contents can be told apart."""
    return {f"pic{i:02d}.jpg": b"\xff\xd8\xff\xe0" + hashlib.sha256(bytes([i])).digest() * (i + 1)
            for i in range(count)}


class ExtractCommand(unittest.TestCase):
    def setUp(self):
        self.sandbox = tempfile.mkdtemp(prefix="kv-extract-")
        self.dest = os.path.join(self.sandbox, "base", "skin")
        os.makedirs(self.dest)
        self.root = os.path.join(self.sandbox, "root")  # kvtool's current folder
        os.makedirs(self.root)
        self.archive = os.path.join(self.sandbox, "skin.zip")

    def tearDown(self):
        for folder, dirs, files in os.walk(self.sandbox):
            for name in dirs + files:
                os.chmod(os.path.join(folder, name), 0o755)
        shutil.rmtree(self.sandbox, ignore_errors=True)

    def extract(self, archive=None, dest=None):
        """Runs kvtool extract from the root folder; returns (exit status, WROTE paths relative
        to the destination, result word)."""
        dest_win = harness.winpath(self.dest) if dest is None else dest
        with current_folder(self.root):
            done = harness.wine([harness.program("kvtool.exe"), "extract",
                                 harness.winpath(archive or self.archive), dest_win])
        lines = done.stdout.decode("utf-8").splitlines()
        self.assertTrue(lines and lines[-1].startswith("RESULT "), done)
        prefix = harness.winpath(self.dest) + "\\"
        wrote = []
        for line in lines[:-1]:
            self.assertTrue(line.startswith("WROTE " + prefix), line)
            wrote.append(line[len("WROTE " + prefix):])
        return done.returncode, wrote, lines[-1].split(" ", 1)[1]

    def read(self, rel):
        with open(os.path.join(self.dest, rel), "rb") as f:
            return f.read()

    def outside(self):
        """What exists in the sandbox apart from the archive, the destination and the root."""
        return [p for p in tree(self.sandbox)
                if p not in ("skin.zip", "base", "base/skin", "root")
                and not p.startswith("base/skin/") and not p.startswith("root/")]

    # --- archives that unpack -------------------------------------------------------------

    def test_skin_at_top_level_lands_in_the_destination(self):
        files = {"Config.ini": b"[Main]\r\nTEXT_COLOR=255\r\n", **pictures(21)}
        members = []
        for i, (name, data) in enumerate(files.items()):
            method = zipfile.ZIP_STORED if i % 2 else zipfile.ZIP_DEFLATED
            members.append((am.info(name, method=method), data))
        am.write_zip(self.archive, members)
        status, wrote, result = self.extract()
        self.assertEqual((status, result), (0, "true"))
        self.assertEqual(wrote, list(files))
        self.assertEqual(tree(self.dest), sorted(files))
        for name, data in files.items():
            self.assertEqual(self.read(name), data, name)

    def test_info_zip_archive_with_folders_and_unix_modes(self):
        content = {"Config.ini": b"[Main]\r\n", "img": None, "img/bk.jpg": b"\xff\xd8bk" * 3000,
                   "img/btn": None, "img/btn/start.jpg": (b"\xff\xd8start", 0o444)}
        for options in ((), ("-X",), ("-X", "-D"), ("-0",)):
            with self.subTest(options=options):
                shutil.rmtree(self.dest)
                os.makedirs(self.dest)
                if os.path.exists(self.archive):
                    os.remove(self.archive)
                am.info_zip(self.archive, content, options)
                status, wrote, result = self.extract()
                self.assertEqual((status, result), (0, "true"))
                self.assertEqual(sorted(wrote), ["Config.ini", "img\\bk.jpg", "img\\btn\\start.jpg"])
                self.assertEqual(tree(self.dest), ["Config.ini", "img", "img/bk.jpg", "img/btn",
                                                   "img/btn/start.jpg"])
                self.assertEqual(self.read("img/bk.jpg"), b"\xff\xd8bk" * 3000)
                # r--r--r-- in the archive; no extracted file stays read-only.
                mode = os.stat(os.path.join(self.dest, "img/btn/start.jpg")).st_mode
                self.assertTrue(mode & stat.S_IWUSR)

    def test_existing_read_only_file_is_replaced(self):
        target = os.path.join(self.dest, "Config.ini")
        with open(target, "wb") as f:
            f.write(b"an older skin")
        os.chmod(target, 0o444)
        am.write_zip(self.archive, [(am.info("Config.ini", am.UNIX_READ_ONLY), b"new skin")])
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (0, ["Config.ini"], "true"))
        self.assertEqual(self.read("Config.ini"), b"new skin")
        self.assertTrue(os.stat(target).st_mode & stat.S_IWUSR)

    def test_destination_with_trailing_backslash(self):
        am.write_zip(self.archive, [(am.info("img/bk.jpg"), b"bk")])
        status, wrote, result = self.extract(dest=harness.winpath(self.dest) + "\\")
        self.assertEqual((status, wrote, result), (0, ["img\\bk.jpg"], "true"))

    def test_folder_members_with_and_without_separator(self):
        am.write_zip(self.archive, [(am.info("a/b/", am.UNIX_DIR | 0x10), b""),
                                    (am.info("c\\d\\", 0x10), b""),
                                    (am.info("solo", 0x10), b""),
                                    (am.info("x/inner", am.UNIX_DIR), b"")])
        status, wrote, result = self.extract()
        # Folders alone are no skin.
        self.assertEqual((status, wrote, result), (1, [], "false"))
        # Known as folders by their attributes only, and still below the destination; nothing
        # lands in the current folder.
        self.assertEqual(tree(self.dest), ["a", "a/b", "c", "c/d", "solo", "x", "x/inner"])
        self.assertEqual(tree(self.root), [])
        self.assertEqual(self.outside(), [])

    def test_korean_member_name(self):
        am.write_zip(self.archive, [(am.info("XXXXXXXXXXXXX"), b"korean picture")])
        am.rename(self.archive, b"XXXXXXXXXXXXX", "스킨/배경.jpg".encode("cp949"))
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (0, ["스킨\\배경.jpg"], "true"))
        self.assertEqual(self.read("스킨/배경.jpg"), b"korean picture")

    def test_wrong_crc_with_clean_data_counts_as_success(self):
        am.write_zip(self.archive, [(am.info("a.txt"), b"clean data\n")])
        am.patch(self.archive, b"a.txt", crc=0xDEADBEEF)
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (0, ["a.txt"], "true"))
        self.assertEqual(self.read("a.txt"), b"clean data\n")

    # --- archives that fail -----------------------------------------------------------------

    def test_damaged_second_member_stops_the_extraction(self):
        good = bytes(range(256)) * 160
        am.damaged_second_member(self.archive, b"first\n", good, b"third\n")
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (1, ["first.txt"], "false"))
        self.assertEqual(tree(self.dest), ["first.txt", "second.txt"])
        partial = self.read("second.txt")
        self.assertTrue(0 < len(partial) < len(good) and good.startswith(partial), len(partial))

    def test_files_that_are_no_skin_archive(self):
        with open(os.path.join(self.sandbox, "page.zip"), "wb") as f:
            f.write(b"<!DOCTYPE html><html><body>502 Bad Gateway</body></html>\n")
        am.write_zip(os.path.join(self.sandbox, "empty.zip"), [])
        for name in ("page.zip", "empty.zip", "missing.zip"):
            with self.subTest(name=name):
                status, wrote, result = self.extract(os.path.join(self.sandbox, name))
                self.assertEqual((status, wrote, result), (1, [], "false"))
                self.assertEqual(tree(self.dest), [])

    def test_names_leading_out_of_the_destination_are_refused(self):
        token = os.path.basename(self.sandbox)
        drive_c = os.path.join(harness.prefix(), "drive_c")
        hostile = [
            ("../escape.txt", os.path.join(self.sandbox, "base", "escape.txt")),
            ("..\\escape.txt", os.path.join(self.sandbox, "base", "escape.txt")),
            ("img/../../escape.txt", os.path.join(self.sandbox, "base", "escape.txt")),
            ("img\\..\\..\\..\\escape.txt", os.path.join(self.sandbox, "escape.txt")),
            ("../", os.path.join(self.sandbox, "base")),
            ("a/.../escape.txt", None),
            ("a\\.. \\escape.txt", None),
            (f"/tmp/{token}-abs.txt", f"/tmp/{token}-abs.txt"),
            (f"\\tmp\\{token}-abs.txt", f"/tmp/{token}-abs.txt"),
            (f"Z:/tmp/{token}-drive.txt", f"/tmp/{token}-drive.txt"),
            (f"C:{token}-drive.txt", os.path.join(drive_c, f"{token}-drive.txt")),
            (f"C:\\{token}-drive.txt", os.path.join(drive_c, f"{token}-drive.txt")),
            (f"\\\\127.0.0.1\\share\\{token}.txt", None),
            (f"//127.0.0.1/share/{token}.txt", None),
            ("Config.ini:hidden", None),
            ("img/con.jpg", None),
        ]
        for name, target in hostile:
            with self.subTest(name=name):
                am.write_zip(self.archive, [(am.info("first.txt"), b"first"),
                                            (am.info(name), b"hostile"),
                                            (am.info("last.txt"), b"last")])
                status, wrote, result = self.extract()
                self.assertEqual((status, wrote, result), (1, ["first.txt"], "false"))
                self.assertEqual(tree(self.dest), ["first.txt"])
                self.assertEqual(self.outside(), [])
                if target:
                    self.assertFalse(os.path.exists(target) and os.path.isfile(target), target)
                os.remove(os.path.join(self.dest, "first.txt"))

    def test_folder_member_without_separator_cannot_leave_the_destination(self):
        for name in ("../up", "..\\up", "a/../../up"):
            with self.subTest(name=name):
                am.write_zip(self.archive, [(am.info(name, 0x10), b""),
                                            (am.info("after.txt"), b"after")])
                status, wrote, result = self.extract()
                self.assertEqual((status, wrote, result), (1, [], "false"))
                self.assertEqual(self.outside(), [])
                self.assertEqual(tree(self.root), [])
                self.assertEqual(tree(self.dest), [])

    def test_long_names(self):
        # The destination here is about 40 bytes long; 200 more still make a legal path.
        fits = "f" * 196 + ".jpg"
        am.write_zip(self.archive, [(am.info(fits), b"fits"), (am.info("n" * 260), b"too long"),
                                    (am.info("after.txt"), b"after")])
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (1, [fits], "false"))
        self.assertEqual(tree(self.dest), [fits])

    def test_name_longer_than_a_path_allows(self):
        am.write_zip(self.archive, [(am.info("first.txt"), b"first"), (am.info("n" * 250), b"x")])
        status, wrote, result = self.extract()
        self.assertEqual((status, wrote, result), (1, ["first.txt"], "false"))
        self.assertEqual(tree(self.dest), ["first.txt"])

    def test_usage(self):
        done = harness.wine([harness.program("kvtool.exe"), "extract", "only-one"])
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stdout, b"")


if __name__ == "__main__":
    harness.run()
