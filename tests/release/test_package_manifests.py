"""tools/package_manifests.py on a made-up release: its output passes check_manifests.py,
each kind of bad input is refused with its cause and writes nothing, and the check
finds a manifest spoiled after the fact."""
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "tools", "package_manifests.py")
CHECKER = os.path.join(HERE, "check_manifests.py")
VERSION, REPOSITORY, EPOCH = "1.2.3", "https://github.com/someone/vantrel", "1796773252"
ZIPS = {arch: f"Vantrel-{VERSION}-windows-{arch}.zip" for arch in ("x64", "x86")}


def windows_7_exe(arch):
    """An exe header asking for Windows 6.1, with the machine's name to tell the zips apart."""
    exe = bytearray(0x40 + 24 + 96) + arch.encode()
    exe[:2] = b"MZ"
    struct.pack_into("<I", exe, 0x3C, 0x40)
    exe[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HH", exe, 0x40 + 24 + 48, 6, 1)
    return bytes(exe)


def make_release(folder, entry="Vantrel.exe"):
    sums = ""
    for arch, name in ZIPS.items():
        with zipfile.ZipFile(os.path.join(folder, name), "w") as archive:
            archive.writestr(entry, windows_7_exe(arch))
        with open(os.path.join(folder, name), "rb") as file:
            sums += f"{hashlib.sha256(file.read()).hexdigest()}  {name}\n"
    with open(os.path.join(folder, "SHA256SUMS"), "w") as file:
        file.write(sums)


def run(script, *arguments):
    return subprocess.run([sys.executable, script, *arguments], capture_output=True, text=True)


class Generator(unittest.TestCase):
    def setUp(self):
        scratch = tempfile.TemporaryDirectory()
        self.addCleanup(scratch.cleanup)
        self.folder = scratch.name

    def generate(self, version=VERSION, repository=REPOSITORY):
        return run(GENERATOR, version, repository, EPOCH, self.folder)

    def test_a_whole_release_passes_the_check(self):
        make_release(self.folder)
        self.assertEqual(self.generate().returncode, 0)
        checked = run(CHECKER, self.folder, VERSION, REPOSITORY, EPOCH)
        self.assertEqual((checked.returncode, checked.stdout), (0, ""))

    def test_bad_input_is_refused_and_writes_nothing(self):
        no_x86 = lambda: os.remove(os.path.join(self.folder, ZIPS["x86"]))
        no_exe = lambda: make_release(self.folder, "other.exe")
        https = "must be an https address"
        cases = [  # name, changes to the release, generator arguments, expected message
            ("no x86 zip", no_x86, {}, f"{ZIPS['x86']}: a release has both"),
            ("the tag, not its version", None, {"version": "v1.2.3"}, "'v1.2.3' is not a tag's version"),
            ("a version no tag has", None, {"version": "1.2.3-beta"}, "'1.2.3-beta' is not a tag's version"),
            ("http, not https", None, {"repository": "http://github.com/someone/vantrel"}, https),
            ("a page, not a repository", None, {"repository": REPOSITORY + "/releases"}, https),
            ("a zip without the exe", no_exe, {}, "is not a zip with Vantrel.exe"),
            ("a tree with uncommitted changes", None, {"version": "1.2.3-dirty"},
             "'1.2.3-dirty' is a tree with uncommitted changes"),
            ("a host without GitHub's download layout", None, {"repository": "https://gitlab.com/someone/vantrel"},
             "layout, which gitlab.com does not have"),
        ]
        for name, spoil, arguments, message in cases:
            with self.subTest(name), tempfile.TemporaryDirectory() as self.folder:
                make_release(self.folder)
                if spoil:
                    spoil()
                result = self.generate(**arguments)
                self.assertEqual(result.returncode, 1)
                self.assertIn(message, result.stderr)
                written = {"vantrel.json", f"Vantrel-{VERSION}-winget.zip"} & set(os.listdir(self.folder))
                self.assertFalse(written)

    def test_the_check_finds_a_spoiled_manifest(self):
        def swap_scoop_hashes(folder):
            path = os.path.join(folder, "vantrel.json")
            with open(path) as file:
                manifest = json.load(file)
            x64, x86 = manifest["architecture"]["64bit"], manifest["architecture"]["32bit"]
            x64["hash"], x86["hash"] = x86["hash"], x64["hash"]
            with open(path, "w") as file:
                json.dump(manifest, file)

        def no_scoop_hash_nor_zip(folder):
            # No hash compared with no zip's hash is still no hash.
            path = os.path.join(folder, "vantrel.json")
            with open(path) as file:
                manifest = json.load(file)
            del manifest["architecture"]["64bit"]["hash"]
            with open(path, "w") as file:
                json.dump(manifest, file)
            os.remove(os.path.join(folder, ZIPS["x64"]))

        def rewrite_winget(folder, file_ending, pattern, replacement):
            path = os.path.join(folder, f"Vantrel-{VERSION}-winget.zip")
            with zipfile.ZipFile(path) as archive:
                entries = {name: archive.read(name).decode() for name in archive.namelist()}
            with zipfile.ZipFile(path, "w") as archive:
                for name, text in entries.items():
                    archive.writestr(name, re.sub(pattern, replacement, text) if name.endswith(file_ending) else text)

        def lower_case_winget_hashes(folder):
            rewrite_winget(folder, ".installer.yaml", "(InstallerSha256: )(.*)",
                           lambda match: match[1] + match[2].lower())

        def another_identifier_in_the_added_locale(folder):
            rewrite_winget(folder, ".locale.zh-CN.yaml", "PackageIdentifier: .*", "PackageIdentifier: Pelgrin.Other")

        def a_tag_twice(folder):
            rewrite_winget(folder, ".locale.en-US.yaml", "- shortcut", "- sendto")

        def a_scope_winget_has_not(folder):
            rewrite_winget(folder, ".installer.yaml", "(ReleaseDate: .*)", r"\1\nScope: everyone")

        def a_misspelt_scoop_field(folder):
            path = os.path.join(folder, "vantrel.json")
            with open(path) as file:
                manifest = json.load(file)
            manifest["shortcut"] = manifest.pop("shortcuts")
            with open(path, "w") as file:
                json.dump(manifest, file)

        cases = [(swap_scoop_hashes, "scoop 64bit: the hash is not that of"),
                 (no_scoop_hash_nor_zip, "scoop 64bit: the hash is not that of"),
                 (lower_case_winget_hashes, "x64: InstallerSha256 '"),
                 (another_identifier_in_the_added_locale, "winget: the files disagree on PackageIdentifier"),
                 (a_tag_twice, "manifest.defaultLocale.1.12.0.json: ['sendto', 'sendto', 'context-menu'] has non-unique"),
                 (a_scope_winget_has_not, "manifest.installer.1.12.0.json: 'everyone' is not one of"),
                 (a_misspelt_scoop_field, "scoop: scoop/schema.json: Additional properties are not allowed ('shortcut'")]
        for spoil, message in cases:
            with self.subTest(spoil.__name__), tempfile.TemporaryDirectory() as folder:
                make_release(folder)
                self.assertEqual(run(GENERATOR, VERSION, REPOSITORY, EPOCH, folder).returncode, 0)
                spoil(folder)
                checked = run(CHECKER, folder, VERSION, REPOSITORY, EPOCH)
                self.assertEqual(checked.returncode, 1)
                self.assertIn(message, checked.stdout)


if __name__ == "__main__":
    result = unittest.main(exit=False, verbosity=2).result
    # A filtered or broken run must not pass quietly.
    sys.exit(0 if result.wasSuccessful() and result.testsRun == 3 else 1)
