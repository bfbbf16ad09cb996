#!/usr/bin/env python3
"""Prints the kernel modules a set of root modules needs, in load order.

Debian's kernel package ships no modules.dep (depmod makes it at install time), so the
dependencies are read from the "depends=" entry of each module's .modinfo section, through
objcopy. Every module comes after the modules it depends on; roots keep their given order.

usage: module_order.py MODULE_DIR ROOT... [--param NAME=ARGS]...
Output: one line per module: its path relative to MODULE_DIR, then any parameters.
"""

import argparse
import os
import subprocess
import sys


def canonical(name):
    # Module names use underscores; file names may use hyphens (usb-storage.ko).
    return name.replace("-", "_")


def index_modules(module_dir):
    found = {}
    for parent, _dirs, files in os.walk(module_dir):
        for file in files:
            if file.endswith(".ko"):
                path = os.path.join(parent, file)
                found[canonical(file[: -len(".ko")])] = path
    return found


def dependencies_of(path):
    section = subprocess.run(
        ["objcopy", "-O", "binary", "--only-section=.modinfo", path, "/dev/stdout"],
        check=True,
        capture_output=True,
    ).stdout
    for entry in section.split(b"\0"):
        if entry.startswith(b"depends="):
            value = entry[len(b"depends="):].decode()
            return [canonical(d) for d in value.split(",") if d]
    return []


def load_order(roots, modules):
    order, state = [], {}

    def visit(name, chain):
        if state.get(name) == "done":
            return
        if state.get(name) == "visiting":
            sys.exit("module_order: dependency cycle: " + " -> ".join(chain + [name]))
        if name not in modules:
            sys.exit("module_order: module not found: " + name)
        state[name] = "visiting"
        for dependency in dependencies_of(modules[name]):
            visit(dependency, chain + [name])
        state[name] = "done"
        order.append(name)

    for root in roots:
        visit(canonical(root), [])
    return order


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("module_dir")
    parser.add_argument("roots", nargs="+")
    parser.add_argument("--param", action="append", default=[])
    args = parser.parse_args()

    params = {}
    for pair in args.param:
        name, _, value = pair.partition("=")
        params[canonical(name)] = value
    modules = index_modules(args.module_dir)
    for name in load_order(args.roots, modules):
        line = os.path.relpath(modules[name], args.module_dir)
        if params.get(name):
            line += " " + params[name]
        print(line)


if __name__ == "__main__":
    main()
