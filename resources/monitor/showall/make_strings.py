#!/usr/bin/env python3
"""Writes showall.dll's string table: the program's own table with the texts
of labels.txt put in place of hidden ("none...") strings.

    make_strings.py PROGRAM_STRINGS.rc LABELS.txt OUTPUT.rc

Fails when a label names a string the table lacks, or one that is not hidden:
the module exists to show hidden fields, and a renamed or removed string must
not leave it silently out of step with the program.
"""
import re
import sys

ENTRY = re.compile(r'^(\s*)(IDS_\w+)(,\s*)(".*")\s*$')


def read_labels(path):
    labels = {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = ENTRY.match(line)
            if not m:
                sys.exit(f"{path}:{number}: expected NAME, \"text\"")
            labels[m.group(2)] = m.group(4)
    return labels


def main():
    source, labels_path, output = sys.argv[1:4]
    labels = read_labels(labels_path)
    out = []
    with open(source, encoding="utf-8") as f:
        for line in f:
            m = ENTRY.match(line)
            if m and m.group(2) in labels:
                if not m.group(4).startswith('"none'):
                    sys.exit(f"{labels_path}: {m.group(2)} is not hidden in {source}")
                line = f"{m.group(1)}{m.group(2)}{m.group(3)}{labels.pop(m.group(2))}\n"
            out.append(line)
    if labels:
        sys.exit(f"{labels_path}: not in {source}: {', '.join(sorted(labels))}")
    header = ("/* Written by showall/make_strings.py from monitor_strings.rc and\n"
              " * showall/labels.txt at build time: edit those, not this. */\n")
    text = header + "".join(out)
    try:
        with open(output, encoding="utf-8") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
