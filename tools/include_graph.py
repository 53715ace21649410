#!/usr/bin/env python3
"""Prints which folders of src/ include which, and fails on a cycle or a broken layer rule.

A folder is a directory directly holding sources (src/eval/window is its own folder). An
include of app/FormTallix.h is the window object every handler belongs to and is listed
apart: cycles through it are expected.

The layer rules (docs/ARCHITECTURE.md):
- the engine (src/eval and its builtins/ wing, not its window/ folder) includes the C++
  standard library and itself only: no Qt, no other folder of src/;
- the window logic, the shared helpers and the ports include no Qt adapter, no window and no
  Qt header beyond Qt Core, so that they never name a widget.

Usage: include_graph.py [--root SRC] [--qt-include DIRS]
--qt-include lists Qt's include folders (separated by ";"), as CMake knows them; the one named
QtCore holds the Qt headers the window logic may use. Without it, the usual Debian place is
taken, and that rule is skipped when it is not there.
Exit status 1 on a cycle or a broken rule.
"""
import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+([<"])([^">]+)[">]', re.M)
WINDOW_OBJECT = "app/FormTallix.h"
DEBIAN_QT_CORE = "/usr/include/x86_64-linux-gnu/qt6/QtCore"

# Files of the window-logic folders that are Qt adapters themselves.
ADAPTERS = ("app/MainWindow.h", "app/MainWindow.cpp", "app/main.cpp",
            "companion/CompanionDialog.h", "companion/CompanionDialog.cpp")
ENGINE = ("eval", "eval/builtins")
WINDOW_LOGIC = ("app", "entry", "eval/window", "history", "companion", "shared", "platform")


def layer_of(relative):
    """'engine', 'logic' or None (adapters, programs: anything goes) for a file under src/."""
    folder = os.path.dirname(relative)
    if folder in ENGINE:
        return "engine"
    if relative in ADAPTERS:
        return None
    if folder in WINDOW_LOGIC:
        return "logic"
    return None


def main():
    parser = argparse.ArgumentParser()
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--root", default=os.path.join(here, "..", "src"))
    parser.add_argument("--qt-include", default=DEBIAN_QT_CORE)
    options = parser.parse_args()
    root = os.path.abspath(options.root)
    qt_core = next((d for d in options.qt_include.split(";")
                    if os.path.basename(os.path.normpath(d)) == "QtCore" and os.path.isdir(d)), None)

    def folder_of(path):
        return os.path.dirname(os.path.relpath(path, root)) or "."

    edges = {}
    via_window = set()
    broken = []
    for directory, _, files in sorted(os.walk(root)):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(directory, name)
            relative = os.path.relpath(path, root)
            source = folder_of(path)
            layer = layer_of(relative)
            with open(path, encoding="utf-8") as f:
                includes = INCLUDE.findall(f.read())
            for bracket, target in includes:
                if bracket == "<":
                    if target.startswith("Q") and layer == "engine":
                        broken.append(f"{relative}: the engine includes Qt <{target}>")
                    elif (target.startswith("Q") and layer == "logic" and qt_core
                          and not os.path.exists(os.path.join(qt_core, target))):
                        broken.append(f"{relative}: window logic includes <{target}>, beyond Qt Core")
                    continue
                resolved = os.path.normpath(os.path.join(directory, target))
                if not os.path.exists(resolved):
                    resolved = os.path.normpath(os.path.join(root, target))
                if not os.path.exists(resolved):
                    continue  # a system or generated header
                destination = folder_of(resolved)
                resolved_relative = os.path.relpath(resolved, root)
                if layer == "engine" and destination not in ENGINE:
                    broken.append(f"{relative}: the engine includes {resolved_relative}")
                if layer == "logic" and layer_of(resolved_relative) is None:
                    broken.append(f"{relative}: window logic includes the adapter {resolved_relative}")
                if destination == source:
                    continue
                if resolved_relative == WINDOW_OBJECT:
                    via_window.add((source, destination))
                    continue
                edges.setdefault(source, set()).add(destination)
    for source in sorted(edges):
        print(f"{source} -> {', '.join(sorted(edges[source]))}")
    if via_window:
        print("through " + WINDOW_OBJECT + ": " + ", ".join(sorted({s for s, _ in via_window})))
    for line in broken:
        print("layer rule broken: " + line)

    # Depth-first search for a cycle among the remaining edges.
    state = {}
    stack = []

    def visit(node):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 1:
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 2
        return None

    for node in sorted(edges):
        if node not in state:
            cycle = visit(node)
            if cycle:
                print("cycle: " + " -> ".join(cycle))
                return 1
    print("no cycle")
    return 1 if broken else 0


if __name__ == "__main__":
    sys.exit(main())
