"""Compares downloaded release files with a rebuild of their commit:
compare_release.py DOWNLOADED_DIR REBUILT_DIR

For each file the download's SHA256SUMS or the rebuild lists, says: same; same apart from the signature
(a signed Vantrel.exe, or a zip that holds it and is otherwise the rebuilt zip); for the package
manifests, same apart from the hashes of the signed zips; differs; not downloaded; or not comparable (the tests zip: its test programs carry the folder they
were built in). Prints the lines where BUILDINFO.txt differs, since another compiler or
library gives another exe. Exits 1 on any difference."""
import hashlib
import os
import posixpath
import struct
import subprocess
import sys
import tempfile
import zipfile
import zlib

from signature_only_difference import without_signature
from zip_names import entry_name

HERE = os.path.dirname(os.path.abspath(__file__))
MANIFESTS = ("vantrel.json", "-winget.zip")


def read(path):
    with open(path, "rb") as file:
        return file.read()


def listed_files(sums):
    """{name: sha256} from a sha256sum listing."""
    listed = {}
    for line in read(sums).decode().splitlines():
        digest, _, name = line.partition(" ")
        listed[name.lstrip(" *")] = digest.lower()
    return listed


def signed_copy_of(exe, rebuilt_exe):
    """True when exe is rebuilt_exe plus an Authenticode signature."""
    try:
        return exe != rebuilt_exe and without_signature(exe) == without_signature(rebuilt_exe)
    except (ValueError, struct.error):
        return False  # not an image we can read: it differs


def zip_with_signed_exe(downloaded_zip, rebuilt_zip, epoch):
    """True when the downloaded zip is the rebuilt one written with a signed Vantrel.exe."""
    try:
        with zipfile.ZipFile(downloaded_zip) as archive:
            exe = archive.read("Vantrel.exe")
    except (zipfile.BadZipFile, zlib.error, KeyError, EOFError):
        return False  # damaged, or no exe in it: it differs
    with zipfile.ZipFile(rebuilt_zip) as archive:
        if not signed_copy_of(exe, archive.read("Vantrel.exe")):
            return False
        entries = {entry_name(info): exe if info.filename == "Vantrel.exe" else archive.read(info)
                   for info in archive.infolist()}
    return rezipped(entries, epoch) == read(downloaded_zip)


def rezipped(entries, epoch):
    """What make_zip.py writes for {name in the zip: data}, all of whose names share a folder."""
    under = {posixpath.dirname(name) for name in entries} - {""}
    with tempfile.TemporaryDirectory() as folder:
        names = []
        for name, data in entries.items():
            names.append(os.path.join(folder, posixpath.basename(name)))
            with open(names[-1], "wb") as file:
                file.write(data)
        expected = os.path.join(folder, "expected.zip")
        subprocess.run([sys.executable, os.path.join(HERE, "make_zip.py"), expected, str(epoch)]
                       + (["--under", under.pop()] if under else []) + names, check=True)
        return read(expected)


def manifests_of_signed_zips(downloaded, rebuilt, swaps, epoch):
    """True when the rebuilt manifests, each signed zip's rebuilt hash swapped for the
    downloaded one's (as the release printed it, lower or upper case), are the download."""
    def swapped(data):
        text = data.decode("utf-8")
        for old, new in swaps:
            text = text.replace(old, new).replace(old.upper(), new.upper())
        return text.encode("utf-8")

    if not downloaded.endswith(".zip"):
        return swapped(read(rebuilt)) == read(downloaded)
    with zipfile.ZipFile(rebuilt) as archive:
        entries = {info.filename: swapped(archive.read(info)) for info in archive.infolist()}
    return rezipped(entries, epoch) == read(downloaded)


def build_info(path):
    if not os.path.exists(path):
        return {}
    return dict(line.partition(" ")[::2] for line in read(path).decode().splitlines())


def verdict(name, downloaded, rebuilt, listed_digest, epoch, swaps):
    """(verdict, counts as a difference)"""
    if name.endswith("-tests.zip"):
        return "not comparable (its test programs carry the folder they were built in)", False
    if not os.path.exists(downloaded):
        return "not downloaded", False
    data = read(downloaded)
    if listed_digest is None:
        return "differs: SHA256SUMS does not list it", True
    if hashlib.sha256(data).hexdigest() != listed_digest:
        return "differs from its line in SHA256SUMS (damaged or changed)", True
    if not os.path.exists(rebuilt):
        return "differs: the rebuild has no such file", True
    if data == read(rebuilt):
        return "same", False
    if name.endswith(MANIFESTS) and swaps and manifests_of_signed_zips(downloaded, rebuilt, swaps, epoch):
        return "same apart from the hashes of the signed zips", False
    if name.endswith(".exe") and signed_copy_of(data, read(rebuilt)):
        return "same apart from its signature", False
    if name.endswith(".zip") and zip_with_signed_exe(downloaded, rebuilt, epoch):
        return "same apart from the signature of its Vantrel.exe", False
    return "differs", True


def main():
    downloaded_dir, rebuilt_dir = sys.argv[1], sys.argv[2]
    listed = listed_files(os.path.join(downloaded_dir, "SHA256SUMS"))
    # A file the rebuild has and the sums leave out is looked at too.
    rebuilt_listed = listed_files(os.path.join(rebuilt_dir, "SHA256SUMS"))
    names = set(listed) | set(rebuilt_listed)
    theirs = build_info(os.path.join(downloaded_dir, "BUILDINFO.txt"))
    ours = build_info(os.path.join(rebuilt_dir, "BUILDINFO.txt"))
    epoch = int(ours["SOURCE_DATE_EPOCH"])
    differences = compared = 0
    swaps = []  # (rebuilt hash, downloaded hash) of each zip that differs by its signature only
    # The manifests last: they are judged by the verdicts on the zips they name.
    for name in sorted(names, key=lambda name: (name.endswith(MANIFESTS), name)):
        text, differs = verdict(name, os.path.join(downloaded_dir, name),
                                os.path.join(rebuilt_dir, name), listed.get(name), epoch, swaps)
        if text.startswith("same apart from the signature"):
            swaps.append((rebuilt_listed[name], listed[name]))
        print(f"{name}: {text}")
        differences += differs
        compared += text.startswith(("same", "differs"))
    differing_tools = [key for key in sorted(set(theirs) | set(ours))
                       if theirs and theirs.get(key) != ours.get(key)]
    for key in differing_tools:
        print(f"  {key}: the release was built with {theirs.get(key, 'nothing')}, "
              f"this machine has {ours.get(key, 'nothing')}")
    if set(differing_tools) - {"commit", "SOURCE_DATE_EPOCH"}:
        print(f"the rebuild's toolchain differs from the release's: the same bytes need Debian "
              f"{theirs.get('Debian', '(not named)')} with the versions above")
    if compared == 0:
        print("nothing to compare: put the downloaded files beside SHA256SUMS")
        sys.exit(1)
    print(f"{differences} of {compared} compared files differ" if differences
          else f"all {compared} compared files are the same as the rebuild")
    sys.exit(1 if differences else 0)


if __name__ == "__main__":
    main()
