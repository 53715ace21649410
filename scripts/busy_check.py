#!/usr/bin/python3
# A calculation of several seconds in the running calculator: meanwhile the window repaints what
# another window uncovered and answers the accessibility bus at once; keys typed meanwhile land
# afterwards, in order; Escape cancels. Run by scripts/atspi-check.sh PROGRAM busy_check.py.
import subprocess
import sys
import tempfile
import time

import pyatspi
from atspi_tree import check, find_app, finish, walk

window = sys.argv[1]


def text_of(node):
    t = node.queryText()
    return t.getText(0, t.characterCount)


def slow(layers):
    """An expression that works for several seconds: Replace after Replace over 5,000,000 letters."""
    e = 'Space(5000000)," ","a"'
    for i in range(layers):
        e = f'Replace({e}),"{"ab"[i % 2]}","{"ba"[i % 2]}"'
    return f"Len(Replace({e}))"


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "40", *names], check=True)


def shot(path):
    subprocess.run(["import", "-window", window, path], check=True, stderr=subprocess.DEVNULL)


def differing_pixels(a, b):
    run = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return int(float(run.stderr.split()[0]))


def wait_for(condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.05)
    return False


app = find_app("numerette")
if app is None:
    print("FAIL the program is not on the accessibility bus")
    sys.exit(1)
nodes = list(walk(app))
expression = next(n for n in nodes if n.name == "Expression" and n.getRole() == pyatspi.ROLE_TEXT)
result = next(n for n in nodes if n.name == "Result" and n.getRole() == pyatspi.ROLE_TEXT)
shots = tempfile.mkdtemp()

# 1. Several seconds that end in an error (the division comes last), so that the focus stays in
#    the expression box and the keys typed meanwhile show where they landed.
typed = slow(120) + " + 1/0"  # or the time-out ends it: an error either way
expression.queryEditableText().setTextContents(typed)
expression.queryComponent().grabFocus()
time.sleep(0.3)
keys("ctrl+End")
before_text = text_of(expression)
shot(f"{shots}/before.png")
keys("Return")
started = time.time()
time.sleep(0.5)
slowest = 0.0
for _ in range(5):
    for ask in (lambda: text_of(result), result.getState):
        t = time.time()
        ask()
        slowest = max(slowest, time.time() - t)
    time.sleep(0.1)
subprocess.run(["xdotool", "type", "--delay", "40", "xyz"], check=True)
geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True).stdout
place = dict(line.split("=") for line in geometry.split())
cover = subprocess.Popen(["xmessage", "-geometry", f"400x300+{int(place['X']) + 50}+{int(place['Y']) + 50}",
                          "covering the calculator"])
time.sleep(0.6)
cover.kill()
cover.wait()
time.sleep(0.5)
shot(f"{shots}/during.png")
still_running = text_of(result) == "= 595.09"
check("the calculation was still running during the checks", still_running, text_of(result))
check("the accessibility bus answered within 200 ms during the calculation", slowest < 0.2, f"{slowest:.3f} s")
# A window that does not repaint leaves tens of thousands of pixels behind; the caret may
# blink in between.
uncovered = differing_pixels(f"{shots}/before.png", f"{shots}/during.png")
check("the window repainted what the other window uncovered", uncovered < 300, uncovered)
check('the calculation ended in "Error"', wait_for(lambda: text_of(result) == "Error", 20), text_of(result))
check("the keys typed meanwhile landed afterwards, in order",
      wait_for(lambda: text_of(expression) == before_text + "xyz", 2), text_of(expression)[-20:])
print(f"     (the calculation took {time.time() - started:.1f} s; the slowest answer {slowest * 1000:.0f} ms)")

# 2. Escape stops a calculation at once.
expression.queryEditableText().setTextContents("6*7")
expression.queryComponent().grabFocus()
time.sleep(0.3)
keys("Return")
wait_for(lambda: text_of(result) == "= 42", 2)
expression.queryEditableText().setTextContents(slow(120))
expression.queryComponent().grabFocus()
time.sleep(0.3)
keys("Return")
time.sleep(1.0)
running = text_of(result) == "= 42"
keys("Escape")
pressed = time.time()
check("Escape stops the calculation within a second",
      running and wait_for(lambda: text_of(result) == "Error", 1.0), text_of(result))
print(f"     (the result box said Error {time.time() - pressed:.2f} s after Escape)")

finish()
