"""kvtool size/get over TLS: a real nginx with a certificate from an authority made here and
trusted in the prefix for the run, a TLS server of ours for what nginx never does, and the
certificates the engine must refuse."""
import os
import re
import shutil
import socket
import ssl
import sys
import tempfile
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import harness  # noqa: E402
from kvtool_run import kvtool, progress_lines, warm_up  # noqa: E402
from misbehaving_server import MisbehavingServer, never_answer, serve  # noqa: E402
from test_authority import TestAuthority  # noqa: E402

SIZE = 2_000_000
UNTRUSTED = "서버의 인증서를 신뢰할 수 없습니다."
WRONG_NAME = "ERROR -2146762481 서버의 인증서가 접속한 주소의 것이 아닙니다."
DATES = "ERROR -2146762495 서버의 인증서가 만료되었거나 아직 유효하지 않습니다."
HANDSHAKE = "서버와 보안 연결을 맺지 못했습니다."
CLOSED = "ERROR 10054 보안 연결을 맺는 중에 서버가 연결을 끊었습니다."
DOWNGRADE = "ERROR -1 보안 연결(https)에서 보안되지 않은 연결(http)로 이동할 수 없습니다."
SILENT = "ERROR 10060 서버의 응답이 없어 연결을 끊었습니다."

state = {}


def setUpModule():
    warm_up()
    folder = tempfile.mkdtemp(prefix="kv-tls-")
    state["folder"] = folder
    ca = TestAuthority(os.path.join(folder, "ca"))
    state["ca"] = ca
    state["site"] = ca.issue("site")
    state["other_name"] = ca.issue("other", dns=("other.example",), ips=())
    state["expired"] = ca.issue("expired", not_before="20190101000000Z",
                                not_after="20200101000000Z")
    stranger = TestAuthority(os.path.join(folder, "stranger"), name="Unknown Authority")
    state["untrusted"] = stranger.issue("site")
    ca.trust()


def tearDownModule():
    state["ca"].untrust()
    shutil.rmtree(state["folder"], ignore_errors=True)


def tls_context(which):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(*state[which])
    return context


class TlsTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="kv-net-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def local(self, name):
        return os.path.join(self.dir, name)

    def get(self, url, name, *extra):
        return kvtool("get", url, harness.winpath(self.local(name)), *extra)

    def assertSameFile(self, served, name):
        self.assertEqual(harness.sha256_file(served), harness.sha256_file(self.local(name)))


class WithNginx(TlsTest):
    """nginx speaking TLS, and a plain nginx beside it for the redirects between the two."""

    @classmethod
    def setUpClass(cls):
        cls.root = tempfile.mkdtemp(prefix="kv-tls-root-")
        cls.file = os.path.join(cls.root, "file.bin")
        with open(cls.file, "wb") as f:
            f.write(os.urandom(SIZE))
        os.chmod(cls.root, 0o755)
        cls.plain = harness.Nginx(cls.root)
        cls.plain.__enter__()
        cert, key = state["site"]
        cls.secure = harness.Nginx(cls.root, cert=cert, key=key, extra=f"""
            absolute_redirect off;
            location = /relative {{ return 301 /file.bin; }}
            location = /down {{ return 301 http://127.0.0.1:{cls.plain.port}/file.bin; }}""")
        cls.secure.__enter__()
        # The redirect up needs the secure port, the one down the plain port: two plain ones.
        cls.upward = harness.Nginx(cls.root, extra=f"""
            location = /up {{ return 301 https://localhost:{cls.secure.port}/file.bin; }}""")
        cls.upward.__enter__()

    @classmethod
    def tearDownClass(cls):
        for server in (cls.upward, cls.secure, cls.plain):
            server.__exit__(None, None, None)
        shutil.rmtree(cls.root, ignore_errors=True)

    def test_download_stop_and_resume_byte_for_byte(self):
        url = self.secure.url("file.bin", host="localhost")
        self.assertEqual((0, [f"SIZE {SIZE}"]), kvtool("size", url))
        code, lines = self.get(url, "file.bin", "--stop-after-progress", "3")
        self.assertEqual((0, "STOPPED"), (code, lines[-1]), lines)
        kept = os.path.getsize(self.local("file.bin"))
        self.assertLess(0, kept)
        self.assertLess(kept, SIZE)
        code, lines = self.get(url, "file.bin")
        self.assertEqual((0, "DONE"), (code, lines[-1]), lines)
        progress = progress_lines(lines)
        self.assertEqual(kept, progress[0][1] - progress[0][0], "the resumed part counts")
        self.assertEqual(SIZE, progress[-1][1])
        self.assertIn('"GET /file.bin HTTP/1.1" 206', self.secure.access_log())
        self.assertSameFile(self.file, "file.bin")

    def test_address_as_host(self):
        code, lines = self.get(self.secure.url("file.bin", host="127.0.0.1"), "by_address.bin")
        self.assertEqual((0, "DONE"), (code, lines[-1]), lines)
        self.assertSameFile(self.file, "by_address.bin")

    def test_redirect_from_http_to_https(self):
        code, lines = self.get(self.upward.url("up"), "up.bin")
        self.assertEqual((0, "DONE"), (code, lines[-1]), lines)
        self.assertSameFile(self.file, "up.bin")

    def test_relative_location_keeps_scheme_host_and_port(self):
        code, lines = self.get(self.secure.url("relative", host="localhost"), "relative.bin")
        self.assertEqual((0, "DONE"), (code, lines[-1]), lines)
        self.assertSameFile(self.file, "relative.bin")

    def test_redirect_from_https_to_http_is_refused(self):
        before = self.plain.access_log()
        code, lines = self.get(self.secure.url("down", host="localhost"), "down.bin")
        self.assertEqual((1, [DOWNGRADE, DOWNGRADE]), (code, lines))
        self.assertFalse(os.path.exists(self.local("down.bin")))
        self.assertEqual(before, self.plain.access_log(), "nothing asked in plain text")

    def test_plain_server_behind_an_https_url(self):
        url = self.plain.url("file.bin").replace("http://", "https://")
        code, lines = self.get(url, "plain.bin")
        self.assertEqual(1, code, lines)
        self.assertRegex(lines[-1], r"^ERROR -?\d+ " + re.escape(HANDSHAKE) + "$")
        self.assertFalse(os.path.exists(self.local("plain.bin")))
        self.assertNotIn("GET /file.bin", self.plain.access_log())


class WithOurServer(TlsTest):
    def test_chunked_answer(self):
        body = os.urandom(400_000)
        with MisbehavingServer({"/c.bin": serve(body, chunk_coding=30_000)},
                               tls=tls_context("site")) as server:
            code, lines = self.get(server.url("/c.bin", host="localhost"), "c.bin")
        # The size query fails (a chunked answer names no size); the download goes on.
        self.assertEqual((0, "DONE"), (code, lines[-1]), lines)
        with open(self.local("c.bin"), "rb") as f:
            self.assertEqual(body, f.read())

    def test_silent_server(self):
        body = os.urandom(300_000)
        with MisbehavingServer({"/stall.bin": serve(body, silent_after=50_000),
                                "/mute.bin": never_answer}, tls=tls_context("site")) as server:
            code, lines = kvtool("size", server.url("/mute.bin", host="localhost"),
                                 "--silence-limit", "1000")
            self.assertEqual((1, [SILENT]), (code, lines))
            code, lines = self.get(server.url("/stall.bin", host="localhost"), "stall.bin",
                                   "--silence-limit", "1000")
        self.assertEqual((1, SILENT), (code, lines[-1]), lines)
        kept = progress_lines(lines)[-1][1]
        self.assertLess(0, kept)
        with open(self.local("stall.bin"), "rb") as f:
            self.assertEqual(body[:kept], f.read())

    def test_certificates_refused(self):
        cases = [("untrusted", "localhost", UNTRUSTED),
                 ("other_name", "localhost", WRONG_NAME),
                 ("expired", "localhost", DATES)]
        for which, host, text in cases:
            with self.subTest(which=which, host=host), \
                    MisbehavingServer({"/f.bin": serve(b"secret")}, tls=tls_context(which)) as server:
                code, lines = self.get(server.url("/f.bin", host=host), which + ".bin")
                self.assertEqual(1, code, lines)
                self.assertEqual(2, len(lines), lines)
                for line in lines:
                    self.assertTrue(line.startswith("ERROR ") and line.endswith(text), line)
                self.assertEqual([], server.requests_for("/f.bin"), "no request is sent")
                self.assertFalse(os.path.exists(self.local(which + ".bin")))

    def test_server_that_closes_during_the_handshake(self):
        listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        listener.bind(("127.0.0.1", 0))
        listener.listen(4)
        listener.settimeout(30)
        port = listener.getsockname()[1]

        def close_after_hello():
            for _ in range(2):  # the size query's probe, then the query itself
                try:
                    conn, _ = listener.accept()
                except OSError:
                    return
                with conn:
                    conn.settimeout(10)
                    try:
                        conn.recv(4096)
                    except OSError:
                        pass

        thread = threading.Thread(target=close_after_hello, daemon=True)
        thread.start()
        try:
            code, lines = kvtool("size", f"https://localhost:{port}/f.bin")
        finally:
            thread.join(timeout=30)
            listener.close()
        self.assertEqual((1, [CLOSED]), (code, lines))


if __name__ == "__main__":
    harness.run()
