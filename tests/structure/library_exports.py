#!/usr/bin/env python3
"""Fails unless the engine library exports exactly the entry points of its C header.

    library_exports.py LIBRARY CNC_API_H

Reads `nm -D --defined-only LIBRARY`: every defined dynamic symbol must be an entry point
declared with VELQUOR_CNC_API in CNC_API_H (or one of the linker's own symbols), and every
declared entry point must be there.
"""
import re
import subprocess
import sys

# Symbols the linker itself may put into a shared library.
LINKER_SYMBOLS = {"_init", "_fini", "_edata", "_end", "__bss_start"}
DECLARATION = re.compile(r"^VELQUOR_CNC_API\b[^(]*?\b(Cnc\w+)\s*\(", re.M)


def exported(library):
    out = subprocess.run(["nm", "-D", "--defined-only", library], check=True,
                         capture_output=True, text=True).stdout
    # "address type name", the name possibly with a version ("CncOpen@@V1").
    return {line.split()[-1].split("@")[0] for line in out.splitlines() if line.strip()}


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    library, header = argv[1], argv[2]
    with open(header, encoding="utf-8") as f:
        declared = set(DECLARATION.findall(f.read()))
    if not declared:
        print(f"{header}: no entry point marked VELQUOR_CNC_API")
        return 1
    symbols = exported(library)
    extra = sorted(symbols - declared - LINKER_SYMBOLS)
    missing = sorted(declared - symbols)
    for name in extra:
        print(f"{library}: exports {name}, which is no entry point of {header}; "
              f"the engine's own symbols must stay hidden (CXX_VISIBILITY_PRESET, engine/cnc_api.map)")
    for name in missing:
        print(f"{library}: does not export {name}, declared in {header}")
    if extra or missing:
        return 1
    print(f"{library} exports only its {len(declared)} entry points: {', '.join(sorted(declared))}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
