#!/usr/bin/env python3
"""Prints which folders of src/ include which, and any cycle between them.

A folder is a directory directly holding sources (src/eval/window is its own folder). An
include of app/FormTallix.h is the window object every handler belongs to and is listed
apart: cycles through it are expected.
Exit status 1 when a cycle remains without it.
"""
import os
import re
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
WINDOW_OBJECT = "app/FormTallix.h"


def folder_of(path):
    return os.path.dirname(os.path.relpath(path, ROOT)) or "."


def main():
    edges = {}
    via_window = set()
    for directory, _, files in os.walk(ROOT):
        for name in files:
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(directory, name)
            source = folder_of(path)
            with open(path, encoding="utf-8") as f:
                for target in INCLUDE.findall(f.read()):
                    resolved = os.path.normpath(os.path.join(directory, target))
                    if not os.path.exists(resolved):
                        resolved = os.path.normpath(os.path.join(ROOT, target))
                    if not os.path.exists(resolved):
                        continue  # a system or generated header
                    destination = folder_of(resolved)
                    if destination == source:
                        continue
                    if os.path.relpath(resolved, ROOT) == WINDOW_OBJECT:
                        via_window.add((source, destination))
                        continue
                    edges.setdefault(source, set()).add(destination)
    for source in sorted(edges):
        print(f"{source} -> {', '.join(sorted(edges[source]))}")
    if via_window:
        print("through " + WINDOW_OBJECT + ": " + ", ".join(sorted(s for s, _ in via_window)))

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
    return 0


if __name__ == "__main__":
    sys.exit(main())
