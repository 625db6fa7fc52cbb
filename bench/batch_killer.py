#!/usr/bin/env python3
"""Watches the materials of a batch folder for their first and last change.

    batch_killer.py measure FOLDER OLD         prints the seconds from the first
                                               file changed to the last one
    batch_killer.py kill FOLDER OLD PID SPAN   SIGKILLs PID at a moment uniform
                                               over SPAN seconds from the first
                                               change; prints that moment

OLD holds the bytes before the batch, under the same names.
"""
import os
import random
import signal
import sys
import time


def changed(folder, old):
    count = 0
    for name, data in old.items():
        with open(os.path.join(folder, name), "rb") as f:
            count += f.read() != data
    return count


def wait_change(folder, old, at_least, timeout=20.0):
    start = time.monotonic()
    while changed(folder, old) < at_least:
        if time.monotonic() - start > timeout:
            sys.exit("batch_killer: the batch did not write in time")
    return time.monotonic()


def main():
    mode, folder, old_folder = sys.argv[1:4]
    old = {}
    for name in os.listdir(old_folder):
        with open(os.path.join(old_folder, name), "rb") as f:
            old[name] = f.read()
    first = wait_change(folder, old, 1)
    if mode == "measure":
        print(f"{wait_change(folder, old, len(old)) - first:.4f}")
        return
    pid, span = int(sys.argv[4]), float(sys.argv[5])
    moment = random.uniform(0, span)
    while time.monotonic() - first < moment:
        pass
    os.kill(pid, signal.SIGKILL)
    print(f"{moment:.4f}")


if __name__ == "__main__":
    main()
