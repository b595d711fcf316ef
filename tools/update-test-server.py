#!/usr/bin/env python3
"""A small HTTP server for the self-update tests: it serves the files of a folder the way a faulty
server would. The first path element names the fault, the rest the file in the folder:

  /ignore-range/NAME   answers every request with 200 and the whole file, whatever range was asked
  /cut/NAME            announces the whole range but closes the connection after half of the file
                       when asked from byte 0; ranges that start later are served correctly
  /wrong-size/NAME     serves the file correctly but announces 1000 bytes more to size queries
  /wrong-range/NAME    answers a range request with 206 and a range that starts at byte 0
  /slow/NAME           serves ranges correctly, 64 KiB every 100 ms
  /stall-size/NAME     holds every size query (HEAD) for 10 s before answering it; serves the rest
                       correctly
  /redirect/PATH       302 to /PATH on this server
  anything else        404

Every request is logged as one line "METHOD PATH RANGE STATUS BODYBYTES" to the log file.
"""
import argparse
import http.server
import os
import re
import socketserver
import threading
import time

LOG_LOCK = threading.Lock()


class FaultHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    root = "."
    log_path = None

    def log_message(self, *args):
        pass

    def record(self, status, body_bytes):
        if not self.log_path:
            return
        line = "%s %s %s %d %d\n" % (self.command, self.path, self.headers.get("Range", "-"), status, body_bytes)
        with LOG_LOCK, open(self.log_path, "a") as log:
            log.write(line)

    def do_HEAD(self):
        self.handle_request(send_body=False)

    def do_GET(self):
        self.handle_request(send_body=True)

    def not_found(self):
        body = b"not here\n"
        self.send_response(404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command == "GET":
            self.wfile.write(body)
        self.record(404, len(body) if self.command == "GET" else 0)

    def requested_start(self):
        match = re.fullmatch(r"bytes=(\d+)-", self.headers.get("Range", ""))
        return int(match.group(1)) if match else None

    def handle_request(self, send_body):
        parts = self.path.lstrip("/").split("/", 1)
        if len(parts) != 2:
            return self.not_found()
        fault, name = parts
        if fault == "stall-size" and not send_body:
            time.sleep(10)
        if fault == "redirect":
            self.send_response(302)
            self.send_header("Location", "/" + name)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return self.record(302, 0)
        path = os.path.join(self.root, name)
        if "/" in name or not os.path.isfile(path):
            return self.not_found()
        with open(path, "rb") as f:
            data = f.read()
        start = self.requested_start()
        if fault == "ignore-range":
            return self.send_part(200, data, 0, send_body)
        if fault == "wrong-size":
            if not send_body:
                self.send_response(200)
                self.send_header("Content-Length", str(len(data) + 1000))
                self.end_headers()
                return self.record(200, 0)
            return self.send_range(data, start, send_body)
        if fault == "wrong-range":
            if start:
                return self.send_part(206, data, 0, send_body, content_range_start=0)
            return self.send_part(200, data, 0, send_body)
        if fault == "cut":
            if send_body and not start:
                return self.send_part(200, data, 0, send_body, cut_at=len(data) // 2)
            return self.send_range(data, start, send_body)
        if fault == "slow":
            return self.send_range(data, start, send_body, slow=True)
        if fault == "stall-size":
            return self.send_range(data, start, send_body)
        return self.not_found()

    def send_range(self, data, start, send_body, slow=False):
        if start is None:
            return self.send_part(200, data, 0, send_body, slow=slow)
        if start >= len(data):
            self.send_response(416)
            self.send_header("Content-Range", "bytes */%d" % len(data))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return self.record(416, 0)
        return self.send_part(206, data, start, send_body, content_range_start=start, slow=slow)

    def send_part(self, status, data, start, send_body, content_range_start=None, cut_at=None, slow=False):
        body = data[start:]
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(len(body)))
        if content_range_start is not None:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (content_range_start,
                             content_range_start + len(body) - 1, len(data)))
        self.end_headers()
        sent = 0
        if send_body:
            if cut_at is not None:
                body = body[:cut_at]
                self.close_connection = True
            try:
                chunk = 65536
                for offset in range(0, len(body), chunk):
                    self.wfile.write(body[offset:offset + chunk])
                    sent += len(body[offset:offset + chunk])
                    if slow:
                        self.wfile.flush()
                        time.sleep(0.1)
                self.wfile.flush()
            except (BrokenPipeError, ConnectionResetError):
                self.close_connection = True
        self.record(status, sent)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--log", required=True)
    parser.add_argument("--port-file", required=True)
    args = parser.parse_args()
    FaultHandler.root = args.root
    FaultHandler.log_path = args.log
    server = Server(("127.0.0.1", 0), FaultHandler)
    with open(args.port_file + ".part", "w") as f:
        f.write(str(server.server_address[1]))
    os.rename(args.port_file + ".part", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
