#!/usr/bin/env python3
# The installer script compiles with makensis, warnings counted as errors, for
# both machines, into a setup program of that machine; and it refuses to build
# when the build leaves one of its inputs undefined.
#   check_nsis.py MAKENSIS QV.NSI LICENSE HELP WORKDIR
import pathlib
import shutil
import subprocess
import sys

from pe_machine import pe_machine

makensis = sys.argv[1]
# makensis resolves relative paths from the script's folder, not from here.
script, licence, help_page, work = (str(pathlib.Path(a).resolve()) for a in sys.argv[2:6])
work = pathlib.Path(work)
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
# makensis only packs these; their content does not matter here.
(work / "QV.exe").write_bytes(b"MZ placeholder")
(work / "Vitrel32.ocx").write_bytes(b"MZ placeholder")

failures = []


def compile_for(arch, drop=None):
    defines = {
        "QV_VERSION": "0.5.0",
        "QV_ARCH": arch,
        "QV_EXE": str(work / "QV.exe"),
        "QV_OCX": str(work / "Vitrel32.ocx"),
        "QV_HELP": help_page,
        "QV_LICENSE": licence,
        "QV_OUTFILE": str(work / f"setup-{arch}.exe"),
    }
    if drop:
        del defines[drop]
    args = [makensis, "-V2", "-WX", "-INPUTCHARSET", "UTF8"]
    args += [f"-D{k}={v}" for k, v in defines.items()] + [script]
    return subprocess.run(args, capture_output=True, text=True)


for arch in ("x86", "x64"):
    run = compile_for(arch)
    out = work / f"setup-{arch}.exe"
    if run.returncode != 0:
        failures.append(f"{arch}: makensis exit {run.returncode}\n{run.stdout}{run.stderr}")
        continue
    machine = pe_machine(out.read_bytes()) if out.exists() else ""
    if machine != arch:
        failures.append(f"{arch}: the setup program is built for {machine or 'nothing'}")
    else:
        print(f"{arch}: {out.name} ({out.stat().st_size} bytes) built for {machine}")
    out.unlink(missing_ok=True)

run = compile_for("x86", drop="QV_OCX")
if run.returncode == 0 or (work / "setup-x86.exe").exists():
    failures.append("without QV_OCX makensis still built a setup program")
elif "must be defined" not in run.stdout + run.stderr:
    failures.append("without QV_OCX makensis failed for another reason:\n" + run.stdout + run.stderr)
else:
    print("without QV_OCX: refused, as it should")

if failures:
    print("\n".join(failures))
    sys.exit(1)
