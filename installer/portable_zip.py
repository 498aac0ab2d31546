#!/usr/bin/env python3
"""The portable ZIP: the installer's files in one folder, for users who do not install.

    portable_zip.py OUT.zip FOLDER SOURCE|NAME...

NAME is the file's place in the program folder ("/" between folders).
"""
import os
import sys
import zipfile


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    out, folder, entries = argv[0], argv[1], argv[2:]
    with zipfile.ZipFile(out + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for entry in entries:
            source, name = entry.split("|", 1)
            archive.write(source, folder + "/" + name)
    # Replaced whole, so that an interrupted run never leaves a short archive behind.
    os.replace(out + ".part", out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
