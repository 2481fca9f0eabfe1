#!/usr/bin/env python3
"""Seeds for the fuzz targets, in each target's input form, from the files at hand.

fuzz_seeds.py OUT EXAMPLES TESTS SHARED_CORPUS FONTS
Programs come from EXAMPLES, SHARED_CORPUS and the program texts quoted in the tests,
settings files from EXAMPLES and the tests, fonts from the built FONTS folder."""
import os
import random
import re
import struct
import sys

out, examples, tests, shared, fonts = sys.argv[1:6]
MAX = 8192


def files_under(folder, suffixes):
    for root, _, names in os.walk(folder):
        for n in sorted(names):
            if n.lower().endswith(suffixes):
                yield os.path.join(root, n)


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def put(target, name, data):
    os.makedirs(os.path.join(out, target), exist_ok=True)
    with open(os.path.join(out, target, name), 'wb') as f:
        f.write(data[:MAX])


programs = [read(p) for p in files_under(examples, ('.cnc', '.txt'))]
programs += [read(p) for p in files_under(shared, ('.cnc', '.txt', '.nc', '.grb', '.drl'))]
# Program texts quoted in the tests: strings holding G words.
for p in files_under(tests, ('.cpp',)):
    for m in re.finditer(rb'"((?:[^"\\\n]|\\.)*[GM]\d\d?(?:[^"\\\n]|\\.)*)"', read(p)):
        programs.append(m.group(1).replace(b'\\n', b'\n').replace(b'\\r', b'\r'))

# Engine run: 8 tool radii and the start point, then the program.
header = struct.pack('<8h3h', *([125] * 8), 0, 0, 0)
for i, prog in enumerate(programs):
    put('fuzz_engine_run', 'p%04d' % i, header + prog)
    for j, line in enumerate(prog.splitlines()[:40]):
        put('fuzz_word_splitter', 'l%04d_%02d' % (i, j), line)

for i, p in enumerate(list(files_under(examples, ('.ini',))) + list(files_under(tests, ('.ini',)))):
    put('fuzz_ini_round_trip', 'i%03d' % i, read(p))
put('fuzz_ini_round_trip', 'tools', b'[Tools]\r\nT00 Name=Mill\r\nT00 Diameter=6\r\n; c\r\n\r\n[SPEED]\nMaxSpeed=1\r')

for i, p in enumerate(files_under(fonts, ('.chr',))):
    text = b'Velquor 0-9 ABC xyz'
    put('fuzz_chr_font', 'f%02d' % i, bytes([len(text)]) + text + bytes([i * 37 % 256]) + read(p))

# Compensation: radii, then moves; a square, a rounded slot and random walks.
rng = random.Random(1)
square = bytes([8, 4, 2, 1]) + bytes([4]) + bytes([0, 0, 0, 20, 0, 0, 20, 20, 0, 0, 20, 0, 0, 0, 0, 6])
put('fuzz_compensation', 'square', square)
slot = bytes([8, 4, 2, 1, 5, 0, 0, 0, 0, 20, 0, 1, 0, 10, 12, 0, 0, 0, 2, 0, 246, 12, 6])
put('fuzz_compensation', 'slot', slot)
for k in range(32):
    put('fuzz_compensation', 'walk%02d' % k, bytes(rng.randrange(256) for _ in range(4 + 4 * rng.randrange(4, 40))))
