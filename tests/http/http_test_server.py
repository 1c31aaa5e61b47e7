#!/usr/bin/env python3
"""A small HTTP server for the tests of the HTTP byte source and the player.

It listens on 127.0.0.1 on an ephemeral port, prints the port on its first
line of output and serves the files of one folder in the ways the tests need:

  /files/NAME            the file, with Content-Length and Range requests
  /nolength/NAME         the file without Content-Length (ended by closing)
  /norange/NAME          the file; Range requests are ignored (always 200)
  /chunked/NAME          the file in chunked transfer encoding
  /auth/NAME             the file behind basic authentication (--user)
  /trickle/NAME?rate=N   the file at N bytes per second
  /stall/NAME?after=N    N bytes of the file, then nothing (until shut down)
  /cut/NAME?after=N      Content-Length of the whole file, N bytes, then close
  /icy/NAME?metaint=N&title=T[&claim=L]
                         the file with ICY metadata blocks every N bytes when
                         the request asks for them ("Icy-MetaData: 1"); claim
                         makes the last block claim L*16 bytes and close
  /redirect/K/NAME       K redirects (302), then /files/NAME
  /status/CODE           an empty answer with that status
  /garbage               a reply that is not HTTP
  /bigheader             a header line of 100 KB
  /length/VALUE/NAME     the file with "Content-Length: VALUE"
  /_log                  the request line and headers of the last request

Every file may be served several times over with "repeat=K" (at most 100):
Layer II frames stand alone, so a short stream becomes a long one.

A request line in absolute form ("GET http://host/path") is a proxy
request: it is served from the path as above, so any host name works, and
logged as proxied. With --proxy-user, proxy requests need that
Proxy-Authorization (else 407). Everything else of the path is 404.
"""
import argparse
import base64
import os
import socketserver
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

stop_event = threading.Event()
log_lock = threading.Lock()
last_request = {"text": ""}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "PlyvaneTestServer/1"

    def log_message(self, format, *args):  # quiet
        pass

    def handle_one_request(self):
        try:
            super().handle_one_request()
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    def reply(self, code, headers=(), body=b"", close=False):
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        if close:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        if body:
            self.wfile.write(body)

    def do_GET(self):
        target = self.path
        proxied = target.lower().startswith("http://")
        with log_lock:
            if "/_log" not in target:
                last_request["text"] = ("proxied " if proxied else "direct ") + self.requestline + "\n" + \
                    "".join("%s: %s\n" % (k, v) for k, v in self.headers.items())
        if proxied:
            if self.server.proxy_user:
                expected = "Basic " + base64.b64encode(self.server.proxy_user.encode()).decode()
                if self.headers.get("Proxy-Authorization", "") != expected:
                    self.reply(407, [("Proxy-Authenticate", 'Basic realm="proxy"'), ("Content-Length", "0")])
                    return
            target = urllib.parse.urlsplit(target)._replace(scheme="", netloc="").geturl() or "/"
        elif self.server.proxy_only and not target.startswith("/_log"):
            self.reply(400, [("Content-Length", "0")], close=True)
            return
        parts = urllib.parse.urlsplit(target)
        query = dict(urllib.parse.parse_qsl(parts.query))
        self.repeat = max(1, min(100, int(query.get("repeat", "1")))) if query.get("repeat", "").isdigit() else 1
        segments = [urllib.parse.unquote(s) for s in parts.path.split("/")[1:]]
        kind = segments[0] if segments else ""
        handler = getattr(self, "serve_" + kind, None) if kind.isidentifier() else None
        if kind == "_log":
            with log_lock:
                body = last_request["text"].encode()
            self.reply(200, [("Content-Length", str(len(body)))], body)
            return
        if handler is None:
            self.reply(404, [("Content-Length", "0")])
            return
        handler(segments[1:], query)

    # Files of the served folder, never outside it.
    def file_bytes(self, segments):
        name = "/".join(segments)
        path = os.path.realpath(os.path.join(self.server.root, name))
        if not path.startswith(self.server.root + os.sep) or not os.path.isfile(path):
            return None
        with open(path, "rb") as f:
            return f.read() * self.repeat

    def with_file(self, segments):
        data = self.file_bytes(segments)
        if data is None:
            self.reply(404, [("Content-Length", "0")])
        return data

    def serve_files(self, segments, query, ranges=True):
        data = self.with_file(segments)
        if data is None:
            return
        header = self.headers.get("Range", "")
        if ranges and header.startswith("bytes=") and header.endswith("-"):
            try:
                start = int(header[6:-1])
            except ValueError:
                start = -1
            if start < 0 or start >= len(data) and len(data) > 0:
                self.reply(416, [("Content-Range", "bytes */%d" % len(data)), ("Content-Length", "0")])
                return
            body = data[start:]
            self.reply(206, [("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data))),
                             ("Content-Length", str(len(body))), ("Accept-Ranges", "bytes")], body)
            return
        self.reply(200, [("Content-Length", str(len(data))), ("Accept-Ranges", "bytes" if ranges else "none")],
                   data)

    def serve_norange(self, segments, query):
        self.serve_files(segments, query, ranges=False)

    def serve_nolength(self, segments, query):
        data = self.with_file(segments)
        if data is not None:
            self.reply(200, [("Content-Type", "audio/mpeg")], data, close=True)

    def serve_chunked(self, segments, query):
        data = self.with_file(segments)
        if data is None:
            return
        self.reply(200, [("Transfer-Encoding", "chunked")])
        for i in range(0, len(data), 1000):
            piece = data[i:i + 1000]
            self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
        self.wfile.write(b"0\r\n\r\n")

    def serve_auth(self, segments, query):
        expected = "Basic " + base64.b64encode(self.server.user.encode()).decode()
        if self.headers.get("Authorization", "") != expected:
            self.reply(401, [("WWW-Authenticate", 'Basic realm="plyvane"'), ("Content-Length", "0")])
            return
        self.serve_files(segments, query)

    def serve_trickle(self, segments, query):
        data = self.with_file(segments)
        if data is None:
            return
        rate = max(1, int(query.get("rate", "16000")))
        self.reply(200, [("Content-Length", str(len(data)))])
        piece = max(1, rate // 10)
        for i in range(0, len(data), piece):
            self.wfile.write(data[i:i + piece])
            self.wfile.flush()
            time.sleep(0.1)

    def serve_stall(self, segments, query):
        data = self.with_file(segments)
        if data is None:
            return
        after = int(query.get("after", "0"))
        self.reply(200, [("Content-Length", str(len(data)))])
        self.wfile.write(data[:after])
        self.wfile.flush()
        stop_event.wait(float(query.get("seconds", "600")))
        self.close_connection = True

    def serve_cut(self, segments, query):
        data = self.with_file(segments)
        if data is None:
            return
        after = int(query.get("after", "0"))
        self.reply(200, [("Content-Length", str(len(data)))], data[:after], close=True)

    def serve_icy(self, segments, query):
        data = self.with_file(segments)
        if data is None:
            return
        if self.headers.get("Icy-MetaData", "") != "1":
            self.reply(200, [("icy-name", "Plyvane test radio")], data, close=True)
            return
        metaint = int(query.get("metaint", "8192"))
        title = query.get("title", "Test signal")
        self.reply(200, [("icy-name", "Plyvane test radio"), ("icy-metaint", str(metaint))], close=True)
        if metaint <= 0 or metaint > len(data) * 4:
            self.wfile.write(data)
            return
        out = bytearray()
        blocks = 0
        for i in range(0, len(data), metaint):
            piece = data[i:i + metaint]
            out += piece
            if len(piece) < metaint:
                break
            blocks += 1
            if "claim" in query and i + 2 * metaint > len(data):
                out.append(int(query["claim"]))
                out += b"StreamTitle='cut"
                break
            if blocks % 2 == 0:
                out.append(0)  # no change
                continue
            text = ("StreamTitle='%s %d';StreamUrl='';" % (title, blocks)).encode("latin-1")
            length = (len(text) + 15) // 16
            out.append(length)
            out += text + b"\0" * (length * 16 - len(text))
        self.wfile.write(bytes(out))

    def serve_redirect(self, segments, query):
        count = int(segments[0]) if segments and segments[0].isdigit() else 0
        rest = "/".join(segments[1:])
        location = "/redirect/%d/%s" % (count - 1, rest) if count > 1 else "/files/" + rest
        self.reply(302, [("Location", location), ("Content-Length", "0")])

    def serve_status(self, segments, query):
        code = int(segments[0]) if segments and segments[0].isdigit() else 500
        self.reply(code, [("Content-Length", "0")])

    def serve_garbage(self, segments, query):
        self.wfile.write(b"SPAM SPAM SPAM\r\nnot: http\r\n\r\n\x00\xff\x01 garbage")
        self.close_connection = True

    def serve_bigheader(self, segments, query):
        self.reply(200, [("X-Big", "x" * 100 * 1024), ("Content-Length", "0")])

    def serve_length(self, segments, query):
        data = self.file_bytes(segments[1:]) if len(segments) > 1 else None
        if data is None:
            self.reply(404, [("Content-Length", "0")])
            return
        self.reply(200, [("Content-Length", segments[0])], data, close=True)


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root", help="folder whose files are served")
    parser.add_argument("--user", default="alice:s3cret", help="user:password of /auth/")
    parser.add_argument("--proxy-user", default="", help="user:password a proxy request must carry")
    parser.add_argument("--proxy-only", action="store_true", help="refuse requests that are not proxied")
    parser.add_argument("--port-file", help="also write the port into this file")
    args = parser.parse_args()
    server = Server(("127.0.0.1", 0), Handler)
    server.root = os.path.realpath(args.root)
    server.user = args.user
    server.proxy_user = args.proxy_user
    server.proxy_only = args.proxy_only
    port = server.server_address[1]
    print(port, flush=True)
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write("%d\n" % port)
        os.replace(args.port_file + ".tmp", args.port_file)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        stop_event.set()
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
