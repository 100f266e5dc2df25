#!/usr/bin/env python3
"""Reads every #include "..." under src/ and every folder's CMake link line, and
fails when a folder reaches one that is not below it, or when the rules link
anything but QtCore. The layers, from the bottom up, are the table below."""
import pathlib
import re
import sys

# Each folder and the folders it may use (directly); app/ may use them all.
MAY_USE = {
    "rules": set(),
    "services": {"rules"},
    "sound": {"services", "rules"},
    "exercise": {"services", "rules"},
    "pupil": {"services", "rules"},
    "settings": {"services", "rules"},
    "about": {"services", "rules"},
    "journal": {"services", "rules"},
    "classe": {"journal", "services", "rules"},
}
# The Qt modules each layer may link; a layer not named here may link any.
QT_MODULES = {
    "rules": {"Core"},
    "services": {"Core", "Gui", "Widgets", "Network"},
}
NO_MULTIMEDIA_BUT = "sound"

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
src = root / "src"
folders = sorted(p.name for p in src.iterdir() if p.is_dir())
MAY_USE["app"] = set(folders) - {"app"}

owner = {}
for folder in folders:
    for header in (src / folder).glob("*.h"):
        if header.name in owner:
            print(f"{header.name} is in both src/{owner[header.name]} and src/{folder}")
            sys.exit(1)
        owner[header.name] = folder

faults = []
for folder in folders:
    if folder not in MAY_USE:
        faults.append(f"src/{folder}: a folder the layer table does not know")
        continue
    for source in sorted((src / folder).glob("*.[ch]*")):
        for number, line in enumerate(source.read_text(encoding="utf-8").splitlines(), 1):
            m = re.match(r'\s*#\s*include\s+"([^"]+)"', line)
            if not m:
                continue
            used = owner.get(pathlib.Path(m.group(1)).name)
            if used and used != folder and used not in MAY_USE[folder]:
                faults.append(f"src/{folder}/{source.name}:{number}: includes {m.group(1)} from src/{used}")

    cmake = (src / folder / "CMakeLists.txt").read_text(encoding="utf-8")
    links = " ".join(re.findall(r"target_link_libraries\(([^)]*)\)", cmake, re.S))
    for library in re.findall(r"pecunette_(\w+)", links):
        if library in folders and library != folder and library not in MAY_USE[folder]:
            faults.append(f"src/{folder}/CMakeLists.txt: links pecunette_{library}")
    modules = set(re.findall(r"Qt6::(\w+)", links))
    allowed = QT_MODULES.get(folder)
    if allowed is not None and not modules <= allowed:
        faults.append(f"src/{folder}/CMakeLists.txt: links Qt {sorted(modules - allowed)}")
    if "Multimedia" in modules and folder != NO_MULTIMEDIA_BUT:
        faults.append(f"src/{folder}/CMakeLists.txt: links Qt Multimedia, which only src/sound may")

if faults:
    print("\n".join(faults))
    sys.exit(1)
print(f"{len(folders)} folders, no include or link against the layers")
