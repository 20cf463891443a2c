"""kvtool size/get against a misbehaving server of ours: the answers nginx never gives,
the request bytes on the wire and the bytes that end up on disk."""
import hashlib
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from kvtool_run import kvtool, progress_lines, warm_up  # noqa: E402
from misbehaving_server import MisbehavingServer, close_at_once, never_answer, serve  # noqa: E402

BODY = os.urandom(300_000)  # a few receives of the engine's 102400-byte buffer
TRUNCATED = "ERROR -1 서버와의 연결이 끊어져 파일을 끝까지 받지 못했습니다."
STATUS_LINE_TEXT = "HTTP 응답 코드를 분석할 수 없습니다.\\r\\n"
LENGTH_TEXT = "지정된 파일의 크기를 알 수가 없습니다.\\r\\n"
FOUND = "ERROR 302 알수없는 HTTP 오류입니다."
SILENT = "ERROR 10060 서버의 응답이 없어 연결을 끊었습니다."


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def setUpModule():
    warm_up()


class MisbehavingServerTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="kv-net-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def local(self, name):
        return os.path.join(self.dir, name)

    def get(self, server, path, name, *extra):
        return kvtool("get", server.url(path), harness.winpath(self.local(name)), *extra)

    def assertFileIs(self, name, data):
        with open(self.local(name), "rb") as f:
            self.assertEqual(sha256(data), sha256(f.read()))

    def assertFinished(self, lines, size_line):
        self.assertEqual(size_line, lines[0])
        self.assertEqual("BEGIN", lines[1])
        self.assertEqual("DONE", lines[-1])
        progress = progress_lines(lines)
        self.assertEqual(len(lines) - 3, len(progress), lines)
        return progress


class WireBytes(MisbehavingServerTest):
    def test_request_texts_exactly(self):
        # The host is named in mixed case so that the lower-casing shows; the path keeps
        # its case and its query, and no port reaches the Host line.
        path = "/Mixed/Case.BIN?Name=Value"
        with MisbehavingServer({path: serve(BODY, honour_range=True)}) as server:
            url = f"http://LocalHost:{server.port}{path}"
            code, lines = kvtool("get", url, harness.winpath(self.local("wire.bin")))
            self.assertEqual(0, code, lines)
            plain = f"GET {path} HTTP/1.1\r\nHost: localhost\r\n\r\n".encode()
            ranged = f"GET {path} HTTP/1.1\r\nRange: bytes=0-\r\nHost: localhost\r\n\r\n".encode()
            # Probe and size query, then probe and download.
            self.assertEqual([plain, plain, plain, ranged], server.requests_for(path))
        self.assertFileIs("wire.bin", BODY)

    def test_https_scheme_never_sends_the_request_in_plain_text(self):
        # This server waits for a request and answers nothing to a TLS hello; the engine
        # gives up on its silence without ever having written an HTTP request.
        with MisbehavingServer({"/s.bin": serve(b"secure")}) as server:
            code, lines = kvtool("size", f"https://127.0.0.1:{server.port}/s.bin",
                                 "--silence-limit", "1000")
            self.assertEqual((1, [SILENT]), (code, lines))
            self.assertEqual([], server.requests_for("/s.bin"))


class StatusLines(MisbehavingServerTest):
    def test_http_1_0_is_refused_with_the_block(self):
        with MisbehavingServer({"/old.bin": serve(b"hello", status_line="HTTP/1.0 200 OK")}) as server:
            code, lines = kvtool("size", server.url("/old.bin"))
            self.assertEqual(1, code)
            self.assertEqual(["ERROR -1 " + STATUS_LINE_TEXT +
                              "HTTP/1.0 200 OK\\r\\nContent-Length: 5\\r\\n\\r\\nhello"], lines)

            code, lines = self.get(server, "/old.bin", "old.bin")
            self.assertEqual(1, code)
            self.assertEqual(3, len(lines), lines)
            self.assertEqual("BEGIN", lines[1])
            self.assertTrue(lines[2].startswith("ERROR -1 " + STATUS_LINE_TEXT + "HTTP/1.0 200 OK"))
            # The file was created before the answer came; it stays behind, empty.
            self.assertEqual(0, os.path.getsize(self.local("old.bin")))

    def test_header_split_over_two_segments(self):
        # Cut inside the version and inside the length header's name.
        for cut in (6, 27):
            with self.subTest(cut=cut), MisbehavingServer(
                    {"/split.bin": serve(BODY, split_at=cut, pause=0.3)}) as server:
                code, lines = kvtool("size", server.url("/split.bin"))
                self.assertEqual((0, [f"SIZE {len(BODY)}"]), (code, lines))
                name = f"split{cut}.bin"
                code, lines = self.get(server, "/split.bin", name)
                self.assertEqual(0, code, lines)
                progress = self.assertFinished(lines, f"SIZE {len(BODY)}")
                self.assertEqual(len(BODY), progress[-1][1])
                self.assertFileIs(name, BODY)


class Lengths(MisbehavingServerTest):
    def test_no_length_reads_until_the_server_closes(self):
        with MisbehavingServer({"/nolen.bin": serve(BODY, length_header=None)}) as server:
            code, lines = self.get(server, "/nolen.bin", "nolen.bin")
            self.assertEqual(0, code, lines)
            self.assertTrue(lines[0].startswith("ERROR -1 " + LENGTH_TEXT + "HTTP/1.1 200 OK\\r\\n\\r\\n"))
            progress = self.assertFinished(lines, lines[0])
            self.assertEqual(len(BODY), sum(chunk for chunk, _ in progress))
            self.assertGreater(len(progress), 2, "the body came in several blocks")
        self.assertFileIs("nolen.bin", BODY)

    def test_lower_case_length_header(self):
        with MisbehavingServer({"/lower.bin": serve(BODY, length_header="content-length")}) as server:
            self.assertEqual((0, [f"SIZE {len(BODY)}"]), kvtool("size", server.url("/lower.bin")))
            code, lines = self.get(server, "/lower.bin", "lower.bin")
            self.assertEqual(0, code, lines)
            self.assertFinished(lines, f"SIZE {len(BODY)}")
        self.assertFileIs("lower.bin", BODY)

    def test_odd_case_length_header(self):
        for spelling in ("Content-length", "CONTENT-LENGTH"):
            with self.subTest(spelling=spelling), MisbehavingServer(
                    {"/odd.bin": serve(BODY, length_header=spelling)}) as server:
                code, lines = kvtool("size", server.url("/odd.bin"))
                self.assertEqual(1, code)
                self.assertEqual(1, len(lines))
                self.assertTrue(lines[0].startswith("ERROR -1 " + LENGTH_TEXT))
                # The download still finds its length and gets the whole file.
                code, lines = self.get(server, "/odd.bin", "odd.bin")
                self.assertEqual(0, code, lines)
                self.assertEqual("DONE", lines[-1])
                self.assertFileIs("odd.bin", BODY)


class BrokenConnections(MisbehavingServerTest):
    def test_closed_before_any_byte(self):
        with MisbehavingServer({"/gone.bin": close_at_once}) as server:
            url = server.url("/gone.bin")
            missing = f"ERROR 404 지정된 파일({url})이 존재하지 않습니다."
            self.assertEqual((1, [missing]), kvtool("size", url))
            code, lines = self.get(server, "/gone.bin", "gone.bin")
            self.assertEqual((1, [missing, "BEGIN", missing]), (code, lines))

    def test_closed_mid_body_fails_and_resumes(self):
        cut = 50_000
        with MisbehavingServer({"/cut.bin": serve(BODY, honour_range=True, cut_at=cut)}) as server:
            code, lines = self.get(server, "/cut.bin", "cut.bin")
            self.assertEqual(1, code)
            self.assertEqual(TRUNCATED, lines[-1])
            self.assertEqual(cut, progress_lines(lines)[-1][1])
            self.assertFileIs("cut.bin", BODY[:cut])

            code, lines = self.get(server, "/cut.bin", "cut.bin")
            self.assertEqual(0, code, lines)
            progress = self.assertFinished(lines, f"SIZE {len(BODY)}")
            # The header block carries body bytes, so both of its notifications read the
            # record after the body was counted on top of the resumed part.
            self.assertEqual(progress[0], progress[1])
            self.assertEqual(cut, progress[0][1] - progress[0][0])
            self.assertIn(f"Range: bytes={cut}-".encode(), server.requests_for("/cut.bin")[-1])
        self.assertFileIs("cut.bin", BODY)

    def test_whole_file_answering_a_range_starts_over(self):
        partial = 70_000
        with open(self.local("whole.bin"), "wb") as f:
            f.write(BODY[:partial])
        with MisbehavingServer({"/whole.bin": serve(BODY)}) as server:
            code, lines = self.get(server, "/whole.bin", "whole.bin")
            self.assertEqual(0, code, lines)
            progress = self.assertFinished(lines, f"SIZE {len(BODY)}")
            self.assertEqual(progress[0], progress[1])
            self.assertEqual(progress[0][0], progress[0][1], "the resumed part is dropped")
            self.assertEqual(len(BODY), progress[-1][1])
            self.assertIn(f"Range: bytes={partial}-".encode(), server.requests_for("/whole.bin")[-1])
        self.assertFileIs("whole.bin", BODY)

    def test_stop_keeps_the_part_and_the_next_get_resumes(self):
        route = serve(BODY, honour_range=True, chunk=4096, chunk_delay=0.02)
        with MisbehavingServer({"/slow.bin": route}) as server:
            code, lines = self.get(server, "/slow.bin", "slow.bin", "--stop-after-progress", "3")
            self.assertEqual(0, code, lines)
            self.assertEqual(["BEGIN"], lines[1:2])
            self.assertEqual("STOPPED", lines[-1])
            progress = progress_lines(lines)
            self.assertEqual(3, len(progress), lines)
            kept = progress[-1][1]
            self.assertLess(kept, len(BODY))
            self.assertFileIs("slow.bin", BODY[:kept])

            code, lines = self.get(server, "/slow.bin", "slow.bin")
            self.assertEqual(0, code, lines)
            progress = self.assertFinished(lines, f"SIZE {len(BODY)}")
            self.assertEqual(kept, progress[0][1] - progress[0][0])
        self.assertFileIs("slow.bin", BODY)


class Framing(MisbehavingServerTest):
    def test_chunked_resume_over_real_receives(self):
        # Chunk boundaries fall wherever the engine's receives cut the stream.
        with open(self.local("part.bin"), "wb") as f:
            f.write(BODY[:70_000])
        route = serve(BODY, honour_range=True, chunk_coding=30_000)
        with MisbehavingServer({"/chunked.bin": route}) as server:
            code, lines = self.get(server, "/chunked.bin", "part.bin")
            self.assertEqual(0, code, lines)
            self.assertTrue(lines[0].startswith("ERROR -1 " + LENGTH_TEXT), lines[0])
            self.assertEqual("DONE", lines[-1])
            self.assertIn(b"Range: bytes=70000-", server.requests_for("/chunked.bin")[-1])
        self.assertFileIs("part.bin", BODY)

    def test_partial_content_from_another_offset_is_refused(self):
        with open(self.local("part.bin"), "wb") as f:
            f.write(BODY[:70_000])
        with MisbehavingServer({"/zero.bin": serve(BODY, range_from_zero=True)}) as server:
            code, lines = self.get(server, "/zero.bin", "part.bin")
            self.assertEqual(1, code, lines)
            self.assertTrue(lines[-1].startswith(
                "ERROR -1 서버가 이어받을 위치가 아닌 곳부터 보냈습니다.\\r\\nHTTP/1.1 206"), lines[-1])
        self.assertFileIs("part.bin", BODY[:70_000])


class Silence(MisbehavingServerTest):
    """Real sockets: the engine's bounded wait, shortened for the test."""

    def test_server_that_stops_sending(self):
        with MisbehavingServer({"/stall.bin": serve(BODY, silent_after=10_000),
                                "/mute.bin": never_answer}) as server:
            code, lines = kvtool("size", server.url("/mute.bin"), "--silence-limit", "1000")
            self.assertEqual((1, [SILENT]), (code, lines))
            self.assertEqual(1, len(server.requests_for("/mute.bin")), "only the probe asked")

            code, lines = self.get(server, "/stall.bin", "stall.bin", "--silence-limit", "1000")
            self.assertEqual(1, code, lines)
            self.assertEqual(SILENT, lines[-1])
            kept = progress_lines(lines)[-1][1]
            self.assertGreater(kept, 0)
        self.assertFileIs("stall.bin", BODY[:kept])


class Redirects(MisbehavingServerTest):
    def test_302_is_neither_followed_nor_saved(self):
        with MisbehavingServer({}) as server:
            server.routes["/moved.bin"] = serve(
                b"see other", status_line="HTTP/1.1 302 Found",
                extra_headers=[f"Location: {server.url('/target.bin')}"])
            server.routes["/target.bin"] = serve(BODY)
            self.assertEqual((1, [FOUND]), kvtool("size", server.url("/moved.bin")))
            # The size query's failure leaves the engine's socket library started, so the
            # download in the same process still connects and is refused on its own.
            code, lines = self.get(server, "/moved.bin", "moved.bin")
            self.assertEqual((1, [FOUND, "BEGIN", FOUND]), (code, lines))
            self.assertEqual(0, os.path.getsize(self.local("moved.bin")))
            self.assertEqual([], server.requests_for("/target.bin"))

    def test_relative_location_is_taken_from_the_old_url(self):
        with MisbehavingServer({}) as server:
            server.routes["/dir/rel.bin"] = serve(
                b"moved", status_line="HTTP/1.1 301 Moved Permanently",
                extra_headers=["Location: target.bin"])
            server.routes["/dir/target.bin"] = serve(BODY)
            code, lines = kvtool("size", server.url("/dir/rel.bin"))
            self.assertEqual((0, [f"SIZE {len(BODY)}"]), (code, lines))
            self.assertEqual(1, len(server.requests_for("/dir/target.bin")))
            self.assertEqual(1, len(server.requests_for("/dir/rel.bin")), "only the probe asked")


if __name__ == "__main__":
    harness.run()
