#!/usr/bin/env python3
"""Fails unless the .exe imports system DLLs only: it must run on a laptop
with nothing installed (no MinGW runtime DLLs beside it).

    imports.py OBJDUMP EXE
"""
import re
import subprocess
import sys

SYSTEM = {"kernel32.dll", "msvcrt.dll", "user32.dll", "advapi32.dll", "ntdll.dll", "ws2_32.dll"}

dump = subprocess.run([sys.argv[1], "-p", sys.argv[2]], capture_output=True, text=True, check=True).stdout
dlls = re.findall(r"DLL Name: (\S+)", dump)
foreign = [d for d in dlls if d.lower() not in SYSTEM]
print("imports:", ", ".join(dlls))
if not dlls or foreign:
    print("not a system DLL:", ", ".join(foreign) or "(no imports found)")
    sys.exit(1)
