#!/usr/bin/env python3
"""The allowed-sites list a package builds into Korvendal.ocx.

Every build of the control carries an RCDATA resource of SLOT_SIZE bytes that starts with
MAGIC and is zero after it: no list, every site allowed. Packing a list writes its entries,
one a line, into that resource in a copy of the control, in place, before the copy is
signed; nothing else in the file moves.

usage: allowed_sites.py slot OUT              the empty resource, for the build
       allowed_sites.py pack IN OUT ENTRY...  a copy of the control IN with the list
"""
import sys

MAGIC = b"KORVENDAL ALLOWED SITES 1\n"
SLOT_SIZE = 4096


class SitesError(Exception):
    pass


def empty_slot():
    return MAGIC + bytes(SLOT_SIZE - len(MAGIC))


def packed(control, entries):
    """The bytes of `control` with `entries` in its list resource."""
    if not entries:
        raise SitesError("no entry given")
    lines = b""
    for entry in entries:
        if not entry or any(not (0x21 <= ord(c) <= 0x7E) for c in entry):
            raise SitesError(f"entry {entry!r}: only printable ASCII without blanks "
                             "(write an international host name in its xn-- form)")
        lines += entry.encode("ascii") + b"\n"
    # The control's code holds the first line too, to compare with: the resource is the
    # one copy followed by the empty rest of the slot.
    slot = empty_slot()
    at = control.find(slot)
    if at < 0:
        raise SitesError("the control has no empty allowed-sites resource (is a list packed in already?)")
    if control.find(slot, at + 1) >= 0:
        raise SitesError("the control has two allowed-sites resources")
    start, end = at + len(MAGIC), at + SLOT_SIZE
    if len(lines) >= end - start:
        raise SitesError(f"the list takes {len(lines)} bytes; it must stay under {end - start}")
    return control[:start] + lines + control[start + len(lines):]


def pack_file(source, target, entries):
    with open(source, "rb") as f:
        control = f.read()
    with open(target, "wb") as f:
        f.write(packed(control, entries))


def main(argv):
    try:
        if len(argv) == 2 and argv[0] == "slot":
            with open(argv[1], "wb") as f:
                f.write(empty_slot())
        elif len(argv) >= 3 and argv[0] == "pack":
            pack_file(argv[1], argv[2], argv[3:])
        else:
            print(__doc__, file=sys.stderr)
            return 2
    except SitesError as error:
        print(f"allowed_sites: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
