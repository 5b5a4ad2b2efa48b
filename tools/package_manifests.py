"""Writes the package managers' manifests of a release, from its zips:
package_manifests.py VERSION REPOSITORY [EPOCH RELEASE_DIR]

VERSION is the project's version (the tag without its v), REPOSITORY the https address
of the repository whose releases publish the zips, EPOCH the SOURCE_DATE_EPOCH whose UTC
day is the release date. Into RELEASE_DIR, which holds Vantrel-VERSION-windows-x64.zip
and -x86.zip, it writes
  vantrel.json                    the Scoop manifest, for a bucket
  Vantrel-VERSION-winget.zip      the winget manifests, in the folders of winget-pkgs
With VERSION and REPOSITORY only, it checks them and writes nothing. The same zips,
version, address and epoch always give the same bytes."""
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import time
import zipfile

import yaml

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The newest version winget-pkgs' validation service accepts: a newer one that `winget
# validate` takes is still refused there (Manifest-Version-Error).
MANIFEST_VERSION = "1.12.0"
PACKAGE = "Vantrel"
# A tag is v<project(VERSION)>; release.sh marks a tree with uncommitted changes -dirty.
TAG_VERSION = re.compile(r"\d+(\.\d+){0,3}")
REPOSITORY_URL = re.compile(r"https://([^/\s]+)/[^/\s]+/[^/\s]+")
# The only host whose release download addresses are known: releases/download/v<version>/.
GITHUB_REPOSITORY = re.compile(r"https://github\.com/[A-Za-z0-9-]+/[A-Za-z0-9._-]+")
ARCHITECTURES = {"x64": "64bit", "x86": "32bit"}  # winget's names, Scoop's names
EXE = "Vantrel.exe"
# winget-pkgs' reviewers and search read English first; the window's Chinese is a locale.
DEFAULT_LOCALE = "en-US"

DESCRIPTIONS = {
    "zh-CN": ("管理“发送到”文件夹：列出其中的文件，"
              "为拖入的文件夹、程序或快捷方式创建快捷方式，删除不再需要的项。",
              "Vantrel 管理当前用户的“发送到”文件夹（%APPDATA%\\Microsoft\\Windows\\SendTo），"
              "即资源管理器右键菜单“发送到”中各项所在的文件夹。"
              "它列出其中的文件，为拖到文本框中的文件夹、程序或快捷方式在其中创建快捷方式，"
              "也能把选中的项删除到回收站。界面为简体中文，不写注册表，不保存设置。"),
    "en-US": ("Manages the Send To folder: lists it, adds a shortcut to a dropped folder, program or "
              "shortcut, and deletes entries.",
              "Vantrel manages the current user's Send To folder (%APPDATA%\\Microsoft\\Windows\\SendTo), "
              "the folder behind Explorer's \"Send to\" menu. It lists the folder's files, turns a folder, "
              "program or shortcut dropped on it into a shortcut there, and deletes entries to the Recycle "
              "Bin. Its window is in Simplified Chinese; it writes no registry keys and no settings."),
}


# What a portable install means, for the user who finds no Start menu entry.
INSTALLATION_NOTES = {
    "en-US": "Vantrel is portable: it adds no Start menu entry. Start it with Win+R, vantrel, Enter, or "
             "type vantrel in a console. Close Vantrel before an upgrade.",
    "zh-CN": "Vantrel 是便携程序，不在“开始”菜单中添加项。按 Win+R，输入 vantrel 后回车，"
             "或在命令行中输入 vantrel 即可启动。升级前请先关闭 Vantrel。",
}


class Refused(Exception):
    pass


def check_arguments(version, repository):
    if version.endswith("-dirty"):
        raise Refused(f"'{version}' is a tree with uncommitted changes: no release is published for it, "
                      "so no manifest may name one")
    if not TAG_VERSION.fullmatch(version):
        raise Refused(f"'{version}' is not a tag's version: numbers as project(Vantrel VERSION ...) has "
                      "them, such as 1.0.0, without the tag's v")
    if not REPOSITORY_URL.fullmatch(repository):
        raise Refused(f"the repository must be an https address, https://HOST/OWNER/NAME, not '{repository}'")
    if not GITHUB_REPOSITORY.fullmatch(repository):
        host = REPOSITORY_URL.fullmatch(repository)[1]
        raise Refused(f"the manifests' download addresses follow GitHub's {repository}/releases/download/"
                      f"v{version}/ layout, which {host} does not have: give the GitHub repository, "
                      "https://github.com/OWNER/NAME")


def read_text(*path):
    with open(os.path.join(ROOT, *path), encoding="utf-8") as file:
        return file.read()


def publisher():
    """The version resource's CompanyName, and the identifier's first part made of it:
    winget-pkgs' folders and identifiers are ASCII, so only its ASCII letters and digits
    are kept ("Pelgrin软件", Pelgrin Software, gives Pelgrin)."""
    match = re.search(r'VALUE "CompanyName", "([^"]+)"', read_text("resources", "Vantrel.rc"))
    if not match:
        raise Refused("resources/Vantrel.rc has no CompanyName")
    segment = re.sub(r"[^A-Za-z0-9]", "", match[1])
    if not segment:
        raise Refused(f"the CompanyName '{match[1]}' has no ASCII letter or digit to name the package by")
    return match[1], segment


def licence():
    """The SPDX identifier and the copyright line of LICENSE."""
    lines = read_text("LICENSE").splitlines()
    if lines[0] != "MIT License":
        raise Refused("LICENSE is no longer the MIT License: name its SPDX identifier here")
    return "MIT", next(line for line in lines if line.startswith("Copyright"))


def release_notes(version):
    """The CHANGELOG.md section of the version, or None before it has one."""
    match = re.search(rf"^## \[{re.escape(version)}\][^\n]*\n(.*?)(?=^## |\Z)", read_text("CHANGELOG.md"),
                      re.MULTILINE | re.DOTALL)
    notes = match and match[1].strip()
    if notes and len(notes) > 10000:
        raise Refused(f"CHANGELOG.md's section for {version} is longer than winget's 10000 characters")
    return notes or None


def check_windows_exe(exe, where):
    try:
        header = struct.unpack_from("<I", exe, 0x3C)[0]
        if exe[:2] != b"MZ" or exe[header:header + 4] != b"PE\0\0":
            raise ValueError
    except (struct.error, ValueError):
        raise Refused(f"{where}: {EXE} is not a Windows executable") from None


def read_zip(path):
    """The SHA-256 of the zip, once its exe is found to be a Windows program."""
    if not os.path.isfile(path):
        raise Refused(f"no {path}: a release has both the x64 and the x86 zip")
    with open(path, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest()
    try:
        with zipfile.ZipFile(path) as archive:
            exe = archive.read(EXE)
    except (zipfile.BadZipFile, KeyError):
        raise Refused(f"{path} is not a zip with {EXE} in it") from None
    check_windows_exe(exe, path)
    return digest


def winget_manifests(release, identifier):
    """{file name: manifest}; the first in the list is the version manifest."""
    common = {"PackageIdentifier": identifier, "PackageVersion": release["version"]}
    ending = {"ManifestVersion": MANIFEST_VERSION}
    repository, tag = release["repository"], f"v{release['version']}"
    # No MinimumOSVersion: the exe's Windows 7 is below winget's own floor, Windows 10 1809.
    installers = [{"Architecture": arch, "InstallerUrl": zip_info["url"],
                   "InstallerSha256": zip_info["sha256"].upper()}
                  for arch, zip_info in release["zips"].items()]
    manifests = {
        f"{identifier}.yaml": {**common, "DefaultLocale": DEFAULT_LOCALE, "ManifestType": "version", **ending},
        f"{identifier}.installer.yaml": {
            **common, "InstallerType": "zip", "NestedInstallerType": "portable",
            "NestedInstallerFiles": [{"RelativeFilePath": EXE, "PortableCommandAlias": "vantrel"}],
            "ReleaseDate": release["date"], "Installers": installers, "ManifestType": "installer", **ending},
    }
    for locale, (short, long) in DESCRIPTIONS.items():
        default = locale == DEFAULT_LOCALE
        publisher_name = release["publisher"][0 if locale == "zh-CN" else 1]
        manifest = {**common, "PackageLocale": locale, "Publisher": publisher_name,
                    "PackageName": PACKAGE, "PackageUrl": repository, "License": release["license"],
                    "LicenseUrl": f"{repository}/blob/{tag}/LICENSE", "Copyright": release["copyright"],
                    "ShortDescription": short, "Description": long}
        if default:
            manifest["Moniker"] = "vantrel"  # only the default locale may name it
        manifest["Tags"] = ["sendto", "shortcut", "context-menu"]
        if locale == "en-US" and release["notes"]:
            manifest["ReleaseNotes"] = release["notes"]  # CHANGELOG.md is in English
        manifests[f"{identifier}.locale.{locale}.yaml"] = {
            **manifest, "ReleaseNotesUrl": f"{repository}/releases/tag/{tag}",
            "InstallationNotes": INSTALLATION_NOTES[locale],
            "ManifestType": "defaultLocale" if default else "locale", **ending}
    return manifests


def as_yaml(manifest):
    schema = f"https://aka.ms/winget-manifest.{manifest['ManifestType']}.{MANIFEST_VERSION}.schema.json"
    body = yaml.safe_dump(manifest, sort_keys=False, allow_unicode=True, width=1000)
    return f"# yaml-language-server: $schema={schema}\n\n{body}"


def scoop_manifest(release):
    repository, download = release["repository"], f"{release['repository']}/releases/download"
    return {
        "version": release["version"],
        "description": DESCRIPTIONS["en-US"][0],
        "homepage": repository,
        "license": release["license"],
        "architecture": {ARCHITECTURES[arch]: {"url": zip_info["url"], "hash": zip_info["sha256"]}
                         for arch, zip_info in release["zips"].items()},
        "bin": [[EXE, "vantrel"]],  # a console starts it as vantrel, as winget's alias does
        "shortcuts": [[EXE, PACKAGE]],
        "checkver": {"github": repository},
        "autoupdate": {
            "architecture": {
                ARCHITECTURES[arch]: {"url": f"{download}/v$version/{zip_name('$version', arch)}"}
                for arch in release["zips"]},
            # The line of the release's SHA256SUMS that names the zip.
            "hash": {"url": "$baseurl/SHA256SUMS", "regex": "$sha256\\s+\\*?$basename"},
        },
    }


def zip_name(version, arch):
    return f"{PACKAGE}-{version}-windows-{arch}.zip"


def write(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as file:
        file.write(text)


def write_manifests(version, repository, epoch, folder):
    publisher_name, publisher_segment = publisher()
    identifier = f"{publisher_segment}.{PACKAGE}"
    spdx, copyright_line = licence()
    zips = {}
    for arch in ARCHITECTURES:
        digest = read_zip(os.path.join(folder, zip_name(version, arch)))
        url = f"{repository}/releases/download/v{version}/{zip_name(version, arch)}"
        zips[arch] = {"sha256": digest, "url": url}
    release = {"version": version, "repository": repository, "zips": zips, "notes": release_notes(version),
               "publisher": (publisher_name, publisher_segment),
               "license": spdx, "copyright": copyright_line,
               "date": time.strftime("%Y-%m-%d", time.gmtime(epoch))}
    write(os.path.join(folder, "vantrel.json"),
          json.dumps(scoop_manifest(release), indent=4, ensure_ascii=False) + "\n")
    # winget-pkgs keeps a version's manifests in manifests/<p>/<Publisher>/<Package>/<version>.
    under = "/".join(["manifests", identifier[0].lower(), *identifier.split("."), version])
    with tempfile.TemporaryDirectory() as scratch:
        paths = []
        for name, manifest in winget_manifests(release, identifier).items():
            paths.append(os.path.join(scratch, name))
            write(paths[-1], as_yaml(manifest))
        subprocess.run([sys.executable, os.path.join(ROOT, "tools", "make_zip.py"),
                        os.path.join(folder, f"{PACKAGE}-{version}-winget.zip"), str(epoch), "--under", under]
                       + paths, check=True)


def main(arguments):
    if len(arguments) not in (2, 4):
        print(__doc__.splitlines()[1], file=sys.stderr)
        return 2
    try:
        check_arguments(*arguments[:2])
        if len(arguments) == 4:
            if not arguments[2].isdigit():
                raise Refused(f"the epoch must be a whole number of seconds, not '{arguments[2]}'")
            write_manifests(arguments[0], arguments[1], int(arguments[2]), arguments[3])
    except Refused as refusal:
        print(f"package manifests: {refusal}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
