"""Writes the archives that files_archive_tests extracts into the folder given as the only
argument: ordinary ones from Python's zipfile and Info-ZIP zip, and broken ones."""
import calendar
import os
import sys
import zipfile

import archive_maker as am

# 2021-03-03 20:06:08 UTC, which Info-ZIP stores as 05:06:08 on the 4th when it runs in Seoul.
STAMP_UTC_EPOCH = calendar.timegm((2021, 3, 3, 20, 6, 8))
CP949_NAME = "스킨/배경.jpg".encode("cp949")


def make(out):
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)

    am.write_zip(p("attributes.zip"), [
        (am.info("plain.txt", am.UNIX_FILE | 0x20), b"plain\n"),
        (am.info("readonly.txt", am.UNIX_READ_ONLY), b"read-only in the archive\n"),
        (am.info("hidden.txt", am.UNIX_FILE | 0x22), b"hidden\n"),
        (am.info("system.txt", am.UNIX_FILE | 0x04, method=zipfile.ZIP_STORED), b"system\n"),
        (am.info("nomode.txt", 0), b"no unix mode\n"),
        (am.info("dosro.txt", am.UNIX_FILE | 0x01), b"dos read-only\n"),
        (am.info("old.txt", date_time=(1999, 12, 31, 23, 59, 58)), b"x" * 5000),
    ])
    # zipfile writes rw------- for external attributes of 0; tools without Unix modes store 0.
    am.patch(p("attributes.zip"), b"nomode.txt", external=0)

    tree = {"Config.ini": b"[Main]\r\nTEXT_COLOR=0\r\n",
            "ro.jpg": (b"\xff\xd8picture", 0o444),
            "img": None,
            "img/bk.jpg": b"\xff\xd8background"}
    for options, name in (((), "infozip.zip"), (("-X",), "infozip_plain.zip")):
        os.environ["TZ"] = "Asia/Seoul"  # zip stores local time, as Windows tools do
        am.info_zip(p(name), tree, options, mtime=STAMP_UTC_EPOCH)

    am.write_zip(p("folders.zip"), [
        (am.info("a/b/", am.UNIX_DIR | 0x10), b""),
        (am.info("img/bk.jpg"), b"background"),
        (am.info("solo", 0x10), b""),  # a folder known by its attribute only
        (am.info("Config.ini"), b"[Main]\r\n"),
    ])

    # One file under two names: the second member replaces the first on a file system that
    # ignores case.
    am.write_zip(p("case_twins.zip"), [
        (am.info("pic.jpg"), b"first"),
        (am.info("PIC.JPG"), b"second"),
        (am.info("other.txt"), b"other"),
    ])

    am.write_zip(p("empty.zip"), [])
    with open(p("notzip.zip"), "wb") as f:
        f.write(b"<html><body><h1>404 Not Found</h1></body></html>\n")
    with open(p("attributes.zip"), "rb") as f:
        whole = f.read()
    with open(p("truncated.zip"), "wb") as f:
        f.write(whole[:len(whole) // 2])

    am.damaged_second_member(p("damaged.zip"), b"first\n", bytes(range(256)) * 160, b"third\n")

    am.write_zip(p("badcrc.zip"), [(am.info("data.txt"), b"clean data, wrong checksum\n")])
    am.patch(p("badcrc.zip"), b"data.txt", crc=0x12345678)

    for name, where, fields in (("mismatch_crc.zip", "local", {"crc": 1}),
                                ("mismatch_size.zip", "local", {"size": 3}),
                                ("mismatch_method.zip", "local", {"method": 0}),
                                ("bzip2.zip", "both", {"method": 12})):
        am.write_zip(p(name), [(am.info("ok.txt"), b"fine\n"), (am.info("member.txt"), b"member\n")])
        am.patch(p(name), b"member.txt", where, **fields)

    # The last member's local extra field claims more bytes than the file holds.
    am.write_zip(p("badextra.zip"), [(am.info("ok.txt"), b"fine\n"), (am.info("member.txt"), b"m")])
    am.patch(p("badextra.zip"), b"member.txt", "local", extra_len=0xFFFF)

    am.write_zip(p("names.zip"), [
        (am.info("n" * 259), b"259"),
        (am.info("n" * 260), b"260"),
        (am.info("nulQname.txt"), b"nul"),
        (am.info("XXXXXXXXXXXXX"), b"korean"),
    ])
    am.rename(p("names.zip"), b"nulQname.txt", b"nul\0name.txt")
    am.rename(p("names.zip"), b"XXXXXXXXXXXXX", CP949_NAME)

    am.write_zip(p("korean.zip"), [(am.info("XXXXXXXXXXXXX"), b"korean picture")])
    am.rename(p("korean.zip"), b"XXXXXXXXXXXXX", CP949_NAME)


if __name__ == "__main__":
    make(sys.argv[1])
