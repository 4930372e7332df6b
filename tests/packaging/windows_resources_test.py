#!/usr/bin/env python3
"""The Windows build's programs and library, read back with a PE reader (Debian's python3-pefile):
each carries version information of the project's one version, the programs carry the icon, and
talvoro_gui.exe its manifest (per-monitor-v2 DPI awareness, UTF-8 as its code page, common
controls 6, Windows 10 and 11).

Usage: windows_resources_test.py VERSION; the files are in $TALVORO_WINDOWS_BIN (skipped, status
77, without it)."""
import os
import sys

import pefile

RT_GROUP_ICON = 14
RT_MANIFEST = 24
FILES = [("talvoro_gui.exe", True), ("talvoro_cli.exe", True), ("talvoro_probe.exe", True),
         ("talvoro_virtual_mouse.exe", True), ("talvoro_api.dll", False)]
MANIFEST_HOLDS = ["PerMonitorV2", ">true/pm<", ">UTF-8</activeCodePage>",
                  'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                  "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"]


def resources(pe):
    """Resource data by type: {type id: [bytes, ...]}."""
    found = {}
    directory = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in directory.entries if directory is not None else []:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                data = language.data.struct
                found.setdefault(kind.id, []).append(pe.get_data(data.OffsetToData, data.Size))
    return found


def check(path, is_program, version):
    problems = []
    pe = pefile.PE(path)
    strings = {}
    for info in getattr(pe, "FileInfo", [[]])[0] if getattr(pe, "FileInfo", None) else []:
        for table in getattr(info, "StringTable", []):
            strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key in ("FileVersion", "ProductVersion"):
        if strings.get(key) != version:
            problems.append(f"{key} is {strings.get(key)!r}, not {version!r}")
    for key in ("CompanyName", "ProductName", "FileDescription"):
        if not strings.get(key):
            problems.append(f"no {key}")
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    parts = [int(p) for p in version.split(".")]
    if fixed is None or (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                         fixed.FileVersionLS >> 16) != tuple(parts[:3]):
        problems.append("the fixed file version is not the project's")
    found = resources(pe)
    if is_program and RT_GROUP_ICON not in found:
        problems.append("no icon")
    if os.path.basename(path) == "talvoro_gui.exe":
        manifest = b"".join(found.get(RT_MANIFEST, [])).decode("utf-8", "replace")
        for needed in MANIFEST_HOLDS:
            if needed not in manifest:
                problems.append(f"the manifest lacks {needed}")
    return problems


def main():
    folder = os.environ.get("TALVORO_WINDOWS_BIN")
    if not folder:
        print("SKIPPED: TALVORO_WINDOWS_BIN names no Windows build")
        return 77
    failed = False
    for name, is_program in FILES:
        for problem in check(os.path.join(folder, name), is_program, sys.argv[1]):
            print(f"{name}: {problem}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
