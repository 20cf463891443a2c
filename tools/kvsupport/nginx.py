"""A real nginx on 127.0.0.1, from a configuration generated into a temporary folder, and
the loopback port helpers it needs."""
import contextlib
import os
import shutil
import socket
import subprocess
import tempfile
import time


def free_port():
    with contextlib.closing(socket.socket(socket.AF_INET, socket.SOCK_STREAM)) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        with contextlib.closing(socket.socket(socket.AF_INET, socket.SOCK_STREAM)) as s:
            s.settimeout(0.2)
            if s.connect_ex(("127.0.0.1", port)) == 0:
                return
        time.sleep(0.05)
    raise RuntimeError(f"nothing listens on 127.0.0.1:{port}")


class Nginx:
    """A real nginx on 127.0.0.1 serving `root`, from a configuration generated into a
    temporary folder. `extra` is inserted into the server block (locations, returns);
    `cert` and `key` (PEM files) make it serve TLS.

        with Nginx(root) as server:
            url = server.url("file.bin")
    """

    def __init__(self, root, extra="", cert=None, key=None):
        self.root = os.path.abspath(root)
        self.extra = extra
        # With a certificate and its key the server speaks TLS only, and url() says https.
        self.cert = cert
        self.key = key
        self.port = None
        self.dir = None
        self.proc = None

    def url(self, path="", host="127.0.0.1"):
        scheme = "https" if self.cert else "http"
        return f"{scheme}://{host}:{self.port}/{path}"

    def _tls_lines(self):
        if not self.cert:
            return ""
        return (f"ssl_certificate {os.path.abspath(self.cert)};\n"
                f"        ssl_certificate_key {os.path.abspath(self.key)};\n"
                "        ssl_protocols TLSv1.2 TLSv1.3;")

    def __enter__(self):
        binary = shutil.which("nginx") or "/usr/sbin/nginx"
        self.dir = tempfile.mkdtemp(prefix="kv-nginx-")
        self.port = free_port()
        conf = os.path.join(self.dir, "nginx.conf")
        with open(conf, "w") as f:
            f.write(f"""daemon off;
worker_processes 1;
pid {self.dir}/nginx.pid;
error_log {self.dir}/error.log;
events {{ worker_connections 64; }}
http {{
    access_log {self.dir}/access.log;
    client_body_temp_path {self.dir}/body;
    proxy_temp_path {self.dir}/proxy;
    fastcgi_temp_path {self.dir}/fastcgi;
    uwsgi_temp_path {self.dir}/uwsgi;
    scgi_temp_path {self.dir}/scgi;
    default_type application/octet-stream;
    sendfile on;
    server {{
        listen 127.0.0.1:{self.port}{" ssl" if self.cert else ""};
        root {self.root};
        {self._tls_lines()}
        {self.extra}
    }}
}}
""")
        self.proc = subprocess.Popen([binary, "-c", conf, "-p", self.dir],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port)
        return self

    def access_log(self):
        with open(os.path.join(self.dir, "access.log")) as f:
            return f.read()

    def __exit__(self, *exc):
        if self.proc:
            self.proc.terminate()
            try:
                self.proc.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)
        return False
