"""Zip entry names read the same whether or not this Python's zipfile honours the
Info-ZIP Unicode Path field (newer ones put its name in info.filename, older ones the
header's name decoded as code page 437)."""
import io
import pathlib
import struct
import sys
import unittest
import zipfile
import zlib

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
from zip_names import entry_name  # noqa: E402

GUIDE = "说明.txt"


class RawNamedEntry(zipfile.ZipInfo):
    """An entry whose header name is the given bytes, as another zip tool may write it."""

    __slots__ = ("raw_name", "name_flags")

    def _encodeFilenameFlags(self):  # zipfile's hook for the stored name and flags
        return self.raw_name, self.flag_bits | self.name_flags


def unicode_path(name, for_stored, version=1):
    utf8 = name.encode("utf-8")
    return struct.pack("<HHBI", 0x7075, 5 + len(utf8), version, zlib.crc32(for_stored)) + utf8


def read_back(stored, utf8_flag=False, extra=b""):
    """The one entry of a zip written with that header name, flag and extra field."""
    entry = RawNamedEntry("placeholder")
    entry.raw_name = stored
    entry.name_flags = 0x800 if utf8_flag else 0  # zipfile resets flag_bits when writing
    entry.extra = extra
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as archive:
        archive.writestr(entry, b"")
    with zipfile.ZipFile(data) as archive:
        return archive.infolist()[0]


CP936 = GUIDE.encode("cp936")
CASES = [
    ("an ASCII name", dict(stored=b"LICENSE"), "LICENSE"),
    ("code page 936, no field", dict(stored=CP936), GUIDE),
    ("the UTF-8 flag, no field", dict(stored=GUIDE.encode(), utf8_flag=True), GUIDE),
    ("a field beside a code page 936 name", dict(stored=CP936, extra=unicode_path(GUIDE, CP936)), GUIDE),
    ("the field wins over the header's name",
     dict(stored=b"readme.txt", extra=unicode_path(GUIDE, b"readme.txt")), GUIDE),
    ("the field after another extra field",
     dict(stored=b"readme.txt", extra=b"\xfe\xca\x02\x00ab" + unicode_path(GUIDE, b"readme.txt")), GUIDE),
    ("a field made for another name (the entry was renamed)",
     dict(stored="新.txt".encode("cp936"), extra=unicode_path(GUIDE, CP936)), "新.txt"),
    ("a field of an unknown version", dict(stored=b"readme.txt",
                                           extra=unicode_path(GUIDE, b"readme.txt", version=2)), "readme.txt"),
]


class EntryNameTest(unittest.TestCase):
    def test_names(self):
        checked = 0
        for case, written, expected in CASES:
            with self.subTest(case):
                info = read_back(**written)
                # Whatever this Python put there, the name must not come from it.
                info.filename = "?"
                self.assertEqual(entry_name(info), expected)
                checked += 1
        self.assertEqual(checked, 8)


if __name__ == "__main__":
    result = unittest.main(exit=False).result
    # A filtered or broken run must not pass quietly.
    sys.exit(0 if result.wasSuccessful() and result.testsRun == 1 else 1)
