#!/usr/bin/env python3
"""Writes a one-folder, stored cabinet whose entries carry the names given,
each holding a few bytes: a cabinet as an attacker would shape it, with its
data block checksum right so that only the names are wrong.
    hostile_cabinet.py OUT.cab NAME [NAME...]"""
import struct
import sys


def checksum(data, seed):
    total = seed
    whole = len(data) // 4 * 4
    for i in range(0, whole, 4):
        total ^= struct.unpack_from("<I", data, i)[0]
    tail = 0
    for byte in data[whole:]:
        tail = (tail << 8) | byte
    return total ^ tail


def cabinet(names):
    payloads = [("payload of %s\n" % n).encode("latin-1") for n in names]
    data = b"".join(payloads)
    files = b""
    offset = 0
    for name, payload in zip(names, payloads):
        files += struct.pack("<IIHHHH", len(payload), offset, 0, 0x5A21, 0, 0x20)
        files += name.encode("latin-1") + b"\0"
        offset += len(payload)
    first_block = 36 + 8 + len(files)
    sizes = struct.pack("<HH", len(data), len(data))
    block = struct.pack("<I", checksum(sizes, checksum(data, 0))) + sizes + data
    total = first_block + len(block)
    header = b"MSCF" + struct.pack("<IIIIIBBHHHHH", 0, total, 0, 36 + 8, 0, 3, 1, 1, len(names),
                                   0, 0x4856, 0)
    folder = struct.pack("<IHH", first_block, 1, 0)
    return header + folder + files + block


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(cabinet(sys.argv[2:]))
