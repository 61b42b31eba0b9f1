#!/usr/bin/env python3
"""Prints the include graph of src/core and src/win by header+source pair and by folder, and
reports its cycles.

A pair is Foo.h with Foo.cpp: a reader takes them as one unit, so a .cpp including a header
counts as its pair depending on that header's pair. A folder is the directory a pair lives in,
relative to its tree (src/core or src/win); an include of the core from win counts as an edge to
"core:<folder>". Only quoted includes that resolve to a file of the tree are counted.

    scripts/include-graph.py [ROOT]     ROOT defaults to the checkout this script is in
Exits 1 when there is a cycle, so it can guard a build.
"""
import re
import sys
from pathlib import Path

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def pairs_of(tree, prefix):
    """Maps every pair name ("mail/Foo") to the files it holds."""
    pairs = {}
    for f in sorted(tree.rglob("*")):
        if f.suffix in (".h", ".cpp"):
            pairs.setdefault(prefix + str(f.relative_to(tree).with_suffix("")), []).append(f)
    return pairs


def resolve(name, trees):
    """The pair an include names: win's own headers are named from src ("win/base/Window.h"),
    the core's from src/core ("base/Utf8.h")."""
    for tree, prefix in trees:
        own = prefix.rstrip(":") + "/"
        if name.startswith(own) and (tree / name[len(own):]).is_file():
            return prefix + str(Path(name[len(own):]).with_suffix(""))
        if (tree / name).is_file():
            return prefix + str(Path(name).with_suffix(""))
    return None


def graph(pairs, trees):
    edges = {p: set() for p in pairs}
    for pair, files in pairs.items():
        for f in files:
            for name in INCLUDE.findall(f.read_text(encoding="utf-8", errors="replace")):
                target = resolve(name, trees)
                if target and target != pair:
                    edges[pair].add(target)
    return edges


def cycles(edges):
    """Strongly connected components with more than one member (Tarjan)."""
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
    for v in sorted(edges):
        if v not in index:
            visit(v)
    return found


def folder(pair):
    head, _, _ = pair.rpartition("/")
    return head


def report(title, edges, show_edges):
    print(f"== {title}: {len(edges)} nodes, {sum(len(t) for t in edges.values())} edges")
    if show_edges:
        for node in sorted(edges):
            if edges[node]:
                print(f"  {node} -> {', '.join(sorted(edges[node]))}")
    found = cycles(edges)
    for component in found:
        print(f"  CYCLE: {' <-> '.join(component)}")
    if not found:
        print("  no cycle")
    return len(found)


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    core, win = root / "src/core", root / "src/win"
    core_pairs = pairs_of(core, "core:")
    win_pairs = pairs_of(win, "win:")
    core_edges = graph(core_pairs, [(core, "core:")])
    win_edges = graph(win_pairs, [(win, "win:"), (core, "core:")])
    all_edges = {**core_edges, **win_edges}

    folders = {}
    for pair, targets in all_edges.items():
        src = folder(pair)
        folders.setdefault(src, set())
        for t in targets:
            if folder(t) != src:
                folders[src].add(folder(t))

    bad = 0
    bad += report("pairs in src/core", core_edges, True)
    bad += report("pairs in src/win (and what they take from the core)", win_edges, False)
    bad += report("folders of src/core and src/win", folders, True)
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
