"""Writes a reproducible zip: make_zip.py ARCHIVE EPOCH FILE...

Entries in byte order of their names, each dated EPOCH (seconds since 1970, UTC), with
plain file modes, no extra fields, and non-ASCII names flagged as UTF-8 so Windows'
own zip folders show them right. The same files always give the same bytes."""
import os
import sys
import time
import zipfile

archive, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
# Zip dates start in 1980 and have two-second steps.
dated = time.gmtime(max(epoch, 315532800) // 2 * 2)[:6]
with zipfile.ZipFile(archive, "w") as out:
    for path in sorted(files, key=lambda p: os.path.basename(p).encode("utf-8")):
        entry = zipfile.ZipInfo(os.path.basename(path), date_time=dated)
        entry.create_system = 3  # Unix, so the mode below is read
        entry.external_attr = 0o100644 << 16
        entry.compress_type = zipfile.ZIP_DEFLATED
        with open(path, "rb") as data:
            out.writestr(entry, data.read(), compresslevel=9)
