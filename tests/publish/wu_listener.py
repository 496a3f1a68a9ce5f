"""A stand-in update service for the tests: prints its port, then answers every GET with the
first line of the reply file ("STATUS BODY", taken off the file) or 200 "success" when the
file is empty, and appends each request's path to the log file."""
import http.server
import sys

log_path, replies_path = sys.argv[1], sys.argv[2]


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(log_path, "a") as log:
            log.write(self.path + "\n")
        try:
            with open(replies_path) as f:
                lines = f.read().split("\n")
        except OSError:
            lines = []
        status, body = 200, "success"
        if lines and lines[0]:
            first = lines.pop(0)
            code, _, body = first.partition(" ")
            status = int(code)
            with open(replies_path, "w") as f:
                f.write("\n".join(lines))
        data = body.encode()
        self.send_response(status)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
server.serve_forever()
