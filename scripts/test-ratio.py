#!/usr/bin/env python3
"""How large the tests are against the code they test: counted lines (not blank, not only a
comment) of the .cpp and .h files in tests/, against those in src/ and sim/. The project keeps
the tests at a quarter to a third of the code, so that each test earns its place.

    scripts/test-ratio.py        the ratio
    scripts/test-ratio.py -v     and every test file's count, largest first
"""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')


def counted_lines(path):
    count = 0
    in_block = False
    with open(path, encoding='utf-8', errors='replace') as source:
        for line in source:
            text = line.strip()
            if in_block:
                in_block = '*/' not in text
                continue
            if not text or text.startswith('//'):
                continue
            if text.startswith('/*'):
                in_block = '*/' not in text
                continue
            count += 1
    return count


def files_in(folder):
    for directory, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in sorted(names):
            if name.endswith(('.cpp', '.h')):
                path = os.path.join(directory, name)
                yield os.path.relpath(path, ROOT), counted_lines(path)


code = sum(n for folder in ('src', 'sim') for _, n in files_in(folder))
tests = sorted(files_in('tests'), key=lambda entry: -entry[1])
total = sum(n for _, n in tests)
print(f'tests {total} lines, src and sim {code} lines: ratio {total / code:.3f}')
if '-v' in sys.argv[1:]:
    for path, n in tests:
        print(f'{n:6} {path}')
