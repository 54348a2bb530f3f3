#!/usr/bin/env python3
"""Sets the OS version in a PE file's optional header to 6.0 (Windows Vista).

makensis runs it on the setup program's stub (!packhdr), so that the setup
says the same oldest Windows as the binaries it installs. The subsystem
version is left as it is: an older Windows still starts the setup, which
then says plainly that it needs Vista.
    pe_os_version.py FILE
"""
import struct
import sys

def main(path):
    with open(path, "r+b") as f:
        data = bytearray(f.read())
        if data[:2] != b"MZ":
            sys.exit(f"{path}: no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            sys.exit(f"{path}: no PE header")
        optional = pe + 24
        # MajorOperatingSystemVersion and MinorOperatingSystemVersion.
        struct.pack_into("<HH", data, optional + 40, 6, 0)
        f.seek(0)
        f.write(data)

if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: pe_os_version.py FILE")
    main(sys.argv[1])
