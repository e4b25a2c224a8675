#!/usr/bin/env python3
"""Damaged copies of a handheld's expense database, and what a sync may make of one.

  handheld_damage.py damage SRC.pdb DST.pdb SEED   writes a damaged copy of SRC
  handheld_damage.py expect FILE.pdb               prints "LIVE VALID": the records a sync may
                                                    import (not marked deleted or busy) and 1 when
                                                    every one of them can be an expense, else 0
  handheld_damage.py edit FILE.pdb INDEX AMOUNT    sets the amount (hundredths) of expense record
                                                    INDEX in place, as the user changing it on the
                                                    handheld would (same unique ID)

A record can be an expense when it is 16 to 256 bytes long and holds six NULs after its 16-byte
header, or five when it is 256 bytes long and its sixth text ends with the record. The layout read here is the Palm database file:
a 78-byte header whose last two bytes count the records, then 8-byte entries (4-byte offset,
attribute byte, 3-byte unique ID); record i runs to record i+1's offset, the last to the end.
"""
import random
import struct
import sys

HEADER = 78
ENTRY = 8
NOT_LIVE = 0x80 | 0x20  # deleted, busy


def entries(data):
    count = struct.unpack_from(">H", data, 76)[0] if len(data) >= HEADER else 0
    result = []
    for i in range(count):
        at = HEADER + i * ENTRY
        if at + ENTRY > len(data):
            break
        offset, attributes = struct.unpack_from(">IB", data, at)
        result.append((at, offset, attributes))
    return count, result


def records(data):
    _, table = entries(data)
    offsets = [offset for _, offset, _ in table] + [len(data)]
    return [(attributes, data[offsets[i]:offsets[i + 1]]) for i, (_, _, attributes) in enumerate(table)]


def expect(data):
    live = [bytes_ for attributes, bytes_ in records(data) if not attributes & NOT_LIVE]
    valid = all(16 <= len(b) <= 256 and (b[16:].count(0) >= 6 or (len(b) == 256 and b[16:].count(0) == 5 and b[-1] != 0))
                for b in live)
    return len(live), valid


def damage(data, rng):
    data = bytearray(data)
    count, table = entries(data)
    kind = rng.randrange(9)
    if kind == 0 and table:  # a record marked deleted, busy, dirty or secret
        at, _, _ = rng.choice(table)
        data[at + 4] = rng.choice([0x80, 0x20, 0x40, 0x10, 0xA0, 0x00])
    elif kind == 1 and len(table) > 1:  # an entry that shares the previous entry's offset
        i = rng.randrange(1, len(table))
        data[table[i][0]:table[i][0] + 4] = data[table[i - 1][0]:table[i - 1][0] + 4]
    elif kind == 2 and len(table) > 1:  # a record made shorter or longer by moving its end
        i = rng.randrange(1, len(table))
        offset = table[i][1] + rng.randint(-40, 300)
        struct.pack_into(">I", data, table[i][0], max(0, min(offset, len(data))))
    elif kind == 3:  # the file cut short
        del data[rng.randrange(len(data)):]
    elif kind == 4 and table:  # a record's texts without their NULs
        attributes, body = rng.choice(records(bytes(data)))
        start = data.find(body) if body else -1
        if start >= 0:
            for j in range(start + 16, start + len(body)):
                if data[j] == 0:
                    data[j] = ord("x")
    elif kind == 5:  # a wrong record count
        struct.pack_into(">H", data, 76, max(0, count + rng.choice([-2, -1, 1, 2, 500])))
    elif kind == 6 and table:  # a duplicated or zero unique ID
        at, _, _ = rng.choice(table)
        data[at + 5:at + 8] = rng.choice([b"\0\0\0", data[table[0][0] + 5:table[0][0] + 8]])
    else:  # random bytes anywhere
        for _ in range(rng.randint(1, 8)):
            data[rng.randrange(len(data))] = rng.randrange(256)
    return bytes(data)


def edit(data, index, amount):
    data = bytearray(data)
    _, table = entries(data)
    offset = table[index][1]
    struct.pack_into(">I", data, offset + 6, amount)
    return bytes(data)


def main(argv):
    if len(argv) == 5 and argv[1] == "damage":
        with open(argv[2], "rb") as source:
            data = source.read()
        with open(argv[3], "wb") as target:
            target.write(damage(data, random.Random(int(argv[4]))))
        return 0
    if len(argv) == 5 and argv[1] == "edit":
        with open(argv[2], "rb") as source:
            data = source.read()
        with open(argv[2], "wb") as target:
            target.write(edit(data, int(argv[3]), int(argv[4])))
        return 0
    if len(argv) == 3 and argv[1] == "expect":
        with open(argv[2], "rb") as source:
            live, valid = expect(source.read())
        print(live, 1 if valid else 0)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
