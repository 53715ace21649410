# What the accessibility checks share (scripts/atspi_check.py, scripts/busy_check.py): finding
# the program on the AT-SPI bus, walking its tree, and counting the checks that fail.
import sys
import time

import pyatspi

failures = []


def check(what, ok, seen=""):
    print(("ok   " if ok else "FAIL ") + what + (f" (saw {seen!r})" if not ok else ""))
    if not ok:
        failures.append(what)


def finish():
    print("PASS" if not failures else f"FAIL: {len(failures)} check(s)")
    sys.exit(0 if not failures else 1)


def find_app(name, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name and app.name.lower() == name:
                return app
        time.sleep(0.2)
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)
