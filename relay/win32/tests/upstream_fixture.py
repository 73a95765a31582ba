#!/usr/bin/env python3
"""An upstream network caller-ID server for the relay's forwarding test, on loopback.

It greets each connection as a server does: "200 NCID Server: upstream 1.0", every call it
has taken as a CIDLOG line, "250 End of call log" and "300 End of server startup". It takes
gateway call lines ("CALL: ###DATEmmddhhmm...LINE...NMBR...NAME...+++"), keeps each call and
reports it to every connection as a CID line.

A second port takes one command per line: "stop" (the next call is the last taken: the links
are dropped before it is reported, and the server stops listening), "start" (listen again on
the same port) and "calls" (the numbers taken, in order, one line, blank separated), each
answered and the link closed.

  upstream_fixture.py -- PROGRAM [ARGS...]   runs PROGRAM with RELAY_UPSTREAM_PORT and
                                             RELAY_UPSTREAM_CONTROL_PORT set; exits with its status
"""
import re
import socket
import subprocess
import sys
import threading
import os

CALL = re.compile(r"CALL: ###DATE(\d{4})(\d{4})\.\.\.LINE(.*?)\.\.\.NMBR(.*?)\.\.\.NAME(.*)\+\+\+$")


class Upstream:
    def __init__(self):
        self.lock = threading.Lock()
        self.calls = []  # (number, CID line's fields)
        self.links = []
        self.stopping = False
        self.listener = None
        self.port = 0
        self.start()

    def start(self):
        with self.lock:
            if self.listener:
                return
            listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            listener.bind(("127.0.0.1", self.port))
            listener.listen(8)
            self.port = listener.getsockname()[1]
            self.listener = listener
        threading.Thread(target=self.accept, args=(listener,), daemon=True).start()

    def stop(self):
        with self.lock:
            self.stopping = True

    def drop(self):
        # Called with the lock held: a call taken but never reported, the way a link dies.
        listener, self.listener = self.listener, None
        links, self.links = self.links, []
        self.stopping = False
        if listener:
            listener.close()
        for link in links:
            try:
                link.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def accept(self, listener):
        while True:
            try:
                link, _ = listener.accept()
            except OSError:
                return
            with self.lock:
                if self.listener is not listener:
                    link.close()
                    return
                self.links.append(link)
                history = "".join("CIDLOG: %s\r\n" % fields for _, fields in self.calls)
                link.sendall(("200 NCID Server: upstream 1.0\r\n%s250 End of call log\r\n"
                              "300 End of server startup\r\n" % history).encode("utf-8"))
            threading.Thread(target=self.read, args=(link,), daemon=True).start()

    def read(self, link):
        pending = b""
        with link:
            while True:
                try:
                    data = link.recv(4096)
                except OSError:
                    return
                if not data:
                    return
                pending += data
                while b"\n" in pending:
                    raw, pending = pending.split(b"\n", 1)
                    match = CALL.match(raw.decode("utf-8", "replace").rstrip("\r"))
                    if match:
                        self.take(link, *match.groups())

    def take(self, link, month_day, time, line, number, name):
        fields = "*DATE*%s2026*TIME*%s*LINE*%s*NMBR*%s*MESG*NONE*NAME*%s*" % (month_day, time, line, number, name)
        report = "CID: %s\r\n" % fields
        with self.lock:
            if link not in self.links:
                return
            self.calls.append((number, fields))
            if self.stopping:
                self.drop()
                return
            for each in self.links:
                try:
                    each.sendall(report.encode("utf-8"))
                except OSError:
                    pass


def serve_control(upstream, control):
    while True:
        client, _ = control.accept()
        with client:
            command = client.makefile("r").readline().strip()
            if command == "stop":
                upstream.stop()
            elif command == "start":
                upstream.start()
            with upstream.lock:
                answer = " ".join(number for number, _ in upstream.calls) if command == "calls" else "ok"
            client.sendall((answer + "\n").encode())


def main():
    upstream = Upstream()
    control = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    control.bind(("127.0.0.1", 0))
    control.listen(4)
    threading.Thread(target=serve_control, args=(upstream, control), daemon=True).start()
    env = dict(os.environ, RELAY_UPSTREAM_PORT=str(upstream.port),
               RELAY_UPSTREAM_CONTROL_PORT=str(control.getsockname()[1]))
    sys.exit(subprocess.call(sys.argv[sys.argv.index("--") + 1:], env=env))


if __name__ == "__main__":
    main()
