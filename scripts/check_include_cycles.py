#!/usr/bin/env python3
"""Fails when source units include each other in a cycle.

A unit is a header with the .cpp of the same name: the #include "..." lines of
both are the unit's. A cycle between units means neither can be read, built or
tested without the other, so each should have one direction only.
"""
import re
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
FOLDERS = ["platform/core", "platform/ui", "material", "app", "tests/support"]
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def read_units():
    """Maps each unit (folder/stem) to the header names its files include."""
    units = {}
    for folder in FOLDERS:
        for path in sorted((ROOT / folder).glob("*")):
            if path.suffix in (".h", ".cpp"):
                unit = f"{folder}/{path.stem}"
                units.setdefault(unit, set()).update(INCLUDE.findall(path.read_text()))
    return units


def resolve(folder, name):
    """The unit of an included header, looked for in the including file's
    folder first, as the compiler does; None for a header of no unit."""
    for candidate in [folder] + FOLDERS:
        if (ROOT / candidate / name).exists():
            return f"{candidate}/{Path(name).stem}"
    return None


def edges(units):
    graph = {}
    for unit, names in units.items():
        folder = unit.rsplit("/", 1)[0]
        targets = {resolve(folder, name) for name in names}
        graph[unit] = sorted(t for t in targets if t is not None and t != unit)
    return graph


def find_cycles(graph):
    """A cycle (a list of units, the first repeated at the end) for each
    include that leads back to a unit still being walked."""
    state, path, cycles = {}, [], []

    def visit(unit):
        state[unit] = "open"
        path.append(unit)
        for target in graph[unit]:
            if state.get(target) == "open":
                cycles.append(path[path.index(target):] + [target])
            elif target not in state:
                visit(target)
        state[unit] = "done"
        path.pop()

    for unit in sorted(graph):
        if unit not in state:
            visit(unit)
    return cycles


if __name__ == "__main__":
    sys.setrecursionlimit(10000)
    cycles = find_cycles(edges(read_units()))
    for cycle in cycles:
        print("Include cycle: " + " -> ".join(cycle), file=sys.stderr)
    if cycles:
        sys.exit(1)
    print("No include cycle between source units.")
