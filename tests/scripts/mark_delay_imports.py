#!/usr/bin/env python3
"""Writes the delay-import directory of a library linked with a delay-import library (dlltool
-y): the GNU linker leaves that directory empty where other linkers fill it in. The library's
one descriptor is found by its symbol.

  mark_delay_imports.py NM LIBRARY
"""
import struct
import subprocess
import sys

nm, path = sys.argv[1:]
symbols = subprocess.check_output([nm, path], text=True).splitlines()
descriptor = next(int(s.split()[0], 16) for s in symbols if "__DELAY_IMPORT_DESCRIPTOR_" in s)
with open(path, "rb") as f:
    data = bytearray(f.read())
opt = struct.unpack_from("<I", data, 0x3C)[0] + 24
wide = struct.unpack_from("<H", data, opt)[0] == 0x20B
base = struct.unpack_from("<Q" if wide else "<I", data, opt + (24 if wide else 28))[0]
struct.pack_into("<II", data, opt + (112 if wide else 96) + 8 * 13, descriptor - base, 32)
with open(path, "wb") as f:
    f.write(data)
