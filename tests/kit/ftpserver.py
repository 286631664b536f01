#!/usr/bin/python3
"""FTP server for the tests: pyftpdlib on 127.0.0.1 with one account.

Prints "port N" once it listens, then serves until its standard input closes,
so it never outlives the test that started it. With --certificate it offers
explicit TLS (AUTH TLS) with that PEM file (certificate and key).
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class Settings:
    banner = "Tessaly test server ready."
    # Tests try wrong passwords; the usual pause would only slow them down.
    auth_failed_timeout = 0.1


class Handler(Settings, FTPHandler):
    pass


def without_session_tickets(context):
    """Has the server send no TLS 1.3 session ticket: pyOpenSSL does not
    offer OpenSSL's call, which is reached in the library it loaded."""
    import ctypes
    from OpenSSL._util import ffi
    libssl = ctypes.CDLL("libssl.so.3")
    libssl.SSL_CTX_set_num_tickets.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
    libssl.SSL_CTX_set_num_tickets(int(ffi.cast("intptr_t", context._context)), 0)


def tls_handler(certificate, data_certificate, tls_version, session_tickets):
    from OpenSSL import SSL
    from OpenSSL._util import lib
    from pyftpdlib.handlers import DTPHandler, TLS_DTPHandler, TLS_FTPHandler

    data_context = None
    if data_certificate:
        data_context = SSL.Context(SSL.TLS_METHOD)
        data_context.use_certificate_chain_file(data_certificate)
        data_context.use_privatekey_file(data_certificate)

    class TlsDataHandler(TLS_DTPHandler):
        def secure_connection(self, ssl_context):
            super().secure_connection(data_context or ssl_context)

        # As vsftpd and proftpd do: a data connection must resume the
        # control connection's TLS session (under TLS 1.3, only possible
        # with a ticket).
        def handle_ssl_established(self):
            if session_tickets and not lib.SSL_session_reused(self.socket._ssl):
                self._resp = ("522 SSL connection failed: session reuse required", logging.warning)
                self.close()

        # As vsftpd does: after its close_notify the server waits for the
        # client's, or for the client to drop the connection, before it
        # closes the data connection and replies on the control connection.
        def _do_ssl_shutdown(self):
            self._ssl_closing = True
            try:
                done = self.socket.shutdown()
            except SSL.WantReadError:
                done = False
            except SSL.WantWriteError:
                self._ssl_want_write = True
                return
            except SSL.Error:
                done = True
            if done:
                DTPHandler.close(self)
            else:
                self._ssl_want_read = True
                self.modify_ioloop_events(self.ioloop.READ)

    class TlsHandler(Settings, TLS_FTPHandler):
        dtp_handler = TlsDataHandler

    TlsHandler.certfile = certificate
    if tls_version or not session_tickets:
        context = SSL.Context(SSL.TLS_SERVER_METHOD)
        context.use_certificate_chain_file(certificate)
        context.use_privatekey_file(certificate)
        if tls_version:
            only = {"1.2": SSL.TLS1_2_VERSION, "1.3": SSL.TLS1_3_VERSION}[tls_version]
            context.set_min_proto_version(only)
            context.set_max_proto_version(only)
        if not session_tickets:
            without_session_tickets(context)
        TlsHandler.ssl_context = context
    return TlsHandler


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", required=True)
    parser.add_argument("--password", required=True)
    parser.add_argument("--certificate")
    parser.add_argument("--data-certificate")
    parser.add_argument("--tls-version", choices=["1.2", "1.3"])
    parser.add_argument("--no-session-tickets", action="store_true")
    parser.add_argument("--unknown", action="append", default=[],
                        help="a command the server does not know, as older servers (MLSD, REST...)")
    args = parser.parse_args()

    logging.basicConfig(level=logging.WARNING, stream=sys.stderr)
    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = tls_handler(args.certificate, args.data_certificate, args.tls_version,
                          not args.no_session_tickets) if args.certificate else Handler
    handler.authorizer = authorizer
    handler.proto_cmds = {name: value for name, value in handler.proto_cmds.items() if name not in args.unknown}

    server = FTPServer(("127.0.0.1", 0), handler)
    print("port", server.socket.getsockname()[1], flush=True)

    def watch_parent():
        sys.stdin.read()
        os._exit(0)

    threading.Thread(target=watch_parent, daemon=True).start()
    server.serve_forever(handle_exit=False)


if __name__ == "__main__":
    main()
