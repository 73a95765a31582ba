#!/usr/bin/env python3
"""A caller-ID modem for tests, played on the Linux side of a pseudo-terminal pair (socat)
whose other end is linked into a Wine prefix as a COM port.

  modem_fixture.py DOSDEVICES COMn -- PROGRAM [ARGS...]
      runs PROGRAM with OPENCID_MODEM_PORT=COMn and OPENCID_CONTROL_PORT set, and exits
      with its status; from the first plug to the end DOSDEVICES/comn links to the port.

The command port takes one command per line and answers "ok":
  plug           the port appears (a new pair) and the modem answers on it
  unplug         the port vanishes (the pair is gone; the COM link points nowhere)
  callerid MODE  how caller-ID reporting is switched on: vcid (AT+VCID=1 answers OK),
                 cid (AT+VCID=1 answers ERROR, AT#CID=1 OK), none (ERROR to both)
  send TEXT      writes TEXT to the port, each "|" in it as CR LF
The modem echoes commands until ATE0 and identifies itself to ATI as "FIXTURE MODEM 56K".
"""
import os
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time

from ncid_fixture import serve_commands

IDENTIFICATION = "FIXTURE MODEM 56K"


class Modem:
    def __init__(self, link):
        self.folder = tempfile.mkdtemp(prefix="opencid-modem-")
        self.modem_end = os.path.join(self.folder, "modem")
        self.port_end = os.path.join(self.folder, "port")
        self.link = link
        self.mode = "vcid"
        self.socat = None
        self.fd = None
        self.reader = None
        self.lock = threading.Lock()

    def plug(self):
        if self.socat:
            return
        # Linked now, not at the start: the test's run may have made the prefix anew meanwhile.
        if os.path.lexists(self.link):
            os.remove(self.link)
        os.symlink(self.port_end, self.link)
        self.socat = subprocess.Popen(["socat", "pty,raw,echo=0,link=" + self.modem_end,
                                       "pty,raw,echo=0,link=" + self.port_end])
        deadline = time.time() + 5
        while not (os.path.exists(self.modem_end) and os.path.exists(self.port_end)):
            if time.time() > deadline:
                raise RuntimeError("socat made no pseudo-terminal pair")
            time.sleep(0.05)
        self.fd = os.open(self.modem_end, os.O_RDWR | os.O_NOCTTY)
        self.reader = threading.Thread(target=self.answer, args=(self.fd,), daemon=True)
        self.reader.start()

    def unplug(self):
        if not self.socat:
            return
        self.socat.terminate()
        self.socat.wait()
        self.socat = None
        self.reader.join()
        with self.lock:
            os.close(self.fd)
            self.fd = None

    def close(self):
        self.unplug()
        if os.path.lexists(self.link):
            os.remove(self.link)
        shutil.rmtree(self.folder, ignore_errors=True)

    def write(self, text):
        with self.lock:
            if self.fd is not None:
                os.write(self.fd, text.encode("utf-8", "surrogateescape"))

    # Reads commands (each ended by CR) until the pair is gone.
    def answer(self, fd):
        echo, pending = True, b""
        while True:
            ready, _, _ = select.select([fd], [], [], 0.1)
            if not ready:
                continue
            try:
                data = os.read(fd, 256)
            except OSError:
                return
            if not data:
                return
            pending += data
            while b"\r" in pending:
                command, _, pending = pending.partition(b"\r")
                command = command.decode("ascii", "replace").strip()
                if not command:
                    continue
                reply = self.reply(command)
                self.write((command + "\r" if echo else "") + "".join("\r\n%s\r\n" % line for line in reply))
                if command.upper() == "ATZ":
                    echo = True
                elif command.upper() == "ATE0":
                    echo = False

    def reply(self, command):
        command = command.upper()
        if command == "AT+VCID=1":
            return ["OK" if self.mode == "vcid" else "ERROR"]
        if command == "AT#CID=1":
            return ["OK" if self.mode in ("vcid", "cid") else "ERROR"]
        if command == "ATI":
            return [IDENTIFICATION, "OK"]
        return ["OK"]

    def command(self, text):
        verb, _, rest = text.partition(" ")
        if verb == "plug":
            self.plug()
        elif verb == "unplug":
            self.unplug()
        elif verb == "callerid" and rest in ("vcid", "cid", "none"):
            self.mode = rest
        elif verb == "send":
            self.write(rest.replace("|", "\r\n"))
        else:
            return "unknown command"
        return "ok"


def main(arguments):
    if len(arguments) < 4 or arguments[2] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    dosdevices, port = arguments[:2]
    modem = Modem(os.path.join(dosdevices, port.lower()))
    try:
        environment = dict(os.environ, OPENCID_MODEM_PORT=port, OPENCID_CONTROL_PORT=str(serve_commands(modem)))
        return subprocess.call(arguments[3:], env=environment)
    finally:
        modem.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
