#!/usr/bin/env python3
"""Scripted HTTP(S) server for the update-check tests.

One server answers every case: a request for /<case>/version.json gets the reply
scripted for <case> below, built for the Host the client asked for, so a valid
manifest's download_url always lies under the page URL the client used.

Control paths, which are not recorded themselves:
  /_seen/<path>     how many requests <path> has had (decimal text)
  /_headers/<path>  the header lines of the last request for <path>, or 404
  /_stream/<case>   "<state> <bytes sent>" of the last streamed reply of <case>,
                    state being running, aborted (the client went away) or complete
  /_as/<page>/<case>  from now on /<page>/version.json answers as <case> does (for
                    a program built with one fixed page); "ok" in reply

Usage: manifest_server.py [--tls] [--stop-on-eof] [--port N]
  --tls          serve HTTPS with a certificate for "localhost" signed by a CA made
                 now with the openssl command in a temporary folder (removed on exit)
  --stop-on-eof  exit when standard input reaches its end (the parent went away)
  --port N       listen on port N of 127.0.0.1 (default: a free port)

The first line of standard output is the port, followed by the CA file's path with
--tls. The server then runs until it is killed.
"""

import http.server
import json
import os
import re
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time

# Released when the process stops, so that sleeping replies end with it.
STOP = threading.Event()

STATE_LOCK = threading.Lock()
SEEN = {}      # path -> number of requests
HEADERS = {}   # path -> header lines of the last request
STREAMS = {}   # case -> [state, bytes sent]
ALIASES = {}   # page -> the case it answers as

DESCRIPTION = "Исправлены ошибки и ускорен запуск."
LIMIT_CHARS = 65536
HUGE_BYTES = 64 * 1024 * 1024


def current_version():
    """The version of the programs under test: project(VERSION ...) of the root CMakeLists.txt."""
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "CMakeLists.txt"), encoding="utf-8") as f:
        return re.search(r"^project\(Velmora VERSION ([0-9.]+) ", f.read(), re.M).group(1)


def manifest(base, **members):
    doc = {"version": "1.0.4", "download_url": base + "Velmora-1.0.4.exe", "description": DESCRIPTION}
    doc.update(members)
    return json.dumps({k: v for k, v in doc.items() if v is not None}, ensure_ascii=False)


def padded_manifest(base, total_chars):
    """A valid manifest of exactly total_chars decoded characters (all in the BMP)."""
    head = '{"version":"1.0.4","download_url":"%sVelmora-1.0.4.exe","padding":"' % base
    tail = '"}'
    return head + "ж" * (total_chars - len(head) - len(tail)) + tail


def body_reply(status, text, extra_headers=()):
    return ("json", status, text.encode("utf-8"), list(extra_headers))


def scripted(case, base, host):
    """The reply for /<case>/version.json: a tuple whose first item names its kind."""
    if case in ("valid", "redirect-target"):
        return body_reply(200, manifest(base))
    if case == "current":
        return body_reply(200, manifest(base, version=current_version()))
    if case == "empty":
        return body_reply(200, "")
    if case == "array":
        return body_reply(200, "[" + manifest(base) + "]")
    if case == "trailing-text":
        return body_reply(200, manifest(base) + " trailing")
    if case == "trailing-newline":
        return body_reply(200, manifest(base) + "\n")
    if case == "capital-version":
        return body_reply(200, manifest(base, version=None, Version="1.0.4"))
    if case == "numeric-version":
        return body_reply(200, '{"version":104,"download_url":"%sVelmora-1.0.4.exe"}' % base)
    if case == "empty-url":
        return body_reply(200, manifest(base, download_url=""))
    if case == "two-part-version":
        return body_reply(200, '{"version":"1.0","description":"short"}')
    if case == "long-description":
        return body_reply(200, manifest(base, description="Ё" * 1500 + "я" * 1000))
    if case == "size-at-limit":
        return body_reply(200, padded_manifest(base, LIMIT_CHARS))
    if case == "size-over-limit":
        return body_reply(200, padded_manifest(base, LIMIT_CHARS + 1))
    if case == "not-found":
        return body_reply(404, manifest(base))
    if case == "redirect":
        target = "%s://%s/redirect-target/version.json" % (base.split(":", 1)[0], host)
        return body_reply(302, manifest(base), [("Location", target)])
    if case == "hang":
        return ("hang",)
    if case == "drip-head":
        return ("drip", True, manifest(base).encode("utf-8"))
    if case == "drip-body":
        return ("drip", False, manifest(base).encode("utf-8"))
    if case == "huge":
        return ("huge",)
    if case == "cut":
        # The part that arrives is a whole manifest; only the length says it is cut short.
        return ("cut", manifest(base).encode("utf-8"), 100)
    return None


def head_bytes(status, reason, length, extra_headers=()):
    lines = ["HTTP/1.1 %d %s" % (status, reason), "Content-Type: application/json; charset=utf-8",
             "Content-Length: %d" % length, "Connection: close"]
    lines += ["%s: %s" % h for h in extra_headers]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("ascii")


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    timeout = 60  # a client that stops reading cannot hold a thread for ever

    def log_message(self, format, *args):
        pass

    def do_GET(self):
        self.close_connection = True
        path = self.path.split("?", 1)[0]
        if path.startswith("/_"):
            return self.control(path)
        with STATE_LOCK:
            SEEN[path] = SEEN.get(path, 0) + 1
            HEADERS[path] = "".join("%s: %s\r\n" % (k, v) for k, v in self.headers.items())
        parts = path.split("/")
        reply = None
        host = self.headers.get("Host", "")
        if len(parts) == 3 and parts[0] == "" and parts[2] == "version.json":
            scheme = "https" if self.server.tls else "http"
            with STATE_LOCK:
                case = ALIASES.get(parts[1], parts[1])
            reply = scripted(case, "%s://%s/%s/" % (scheme, host, parts[1]), host)
        if reply is None:
            return self.send_text(404, "no such case\n")
        kind = reply[0]
        try:
            if kind == "json":
                _, status, body, extra = reply
                reason = self.responses.get(status, ("",))[0]
                self.wfile.write(head_bytes(status, reason, len(body), extra) + body)
            elif kind == "hang":
                STOP.wait(300)
            elif kind == "drip":
                _, whole, body = reply
                head = head_bytes(200, "OK", len(body))
                if not whole:
                    self.wfile.write(head)
                    self.wfile.flush()
                    head = b""
                for byte in head + body:
                    if STOP.wait(1.0):
                        break
                    self.wfile.write(bytes([byte]))
                    self.wfile.flush()
            elif kind == "huge":
                self.stream_huge(parts[1])
            elif kind == "cut":
                _, body, missing = reply
                self.wfile.write(head_bytes(200, "OK", len(body) + missing) + body)
                self.wfile.flush()
                self.connection.shutdown(socket.SHUT_RDWR)
        except (BrokenPipeError, ConnectionResetError, socket.timeout, ssl.SSLError, OSError):
            pass  # the client went away, which several cases expect

    def stream_huge(self, case):
        record = ["running", 0]
        with STATE_LOCK:
            STREAMS[case] = record
        prefix = b'{"version":"1.0.4","padding":"'
        block = b"a" * 65536
        try:
            self.wfile.write(head_bytes(200, "OK", HUGE_BYTES))
            self.wfile.write(prefix)
            sent = len(prefix)
            while sent < HUGE_BYTES:
                chunk = block[:HUGE_BYTES - sent]
                self.wfile.write(chunk)
                sent += len(chunk)
                with STATE_LOCK:
                    record[1] = sent
            self.wfile.flush()
            state = "complete"
        except (BrokenPipeError, ConnectionResetError, socket.timeout, ssl.SSLError, OSError):
            state = "aborted"
        with STATE_LOCK:
            record[0] = state

    def control(self, path):
        kind, _, rest = path[2:].partition("/")
        target = "/" + rest
        with STATE_LOCK:
            if kind == "seen":
                return self.send_text(200, "%d" % SEEN.get(target, 0))
            if kind == "headers" and target in HEADERS:
                return self.send_text(200, HEADERS[target])
            if kind == "stream" and rest in STREAMS:
                state, sent = STREAMS[rest]
                return self.send_text(200, "%s %d" % (state, sent))
            if kind == "as" and rest.count("/") == 1:
                page, case = rest.split("/")
                ALIASES[page] = case
                return self.send_text(200, "ok")
        return self.send_text(404, "unknown\n")

    def send_text(self, status, text):
        body = text.encode("utf-8")
        reason = self.responses.get(status, ("",))[0]
        try:
            self.wfile.write(head_bytes(status, reason, len(body)).replace(b"application/json", b"text/plain") + body)
        except OSError:
            pass


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 64  # a test may open a connection per case at once
    tls = None  # an ssl.SSLContext when serving HTTPS

    def finish_request(self, request, client_address):
        if self.tls is None:
            return super().finish_request(request, client_address)
        # The handshake runs here, on the connection's own thread, so a silent client
        # cannot stall the accepting loop.
        request.settimeout(Handler.timeout)
        try:
            wrapped = self.tls.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return  # e.g. a client that rejects the certificate
        try:
            super().finish_request(wrapped, client_address)
        finally:
            wrapped.close()

    def handle_error(self, request, client_address):
        pass  # clients that hang up early are part of the script


OPENSSL_CONFIG = """\
[req]
distinguished_name = dn
prompt = no
[dn]
CN = placeholder
[ca]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[leaf]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
"""


def make_certificates(folder):
    """A throw-away CA and a leaf certificate for localhost; returns (ca, cert, key)."""
    config = os.path.join(folder, "openssl.cnf")
    with open(config, "w") as f:
        f.write(OPENSSL_CONFIG)
    ca_key, ca = os.path.join(folder, "ca.key"), os.path.join(folder, "ca.pem")
    key, csr, cert = (os.path.join(folder, n) for n in ("server.key", "server.csr", "server.pem"))
    ec = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]

    def run(*args):
        subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)

    run("req", "-config", config, "-x509", *ec, "-keyout", ca_key, "-out", ca, "-days", "2",
        "-subj", "/CN=Velmora Test CA", "-extensions", "ca")
    run("req", "-config", config, *ec, "-keyout", key, "-out", csr, "-subj", "/CN=localhost")
    run("x509", "-req", "-in", csr, "-CA", ca, "-CAkey", ca_key, "-set_serial", "2", "-days", "2",
        "-out", cert, "-extfile", config, "-extensions", "leaf")
    return ca, cert, key


def main(argv):
    use_tls = "--tls" in argv
    port = 0
    if "--port" in argv:
        at = argv.index("--port")
        if at + 1 >= len(argv) or not argv[at + 1].isdigit():
            print("--port needs a number", file=sys.stderr)
            return 2
        port = int(argv[at + 1])
        argv = argv[:at] + argv[at + 2:]
    unknown = [a for a in argv if a not in ("--tls", "--stop-on-eof")]
    if unknown:
        print("unknown option: " + " ".join(unknown), file=sys.stderr)
        return 2
    folder = None
    server = Server(("127.0.0.1", port), Handler)
    try:
        first_line = str(server.server_address[1])
        if use_tls:
            folder = tempfile.mkdtemp(prefix="velmora-tls-")
            ca, cert, key = make_certificates(folder)
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(cert, key)
            server.tls = context
            first_line += " " + ca

        def stop(*_):
            raise SystemExit(0)

        signal.signal(signal.SIGTERM, stop)
        signal.signal(signal.SIGINT, stop)
        if "--stop-on-eof" in argv:
            def watch():
                # A raw read: a buffered one would hold a lock the interpreter's exit needs.
                while os.read(sys.stdin.fileno(), 4096):
                    pass
                os.kill(os.getpid(), signal.SIGTERM)
            threading.Thread(target=watch, daemon=True).start()
        print(first_line, flush=True)
        server.serve_forever(poll_interval=0.2)
    finally:
        STOP.set()
        server.server_close()
        if folder:
            shutil.rmtree(folder, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
