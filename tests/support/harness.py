"""Shared pieces of the script tests: command-line arguments, running Windows programs
under the project's Wine prefix, a loopback nginx, and path conversion.

Every test script is started by CTest as
    python3 SCRIPT --build BUILD_DIR --arch x86|x64
and uses unittest; run() parses those two options and hands the rest to unittest.
"""
import argparse
import contextlib
import hashlib
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_RUN = os.path.join(ROOT, "tools", "wine-run")


class Context:
    build = None
    arch = "x86"


def run(argv=None):
    """Entry point of a test script: reads --build and --arch, then runs unittest."""
    parser = argparse.ArgumentParser(add_help=False)
    parser.add_argument("--build", required=True)
    parser.add_argument("--arch", default="x86", choices=["x86", "x64"])
    args, rest = parser.parse_known_args(argv if argv is not None else sys.argv[1:])
    Context.build = os.path.abspath(args.build)
    Context.arch = args.arch
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


def program(name):
    """Full Unix path of a built program, e.g. program('kvtool.exe')."""
    return os.path.join(Context.build, name)


def winpath(unix_path):
    """The Windows form of a Unix path under Wine: /tmp/x -> Z:\\tmp\\x."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


_warmed_up = set()


def warm_up(arch=None):
    """Starts the prefix's wineserver and its system services without any pipe of ours:
    services started by a captured run would hold that run's output pipe open, and the
    capture would wait for them until its timeout. Done once per architecture."""
    arch = arch or Context.arch
    if arch in _warmed_up:
        return
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    env.setdefault("WINEPREFIX", os.environ.get(
        "KORVENDAL_WINEPREFIX", os.path.join(ROOT, "build", "wineprefix")))
    subprocess.run(["wineserver", "-p60"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    subprocess.run([WINE_RUN, arch, "cmd", "/c", "exit"], env=env, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=180,
                   check=False)
    _warmed_up.add(arch)


def wine(args, timeout=120, check=False, input=None):
    """Runs a Windows program (first element of args) under Wine; returns CompletedProcess
    with stdout and stderr as bytes (Wine programs print code page 949 or UTF-8)."""
    warm_up()
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    return subprocess.run([WINE_RUN, Context.arch] + list(args), capture_output=True,
                          timeout=timeout, check=check, input=input, env=env)


def sha256_file(path):
    h = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


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
    temporary folder. `extra` is inserted into the server block (locations, returns).

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
