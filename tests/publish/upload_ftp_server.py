"""A small FTP server for the upload tests: one user, passive mode, on 127.0.0.1.

Usage: upload_ftp_server.py ROOT USER PASSWORD
Prints the port it listens on as the first line of standard output, then serves until
it is killed or standard input closes.
"""
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    # Some servers refuse to create an existing directory without saying it exists.
    def ftp_MKD(self, path):
        if os.path.isdir(path):
            self.respond("550 Create directory operation failed.")
            return
        return super().ftp_MKD(path)


def main():
    root, user, password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.passive_ports = None
    Handler.banner = "220 test server ready."
    Handler.auth_failed_timeout = 0
    server = FTPServer(("127.0.0.1", 0), Handler)
    port = server.socket.getsockname()[1]
    sys.stdout.write("%d\n" % port)
    sys.stdout.flush()

    def watch_stdin():
        sys.stdin.read()
        server.close_all()
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
