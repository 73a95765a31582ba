#!/usr/bin/env python3
"""Runs the second-desk test's two sides at once, each in a Wine prefix of its own: the relay
side in the build folder's prefix, the desk side (Test.exe over the open-source control) in
"wineprefix-desk" beside it. They share a fresh folder for their notes.

  second_desk.py RUNNER PROGRAM   exits with 0 when both sides pass
"""
import os
import shutil
import subprocess
import sys
import tempfile


def main():
    runner, program = sys.argv[1], sys.argv[2]
    folder = tempfile.mkdtemp(prefix="second-desk-")
    try:
        windows_folder = "Z:" + folder.replace("/", "\\")
        sides = []
        for side, prefix in (("relay", "wineprefix"), ("desk", "wineprefix-desk")):
            environment = dict(os.environ, RELAY_DESK_SIDE=side, RELAY_DESK_FOLDER=windows_folder,
                               WINE_PREFIX_NAME=prefix,
                               GTEST_OUTPUT=os.environ.get("GTEST_OUTPUT", "").replace(".xml", f"-{side}.xml"))
            if not environment["GTEST_OUTPUT"]:
                del environment["GTEST_OUTPUT"]
            sides.append((side, subprocess.Popen([runner, program], env=environment, stdout=subprocess.PIPE,
                                                 stderr=subprocess.STDOUT)))
        status = 0
        for side, process in sides:
            output, _ = process.communicate()
            print(f"--- {side} side ---")
            sys.stdout.write(output.decode("utf-8", "replace"))
            status = status or process.returncode
        return status
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
