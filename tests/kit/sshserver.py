#!/usr/bin/python3
"""SSH server for the tests: paramiko on 127.0.0.1, serving SFTP in a folder.

For what OpenSSH's server cannot stage: password and keyboard-interactive
logins, and faults on demand. Prints "port N" once it listens, then serves
until its standard input closes, so it never outlives the test that started it.

Faults (--fault):
  silent      accepts connections and never says a word
  stall       stops answering at the first write of a file
  drop        drops the connection at the first write of a file
  disk-full   refuses every write past the first 64 KiB of a file
  read-only   refuses to open files for writing (permission denied)
  hold        holds every write past the first MiB of a file until a file
              "release" appears in the server's folder (--folder)

Each file closed by the client's CLOSE (not by the session's end) is named on
a line of "closed" in that folder.
"""
import argparse
import os
import socket
import sys
import threading
import time

import paramiko
from paramiko import SFTPAttributes, SFTPHandle, SFTPServer, SFTPServerInterface
from paramiko.sftp import SFTP_FAILURE, SFTP_OK, SFTP_PERMISSION_DENIED

DISK_SIZE = 64 * 1024
HOLD_SIZE = 1024 * 1024


class Server(paramiko.ServerInterface):
    def __init__(self, options, transport):
        self.options = options
        self.transport = transport

    def get_allowed_auths(self, username):
        return ",".join(self.options.auth)

    def check_auth_password(self, username, password):
        if "password" in self.options.auth and (username, password) == (self.options.user, self.options.password):
            return paramiko.AUTH_SUCCESSFUL
        return paramiko.AUTH_FAILED

    def check_auth_interactive(self, username, submethods):
        if "keyboard-interactive" not in self.options.auth or username != self.options.user:
            return paramiko.AUTH_FAILED
        return paramiko.InteractiveQuery("", "", ("Password: ", False))

    def check_auth_interactive_response(self, responses):
        if list(responses) == [self.options.password]:
            return paramiko.AUTH_SUCCESSFUL
        return paramiko.AUTH_FAILED

    def check_channel_request(self, kind, chanid):
        return paramiko.OPEN_SUCCEEDED if kind == "session" else paramiko.OPEN_FAILED_ADMINISTRATIVELY_PROHIBITED


class Handle(SFTPHandle):
    def __init__(self, flags, options, transport, interface, name):
        super().__init__(flags)
        self.options = options
        self.transport = transport
        self.interface = interface
        self.name = name

    def close(self):
        super().close()
        if not self.interface.ended:
            with open(os.path.join(self.options.folder, "closed"), "a") as log:
                log.write(self.name + "\n")

    def write(self, offset, data):
        fault = self.options.fault
        if fault == "hold" and offset + len(data) > HOLD_SIZE:
            while not os.path.exists(os.path.join(self.options.folder, "release")):
                time.sleep(0.02)
        if fault == "stall":
            time.sleep(3600)
        if fault == "drop":
            self.transport.sock.shutdown(socket.SHUT_RDWR)
            self.transport.close()
            return SFTP_FAILURE
        if fault == "disk-full" and offset + len(data) > DISK_SIZE:
            return SFTP_FAILURE
        return super().write(offset, data)


def rooted_sftp(options):
    root = os.path.realpath(options.root)

    class Rooted(SFTPServerInterface):
        def __init__(self, server, *args, **kwargs):
            super().__init__(server, *args, **kwargs)
            self.transport = server.transport
            self.ended = False

        def session_ended(self):
            self.ended = True

        def local(self, path):
            return path if os.path.isabs(path) else os.path.join(root, path)

        def canonicalize(self, path):
            return os.path.realpath(self.local(path))

        def list_folder(self, path):
            try:
                return [SFTPAttributes.from_stat(os.lstat(os.path.join(self.local(path), name)), name)
                        for name in os.listdir(self.local(path))]
            except OSError as e:
                return SFTPServer.convert_errno(e.errno)

        def stat(self, path):
            try:
                return SFTPAttributes.from_stat(os.stat(self.local(path)))
            except OSError as e:
                return SFTPServer.convert_errno(e.errno)

        lstat = stat

        def open(self, path, flags, attr):
            if options.fault == "read-only":
                return SFTP_PERMISSION_DENIED
            mode = "wb" if flags & os.O_WRONLY else "r+b" if flags & os.O_RDWR else "rb"
            try:
                fd = os.open(self.local(path), flags, 0o644)
                handle = Handle(flags, options, self.transport, self, os.path.basename(path))
                handle.writefile = handle.readfile = os.fdopen(fd, mode)
                return handle
            except OSError as e:
                return SFTPServer.convert_errno(e.errno)

        def remove(self, path):
            try:
                os.remove(self.local(path))
                return SFTP_OK
            except OSError as e:
                return SFTPServer.convert_errno(e.errno)

        def mkdir(self, path, attr):
            try:
                os.mkdir(self.local(path))
                return SFTP_OK
            except OSError as e:
                return SFTPServer.convert_errno(e.errno)

    return Rooted


def serve(connection, options, host_key):
    if options.fault == "silent":
        time.sleep(3600)
        return
    transport = paramiko.Transport(connection)
    transport.add_server_key(host_key)
    transport.set_subsystem_handler("sftp", SFTPServer, rooted_sftp(options))
    try:
        transport.start_server(server=Server(options, transport))
    except (paramiko.SSHException, EOFError, OSError):
        return
    while transport.is_active():
        time.sleep(0.2)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--folder", required=True)
    parser.add_argument("--host-key", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--auth", action="append", default=[])
    parser.add_argument("--fault", default="")
    options = parser.parse_args()
    host_key = paramiko.Ed25519Key.from_private_key_file(options.host_key)

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)

    def accept():
        while True:
            connection, _ = listener.accept()
            threading.Thread(target=serve, args=(connection, options, host_key), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    print("port %d" % listener.getsockname()[1], flush=True)
    sys.stdin.read()


if __name__ == "__main__":
    main()
