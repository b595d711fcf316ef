#!/usr/bin/env python3
"""Packs the skin files (markup and images) into the archive that the executable carries.

Every entry is deflated and stored under its bare file name, in sorted order, with a fixed time stamp
and fixed attributes, so that the same skin files always give the same archive bytes and the
executable does not change when nothing in the skin did.

Usage: pack-skin.py OUTPUT [FILE...]
"""
import os
import sys
import zipfile

# The earliest time a ZIP entry can carry; any fixed value keeps the archive reproducible.
FIXED_TIME = (1980, 1, 1, 0, 0, 0)
REGULAR_FILE_READ_WRITE = 0o100644


def pack(output, files):
    names = {}
    for path in files:
        name = os.path.basename(path)
        if name in names:
            sys.exit(f"pack-skin: two skin files named {name}: {names[name]} and {path}")
        names[name] = path
    temporary = output + ".part"
    with zipfile.ZipFile(temporary, "w") as archive:
        for name in sorted(names):
            with open(names[name], "rb") as source:
                data = source.read()
            entry = zipfile.ZipInfo(name, date_time=FIXED_TIME)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = REGULAR_FILE_READ_WRITE << 16
            archive.writestr(entry, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(temporary, output)


def main(argv):
    if len(argv) < 1:
        sys.exit("usage: pack-skin.py OUTPUT [FILE...]")
    pack(argv[0], argv[1:])


if __name__ == "__main__":
    main(sys.argv[1:])
