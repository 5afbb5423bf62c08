#!/usr/bin/env python3
"""Fails when a file in src/ or sim/ includes a header of a layer it must not reach, or when the
includes of src/ go round in a circle.

Dependencies point down: window -> links -> components -> platform. A link reaches the shared
link interface (src/link) but no other link; the serial core (serial) stays free of the widgets
built on it; the simulators use components and platform only, so that they judge the links
without sharing their code; nothing in src/ reaches sim/.

Every folder of src/ that is not named below is taken for a link, so a new command station's
folder is checked without touching this script.

A circle is looked for among the components of src/: a header and its source file count as one
(X.h and X.cpp are "X"), so two files that need each other are found whether the includes sit in
the headers or the sources, directly or through others on the way.

Usage: scripts/check-layers.py [repository root]   prints each offending file:line and circle
       scripts/check-layers.py --self-test          tries the rules on a made-up tree
"""

import re
import sys
import tempfile
from pathlib import Path

WINDOW = {"window", "about", "main.cpp", "VersionResource.cpp"}
LINK_INTERFACE = "link"
COMPONENTS = {"serial", "serialwidgets", "tcp"}
PLATFORM = "platform"
SIM = "sim"
# Within the components: the serial core is built without the widget layer.
SERIAL_CORE = "serial"
SERIAL_WIDGETS = {"serialwidgets"}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".inc"}


def layer_of(unit):
    if unit == SIM:
        return "simulators"
    if unit in WINDOW:
        return "window"
    if unit in COMPONENTS:
        return "components"
    if unit == PLATFORM:
        return "platform"
    return "links"


def may_include(unit, target):
    """Whether code of unit (a folder of src/, a file in src/ itself, or sim) may include
    target, a unit as well."""
    if unit == target:
        return True
    layer, target_layer = layer_of(unit), layer_of(target)
    if target_layer == "simulators":
        return False
    if layer == "window":
        return True
    if layer == "links":
        if target_layer == "links":
            return target == LINK_INTERFACE
        return target_layer in ("components", "platform")
    if layer == "components":
        if unit == SERIAL_CORE and target in SERIAL_WIDGETS:
            return False
        return target_layer in ("components", "platform")
    if layer == "simulators":
        return target_layer in ("components", "platform")
    return False  # platform reaches nothing above itself


def why_not(unit, target):
    """The rule that an include of target from unit breaks."""
    layer, target_layer = layer_of(unit), layer_of(target)
    if target_layer == "simulators":
        return "nothing in src/ reaches the simulators"
    if layer == "simulators":
        return "the simulators use components and platform only"
    if layer == target_layer == "links":
        return "a link includes no other link"
    if layer == target_layer == "components":
        return "the serial core is built without its widgets"
    return "dependencies point down: window, links, components, platform"


def unit_of(path, root):
    """The folder of src/ (or the file in src/ itself) that path belongs to, or sim."""
    relative = path.relative_to(root)
    return SIM if relative.parts[0] == SIM else relative.parts[1]


def resolve(included, including, root):
    """The file of src/ or sim/ an include names: beside the including file, else under src/,
    else under sim/ (the include directories). None for a system or generated header."""
    for base in (including.parent, root / "src", root / SIM):
        candidate = (base / included).resolve()
        if candidate.is_file() and (root / "src" in candidate.parents or
                                    root / SIM in candidate.parents):
            return candidate
    return None


def violations(root):
    for top in ("src", SIM):
        for path in sorted((root / top).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
                continue
            unit = unit_of(path, root)
            lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
            for number, line in enumerate(lines, 1):
                match = INCLUDE.match(line)
                target_path = match and resolve(match.group(1), path, root)
                if not target_path:
                    continue
                target = unit_of(target_path, root)
                if not may_include(unit, target):
                    yield (f"{path.relative_to(root)}:{number}: {unit} ({layer_of(unit)}) "
                           f"includes {match.group(1)} ({target}, {layer_of(target)}): "
                           f"{why_not(unit, target)}")


def node_of(path, root):
    """The component a file of src/ belongs to: its folder and stem, header and source alike."""
    return path.relative_to(root / "src").with_suffix("").as_posix()


def include_graph(root):
    """For each component of src/, the components its files include (itself left out), each
    with the first include that reaches it, as "file:line includes name"."""
    graph = {}
    for path in sorted((root / "src").rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        node = node_of(path, root)
        targets = graph.setdefault(node, {})
        lines = path.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            match = INCLUDE.match(line)
            target_path = match and resolve(match.group(1), path, root)
            if not target_path or root / "src" not in target_path.parents:
                continue
            target = node_of(target_path, root)
            if target != node:
                targets.setdefault(
                    target, f"{path.relative_to(root)}:{number} includes {match.group(1)}")
    return graph


def strongly_connected(graph):
    """The groups of components that reach one another (Tarjan), in a fixed order."""
    index, low, on_stack, stack, groups = {}, {}, set(), [], []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for target in sorted(graph.get(node, ())):
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            groups.append(frozenset(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return groups


def circle_through(start, group, graph):
    """The shortest way from start back to itself inside group: the components it passes."""
    came_from, frontier = {start: None}, [start]
    while frontier:
        following = []
        for node in frontier:
            for target in sorted(set(graph[node]) & group):
                if target == start:
                    way = [node]
                    while came_from[way[-1]] is not None:
                        way.append(came_from[way[-1]])
                    return way[::-1] + [start]
                if target not in came_from:
                    came_from[target] = node
                    following.append(target)
        frontier = following
    raise ValueError(f"{start} is in no circle of {sorted(group)}")


def cycles(root):
    """Each group of components of src/ that include one another, with the lines that say so:
    one circle through the group, its includes, and the group's other members."""
    graph = include_graph(root)
    for group in strongly_connected(graph):
        if len(group) < 2:
            continue
        way = circle_through(min(group), group, graph)
        lines = [f"include circle: {' -> '.join(way)}"]
        lines += [f"  {graph[a][b]}" for a, b in zip(way, way[1:])]
        if len(group) > len(way) - 1:
            lines.append(f"  in the same circle: {', '.join(sorted(group - set(way)))}")
        yield group, lines


def circle_problems(root):
    """The lines that report the circles of src/."""
    for _, lines in cycles(root):
        yield from lines


# (including file, include as written, file it names, allowed)
SELF_TEST_CASES = [
    ("src/main.cpp", "window/Window.h", "src/window/Window.h", True),
    ("src/window/Window.cpp", "p50x/Link.h", "src/p50x/Link.h", True),
    ("src/p50x/Link.cpp", "link/Interface.h", "src/link/Interface.h", True),
    ("src/p50x/Link.cpp", "serial/Port.h", "src/serial/Port.h", True),
    ("src/p50x/Link.cpp", "Frames.h", "src/p50x/Frames.h", True),
    ("src/p50x/Link.cpp", "about/Box.h", "src/about/Box.h", False),
    ("src/p50x/Link.cpp", "srcp/Link.h", "src/srcp/Link.h", False),
    ("src/newstation/Link.cpp", "lenz/Link.h", "src/lenz/Link.h", False),
    ("src/link/Interface.h", "p50x/Link.h", "src/p50x/Link.h", False),
    ("src/serialwidgets/Dialog.cpp", "serialwidgets/Led.h", "src/serialwidgets/Led.h", True),
    ("src/serial/Port.cpp", "serialwidgets/Dialog.h", "src/serialwidgets/Dialog.h", False),
    ("src/serial/Port.cpp", "link/Interface.h", "src/link/Interface.h", False),
    ("src/tcp/Socket.cpp", "window/Window.h", "src/window/Window.h", False),
    ("src/platform/Wait.cpp", "serial/Port.h", "src/serial/Port.h", False),
    ("src/window/Window.cpp", "Peer.h", "sim/Peer.h", False),
    ("sim/Station.cpp", "Peer.h", "sim/Peer.h", True),
    ("sim/Station.cpp", "tcp/Socket.h", "src/tcp/Socket.h", True),
    ("sim/Station.cpp", "loconet/Parser.h", "src/loconet/Parser.h", False),
    ("sim/Station.cpp", "window/Model.h", "src/window/Model.h", False),
]


# (file, the files it includes) of a made-up src/, and what is reported
SELF_TEST_CIRCLES = [
    ({"src/serial/Port.cpp": ["serial/Port.h", "serial/Thread.h"], "src/serial/Port.h": [],
      "src/serial/Thread.cpp": ["serial/Thread.h", "serial/Port.h"], "src/serial/Thread.h": []},
     ["include circle: serial/Port -> serial/Thread -> serial/Port",
      "  src/serial/Port.cpp:2 includes serial/Thread.h",
      "  src/serial/Thread.cpp:2 includes serial/Port.h"]),
    # Through a header found beside its includer, and with a member off the shortest way.
    ({"src/p50x/Link.h": ["p50x/Detection.h"], "src/p50x/Detection.cpp": ["Scope.h"],
      "src/p50x/Detection.h": [], "src/p50x/Scope.h": ["p50x/Link.h", "Wait.h"],
      "src/p50x/Wait.h": [], "src/p50x/Wait.cpp": ["p50x/Scope.h"]},
     ["include circle: p50x/Detection -> p50x/Scope -> p50x/Link -> p50x/Detection",
      "  src/p50x/Detection.cpp:1 includes Scope.h",
      "  src/p50x/Scope.h:1 includes p50x/Link.h",
      "  src/p50x/Link.h:1 includes p50x/Detection.h",
      "  in the same circle: p50x/Wait"]),
    ({"src/serial/Port.cpp": ["serial/Port.h", "serial/Thread.h"], "src/serial/Port.h": [],
      "src/serial/Thread.cpp": ["serial/Thread.h", "serial/Target.h"], "src/serial/Thread.h": [],
      "src/serial/Target.h": []},
     []),
    # The same stem in two folders is two components.
    ({"src/lenz/Link.cpp": ["lenz/Link.h", "link/Interface.h"], "src/lenz/Link.h": [],
      "src/link/Interface.h": ["link/Link.h"], "src/link/Link.h": []},
     []),
]


def self_test():
    failures = 0
    for files, expected in SELF_TEST_CIRCLES:
        with tempfile.TemporaryDirectory() as directory:
            root = Path(directory).resolve()
            for path, includes in files.items():
                (root / path).parent.mkdir(parents=True, exist_ok=True)
                (root / path).write_text("".join(f'#include "{name}"\n' for name in includes))
            found = list(circle_problems(root))
            if found != expected:
                failures += 1
                print(f"self-test: circles of {sorted(files)} should be {expected}; got {found}")
    for including, written, named, allowed in SELF_TEST_CASES:
        with tempfile.TemporaryDirectory() as directory:
            root = Path(directory).resolve()
            for path in (including, named):
                (root / path).parent.mkdir(parents=True, exist_ok=True)
                (root / path).touch()
            (root / including).write_text(f'#include <vector>\n#include "{written}"\n')
            found = list(violations(root))
            if bool(found) == allowed:
                failures += 1
                print(f"self-test: {including} including {written} should be "
                      f"{'allowed' if allowed else 'refused'}; got {found}")
    return 1 if failures else 0


def main():
    if sys.argv[1:] == ["--self-test"]:
        return self_test()
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    root = root.resolve()
    found = list(violations(root))
    circles = list(circle_problems(root))
    for line in found + circles:
        print(line)
    if found:
        print(f"check-layers: {len(found)} include(s) against the layers", file=sys.stderr)
    if circles:
        print("check-layers: includes in src/ that go round in a circle", file=sys.stderr)
    return 1 if found or circles else 0


if __name__ == "__main__":
    sys.exit(main())
