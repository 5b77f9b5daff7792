"""Applies one fault of faults.txt to the product code, or checks that every fault applies.

seed.py check ROOT LIST          every snippet occurs exactly once in the product code
seed.py apply ROOT LIST ID SAVE  writes the fault in, copies the original file to SAVE and
                                 prints the path of the file changed
"""
import os
import re
import sys

# Not product code: the suite, the benchmarks, the simulator, build trees and the rest.
SKIPPED = {"tests", "bench", "sim", "build", "docs", "packaging", "scripts", "cmake"}


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t"}.get(m.group(1), m.group(1)), text)


def faults(path):
    for line in open(path, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            ident, area, snippet, replacement, notice = line.rstrip("\n").split("\t")
            yield ident, area, unescape(snippet), unescape(replacement), notice


def product_files(root):
    names = []
    for folder, subfolders, files in os.walk(root):
        if folder == root:
            subfolders[:] = [d for d in subfolders if d not in SKIPPED and not d.startswith(".")]
        names += [os.path.relpath(os.path.join(folder, f), root) for f in files
                  if f.endswith((".cpp", ".h"))]
    return sorted(names)


def holder(root, files, ident, snippet):
    found = []
    for name in files:
        count = open(f"{root}/{name}", encoding="utf-8").read().count(snippet)
        found += [name] * count
    if len(found) != 1:
        sys.exit(f"{ident}: the snippet occurs {len(found)} times in the product code {found}")
    return found[0]


def main():
    verb, root, listing = sys.argv[1:4]
    files = product_files(root)
    if verb == "check":
        for ident, _, snippet, _, _ in faults(listing):
            holder(root, files, ident, snippet)
        return
    wanted, save = sys.argv[4:6]
    for ident, _, snippet, replacement, _ in faults(listing):
        if ident == wanted:
            name = holder(root, files, ident, snippet)
            path = f"{root}/{name}"
            text = open(path, encoding="utf-8").read()
            open(save, "w", encoding="utf-8").write(text)
            open(path, "w", encoding="utf-8").write(text.replace(snippet, replacement))
            print(path)
            return
    sys.exit(f"no fault {wanted}")


main()
