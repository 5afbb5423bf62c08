#!/usr/bin/env python3
"""Fails when a file in src/ or sim/ includes a header of a layer it must not reach.

Dependencies point down: window -> links -> components -> platform. A link reaches the shared
link interface (src/link) but no other link; the serial core (CPort) stays free of the widgets
built on it; the simulators use components and platform only, so that they judge the links
without sharing their code; nothing in src/ reaches sim/.

Every folder of src/ that is not named below is taken for a link, so a new command station's
folder is checked without touching this script.

Usage: scripts/check-layers.py [repository root]   prints each offending file:line
       scripts/check-layers.py --self-test          tries the rules on a made-up tree
"""

import re
import sys
import tempfile
from pathlib import Path

WINDOW = {"WD10", "About", "main.cpp", "VersionResource.cpp"}
LINK_INTERFACE = "link"
COMPONENTS = {"CPort", "CPortCtl", "CPortSetup", "ScktComp"}
PLATFORM = "platform"
SIM = "sim"
# Within the components: the serial core is built without the widget layer.
SERIAL_CORE = "CPort"
SERIAL_WIDGETS = {"CPortCtl", "CPortSetup"}

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


# (including file, include as written, file it names, allowed)
SELF_TEST_CASES = [
    ("src/main.cpp", "WD10/Window.h", "src/WD10/Window.h", True),
    ("src/WD10/Window.cpp", "p50x/Link.h", "src/p50x/Link.h", True),
    ("src/p50x/Link.cpp", "link/Interface.h", "src/link/Interface.h", True),
    ("src/p50x/Link.cpp", "CPort/Port.h", "src/CPort/Port.h", True),
    ("src/p50x/Link.cpp", "Frames.h", "src/p50x/Frames.h", True),
    ("src/p50x/Link.cpp", "About/Box.h", "src/About/Box.h", False),
    ("src/p50x/Link.cpp", "srcp/Link.h", "src/srcp/Link.h", False),
    ("src/newstation/Link.cpp", "lenz/Link.h", "src/lenz/Link.h", False),
    ("src/link/Interface.h", "p50x/Link.h", "src/p50x/Link.h", False),
    ("src/CPortSetup/Dialog.cpp", "CPortCtl/Led.h", "src/CPortCtl/Led.h", True),
    ("src/CPort/Port.cpp", "CPortSetup/Dialog.h", "src/CPortSetup/Dialog.h", False),
    ("src/CPort/Port.cpp", "link/Interface.h", "src/link/Interface.h", False),
    ("src/ScktComp/Socket.cpp", "WD10/Window.h", "src/WD10/Window.h", False),
    ("src/platform/Wait.cpp", "CPort/Port.h", "src/CPort/Port.h", False),
    ("src/WD10/Window.cpp", "Peer.h", "sim/Peer.h", False),
    ("sim/Station.cpp", "Peer.h", "sim/Peer.h", True),
    ("sim/Station.cpp", "ScktComp/Socket.h", "src/ScktComp/Socket.h", True),
    ("sim/Station.cpp", "loconet/Parser.h", "src/loconet/Parser.h", False),
    ("sim/Station.cpp", "WD10/Model.h", "src/WD10/Model.h", False),
]


def self_test():
    failures = 0
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
    for line in found:
        print(line)
    if found:
        print(f"check-layers: {len(found)} include(s) against the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
