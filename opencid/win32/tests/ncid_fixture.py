#!/usr/bin/env python3
"""A small network caller-ID server for tests and the demo, on loopback, on a free port.

It greets each client with "200 NCID Server: fixture 1.0" and "210 API: 1.0 Feature Set
1 2 3 4", replays its call log as CIDLOG lines, ends the log with "300 End of call log", then
sends each new call as a CID line, and answers "REQ: YO" with "ACK: REQ YO".

A second port takes one command per line and answers "ok":
  call LABEL NUMBER [NAME...]  log a call; connected clients get it at once
  stop                         stop listening and drop every client (the server is down)
  start                        listen again on the same port
  silent                       go on accepting and logging, but send and answer nothing,
                               without closing a connection (a hung server, a dead route)
  speak                        end the silence: its connections close, new ones are greeted
  send TEXT                    send raw lines to every client, each "|" in TEXT a line end

  ncid_fixture.py -- PROGRAM [ARGS...]   runs PROGRAM with OPENCID_NCID_PORT and
                                         OPENCID_CONTROL_PORT set, and exits with its status
  ncid_fixture.py --demo [SECONDS]       serves on its own, a call every SECONDS (5)
"""
import datetime
import random
import socket
import subprocess
import sys
import threading
import time


class Fixture:
    def __init__(self):
        self.lock = threading.Lock()
        self.log = []
        self.clients = []
        self.listener = None
        self.port = 0
        self.silent = False
        self.held = []  # connections made or kept while silent
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
            listener, self.listener = self.listener, None
            clients, self.clients = self.clients + self.held, []
            self.held = []
        for sock in ([listener] if listener else []) + clients:
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            sock.close()

    def accept(self, listener):
        while True:
            try:
                client, _ = listener.accept()
            except OSError:
                return
            with self.lock:
                if self.listener is not listener:
                    client.close()
                    return
                if self.silent:
                    self.held.append(client)
                    continue
                lines = ["200 NCID Server: fixture 1.0", "210 API: 1.0 Feature Set 1 2 3 4"]
                lines += ["CIDLOG: " + entry for entry in self.log]
                lines.append("300 End of call log")
                self.send_to(client, lines)
                self.clients.append(client)
            threading.Thread(target=self.listen_to, args=(client,), daemon=True).start()

    # Answers a client's keep-alive requests until it goes.
    def listen_to(self, client):
        try:
            with client.makefile("rb") as stream:
                for raw in stream:
                    with self.lock:
                        if raw.strip() == b"REQ: YO" and not self.silent and client in self.clients:
                            self.send_to(client, ["ACK: REQ YO"])
        except (OSError, ValueError):
            pass

    def set_silent(self, silent):
        with self.lock:
            self.silent = silent
            if silent:
                self.held, self.clients = self.held + self.clients, []
                return
            held, self.held = self.held, []
        for sock in held:
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass
            sock.close()

    @staticmethod
    def send_to(client, lines):
        try:
            client.sendall("".join(line + "\r\n" for line in lines).encode("utf-8", "surrogateescape"))
        except OSError:
            pass

    def broadcast(self, line):
        for client in list(self.clients):
            self.send_to(client, [line])

    def call(self, label, number, name):
        now = datetime.datetime.now()
        entry = "*DATE*%s*TIME*%s*LINE*%s*NMBR*%s*MESG*NONE*NAME*%s*" % (
            now.strftime("%m%d%Y"), now.strftime("%H%M"), label, number, name or "NO NAME")
        with self.lock:
            self.log.append(entry)
            self.broadcast("CID: " + entry)

    def command(self, text):
        verb, _, rest = text.partition(" ")
        if verb == "call":
            parts = rest.split(" ", 2)
            self.call(parts[0], parts[1] if len(parts) > 1 else "", parts[2] if len(parts) > 2 else "")
        elif verb == "stop":
            self.stop()
        elif verb == "start":
            self.start()
        elif verb in ("silent", "speak"):
            self.set_silent(verb == "silent")
        elif verb == "send":
            with self.lock:
                self.broadcast(rest.replace("|", "\r\n"))
        else:
            return "unknown command"
        return "ok"


def serve_commands(fixture):
    control = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    control.bind(("127.0.0.1", 0))
    control.listen(4)

    # A client may hang up without waiting for its answer (bash's /dev/tcp does).
    def talk(sock):
        with sock, sock.makefile("rwb") as stream:
            for raw in stream:
                reply = fixture.command(raw.decode("utf-8", "surrogateescape").rstrip("\r\n"))
                try:
                    stream.write(reply.encode() + b"\n")
                    stream.flush()
                except OSError:
                    return

    def accept():
        while True:
            sock, _ = control.accept()
            threading.Thread(target=talk, args=(sock,), daemon=True).start()

    threading.Thread(target=accept, daemon=True).start()
    return control.getsockname()[1]


def main(arguments):
    fixture = Fixture()
    control_port = serve_commands(fixture)
    if arguments[:1] == ["--"]:
        environment = dict(__import__("os").environ, OPENCID_NCID_PORT=str(fixture.port),
                           OPENCID_CONTROL_PORT=str(control_port))
        return subprocess.call(arguments[1:], env=environment)
    if arguments[:1] == ["--demo"]:
        pause = float(arguments[1]) if len(arguments) > 1 else 5.0
        print("NCID fixture on 127.0.0.1:%d, commands on 127.0.0.1:%d" % (fixture.port, control_port), flush=True)
        while True:
            time.sleep(pause)
            fixture.call(random.choice(["POTS", "VOIP"]), "0532%07d" % random.randrange(10 ** 7), "DEMO CALLER")
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
