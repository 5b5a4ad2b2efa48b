"""Writes a reproducible zip: make_zip.py ARCHIVE EPOCH [--under FOLDER] FILE...

Entries in byte order of their (UTF-8) names, each dated EPOCH (seconds since 1970, UTC),
with plain file modes. A non-ASCII name is stored in code page 936 without the UTF-8 flag,
plus an Info-ZIP Unicode Path field with the UTF-8 name: Windows' own zip folders on a
Chinese Windows read the first (older ones ignore the flag), 7-Zip, WinRAR, Bandizip and
Info-ZIP read the second. With --under, every entry is in FOLDER (a/b, with forward
slashes) instead of at the top. The same files always give the same bytes. The zip appears
whole or not at all: it is written beside ARCHIVE and renamed at the end."""
import os
import struct
import sys
import tempfile
import time
import zipfile
import zlib

UNICODE_PATH_FIELD = 0x7075


class ChineseNamedEntry(zipfile.ZipInfo):
    """An entry whose non-ASCII name is written in code page 936, unflagged."""

    __slots__ = ()

    def _encodeFilenameFlags(self):  # zipfile's hook for the stored name and flags
        return self.filename.encode("cp936"), self.flag_bits


def entry_for(name, dated):
    if name.isascii():
        return zipfile.ZipInfo(name, date_time=dated)
    entry = ChineseNamedEntry(name, date_time=dated)
    stored = name.encode("cp936")
    utf8 = name.encode("utf-8")
    # Version 1, then the CRC-32 of the stored name, so a tool that renamed it can tell.
    entry.extra = struct.pack("<HHBI", UNICODE_PATH_FIELD, 5 + len(utf8), 1, zlib.crc32(stored)) + utf8
    return entry


archive, epoch, files = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
prefix = ""
if files[:1] == ["--under"]:
    prefix, files = files[1] + "/", files[2:]
# Zip dates start in 1980 and have two-second steps.
dated = time.gmtime(max(epoch, 315532800) // 2 * 2)[:6]
partial = tempfile.NamedTemporaryFile(dir=os.path.dirname(os.path.abspath(archive)),
                                      prefix=".partial-", suffix=".zip", delete=False)
try:
    with partial, zipfile.ZipFile(partial, "w") as out:
        for path in sorted(files, key=lambda p: os.path.basename(p).encode("utf-8")):
            entry = entry_for(prefix + os.path.basename(path), dated)
            entry.create_system = 3  # Unix, so the mode below is read
            entry.external_attr = 0o100644 << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as data:
                out.writestr(entry, data.read(), compresslevel=9)
    umask = os.umask(0)
    os.umask(umask)
    os.chmod(partial.name, 0o666 & ~umask)  # as a plain open() would have made it
    os.replace(partial.name, archive)
except BaseException:
    os.unlink(partial.name)
    raise
