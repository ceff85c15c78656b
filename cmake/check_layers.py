#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""The layers, checked two ways.

    check_layers.py includes ROOT [GENERATED_DIR]
        Resolves every #include (quoted, angled, relative, in any subfolder)
        of the program's folders to its file and fails on one that points
        to a layer the including folder may not use.
    check_layers.py symbols LAYER=LIBRARY...
        Fails when a library has an undefined symbol that a library of a
        layer it may not use defines (an extern declaration or a call that
        got round the includes).

Each failure is printed as one line naming the file and what it reached.
"""

import os
import re
import subprocess
import sys

# What each layer may use, itself included.  Everything goes down the list.
LAYERS = {
    "common": {"common"},
    "resources": {"resources", "common"},
    "toolkit": {"toolkit", "resources", "common"},
    "client": {"client", "common"},
    "settings": {"settings", "common"},
    "mainwindow": {"mainwindow", "client", "settings", "toolkit", "resources", "common"},
    "dialogs": {"dialogs", "client", "settings", "toolkit", "resources", "common"},
    "app": {"app", "mainwindow", "dialogs", "client", "settings", "toolkit", "resources", "common"},
    "standin": {"standin", "common"},
}
# Headers from outside the project that only one layer may use.
OUTSIDE = {"gtk/": "toolkit", "gdk/": "toolkit", "gdk-pixbuf/": "toolkit", "pango/": "toolkit",
           "atk/": "toolkit", "libnotify/": "toolkit", "X11/": "toolkit"}
SOURCES = (".c", ".cpp", ".h", ".hpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(path, root, generated):
    """The layer a file belongs to, or None for a file outside them."""
    if generated and path.startswith(generated + os.sep):
        return "resources"  # the images' table and bundle, made from resources/
    relative = os.path.relpath(path, root)
    top = relative.split(os.sep)[0]
    return top if top in LAYERS and not relative.startswith("..") else None


def resolve(name, quoted, including, search):
    for base in ([os.path.dirname(including)] if quoted else []) + search:
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(candidate):
            return candidate
    return None


def check_includes(root, generated):
    root = os.path.abspath(root)
    generated = os.path.abspath(generated) if generated else None
    search = [root, os.path.join(root, "resources")] + ([generated] if generated else [])
    errors = []
    for layer in LAYERS:
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                source = os.path.join(folder, name)
                with open(source, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        found = INCLUDE.match(line)
                        if not found:
                            continue
                        header = found.group(2)
                        target = resolve(header, found.group(1) == '"', source, search)
                        used = (layer_of(target, root, generated) if target else
                                next((l for p, l in OUTSIDE.items() if header.startswith(p)), None))
                        if used and used not in LAYERS[layer]:
                            errors.append(f"{os.path.relpath(source, root)}:{number}: "
                                          f"{line.strip()} ({layer}/ may not use {used}/)")
    return errors


def symbols(library, defined):
    option = "--defined-only" if defined else "--undefined-only"
    out = subprocess.run(["nm", "--no-sort", option, library], capture_output=True, text=True,
                         check=True).stdout
    found = set()
    for line in out.splitlines():
        parts = line.split()
        # Strong definitions only: inline functions and templates are weak
        # and may stand in any library.
        if len(parts) >= 2 and (not defined or parts[-2] in "TDBRG"):
            found.add(parts[-1])
    return found


def check_symbols(pairs):
    libraries = [pair.split("=", 1) for pair in pairs]
    defined = {library: symbols(library, True) for _, library in libraries}
    errors = []
    for layer, library in libraries:
        missing = symbols(library, False)
        for other_layer, other in libraries:
            if other_layer in LAYERS[layer]:
                continue
            for symbol in sorted(missing & defined[other]):
                errors.append(f"{os.path.basename(library)}: uses {symbol} of "
                              f"{os.path.basename(other)} ({layer}/ may not use {other_layer}/)")
    return errors


def main(argv):
    if len(argv) >= 2 and argv[0] == "includes":
        errors = check_includes(argv[1], argv[2] if len(argv) > 2 else None)
        what = "Includes"
    elif len(argv) >= 2 and argv[0] == "symbols":
        errors = check_symbols(argv[1:])
        what = "Symbols"
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for error in errors:
        print(error, file=sys.stderr)
    if errors:
        print(f"check_layers: {what} that run against the layers: {len(errors)}", file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
