#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
"""The program's folders are layers: a folder includes only headers of the folders below it.

The layers are the numbered list under "## Layout" in the README (top first), so the check and
the description cannot drift apart. A header is found by its file name, as the build's include
folders find it.

Usage: layers.py SOURCE_DIR
"""
import os
import re
import sys

root = sys.argv[1] if len(sys.argv) > 1 else '.'
readme = open(os.path.join(root, 'README.md'), encoding='utf-8').read()
section = readme.split('## Layout', 1)[1].split('\n## ', 1)[0]
layer_of = {}
for line in section.splitlines():
    item = re.match(r'(\d+)\. (.*?):', line)
    if item:
        for folder in re.findall(r'`([\w-]+)/`', item.group(2)):
            layer_of[folder] = int(item.group(1))
if len(layer_of) < 2:
    sys.exit('no layer list under "## Layout" in README.md')

owners = {}  # header file name -> folders that hold one
sources = []
for folder in layer_of:
    for directory, _, names in os.walk(os.path.join(root, folder)):
        for name in names:
            owners.setdefault(name, set()).add(folder)
            if name.endswith(('.cpp', '.h', '.c')):
                sources.append((folder, os.path.join(directory, name)))

include = re.compile(r'\s*#\s*include\s*[<"]([^">]+)[">]')
faults = []
for folder, path in sources:
    with open(path, encoding='utf-8', errors='replace') as text:
        for number, line in enumerate(text, 1):
            found = include.match(line)
            if not found:
                continue
            held_by = owners.get(os.path.basename(found.group(1)), set())
            if not held_by or folder in held_by:
                continue
            # Among several folders holding the name, any one below will do.
            if all(layer_of[other] <= layer_of[folder] for other in held_by):
                faults.append('%s:%d includes %s of %s' % (os.path.relpath(path, root), number, found.group(1),
                                                            ', '.join(sorted(f + '/' for f in held_by))))

if faults:
    print('These includes reach a folder on the same layer or above (see the layer list in README.md):')
    print('\n'.join('  ' + fault for fault in faults))
    sys.exit(1)
print('%d folders on %d layers; every include reaches down.' % (len(layer_of), len(set(layer_of.values()))))
