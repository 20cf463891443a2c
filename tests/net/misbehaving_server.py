"""A small threaded HTTP server of ours on 127.0.0.1 for the answers nginx never gives:
each request path has a canned behaviour. It records every request's bytes in arrival
order, and bounds itself in connections and in time.

    with MisbehavingServer({"/a.bin": serve(b"...", length_header=None)}) as server:
        url = server.url("/a.bin")
"""
import re
import socket
import threading
import time

RANGE = re.compile(rb"\r\nRange: bytes=(\d+)-\r\n")


class Request:
    def __init__(self, raw):
        self.raw = raw
        line = raw.split(b"\r\n", 1)[0].split(b" ")
        self.target = line[1].decode("latin-1") if len(line) > 1 else ""
        match = RANGE.search(raw)
        self.range_start = int(match.group(1)) if match else None


def chunked(payload, size):
    """`payload` in the chunked transfer coding, chunks of `size` bytes, an extension on
    every chunk and a trailer after the last."""
    pieces = [b"%x;n=%d\r\n%s\r\n" % (len(payload[i:i + size]), i, payload[i:i + size])
              for i in range(0, len(payload), size)]
    return b"".join(pieces) + b"0\r\nX-Trailer: done\r\n\r\n"


def serve(body, status_line="HTTP/1.1 200 OK", length_header="Content-Length",
          honour_range=False, extra_headers=(), split_at=None, pause=0.3,
          chunk=None, chunk_delay=0.0, cut_at=None, chunk_coding=None, range_from_zero=False,
          silent_after=None):
    """A behaviour answering with `body`.
    length_header: the spelling of the length header, None for none.
    honour_range: answer a Range request with 206 and the rest of the body.
    range_from_zero: answer a Range request with 206 and the whole body, its
        Content-Range starting at 0 whatever was asked.
    chunk_coding: send the body in the chunked coding with chunks of that size (no length).
    split_at/pause: send the header in two TCP segments, cut after split_at bytes.
    chunk/chunk_delay: trickle the body in pieces.
    cut_at: close the connection after that many body bytes of a request from offset 0.
    silent_after: send that many bytes of the answer, then send nothing more until the
        client closes (at most the connection's time-out)."""
    def behaviour(conn, request):
        start = request.range_start or 0
        status, payload, headers = status_line, body, list(extra_headers)
        if range_from_zero and start > 0:
            status = "HTTP/1.1 206 Partial Content"
            headers.append(f"Content-Range: bytes 0-{len(body) - 1}/{len(body)}")
        elif honour_range and start > 0:
            status = "HTTP/1.1 206 Partial Content"
            payload = body[start:]
            headers.append(f"Content-Range: bytes {start}-{len(body) - 1}/{len(body)}")
        if chunk_coding:
            headers.append("Transfer-Encoding: chunked")
            payload = chunked(payload, chunk_coding)
        elif length_header:
            headers.append(f"{length_header}: {len(payload)}")
        header = (status + "\r\n" + "".join(h + "\r\n" for h in headers) + "\r\n").encode()
        if silent_after is not None:
            conn.sendall((header + payload)[:silent_after])
            wait_for_close(conn)
            return
        if cut_at is not None and start == 0:
            payload = payload[:cut_at]
        if split_at is not None:
            conn.sendall(header[:split_at])
            time.sleep(pause)
            header = header[split_at:]
        if chunk is None:
            conn.sendall(header + payload)
            return
        conn.sendall(header)
        for offset in range(0, len(payload), chunk):
            time.sleep(chunk_delay)
            conn.sendall(payload[offset:offset + chunk])
    return behaviour


def close_at_once(conn, request):
    """Closes the connection without sending a byte."""


def wait_for_close(conn):
    """Reads and drops whatever comes until the client closes or the time-out ends it."""
    try:
        while conn.recv(4096):
            pass
    except OSError:
        pass


def never_answer(conn, request):
    """Accepts the request and sends nothing until the client closes."""
    wait_for_close(conn)


class MisbehavingServer:
    def __init__(self, routes, max_connections=64, lifetime=300.0, tls=None):
        """tls: an ssl.SSLContext for the server side; every connection then speaks TLS."""
        self.routes = routes
        self.tls = tls
        self.max_connections = max_connections
        self.lifetime = lifetime
        self.requests = []
        self._lock = threading.Lock()
        self._stop = threading.Event()
        self._threads = []
        self._listener = None
        self.port = None

    def url(self, path, host="127.0.0.1"):
        return f"{'https' if self.tls else 'http'}://{host}:{self.port}{path}"

    def requests_for(self, target):
        with self._lock:
            return [r.raw for r in self.requests if r.target == target]

    def __enter__(self):
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.bind(("127.0.0.1", 0))
        self._listener.listen(16)
        self._listener.settimeout(0.2)
        self.port = self._listener.getsockname()[1]
        accept = threading.Thread(target=self._accept_loop, daemon=True)
        accept.start()
        self._threads.append(accept)
        return self

    def __exit__(self, *exc):
        self._stop.set()
        for thread in list(self._threads):
            thread.join(timeout=15)
        self._listener.close()
        return False

    def _accept_loop(self):
        deadline = time.monotonic() + self.lifetime
        accepted = 0
        while not self._stop.is_set() and accepted < self.max_connections \
                and time.monotonic() < deadline:
            try:
                conn, _ = self._listener.accept()
            except socket.timeout:
                continue
            accepted += 1
            worker = threading.Thread(target=self._handle, args=(conn,), daemon=True)
            worker.start()
            self._threads.append(worker)

    def _handle(self, conn):
        conn.settimeout(10)
        if self.tls:
            try:
                conn = self.tls.wrap_socket(conn, server_side=True)
            except OSError:
                conn.close()
                return
        with conn:
            raw = b""
            try:
                while b"\r\n\r\n" not in raw and len(raw) < 65536:
                    data = conn.recv(4096)
                    if not data:
                        return
                    raw += data
            except OSError:
                return
            request = Request(raw)
            with self._lock:
                self.requests.append(request)
            behaviour = self.routes.get(request.target)
            try:
                if behaviour is None:
                    conn.sendall(b"HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n")
                else:
                    behaviour(conn, request)
            except OSError:
                pass  # the client closed first, as the probe and the size query do
