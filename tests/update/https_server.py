#!/usr/bin/env python3
"""Local HTTPS server for the update check's tests.

Serves files below --root on 127.0.0.1 with the given certificate, on a free
port that it writes to --port-file once it listens. Every request is recorded
in --log as one JSON line when it begins and when it ends, with the number of
requests being served at that moment, so a test can tell whether two
downloads ever overlapped.

A query string changes how a file is served:
  delay=<ms>     wait before answering
  gate=<name>    wait (at most two minutes) until <root>/<name> exists
  status=<code>  answer with that status and no file
  truncate=<n>   announce the whole file but send only its first n bytes
  redirect=<url> answer 302 with that Location
  trickle=<ms>   send the file one byte at a time, one every <ms>
  drop=<n>       send the first n bytes without a length and then drop the
                 connection; with chunked=1 as chunks
"""

import argparse
import http.server
import json
import os
import ssl
import threading
import time
import urllib.parse


class RequestLog:
    def __init__(self, path):
        self._lock = threading.Lock()
        self._file = open(path, "a", encoding="utf-8")
        self._active = 0

    def begin(self, path):
        with self._lock:
            self._active += 1
            self._write({"event": "begin", "path": path, "active": self._active})

    def end(self, path):
        with self._lock:
            self._active -= 1
            self._write({"event": "end", "path": path, "active": self._active})

    def _write(self, record):
        self._file.write(json.dumps(record) + "\n")
        self._file.flush()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def setup(self):
        # The handshake happens here, on the request's own thread, so a
        # client that refuses our certificate holds up nobody else.
        self.request.do_handshake()
        super().setup()

    def log_message(self, *args):
        pass

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        log = self.server.request_log
        log.begin(url.path)
        try:
            self._answer(url.path, query)
        finally:
            log.end(url.path)

    def _answer(self, path, query):
        root = self.server.root
        if "delay" in query:
            time.sleep(int(query["delay"]) / 1000.0)
        if "gate" in query:
            gate = os.path.join(root, query["gate"])
            deadline = time.monotonic() + 120
            while not os.path.exists(gate) and time.monotonic() < deadline:
                time.sleep(0.02)
        if "status" in query:
            self._send_plain(int(query["status"]), b"refused\n")
            return
        if "redirect" in query:
            self.send_response(302)
            self.send_header("Location", query["redirect"])
            self.send_header("Content-Length", "0")
            self.send_header("Connection", "close")
            self.end_headers()
            self.close_connection = True
            return
        local = os.path.normpath(os.path.join(root, path.lstrip("/")))
        if not local.startswith(root + os.sep) or not os.path.isfile(local):
            self._send_plain(404, b"not found\n")
            return
        with open(local, "rb") as f:
            body = f.read()
        if "drop" in query:
            self._send_and_drop(body[: int(query["drop"])], query.get("chunked") == "1")
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        if "trickle" in query:
            pause = int(query["trickle"]) / 1000.0
            for i in range(len(body)):
                self.wfile.write(body[i:i + 1])
                self.wfile.flush()
                time.sleep(pause)
            self.close_connection = True
            return
        if "truncate" in query:
            self.wfile.write(body[: int(query["truncate"])])
            self.wfile.flush()
            self.close_connection = True
            self.connection.shutdown(2)
            return
        self.wfile.write(body)
        self.close_connection = True

    def _send_and_drop(self, part, chunked):
        # A body whose end only the connection's end can tell, cut short:
        # no TLS close_notify, just the TCP connection going away.
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if chunked:
            self.send_header("Transfer-Encoding", "chunked")
        self.send_header("Connection", "close")
        self.end_headers()
        if chunked:
            for i in range(0, len(part), 64):
                chunk = part[i:i + 64]
                self.wfile.write(b"%x\r\n%s\r\n" % (len(chunk), chunk))
        else:
            self.wfile.write(part)
        self.wfile.flush()
        self.close_connection = True
        self.connection.shutdown(2)

    def _send_plain(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, root, context, request_log):
        super().__init__(("127.0.0.1", 0), Handler)
        self.root = os.path.realpath(root)
        self.context = context
        self.request_log = request_log

    def get_request(self):
        sock, address = self.socket.accept()
        return self.context.wrap_socket(sock, server_side=True,
                                        do_handshake_on_connect=False), address

    def handle_error(self, request, client_address):
        pass  # refused handshakes and dropped clients are part of the tests


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--port-file", required=True)
    parser.add_argument("--log", required=True)
    args = parser.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    server = Server(args.root, context, RequestLog(args.log))
    port_file = args.port_file + ".part"
    with open(port_file, "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(port_file, args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
