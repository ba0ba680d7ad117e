#!/usr/bin/env python3
"""Fails when a source file includes one that its folder may not include.

The rule is written once, in the third column of README.md's folder table
("may include"); this script only reads it. In that column a backticked
`dir/` allows that folder and all below it, a backticked file allows that
file, and "any folder" allows every folder but tests/. Within a top folder, side-by-side
subfolders (ui/fltk/ and ui/win32/, platform/posix/ and platform/win32/, the
suites under tests/) include none of each other unless the row lists one, and
the folder's own files include none of its subfolders; a subfolder may include
its parent's own files.

Usage: check_layers.py [SOURCE_ROOT]   (default: the folder above this script)
"""
import pathlib
import re
import sys

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".c"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
TICKED = re.compile(r"`([^`]+)`")


def read_rule(readme):
    """{top folder: (allowed prefixes, any folder)}"""
    rows, in_table = {}, False
    for line in readme.read_text(encoding="utf-8").splitlines():
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if len(cells) >= 3 and cells[0] == "folder" and "may include" in cells[2]:
            in_table = True
            continue
        if not in_table:
            continue
        if not line.startswith("|"):
            break
        if len(cells) < 3 or set(cells[0]) <= {"-", ":"}:
            continue
        folders = [f for f in TICKED.findall(cells[0]) if f.endswith("/")]
        allowed = [t for t in TICKED.findall(cells[2]) if "/" in t]
        for folder in folders:
            rows[folder] = (allowed, "any folder" in cells[2])
    if not rows:
        sys.exit(f"{readme}: no folder table with a 'may include' column")
    return rows


def level(path, top):
    """The subfolder of top that holds path (e.g. 'ui/fltk/'), or top itself."""
    rest = path[len(top):].split("/")
    return top + rest[0] + "/" if len(rest) > 1 else top


def verdict(source, target, rows):
    """None when source may include target, else why not."""
    top = max((f for f in rows if source.startswith(f)), key=len, default=None)
    if top is None:
        return None  # not a folder of the table (tools/, generated files)
    allowed, any_folder = rows[top]
    if any(target == a or (a.endswith("/") and target.startswith(a)) for a in allowed):
        return None
    if target.startswith(top):
        own, other = level(source, top), level(target, top)
        if own == other or other == top:
            return None
        return f"{own} may not include {other}"
    target_top = max((f for f in rows if target.startswith(f)), key=len, default="")
    if any_folder and not target.startswith("tests/"):
        return None
    return f"{top} may not include {target_top or target}"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    rows = read_rule(root / "README.md")
    faults = 0
    for file in sorted(root.rglob("*")):
        relative = file.relative_to(root).as_posix()
        if file.suffix not in SOURCE_SUFFIXES or relative.startswith(("build/", ".")):
            continue
        for name in INCLUDE.findall(file.read_text(encoding="utf-8", errors="replace")):
            beside = (file.parent / name).resolve()
            if beside.is_file() and root.resolve() in beside.parents:
                target = beside.relative_to(root.resolve()).as_posix()
            elif (root / name).is_file():
                target = name
            else:
                continue  # a system or generated header
            why = verdict(relative, target, rows)
            if why:
                print(f"{relative}: includes {target}: {why}")
                faults += 1
    print(f"{faults} include(s) against the layers" if faults else "every include runs downwards")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
