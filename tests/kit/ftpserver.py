#!/usr/bin/python3
"""FTP server for the tests: pyftpdlib on 127.0.0.1 with one account.

Prints "port N" once it listens, then serves until its standard input closes,
so it never outlives the test that started it.
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class Handler(FTPHandler):
    banner = "Tessaly test server ready."
    # Tests try wrong passwords; the usual pause would only slow them down.
    auth_failed_timeout = 0.1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer

    server = FTPServer(("127.0.0.1", 0), Handler)
    print("port", server.socket.getsockname()[1], flush=True)

    def watch_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_parent, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
