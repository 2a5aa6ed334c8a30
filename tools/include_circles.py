#!/usr/bin/env python3
"""Include circles of the sources, file by file and folder by folder.

    tools/include_circles.py [FOLDER]        (default src)

A file depends on the headers it includes (a header and its .cpp count as one). A folder
depends on another when one of its files includes a header of the other, or when a class
declared in the other's header has members defined in it: a header that declares what
another folder defines needs that folder back. Prints each circle with its members.
"""
import collections
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
CLASS = re.compile(r'^\s*class\s+(\w+)\s+(?:final\s*)?[:{]')


def sources(root):
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith(('.h', '.cpp')):
                yield os.path.join(folder, name)


def circles(nodes, edges):
    """Strongly connected components of more than one node (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []
    counter = [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on_stack.add(v)
        for w in sorted(edges.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(nodes):
        if v not in index:
            visit(v)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else 'src'
    files = sorted(sources(root))
    by_name = collections.defaultdict(list)
    for f in files:
        by_name[os.path.basename(f)].append(f)
    texts = {f: open(f, encoding='utf-8', errors='replace').read() for f in files}

    includes = collections.defaultdict(set)
    for f in files:
        for line in texts[f].splitlines():
            m = INCLUDE.match(line)
            if not m:
                continue
            beside = os.path.normpath(os.path.join(os.path.dirname(f), m.group(1)))
            named = by_name.get(os.path.basename(m.group(1)), [])
            target = beside if beside in texts else (named[0] if len(named) == 1 else None)
            if target:
                includes[f].add(target)

    unit = lambda f: os.path.splitext(f)[0]
    unit_edges = collections.defaultdict(set)
    for a, targets in includes.items():
        for b in targets:
            if unit(a) != unit(b):
                unit_edges[unit(a)].add(unit(b))

    folder = os.path.dirname
    folder_edges = collections.defaultdict(set)
    for a, targets in includes.items():
        for b in targets:
            if folder(a) != folder(b):
                folder_edges[folder(a)].add(folder(b))
    declared = {}
    for f in files:
        if f.endswith('.h'):
            for line in texts[f].splitlines():
                m = CLASS.match(line)
                if m:
                    declared.setdefault(m.group(1), f)
    for f in files:
        if not f.endswith('.cpp'):
            continue
        for cls, header in declared.items():
            if folder(header) == folder(f):
                continue
            if re.search(r'^[\w:<>*&, ]*\b' + cls + r'::~?\w+\(', texts[f], re.M):
                folder_edges[folder(header)].add(folder(f))

    file_circles = circles({unit(f) for f in files}, unit_edges)
    folder_circles = circles({folder(f) for f in files}, folder_edges)
    print('file circles: %d' % len(file_circles))
    for c in file_circles:
        print('  ' + ' '.join(c))
    print('folder circles: %d' % len(folder_circles))
    for c in folder_circles:
        print('  ' + ' '.join(c))


if __name__ == '__main__':
    main()
