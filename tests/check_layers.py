#!/usr/bin/env python3
"""Fails when the product's folders include each other in a cycle, or when a
folder reaches above its floor: files/ and editor/ know nothing of app/, and
files/ nothing of editor/."""
import pathlib, re, sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else '.')
FOLDERS = ['base', 'settings', 'ui', 'editor', 'files', 'app']
FORBIDDEN = {('files', 'app'), ('files', 'editor'), ('editor', 'app'), ('editor', 'files')}
include = re.compile(r'#include "([a-z_]+)/')
edges = {}
for folder in FOLDERS:
    for path in sorted((root / folder).glob('*.[ch]*')):
        for target in include.findall(path.read_text(errors='replace')):
            if target in FOLDERS and target != folder:
                edges.setdefault(folder, {}).setdefault(target, str(path.relative_to(root)))

faults = [f'{a} includes {b} ({edges[a][b]})' for a, b in sorted(FORBIDDEN) if b in edges.get(a, {})]

def cycle_from(start, node, seen):
    for nxt in edges.get(node, {}):
        if nxt == start:
            return seen + [nxt]
        if nxt not in seen:
            found = cycle_from(start, nxt, seen + [nxt])
            if found:
                return found
    return None

for folder in FOLDERS:
    cycle = cycle_from(folder, folder, [folder])
    if cycle:
        faults.append('include cycle: ' + ' -> '.join(cycle))
        break
print('\n'.join(faults) if faults else 'layers run one way')
sys.exit(1 if faults else 0)
