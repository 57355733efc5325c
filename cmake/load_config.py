"""Points a PE32+ file's load-configuration entry at its section .ldcfg, which GNU ld leaves unset. With --check,
tells whether the entry is set and asks Windows to load imported DLLs from System32 alone."""
import struct
import sys

check = sys.argv[1] == "--check"
path = sys.argv[-1]
image = bytearray(open(path, "rb").read())
header = struct.unpack_from("<I", image, 0x3C)[0]
count, optional_size = struct.unpack_from("<H12xH", image, header + 6)
optional = header + 24
if struct.unpack_from("<H", image, optional)[0] != 0x20B:
    sys.exit(f"{path}: not a PE32+ file")
if check:
    entry, size = struct.unpack_from("<II", image, optional + 112 + 8 * 10)
    for at in range(optional + optional_size, optional + optional_size + 40 * count, 40):
        length, address, _, offset = struct.unpack_from("<IIII", image, at + 8)
        if size >= 0x50 and address <= entry < address + length:
            flags = struct.unpack_from("<H", image, offset + entry - address + 0x4E)[0]  # DependentLoadFlags
            sys.exit(0 if flags == 0x800 else f"{path}: DependentLoadFlags {flags:#x}")
    sys.exit(f"{path}: no load configuration")
for at in range(optional + optional_size, optional + optional_size + 40 * count, 40):
    if image[at : at + 8].rstrip(b"\0") == b".ldcfg":
        address, _, offset = struct.unpack_from("<III", image, at + 12)
        size = struct.unpack_from("<I", image, offset)[0]  # the structure's first field
        struct.pack_into("<II", image, optional + 112 + 8 * 10, address, size)
        struct.pack_into("<I", image, optional + 64, 0)  # the checksum, which no longer fits; 0 is "none"
        open(path, "wb").write(image)
        break
else:
    sys.exit(f"{path}: no section .ldcfg")
