#!/usr/bin/env python3
"""The engine's includes: no header reaches itself again through others,
and the menu bar knows nothing of frames or of the skinner (its frame tells
it where it lies). Exits 1 with what is wrong."""
import os
import re
import sys

# What a unit must not include, directly or through its own headers.
FORBIDDEN = {
    "menubar.h": {"frame.h", "framed_window.h", "skinner.h", "record.h"},
    "menubar.cpp": {"frame.h", "framed_window.h", "skinner.h", "record.h"},
}


def includes(path, engine):
    """The engine's files that `path` includes, as paths under `engine`."""
    found = []
    with open(path, encoding="utf-8") as f:
        for name in re.findall(r'^\s*#\s*include\s+"([^"]+)"', f.read(), re.M):
            for base in (os.path.dirname(path), engine):
                candidate = os.path.normpath(os.path.join(base, name))
                if os.path.isfile(candidate):
                    found.append(os.path.relpath(candidate, engine))
                    break
    return found


def main(engine):
    graph = {}
    for folder, _, files in os.walk(engine):
        for name in files:
            if name.endswith((".h", ".cpp")):
                rel = os.path.relpath(os.path.join(folder, name), engine)
                graph[rel] = includes(os.path.join(engine, rel), engine)
    faults = []

    def reach(start):
        seen, todo = set(), list(graph.get(start, []))
        while todo:
            node = todo.pop()
            if node not in seen:
                seen.add(node)
                todo.extend(graph.get(node, []))
        return seen

    for node in sorted(graph):
        if node.endswith(".h") and node in reach(node):
            faults.append(f"{node} includes itself through others")
        for banned in FORBIDDEN.get(node, ()):
            if banned in reach(node):
                faults.append(f"{node} includes {banned}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
