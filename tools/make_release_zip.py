#!/usr/bin/env python3
"""Writes a zip whose bytes depend only on the files put into it.

    make_release_zip.py OUT.zip NAME=PATH [NAME=PATH ...]

Entries are stored in the order given, under NAME, deflated at level 9, each with the
same fixed time (1 January 2000, 00:00) and the same attributes, and nothing else in the
archive (no comment, no extra fields), so that two builds of one commit give one zip.
"""
import sys
import zipfile

FIXED_TIME = (2000, 1, 1, 0, 0, 0)


def main(argv):
    if len(argv) < 3 or not all("=" in a for a in argv[2:]):
        print(__doc__, file=sys.stderr)
        return 2
    with zipfile.ZipFile(argv[1], "w") as archive:
        for pair in argv[2:]:
            name, path = pair.split("=", 1)
            with open(path, "rb") as f:
                data = f.read()
            info = zipfile.ZipInfo(name, date_time=FIXED_TIME)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits in the entry
            info.external_attr = 0x20  # the archive attribute only
            archive.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
