"""A stand-in APRS-IS server for the tests: prints its port, then serves connections one at
a time. "answer" greets with a banner and answers the login line; "silent" says nothing.
Every line received is appended to the log file."""
import socket
import sys

mode, log_path = sys.argv[1], sys.argv[2]
server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(4)
print(server.getsockname()[1], flush=True)
while True:
    conn, _ = server.accept()
    with conn:
        if mode == "answer":
            conn.sendall(b"# aprsc 2.1.10 test server\r\n")
        pending = b""
        lines = 0
        while True:
            data = conn.recv(4096)
            if not data:
                break
            pending += data
            while b"\n" in pending:
                line, pending = pending.split(b"\n", 1)
                with open(log_path, "ab") as log:
                    log.write(line + b"\n")
                lines += 1
                if mode == "answer" and lines == 1:
                    call = line.split(b" ")[1] if b" " in line else b"?"
                    conn.sendall(b"# logresp " + call + b" verified, server T2TEST\r\n")
