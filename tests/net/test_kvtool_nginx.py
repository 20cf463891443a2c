"""kvtool size/get against a real nginx on loopback: plain files, resume with a 206
answer, stop and resume, a 301 with an absolute Location, 404, and a file beyond 4 GiB."""
import os
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from kvtool_run import kvtool, progress_lines, warm_up  # noqa: E402

SIZE = 3_000_000
BIG = 4 * 1024 ** 3 + 3 * 1024 * 1024  # past 4 GiB, sparse on both sides
TAIL = 2 * 1024 * 1024                 # real bytes at the end of the big file


def setUpModule():
    warm_up()


class NginxTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="kv-nginx-root-")
        cls.data = os.urandom(SIZE)
        with open(os.path.join(cls.root, "file.bin"), "wb") as f:
            f.write(cls.data)
        with open(os.path.join(cls.root, "new.bin"), "wb") as f:
            f.write(cls.data[:123_456])
        cls.tail = os.urandom(TAIL)
        with open(os.path.join(cls.root, "big.bin"), "wb") as f:
            f.truncate(BIG - TAIL)
            f.seek(BIG - TAIL)
            f.write(cls.tail)
        # nginx's worker runs as another user: the served folder must be readable to it.
        os.chmod(cls.root, 0o755)
        cls.server = harness.Nginx(
            cls.root, extra="location = /old { return 301 http://127.0.0.1:$server_port/new.bin; }")
        cls.server.__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.server.__exit__(None, None, None)
        shutil.rmtree(cls.root, ignore_errors=True)

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="kv-net-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def local(self, name):
        return os.path.join(self.dir, name)

    def get(self, path, name, *extra):
        return kvtool("get", self.server.url(path), harness.winpath(self.local(name)), *extra)

    def statuses(self, path):
        """Statuses nginx logged for GETs of path, in order."""
        return re.findall(r'"GET ' + re.escape(path) + r' HTTP/1.1" (\d+)', self.server.access_log())

    def test_size_and_plain_download(self):
        self.assertEqual((0, [f"SIZE {SIZE}"]), kvtool("size", self.server.url("file.bin")))
        code, lines = self.get("file.bin", "file.bin")
        self.assertEqual(0, code, lines)
        self.assertEqual([f"SIZE {SIZE}", "BEGIN"], lines[:2])
        self.assertEqual("DONE", lines[-1])
        progress = progress_lines(lines)
        self.assertEqual(SIZE, sum(chunk for chunk, _ in progress))
        self.assertEqual(SIZE, progress[-1][1])
        self.assertTrue(all(chunk <= 102399 for chunk, _ in progress), "one receive per block")
        self.assertEqual(harness.sha256_file(os.path.join(self.root, "file.bin")),
                         harness.sha256_file(self.local("file.bin")))

    def test_resume_with_partial_content(self):
        partial = 1_000_000
        with open(self.local("part.bin"), "wb") as f:
            f.write(self.data[:partial])
        code, lines = self.get("file.bin", "part.bin")
        self.assertEqual(0, code, lines)
        self.assertEqual("DONE", lines[-1])
        progress = progress_lines(lines)
        self.assertEqual(partial, progress[0][1] - progress[0][0])
        self.assertEqual(SIZE - partial, sum(chunk for chunk, _ in progress[1:]))
        self.assertEqual("206", self.statuses("/file.bin")[-1])
        self.assertEqual(harness.sha256_file(os.path.join(self.root, "file.bin")),
                         harness.sha256_file(self.local("part.bin")))

    def test_times_are_those_of_the_transfer(self):
        # The benchmark's engine figures: the line follows the transfer's own, and its wall
        # time holds at least the pauses of the passes the file needed.
        code, lines = self.get("file.bin", "timed.bin", "--times")
        self.assertEqual(0, code, lines)
        self.assertEqual("DONE", lines[-2])
        word, wall, user, kernel = lines[-1].split()
        self.assertEqual("TIMES", word)
        passes = len(progress_lines(lines))
        self.assertGreaterEqual(int(wall), passes * 10_000)
        self.assertLess(int(wall), 60_000_000)
        self.assertGreaterEqual(min(int(user), int(kernel)), 0)

    def test_complete_local_file_needs_no_download(self):
        with open(self.local("done.bin"), "wb") as f:
            f.write(self.data)
        before = len(self.statuses("/file.bin"))
        code, lines = self.get("file.bin", "done.bin")
        self.assertEqual((0, [f"SIZE {SIZE}", f"PROGRESS {SIZE} {SIZE}", "DONE"]), (code, lines))
        self.assertEqual(2, len(self.statuses("/file.bin")) - before, "probe and size query only")

    def test_stop_and_resume(self):
        code, lines = self.get("file.bin", "stop.bin", "--stop-after-progress", "5")
        self.assertEqual(0, code, lines)
        self.assertEqual("STOPPED", lines[-1])
        progress = progress_lines(lines)
        self.assertEqual(5, len(progress))
        kept = os.path.getsize(self.local("stop.bin"))
        self.assertEqual(progress[-1][1], kept)
        self.assertLess(kept, SIZE)

        code, lines = self.get("file.bin", "stop.bin")
        self.assertEqual(0, code, lines)
        self.assertEqual("DONE", lines[-1])
        self.assertEqual(harness.sha256_file(os.path.join(self.root, "file.bin")),
                         harness.sha256_file(self.local("stop.bin")))

    def test_301_with_absolute_location(self):
        self.assertEqual((0, ["SIZE 123456"]), kvtool("size", self.server.url("old")))
        code, lines = self.get("old", "moved.bin")
        self.assertEqual(0, code, lines)
        self.assertEqual("DONE", lines[-1])
        self.assertEqual(harness.sha256_file(os.path.join(self.root, "new.bin")),
                         harness.sha256_file(self.local("moved.bin")))

    def test_404(self):
        error = "ERROR 404 Not Found - 문서를 찾을 수 없습니다."
        self.assertEqual((1, [error]), kvtool("size", self.server.url("missing.bin")))
        code, lines = self.get("missing.bin", "missing.bin")
        self.assertEqual((1, [error, "BEGIN", error]), (code, lines))

    def test_resume_beyond_four_gigabytes(self):
        self.assertEqual((0, [f"SIZE {BIG}"]), kvtool("size", self.server.url("big.bin")))
        # A sparse local copy that lacks only the last megabyte: the resume offset and the
        # counters need more than 32 bits, and the transfer stays short.
        existing = BIG - 1024 * 1024
        with open(self.local("big.bin"), "wb") as f:
            f.truncate(BIG - TAIL)
            f.seek(BIG - TAIL)
            f.write(self.tail[:existing - (BIG - TAIL)])
        code, lines = self.get("big.bin", "big.bin")
        self.assertEqual(0, code, lines)
        self.assertEqual([f"SIZE {BIG}", "BEGIN"], lines[:2])
        self.assertEqual("DONE", lines[-1])
        progress = progress_lines(lines)
        self.assertEqual(existing, progress[0][1] - progress[0][0])
        self.assertEqual(BIG, progress[-1][1])
        self.assertEqual("206", self.statuses("/big.bin")[-1])
        self.assertEqual(BIG, os.path.getsize(self.local("big.bin")))
        with open(self.local("big.bin"), "rb") as f:
            f.seek(BIG - TAIL)
            self.assertEqual(self.tail, f.read())


if __name__ == "__main__":
    harness.run()
