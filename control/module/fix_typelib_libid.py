"""Writes the library's own GUID into a widl-made type library.

The widl of the toolchain stores the library GUID with its last byte replaced (0x0d), so the
library would register and load under a wrong LIBID. This takes the GUID from the IDL's
library attributes and puts it into the library entry of the type library's GUID table.

usage: fix_typelib_libid.py LIBRARY.idl LIBRARY.tlb
"""
import re
import struct
import sys
import uuid

HEADER_SIZE = 0x54
SEGMENT_GUID_TABLE = 5
HREFTYPE_LIBRARY = -2


def library_guid(idl_path):
    with open(idl_path, encoding="utf-8") as f:
        text = f.read()
    match = re.search(r"uuid\(\s*([0-9A-Fa-f-]{36})\s*\)[^\]]*\]\s*library\b", text)
    if not match:
        raise SystemExit(f"{idl_path}: no library uuid")
    return uuid.UUID(match.group(1))


def fix(tlb_path, guid):
    with open(tlb_path, "rb") as f:
        data = bytearray(f.read())
    magic, _, posguid = struct.unpack_from("<4sII", data, 0)
    if magic != b"MSFT":
        raise SystemExit(f"{tlb_path}: not an MSFT type library")
    varflags, = struct.unpack_from("<I", data, 0x14)
    type_count, = struct.unpack_from("<I", data, 0x20)
    offset = HEADER_SIZE + (4 if varflags & 0x100 else 0) + 4 * type_count
    guid_table, _ = struct.unpack_from("<ii", data, offset + 16 * SEGMENT_GUID_TABLE)
    entry = guid_table + posguid
    hreftype, = struct.unpack_from("<i", data, entry + 16)
    if hreftype != HREFTYPE_LIBRARY:
        raise SystemExit(f"{tlb_path}: GUID entry {posguid} is not the library's")
    data[entry:entry + 16] = guid.bytes_le
    with open(tlb_path, "wb") as f:
        f.write(data)


def main():
    fix(sys.argv[2], library_guid(sys.argv[1]))


if __name__ == "__main__":
    main()
