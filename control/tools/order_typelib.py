#!/usr/bin/env python3
"""Puts the entries of an MSFT type library into a given order.

widl numbers a library's entries in the order it first meets them, and an
entry that names another (an interface returning a FileList, a class with
its event interface) brings that one in right after itself; containers list
the entries in the library's order. This rewrites the library with its
entries in the order named on the command line, and nothing else changed:
the fixed-size entry records are permuted inside their table and every
reference to an entry of the library (its hreftype, the record's offset in
that table) is moved with it. References into imported libraries and every
other table stay as they are.

    order_typelib.py IN.tlb OUT.tlb NAME...   (every entry, each once)
"""
import struct
import sys

RECORD = 0x64  # one entry's base record
HELPDLL = 0x100


def ints(data, offset, count):
    return list(struct.unpack_from("<%di" % count, data, offset))


def main(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    source, target, order = argv[1], argv[2], argv[3:]
    data = bytearray(open(source, "rb").read())
    if data[:4] != b"MSFT":
        sys.exit("%s: not an MSFT type library" % source)
    header = ints(data, 0, 21)
    varflags, count = header[5], header[8]
    offsets_at = 0x54 + (4 if varflags & HELPDLL else 0)
    segdir_at = offsets_at + 4 * count
    segments = [ints(data, segdir_at + 16 * i, 4)[:2] for i in range(15)]
    (typeinfo_at, typeinfo_len), _, _, (ref_at, ref_len), _, (guid_at, guid_len), _, \
        (name_at, name_len), _, (tdesc_at, tdesc_len) = segments[:10]
    if typeinfo_len != count * RECORD:
        sys.exit("%s: unexpected entry table" % source)

    def name_of(index):
        name_offset = ints(data, typeinfo_at + index * RECORD + 0x34, 1)[0]
        length = ints(data, name_at + name_offset + 8, 1)[0] & 0xFF
        start = name_at + name_offset + 12
        return data[start:start + length].decode("latin-1")

    names = [name_of(i) for i in range(count)]
    if sorted(names) != sorted(order) or len(set(order)) != len(order):
        sys.exit("entries %s do not match the order %s" % (names, order))
    new_index = {old: order.index(name) for old, name in enumerate(names)}

    def moved(href):
        # Internal references are record offsets (multiples of the record
        # size, low bits clear); imports and "none" (-1, -2) keep theirs.
        if href >= 0 and href & 3 == 0 and href % RECORD == 0 and href // RECORD < count:
            return new_index[href // RECORD] * RECORD
        return href

    def patch(offset):
        struct.pack_into("<i", data, offset, moved(ints(data, offset, 1)[0]))

    # The library's own IDispatch reference (normally an import).
    patch(0x4C)
    # Implemented and inherited interfaces.
    for at in range(ref_at, ref_at + ref_len, 16):
        patch(at)
    # Every GUID names the record it belongs to.
    for at in range(guid_at, guid_at + guid_len, 24):
        patch(at + 16)
    # Every name names the first record that uses it.
    at = name_at
    while at < name_at + name_len:
        patch(at)
        length = ints(data, at + 8, 1)[0] & 0xFF
        at += (12 + length + 3) & ~3
    if at != name_at + name_len:
        sys.exit("%s: unexpected name table" % source)
    # User-defined types in type descriptions (vt, unused, then the hreftype).
    for at in range(tdesc_at, tdesc_at + tdesc_len, 8):
        vt = struct.unpack_from("<H", data, at)[0]
        if vt == 29:  # VT_USERDEFINED
            patch(at + 4)
    # An interface's base record names what it inherits from; a class's and
    # an alias's name other tables.
    records = [bytes(data[typeinfo_at + i * RECORD:typeinfo_at + (i + 1) * RECORD])
               for i in range(count)]
    for old, record in enumerate(records):
        at = typeinfo_at + new_index[old] * RECORD
        data[at:at + RECORD] = record
        kind = ints(data, at, 1)[0] & 0xF
        if kind in (3, 4):  # TKIND_INTERFACE, TKIND_DISPATCH
            patch(at + 0x54)
    for index in range(count):
        struct.pack_into("<i", data, offsets_at + 4 * index, index * RECORD)
    open(target, "wb").write(data)


if __name__ == "__main__":
    main(sys.argv)
