"""Points a PE32+ file's load-configuration entry at its section .ldcfg, which GNU ld leaves unset."""
import struct
import sys

path = sys.argv[1]
image = bytearray(open(path, "rb").read())
header = struct.unpack_from("<I", image, 0x3C)[0]
count, optional_size = struct.unpack_from("<H12xH", image, header + 6)
optional = header + 24
if struct.unpack_from("<H", image, optional)[0] != 0x20B:
    sys.exit(f"{path}: not a PE32+ file")
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
