#!/usr/bin/env python3
"""Checks that the program's layers depend downward only.

Reads every `#include` of the production sources and every link line of the program's CMake files, and fails on
anything that points up a layer, across peers, into the gauge's private headers or at a Qt module the layer must
not see. With --compile-commands it also checks that no source is compiled with the include path of a Qt module
its layer must not see (e.g. calibration/ without QtWidgets).

    checklayers.py [--compile-commands build/compile_commands.json] [SOURCE_ROOT]

Exit status 0 when every dependency points down, 1 with one line per fault otherwise.
"""

import argparse
import json
import os
import re
import shlex
import sys

# Each production folder, with what it may use (directly or not) and the Qt modules it may see. Folders not named
# here and not free (below) may hold no sources: a new folder takes its place in this table first.
LAYERS = {
    "platform": ([], {"Core", "Gui"}),
    "calibration": (["platform"], {"Core", "Gui"}),
    "link": (["calibration", "platform"], {"Core", "Gui", "SerialPort"}),
    "platform/ui": (["platform"], {"Core", "Gui", "Widgets"}),
    "link/ui": (["link", "calibration", "platform", "platform/ui"], {"Core", "Gui", "Widgets"}),
    "gauge": ([], {"Core", "Gui", "Widgets"}),
    "livewindows": (["link/ui", "platform/ui", "link", "calibration", "platform", "gauge"],
                    {"Core", "Gui", "Widgets"}),
}
# The three window layers are peers: each sits on the live windows and below, none on another. The logger's core
# has no widgets; its windows (logger/ui) sit on it.
for _peer in ("mapviews", "editors", "logger/ui"):
    LAYERS[_peer] = (["livewindows"] + LAYERS["livewindows"][0], {"Core", "Gui", "Widgets"})
LAYERS["logger"] = (["link", "calibration", "platform"], {"Core", "Gui"})
LAYERS["logger/ui"][0].append("logger")
LAYERS["shell"] = (["mapviews", "editors", "logger", "logger/ui"] + LAYERS["mapviews"][0], {"Core", "Gui", "Widgets"})
LAYERS["app"] = (["shell"] + LAYERS["shell"][0], {"Core", "Gui", "Widgets", "SerialPort"})

# Folders that may include and link anything.
FREE = {"tests", "bench", "tools", "fuzz"}

# The gauge is used from outside only through its public header.
GAUGE_PUBLIC = {"gauge/noxgauge.h"}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".cc", ".cxx", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
COMMAND = re.compile(r"\b([A-Za-z_][A-Za-z0-9_]*)\s*\(([^()]*)\)", re.S)
QT_TARGET = re.compile(r"^Qt[56]?::(\w+)$")
QT_FOLDER = re.compile(r"^Qt([A-Z]\w*)$")


def component(relpath):
    """The layer a path in the source tree belongs to, 'free' for tests and tools, None for anything else."""
    parts = relpath.replace(os.sep, "/").split("/")
    if parts[0] in FREE:
        return "free"
    if len(parts) > 2 and "/".join(parts[:2]) in LAYERS:
        return "/".join(parts[:2])
    if len(parts) > 1 and parts[0] in LAYERS:
        return parts[0]
    return None


def skipdir(root, name):
    path = os.path.join(root, name)
    return name.startswith(".") or os.path.exists(os.path.join(path, "CMakeCache.txt"))


def walk(root, top):
    """Relative paths of the files under top, skipping hidden folders and build folders."""
    base = os.path.join(root, top)
    for dirpath, dirnames, filenames in os.walk(base):
        dirnames[:] = sorted(d for d in dirnames if not skipdir(dirpath, d))
        for f in sorted(filenames):
            yield os.path.relpath(os.path.join(dirpath, f), root).replace(os.sep, "/")


def topfolders(root):
    return sorted(d for d in os.listdir(root) if os.path.isdir(os.path.join(root, d)) and not skipdir(root, d))


def resolve(root, includer, quote, name):
    """The included file as a path relative to root, or None when it is not part of the source tree."""
    candidates = []
    if quote == '"':
        candidates.append(os.path.join(os.path.dirname(includer), name))
    candidates.append(name)
    for c in candidates:
        full = os.path.normpath(os.path.join(root, c))
        if os.path.isfile(full) and not os.path.relpath(full, root).startswith(".."):
            return os.path.relpath(full, root).replace(os.sep, "/")
    return None


def mayuse(user, used, usedpath=None):
    if user == used or user == "free":
        return True
    if used == "free" or used is None:
        return user == "free"
    if used == "gauge" and usedpath is not None and usedpath not in GAUGE_PUBLIC:
        return False
    return used in LAYERS[user][0]


def checkincludes(root):
    """Faults of the includes, and the layers each layer includes."""
    faults = []
    uses = {}
    for top in topfolders(root):
        for rel in walk(root, top):
            if not rel.endswith(SOURCE_SUFFIXES):
                continue
            user = component(rel)
            if user is None:
                faults.append(f"{rel}: the folder has no layer; give it one in tools/checklayers.py")
                continue
            if user == "free":
                continue
            with open(os.path.join(root, rel), encoding="utf-8", errors="replace") as f:
                for lineno, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    target = resolve(root, rel, m.group(1), m.group(2))
                    if target is None:
                        continue
                    used = component(target)
                    if not mayuse(user, used, target):
                        faults.append(f"{rel}:{lineno}: {user} must not include {target} ({used or 'no layer'})")
                    elif used != user:
                        uses.setdefault(user, set()).add(used)
    return faults, uses


def cmakecommands(text):
    """(command, arguments) of every command in a CMake file, comments removed."""
    text = re.sub(r"#[^\n]*", "", text)
    for m in COMMAND.finditer(text):
        yield m.group(1).lower(), shlex.split(m.group(2), comments=False, posix=True)


def checklinks(root):
    """Faults of the link lines, and the layers each layer links (directly)."""
    targets = {}  # target -> layer
    links = []  # (cmake file, layer, target, linked items)
    for top in topfolders(root):
        for rel in walk(root, top):
            if os.path.basename(rel) != "CMakeLists.txt" and not rel.endswith(".cmake"):
                continue
            owner = component(rel)
            if owner in (None, "free"):
                continue
            with open(os.path.join(root, rel), encoding="utf-8") as f:
                text = f.read()
            for command, args in cmakecommands(text):
                if not args:
                    continue
                if command == "ostrel_library":
                    targets["ostrel_" + args[0]] = owner
                    links.append((rel, owner, "ostrel_" + args[0], args[1:]))
                elif command in ("add_library", "add_executable"):
                    targets[args[0]] = owner
                elif command == "target_link_libraries":
                    links.append((rel, owner, args[0], args[1:]))
    faults = []
    linked = {}
    for rel, owner, target, items in links:
        for item in items:
            if item in ("PUBLIC", "PRIVATE", "INTERFACE"):
                continue
            qt = QT_TARGET.match(item)
            if qt:
                if qt.group(1) not in LAYERS[owner][1]:
                    faults.append(f"{rel}: {target} ({owner}) must not link {item}")
                continue
            used = targets.get(item)
            if used is None:
                continue
            if not mayuse(owner, used):
                faults.append(f"{rel}: {target} ({owner}) must not link {item} ({used})")
            elif used != owner:
                linked.setdefault(owner, set()).add(used)
    return faults, linked


def reach(linked, layer):
    seen, todo = set(), [layer]
    while todo:
        for used in linked.get(todo.pop(), ()):
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def checkmissinglinks(uses, linked):
    """A layer that includes another must link it, or link something that does."""
    faults = []
    for user, used in sorted(uses.items()):
        for u in sorted(used - reach(linked, user)):
            faults.append(f"{user} includes {u} but its link line does not reach it")
    return faults


def visiblemodules(layer):
    modules = set(LAYERS[layer][1])
    for used in LAYERS[layer][0]:
        modules |= LAYERS[used][1]
    return modules


def includefolders(args):
    """The include folders a compiler command line names (-I, -isystem, -iquote; joined or apart)."""
    folders = []
    for i, a in enumerate(args):
        for flag in ("-isystem", "-iquote", "-I"):
            if a == flag and i + 1 < len(args):
                folders.append(args[i + 1])
            elif a.startswith(flag) and len(a) > len(flag):
                folders.append(a[len(flag):])
            else:
                continue
            break
    return folders


def checkcompilecommands(root, path):
    """Sources compiled with the include path of a Qt module their layer must not see."""
    with open(path, encoding="utf-8") as f:
        entries = json.load(f)
    faults = []
    realroot = os.path.realpath(root)
    for e in entries:
        source = os.path.realpath(os.path.join(e.get("directory", ""), e["file"]))
        rel = os.path.relpath(source, realroot)
        if rel.startswith(".."):
            continue
        layer = component(rel)
        if layer in (None, "free"):
            continue
        args = e["arguments"] if "arguments" in e else shlex.split(e["command"])
        seen = set()
        for folder in includefolders(args):
            m = QT_FOLDER.match(os.path.basename(os.path.normpath(folder)))
            if m:
                seen.add(m.group(1))
        for module in sorted(seen - visiblemodules(layer)):
            faults.append(f"{rel.replace(os.sep, '/')}: compiled with the include path of Qt {module}")
    return faults


def main(argv=None):
    parser = argparse.ArgumentParser(description="Checks that the program's layers depend downward only.")
    parser.add_argument("root", nargs="?", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("--compile-commands", help="compile_commands.json of a build to check include paths")
    args = parser.parse_args(argv)
    root = os.path.abspath(args.root)

    faults, uses = checkincludes(root)
    linkfaults, linked = checklinks(root)
    faults += linkfaults
    faults += checkmissinglinks(uses, linked)
    if args.compile_commands:
        faults += checkcompilecommands(root, args.compile_commands)
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} {'fault' if len(faults) == 1 else 'faults'} of the layers (docs/architecture.md)")
        return 1
    print("every dependency points down")
    return 0


if __name__ == "__main__":
    sys.exit(main())
