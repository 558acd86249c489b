#!/usr/bin/env python3
"""Checks the #include lines of src/ against the layers the README writes down.

The README's section for developers holds, between the markers
<!-- layers --> and <!-- /layers -->, a table whose rows read
| unit | units it may include |. A unit is a folder of src/ (console,
datetools, help, frame), the engine's shared core (engine: the files directly
in src/engine) or one of the engine's subsystems (engine/setup, ...). Every
unit may include its own headers. The check fails on an include of a unit the
table does not allow, on an include of a file that does not exist, and on any
cycle between modules (a header with its source file, e.g. engine/arena).

Usage: check_layers.py SOURCE_DIR
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
# Headers the build generates (from src/*.in): any unit may include them.
GENERATED = {'version.h'}


def unit_of(path):
    parts = path.split('/')
    if parts[0] == 'engine' and len(parts) > 2:
        return 'engine/' + parts[1]
    return parts[0]


def read_layers(readme):
    text = open(readme, encoding='utf-8').read()
    m = re.search(r'<!-- layers -->(.*?)<!-- /layers -->', text, re.S)
    if not m:
        sys.exit('check_layers: no <!-- layers --> table in ' + readme)
    allowed = {}
    for line in m.group(1).splitlines():
        cells = [c.strip() for c in line.strip().strip('|').split('|')]
        if len(cells) != 2 or not cells[0].startswith('`'):
            continue
        unit = cells[0].strip('`')
        targets = {t.strip().strip('`') for t in cells[1].split(',') if t.strip().strip('`') not in ('', '—')}
        allowed[unit] = targets | {unit}
    return allowed


def cycles(graph):
    """The strongly connected components of more than one module."""
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in sorted(graph.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop()
                on.discard(w)
                comp.append(w)
                if w == v:
                    break
            if len(comp) > 1:
                found.append(sorted(comp))

    sys.setrecursionlimit(100000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def main():
    root = sys.argv[1]
    src = os.path.join(root, 'src')
    allowed = read_layers(os.path.join(root, 'README.md'))
    faults = []
    modules = {}
    for d, _, files in os.walk(src):
        for f in sorted(files):
            if not f.endswith(('.h', '.cpp', '.inc')):
                continue
            rel = os.path.relpath(os.path.join(d, f), src).replace(os.sep, '/')
            unit = unit_of(rel)
            if unit not in allowed:
                faults.append(f'{rel}: unit {unit} is not in the README\'s table of layers')
                continue
            module = os.path.splitext(rel)[0]
            edges = modules.setdefault(module, set())
            for n, line in enumerate(open(os.path.join(d, f), encoding='utf-8'), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                target = m.group(1)
                if target in GENERATED and os.path.isfile(os.path.join(src, target + '.in')):
                    continue
                if not os.path.isfile(os.path.join(src, target)):
                    faults.append(f'{rel}:{n}: includes {target}, which is no file of src/')
                    continue
                if unit_of(target) not in allowed[unit]:
                    faults.append(f'{rel}:{n}: {unit} may not include {target} ({unit_of(target)})')
                t = os.path.splitext(target)[0]
                if t != module:
                    edges.add(t)
    for comp in cycles(modules):
        faults.append('include cycle among ' + ', '.join(comp))
    for f in faults:
        print(f)
    print(f'{len(modules)} modules checked, {len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
