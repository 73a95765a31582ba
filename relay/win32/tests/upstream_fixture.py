#!/usr/bin/env python3
"""An upstream network caller-ID server for the relay's forwarding test, on loopback.

It greets each connection with "200 NCID Server: upstream 1.0" and "300 End of server
startup", takes gateway call lines ("CALL: ###DATEmmddhhmm...LINE...NMBR...NAME...+++"),
keeps each call and reports it to every connection as a CID line, as a server does.

A second port takes one command per line: "stop" (stop listening, drop every link), "start"
(listen again on the same port) and "calls" (the numbers taken, in order, one line, blank
separated), each answered and the link closed.

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
        self.calls = []
        self.links = []
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
        # Each call taken has already been reported: the links are only half closed, after
        # those reports, so the relay can tell a call taken from one never received.
        with self.lock:
            listener, self.listener = self.listener, None
            links, self.links = self.links, []
        if listener:
            listener.close()
        for link in links:
            try:
                link.shutdown(socket.SHUT_WR)
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
            link.sendall(b"200 NCID Server: upstream 1.0\r\n300 End of server startup\r\n")
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
        # A stopped server takes nothing more; a call it takes is reported before it can stop.
        report = "CID: *DATE*%s2026*TIME*%s*LINE*%s*NMBR*%s*MESG*NONE*NAME*%s*\r\n" % (month_day, time, line, number, name)
        with self.lock:
            if link not in self.links:
                return
            self.calls.append(number)
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
                answer = " ".join(upstream.calls) if command == "calls" else "ok"
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
