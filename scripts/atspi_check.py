#!/usr/bin/python3
# Reads the running calculator through the AT-SPI tree, as a screen reader does, and checks
# that one calculation is audible: run by scripts/atspi-check.sh, which starts the display,
# the session bus and the program.
import subprocess
import sys
import time

import pyatspi
from atspi_tree import check, find_app, finish, walk
from gi.repository import GLib


def by_name(app, role, name):
    for node in walk(app):
        if node.getRole() == role and node.name == name:
            return node
    return None


def focused(app):
    for node in walk(app):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def keys_then_listen(actions, seconds=2.0):
    """Runs the key presses with the registry listening, and returns the events heard."""
    heard = []

    def on_event(event):
        try:
            event.source.clear_cache()  # names as they are now, not as last read
            heard.append((event.type, event.source.name, event.source.getRoleName(), event.any_data))
        except Exception:
            pass

    kinds = ["object:state-changed:showing", "object:text-changed",
             "object:state-changed:focused", "object:property-change:accessible-value"]
    pyatspi.Registry.registerEventListener(on_event, *kinds)

    def run():
        for a in actions:
            subprocess.run(["xdotool"] + a, check=True)
            time.sleep(0.15)
        GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() or False)
        return False

    GLib.timeout_add(300, run)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_event, *kinds)
    return heard


app = find_app("numerette")
if app is None:
    print("FAIL the program is not on the accessibility bus")
    sys.exit(1)

button = pyatspi.ROLE_PUSH_BUTTON
check('the expression box\'s "Clear" is named apart',
      by_name(app, button, "Clear Calculate Textbox") is not None)
check('the history\'s "Clear" is named apart', by_name(app, button, "Clear Calculate History") is not None)
for spoken in ["plus", "minus", "times", "divided by", "power", "decimal point", "open parenthesis",
               "close parenthesis"]:
    check(f'a keypad key is called "{spoken}"', by_name(app, button, spoken) is not None)

expression = next((n for n in walk(app) if n.name == "Expression" and n.getRole() == pyatspi.ROLE_TEXT), None)
check("the expression box is in the tree", expression is not None)
if expression is not None:
    expression.queryComponent().grabFocus()
    time.sleep(0.3)
    heard = keys_then_listen([["key", "ctrl+a"], ["type", "6*7"], ["key", "Return"]])
    now = focused(app)
    check("after Enter the focus is on the send button",
          now is not None and now.name == "Sent the Result to Calculate Textbox", now and now.name)
    check("a notification with the result appeared",
          any(t.startswith("object:state-changed:showing") and role == "notification" and src == "= 42"
              for t, src, role, _ in heard), heard)
    check("the result box's text changed to the result",
          any(t.startswith("object:text-changed:insert") and src == "Result" and "42" in str(data)
              for t, src, _, data in heard), heard)

    expression.queryComponent().grabFocus()
    time.sleep(0.3)
    heard = keys_then_listen([["key", "ctrl+a"], ["type", "6*"], ["key", "Return"]])
    now = focused(app)
    check("after a failing Enter the focus stays in the expression box",
          now is not None and now.name == "Expression", now and now.name)
    check('a notification with "Error" appeared',
          any(t.startswith("object:state-changed:showing") and role == "notification" and src.startswith("Error")
              for t, src, role, _ in heard), heard)

finish()
