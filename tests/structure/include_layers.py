#!/usr/bin/env python3
"""Fails on an #include that points up the layers of the source folders.

    include_layers.py SOURCE_DIR     checks the tree
    include_layers.py --self-test    checks the checker on a planted tree

A folder includes its own files and those of lower layers; folders of one layer may include
each other. tests/, bench/ and fuzz/ stand outside the layers and may include anything.
"""
import os
import re
import sys
import tempfile

ORDER = "base < geometry, engraving < engine < display, platform, stock < tools, windows < app < cli"
# The one table of the layers, read from ORDER: folder -> layer number.
LAYERS = {folder.strip(): rank
          for rank, layer in enumerate(ORDER.split("<"))
          for folder in layer.split(",")}
# They test or measure the layers and may include anything.
FREE = {"tests", "bench", "fuzz"}
# Build tools that stand apart: they include nothing of the tree but their own folder.
APART = {"fonts"}
SOURCE_SUFFIXES = (".h", ".hpp", ".c", ".cc", ".cpp")
INCLUDE = re.compile(r'^\s*#\s*include\s*["<]([^">]+)[">]')


def source_folders(root):
    """Top-level folders holding sources, but build trees and hidden folders."""
    for name in sorted(os.listdir(root)):
        path = os.path.join(root, name)
        if not os.path.isdir(path) or name.startswith((".", "build")):
            continue
        for _, _, files in os.walk(path):
            if any(f.endswith(SOURCE_SUFFIXES) for f in files):
                yield name
                break


def unplaced(folder):
    return f"{folder}/ has no place in the layer order; add it to ORDER in {os.path.basename(__file__)}"


def rule_broken(folder, target):
    """Why `folder` may not include from `target`, or None when it may."""
    if folder in FREE or target == folder:
        return None
    if folder in APART:
        return f"{folder}/ is a build tool apart from the layers and includes only its own files"
    if folder not in LAYERS:
        return unplaced(folder)
    if target not in LAYERS:
        return f"{target}/ is outside the layers; {folder}/ may not include it"
    if LAYERS[target] > LAYERS[folder]:
        return (f"{folder}/ may not include {target}/, a higher layer "
                f"(a folder includes its own layer and those below: {ORDER})")
    return None


def violations(root):
    """(file:line, include, reason) of every include that breaks the rule."""
    folders = set(source_folders(root))
    top = {n for n in os.listdir(root) if os.path.isdir(os.path.join(root, n))}
    found = []
    for folder in sorted(folders):
        for dirpath, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or "/" not in m.group(1):
                            continue  # system headers and files beside the includer
                        target = m.group(1).split("/")[0]
                        if target not in top:
                            continue  # a system header or a path below the includer's folder
                        reason = rule_broken(folder, target)
                        if reason:
                            found.append((f"{rel}:{number}", m.group(1), reason))
    # A folder with sources that the table does not place is a fault even without includes.
    for folder in sorted(folders - set(LAYERS) - FREE - APART):
        found.append((f"{folder}/", "", unplaced(folder)))
    return found


def report(found):
    for where, include, reason in found:
        print(f'{where}: #include "{include}": {reason}' if include else f"{where}: {reason}")
    return 1 if found else 0


def self_test():
    """Plants includes in a scratch tree and compares what the check finds."""
    plants = {
        "base/records.h": ['#include <vector>', '#include "base/convert.h"'],
        "base/convert.cpp": ['#include "engine/instance.h"'],               # up two layers
        "geometry/joins.cpp": ['#include "base/records.h"',
                               '#include "engraving/font.h"'],              # same layer
        "engraving/font.h": ['  #  include <geometry/joins.h>'],            # same layer
        "engine/run.cpp": ['#include "display/view.h"',                     # up one layer
                           '// #include "cli/main.h"'],                     # a comment
        "display/view.h": ['#include "platform/ini.h"', '#include "local.h"',
                           '#include "sys/mman.h"'],
        "display/pictures/x.cpp": ['#include "tools/grid.h"'],             # up, from below
        "platform/ini.h": ['#include <sys/mman.h>'],
        "app/main.cpp": ['#include "tools/grid.h"', '#include "windows/w.h"',
                         '#include "cli/options.h"'],                       # up one layer
        "tools/grid.h": ['#include "windows/w.h"', '#include "app/main.h"'],  # same layer, up
        "windows/w.h": ['#include "tests/support.h"'],                      # not a layer
        "cli/main.cpp": ['#include "app/main.h"', '#include "base/convert.h"'],
        "tests/support.h": ['#include "cli/options.h"', '#include "engine/instance.h"'],
        "bench/b.cpp": ['#include "app/main.h"'],
        "fuzz/f.cpp": ['#include "engine/instance.h"'],
        "fonts/mkfont.cpp": ['#include "fonts/names.h"', '#include "base/convert.h"'],
        "fresh/new.cpp": ['#include "base/convert.h"'],                     # not placed
        "build/test/gen.cpp": ['#include "cli/main.h"'],                    # a build tree
        "scripts/notes.txt": ['#include "cli/main.h"'],                     # not a source
    }
    expected = {
        ("base/convert.cpp:1", "engine/instance.h"),
        ("engine/run.cpp:1", "display/view.h"),
        ("display/pictures/x.cpp:1", "tools/grid.h"),
        ("app/main.cpp:3", "cli/options.h"),
        ("tools/grid.h:2", "app/main.h"),
        ("windows/w.h:1", "tests/support.h"),
        ("fonts/mkfont.cpp:2", "base/convert.h"),
        ("fresh/new.cpp:1", "base/convert.h"),
        ("fresh/", ""),
    }
    with tempfile.TemporaryDirectory() as root:
        for rel, lines in plants.items():
            os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
            with open(os.path.join(root, rel), "w", encoding="utf-8") as f:
                f.write("\n".join(lines) + "\n")
        found = violations(root)
    got = {(where, include) for where, include, _ in found}
    if got != expected:
        print("the check found", sorted(got))
        print("it should find  ", sorted(expected))
        return 1
    if not all(reason for _, _, reason in found):
        print("a finding without its reason:", found)
        return 1
    print(f"self-test: {len(found)} planted faults found, nothing else")
    return 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    if len(argv) != 2:
        print(__doc__)
        return 2
    found = violations(argv[1])
    if not found:
        print(f"every include points down the layers: {ORDER}")
    return report(found)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
