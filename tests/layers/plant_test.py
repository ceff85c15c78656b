# SPDX-License-Identifier: GPL-2.0-or-later
"""The layer check fails on each way round it: a relative, an angled and a
nested include, a toolkit header in the core, an extern declaration and a
call that no include shows; and passes on a tree that keeps to the layers.

    plant_test.py CHECK_LAYERS CXX
"""
import os
import subprocess
import sys
import tempfile

check, cxx = sys.argv[1:3]


def write(root, path, text):
    os.makedirs(os.path.dirname(os.path.join(root, path)), exist_ok=True)
    with open(os.path.join(root, path), "w") as f:
        f.write(text)


def run(*args):
    done = subprocess.run([sys.executable, check, *args], capture_output=True, text=True)
    return done.returncode, done.stderr


with tempfile.TemporaryDirectory() as root:
    write(root, "mainwindow/login.h", "void ToggleLogin();\n")
    write(root, "mainwindow/main_window.h", "void OpenMainWindow();\n")
    write(root, "client/roster.cpp", '#include "client/roster.h"\n#include <string>\n')
    write(root, "client/roster.h", "#pragma once\n")
    assert run("includes", root) == (0, ""), run("includes", root)

    planted = {
        "client/relative.cpp": '#include "../mainwindow/login.h"',
        "client/angled.cpp": "#include <mainwindow/main_window.h>",
        "settings/deep/er/nested.cpp": '#  include "mainwindow/login.h"',
        "client/window.cpp": "#include <gtk/gtk.h>",
    }
    for path, line in planted.items():
        write(root, path, line + "\n")
    status, said = run("includes", root)
    assert status == 1, said
    for path, line in planted.items():
        assert f"{path}:1: {line.strip()}" in said, (path, said)

    # Round the includes: an extern declaration and a call, caught by symbol.
    write(root, "core.cpp", "extern int MainGlobal; void OpenMainWindow();\n"
                            "int Core() { OpenMainWindow(); return MainGlobal; }\n")
    write(root, "window.cpp", "int MainGlobal = 1; void OpenMainWindow() {}\n")
    for name in ("core", "window"):
        subprocess.run([cxx, "-c", f"{root}/{name}.cpp", "-o", f"{root}/{name}.o"], check=True)
        subprocess.run(["ar", "rcs", f"{root}/lib{name}.a", f"{root}/{name}.o"], check=True)
    status, said = run("symbols", f"client={root}/libcore.a", f"mainwindow={root}/libwindow.a")
    assert status == 1 and said.count("(client/ may not use mainwindow/)") == 2, said
    assert run("symbols", f"mainwindow={root}/libwindow.a", f"client={root}/libcore.a")[0] == 1
    assert run("symbols", f"app={root}/libcore.a", f"mainwindow={root}/libwindow.a") == (0, "")
print("the layer check caught every planted way round it")
