#!/usr/bin/env python3
"""Checks the include layers of the production code.

Reads every `#include "..."` of every source file under the production
folders and checks that each one points at the file's own folder or at a
folder its layer may use:

    core  <-  i18n, link, ota, log, report  <-  ui/kit  <-  i18n/ui, link/ui, ota/ui, log/ui, editors  <-  app

A layer uses only the layers below it, never one beside or above it; the
command-line tool uses core, i18n, link, ota, log and report only, the
simulators in tools/ core, i18n, link and ota. The folder graph must have no cycle. An include the script cannot
place (neither a file of the tree nor a form generated beside the file) is an
error too, so a file the check cannot see never passes unseen.

Known violations that only a later change can remove are listed in
KNOWN_VIOLATIONS with the reason; a listed one that no longer occurs is an
error, so the list can only shrink.

With --doc FILE it also checks that FILE holds the folder graph as the
includes make it today, between the lines "<!-- layers:begin -->" and
"<!-- layers:end -->", so the architecture notes cannot drift from the code.

Usage: layers.py SOURCE_DIR [--doc FILE]
"""

import os
import re
import sys

# Folder -> rank in the layer order; a folder may include lower ranks only.
LAYERED = {
    "core": 0,
    "i18n": 1,
    "link": 1,
    "ota": 1,
    "log": 1,
    "report": 1,
    "ui/kit": 2,
    "i18n/ui": 3,
    "link/ui": 3,
    "ota/ui": 3,
    "log/ui": 3,
    "editors": 3,
    "app": 4,
}

# Programs beside the layers: the folders each may use.
PROGRAMS = {
    "cli": {"core", "i18n", "link", "ota", "log", "report"},
    "tools": {"core", "i18n", "link", "ota"},
}

# (including folder, included folder): why the include must stay for now.
# None today.
KNOWN_VIOLATIONS = {}

FOLDERS = sorted(list(LAYERED) + list(PROGRAMS), key=len, reverse=True)
SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(relpath):
    """The production folder a repository path lies in (the longest match)."""
    for folder in FOLDERS:
        if relpath == folder or relpath.startswith(folder + "/"):
            return folder
    return None


def allowed(src, dst):
    if src == dst:
        return True
    if src in PROGRAMS:
        return dst in PROGRAMS[src]
    return dst in LAYERED and LAYERED[dst] < LAYERED[src]


def resolve(root, including, name):
    """The repository path the include names, or None."""
    for candidate in (name, os.path.join(os.path.dirname(including), name)):
        path = os.path.normpath(candidate)
        if os.path.isfile(os.path.join(root, path)):
            return path
    # A header uic generates from a form beside the including file.
    m = re.fullmatch(r"ui_(\w+)\.h", name)
    if m and os.path.isfile(os.path.join(root, os.path.dirname(including), m.group(1) + ".ui")):
        return including
    return None


def production_files(root):
    for top in sorted({f.split("/")[0] for f in FOLDERS}):
        for dirpath, _, names in os.walk(os.path.join(root, top)):
            for name in sorted(names):
                if name.endswith(SOURCE_SUFFIXES):
                    yield os.path.relpath(os.path.join(dirpath, name), root).replace(os.sep, "/")


def find_cycle(edges):
    """One cycle of the folder graph as a list of folders, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == "open":
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(edges):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def check(root):
    """The errors of the tree's includes, and the folder graph they make."""
    errors = []
    edges = {}
    seen_violations = set()
    files_per_folder = {f: 0 for f in FOLDERS}
    for relpath in production_files(root):
        src = folder_of(relpath)
        if src is None:
            continue
        files_per_folder[src] += 1
        with open(os.path.join(root, relpath), encoding="utf-8", errors="replace") as f:
            for number, line in enumerate(f, 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                where = f"{relpath}:{number}"
                target = resolve(root, relpath, m.group(1))
                if target is None:
                    errors.append(f'{where}: cannot place #include "{m.group(1)}"')
                    continue
                dst = folder_of(target)
                if dst is None:
                    errors.append(f'{where}: #include "{m.group(1)}" reaches outside the production folders')
                    continue
                if dst != src:
                    edges.setdefault(src, set()).add(dst)
                if allowed(src, dst):
                    continue
                if (src, dst) in KNOWN_VIOLATIONS:
                    seen_violations.add((src, dst))
                    continue
                errors.append(f'{where}: {src} may not include {dst} ("{m.group(1)}")')
    for folder, count in sorted(files_per_folder.items()):
        if count == 0:
            errors.append(f"{folder}: no source files found; the layer list does not match the tree")
    for stale in sorted(set(KNOWN_VIOLATIONS) - seen_violations):
        errors.append(f"{stale[0]} -> {stale[1]}: listed as a known violation but no longer occurs; remove it")
    cycle = find_cycle(edges)
    if cycle:
        errors.append("cycle between folders: " + " -> ".join(cycle))
    return errors, edges


def graph_text(edges):
    """The folder graph, one line a folder, highest layer first."""
    def rank(folder):
        return (LAYERED.get(folder, 5 if folder in PROGRAMS else -1), folder)
    lines = []
    for src in sorted(edges, key=rank, reverse=True):
        lines.append(f"{src:<8} -> " + ", ".join(sorted(edges[src], key=rank, reverse=True)))
    return "\n".join(lines)


def doc_errors(doc_path, edges):
    begin, end = "<!-- layers:begin -->", "<!-- layers:end -->"
    try:
        with open(doc_path, encoding="utf-8") as f:
            text = f.read()
    except OSError as e:
        return [f"{doc_path}: {e.strerror}"]
    if begin not in text or end not in text:
        return [f"{doc_path}: the markers {begin} and {end} are missing"]
    block = text.split(begin, 1)[1].split(end, 1)[0].strip().strip("`").strip()
    wanted = graph_text(edges)
    if block != wanted:
        return [f"{doc_path}: the folder graph is out of date; it is now:\n```\n{wanted}\n```"]
    return []


def main(argv):
    if len(argv) not in (2, 4) or (len(argv) == 4 and argv[2] != "--doc"):
        print("usage: layers.py SOURCE_DIR [--doc FILE]", file=sys.stderr)
        return 2
    errors, edges = check(argv[1])
    if len(argv) == 4:
        errors += doc_errors(argv[3], edges)
    for e in errors:
        print(e)
    if errors:
        return 1
    print("layers: every include points at its own folder or a layer below")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
