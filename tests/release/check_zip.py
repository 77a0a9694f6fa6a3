#!/usr/bin/env python3
# The portable zip holds exactly the shipped files, flat, byte for byte the
# built programs and the sources' help page, README and licence; then it is
# unpacked into a fresh folder for the tests that run QV.exe from there.
#   check_zip.py ZIP ARCH QV.EXE VITREL32.OCX HELP README LICENSE UNPACK_DIR
import pathlib
import shutil
import sys
import zipfile

from pe_machine import pe_machine

zip_path, arch, qv_exe, ocx, help_page, readme, licence, unpack = sys.argv[1:9]
expected = {
    "QV.exe": qv_exe,
    "Vitrel32.ocx": ocx,
    "Qv_help.html": help_page,
    "README.md": readme,
    "LICENSE": licence,
}
failures = []

with zipfile.ZipFile(zip_path) as z:
    names = z.namelist()
    print("zip contents:", ", ".join(names))
    if sorted(names) != sorted(expected):
        failures.append(f"the zip holds {sorted(names)}, expected {sorted(expected)}")
    bad = z.testzip()
    if bad:
        failures.append(f"{bad} is damaged in the zip")
    for name, source in expected.items():
        if name not in names:
            continue
        data = z.read(name)
        if data != pathlib.Path(source).read_bytes():
            failures.append(f"{name} in the zip differs from {source}")
        if name in ("QV.exe", "Vitrel32.ocx") and pe_machine(data) != arch:
            failures.append(f"{name} is built for {pe_machine(data) or 'nothing'}, expected {arch}")

    if not failures:
        target = pathlib.Path(unpack)
        shutil.rmtree(target, ignore_errors=True)
        target.mkdir(parents=True)
        z.extractall(target)
        print("unpacked into", target)

if failures:
    print("\n".join(failures))
    sys.exit(1)
