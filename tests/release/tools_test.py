"""The release's Python tools on made-up input: tools/package_manifests.py writes manifests
that pass check_manifests.py and refuses bad input with its cause, writing nothing; the
check finds a spoiled manifest; zip entry names read the same whether or not this Python's
zipfile honours the Info-ZIP Unicode Path field (newer ones put its name in info.filename)."""
import hashlib
import io
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools"))
from zip_names import entry_name  # noqa: E402

GENERATOR = os.path.join(HERE, "..", "..", "tools", "package_manifests.py")
CHECKER = os.path.join(HERE, "check_manifests.py")
VERSION, REPOSITORY, EPOCH = "1.2.3", "https://github.com/someone/vantrel", "1796773252"
ZIPS = {arch: f"Vantrel-{VERSION}-windows-{arch}.zip" for arch in ("x64", "x86")}
HASH = re.compile(r'(?<="hash": ")[0-9a-f]{64}')


def windows_exe(arch):
    """The signatures of a Windows exe's headers, and the machine's name to tell the zips apart."""
    exe = bytearray(0x40) + b"PE\0\0" + arch.encode()
    exe[:2] = b"MZ"
    struct.pack_into("<I", exe, 0x3C, 0x40)
    return bytes(exe)


def make_release(folder, entry="Vantrel.exe"):
    sums = ""
    for arch, name in ZIPS.items():
        with zipfile.ZipFile(os.path.join(folder, name), "w") as archive:
            archive.writestr(entry, windows_exe(arch))
        with open(os.path.join(folder, name), "rb") as file:
            sums += f"{hashlib.sha256(file.read()).hexdigest()}  {name}\n"
    with open(os.path.join(folder, "SHA256SUMS"), "w") as file:
        file.write(sums)


def spoil(folder, ending, change):
    """CHANGE applied to the text of vantrel.json, or of the winget files whose names end so."""
    if ending == "vantrel.json":
        with open(os.path.join(folder, ending)) as file:
            text = file.read()
        with open(os.path.join(folder, ending), "w") as file:
            file.write(change(text))
        return
    path = os.path.join(folder, f"Vantrel-{VERSION}-winget.zip")
    with zipfile.ZipFile(path) as archive:
        entries = {name: archive.read(name).decode() for name in archive.namelist()}
    with zipfile.ZipFile(path, "w") as archive:
        for name, text in entries.items():
            archive.writestr(name, change(text) if name.endswith(ending) else text)


def run(script, *arguments):
    return subprocess.run([sys.executable, script, *arguments], capture_output=True, text=True)


def sub(pattern, replacement):
    return lambda text: re.sub(pattern, replacement, text, count=1)


def no_zip(arch):
    return lambda folder: os.remove(os.path.join(folder, ZIPS[arch]))


https = "must be an https address"
REFUSED = [  # name, change to the release, generator arguments, cause
    ("no x86 zip", no_zip("x86"), {}, f"{ZIPS['x86']}: a release has both"),
    ("the tag, not its version", None, {"version": "v1.2.3"}, "'v1.2.3' is not a tag's version"),
    ("a version no tag has", None, {"version": "1.2.3-beta"}, "'1.2.3-beta' is not a tag's version"),
    ("http, not https", None, {"repository": "http://github.com/someone/vantrel"}, https),
    ("a page, not a repository", None, {"repository": REPOSITORY + "/releases"}, https),
    ("a zip without the exe", lambda folder: make_release(folder, "other.exe"), {}, "is not a zip with Vantrel.exe"),
    ("a tree with uncommitted changes", None, {"version": "1.2.3-dirty"}, "'1.2.3-dirty' is a tree with uncommitted"),
    ("a host without GitHub's download layout", None, {"repository": "https://gitlab.com/someone/vantrel"},
     "layout, which gitlab.com does not have"),
]
SPOILED = [  # name, file, change, change to the release, what the check says
    ("swapped Scoop hashes", "vantrel.json", lambda text: HASH.sub(
        lambda match, others=iter(HASH.findall(text)[::-1]): next(others), text), None,
     "scoop 64bit: the hash is not that of"),
    # No hash compared with no zip's hash is still no hash.
    ("no Scoop hash, nor its zip", "vantrel.json", sub(r',\s*"hash": "\w+"', ""), no_zip("x64"),
     "scoop 64bit: the hash is not that of"),
    ("lower-case winget hashes", ".installer.yaml", lambda text: re.sub(
        "(InstallerSha256: )(.*)", lambda match: match[1] + match[2].lower(), text), None, "x64: InstallerSha256 '"),
    ("another identifier in the added locale", ".locale.zh-CN.yaml",
     sub("PackageIdentifier: .*", "PackageIdentifier: Pelgrin.Other"), None, "zh-CN.yaml: another identifier"),
    ("a scope winget has not", ".installer.yaml", sub("(ReleaseDate: .*)", r"\1\nScope: everyone"), None,
     "manifest.installer.1.12.0.json: 'everyone' is not one of"),
    ("a misspelt Scoop field", "vantrel.json", sub('"shortcuts"', '"shortcut"'), None,
     "scoop: scoop/schema.json: Additional properties are not allowed ('shortcut'"),
]


class PackageManifests(unittest.TestCase):
    def test_manifests(self):
        with tempfile.TemporaryDirectory() as folder:
            make_release(folder)
            self.assertEqual(run(GENERATOR, VERSION, REPOSITORY, EPOCH, folder).returncode, 0)
            checked = run(CHECKER, folder, VERSION, REPOSITORY, EPOCH)
            self.assertEqual((checked.returncode, checked.stdout), (0, ""))
        for name, change, arguments, message in REFUSED:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                make_release(folder)
                if change:
                    change(folder)
                given = {"version": VERSION, "repository": REPOSITORY, **arguments}
                result = run(GENERATOR, given["version"], given["repository"], EPOCH, folder)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stderr)
                self.assertFalse({"vantrel.json", f"Vantrel-{VERSION}-winget.zip"} & set(os.listdir(folder)))
        for name, ending, change, removal, message in SPOILED:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                make_release(folder)
                self.assertEqual(run(GENERATOR, VERSION, REPOSITORY, EPOCH, folder).returncode, 0)
                spoil(folder, ending, change)
                if removal:
                    removal(folder)
                checked = run(CHECKER, folder, VERSION, REPOSITORY, EPOCH)
                self.assertEqual(checked.returncode, 1)
                self.assertIn(message, checked.stdout)


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


GUIDE = "说明.txt"
CP936 = GUIDE.encode("cp936")
NAMES = [
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


class ZipNames(unittest.TestCase):
    def test_names(self):
        for case, written, expected in NAMES:
            with self.subTest(case):
                info = read_back(**written)
                # Whatever this Python put there, the name must not come from it.
                info.filename = "?"
                self.assertEqual(entry_name(info), expected)


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    # A filtered or broken run must not pass quietly.
    sys.exit(0 if result.wasSuccessful() and result.testsRun == 2 else 1)
