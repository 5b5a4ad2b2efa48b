"""Reads a release's package manifests back: check_manifests.py RELEASE_DIR VERSION REPOSITORY EPOCH

Each manifest passes its manager's own published schema (third_party/package-schemas); each hash
is the SHA-256 of the zip its URL names, in RELEASE_DIR; both machines are there; every
version is VERSION and every winget file names the one identifier; the winget files lie
where winget-pkgs keeps them; Scoop's autoupdate, applied to this release, finds these very
URLs and hashes."""
import hashlib
import json
import os
import re
import sys
import time
import zipfile

import jsonschema
import yaml

HERE = os.path.dirname(os.path.abspath(__file__))
SCHEMAS = os.path.join(HERE, "..", "..", "third_party", "package-schemas")
folder, version, repository, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
problems = []
download = f"{repository}/releases/download/v{version}/"
URL = re.compile(r"[Hh][Tt][Tt][Pp][Ss]?://.+")
ACCEPTED_VERSION = "1.12.0"
WINGET_FLOOR = "10.0.17763.0"  # Windows 10 1809, the oldest Windows winget runs on


def expect(condition, problem):
    if not condition:
        problems.append(problem)


def sha256_of(name):
    path = os.path.join(folder, name)
    if not os.path.isfile(path):
        return None
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def zip_named_by(url, arch, where):
    """The release's zip the URL names, which must be the arch's."""
    name = f"Vantrel-{version}-windows-{arch}.zip"
    expect(url == download + name, f"{where}: {url} is not {download + name}")
    return name


def holds(zip_name, entry):
    with zipfile.ZipFile(os.path.join(folder, zip_name)) as archive:
        return entry in archive.namelist()


def check_schema(manifest, schema_path, where):
    """Against the manager's own published schema (third_party/package-schemas/README.md)."""
    with open(os.path.join(SCHEMAS, schema_path), encoding="utf-8") as file:
        schema = json.load(file)
    for error in jsonschema.Draft7Validator(schema).iter_errors(manifest):
        problems.append(f"{where}: {schema_path}: {error.message}")


def check_winget(archive_path):
    with zipfile.ZipFile(archive_path) as archive:
        texts = {name: archive.read(name).decode("utf-8") for name in archive.namelist()}
    manifests = {name: yaml.safe_load(text) for name, text in texts.items()}
    version_files = [name for name, m in manifests.items() if m.get("ManifestType") == "version"]
    if len(version_files) != 1:
        problems.append(f"winget: {len(version_files)} version manifests")
        return
    identifier = manifests[version_files[0]]["PackageIdentifier"]
    default = manifests[version_files[0]]["DefaultLocale"]
    expect(default == "en-US", f"winget: the default locale is {default}, not en-US, which winget-pkgs reads")
    place = "/".join(["manifests", identifier[0].lower(), *identifier.split("."), version]) + "/"
    expected = {f"{identifier}.yaml": "version", f"{identifier}.installer.yaml": "installer",
                f"{identifier}.locale.{default}.yaml": "defaultLocale",
                f"{identifier}.locale.zh-CN.yaml": "locale"}
    expect(sorted(texts) == sorted(place + name for name in expected),
           f"winget: files {sorted(texts)}, expected {sorted(expected)} in {place}")
    for name, kind in expected.items():
        manifest, text = manifests.get(place + name), texts.get(place + name, "")
        if manifest is None:
            continue
        declared = manifest.get("ManifestVersion", "")
        schema = ("# yaml-language-server: $schema="
                  f"https://aka.ms/winget-manifest.{kind}.{declared}.schema.json\n")
        expect(text.startswith(schema), f"{name}: does not begin with {schema.strip()}")
        expect(declared == ACCEPTED_VERSION, f"{name}: ManifestVersion {declared!r}, not the {ACCEPTED_VERSION} "
               "that winget-pkgs accepts")
        check_schema(manifest, f"winget/manifest.{kind}.{ACCEPTED_VERSION}.json", name)
        expect(manifest.get("PackageIdentifier") == identifier, f"{name}: another identifier")
        expect(manifest.get("PackageVersion") == version,
               f"{name}: PackageVersion {manifest.get('PackageVersion')!r}, expected {version}")
        if kind.endswith("ocale"):
            expect(name == f"{identifier}.locale.{manifest.get('PackageLocale')}.yaml",
                   f"{name}: another locale")
            expect("vantrel" in manifest.get("InstallationNotes", ""),
                   f"{name}: no InstallationNotes on starting it as vantrel")
    installer = manifests.get(place + f"{identifier}.installer.yaml")
    if installer:
        check_installers(installer)


def check_installers(manifest):
    where = "winget installer"
    day = time.strftime("%Y-%m-%d", time.gmtime(epoch))
    expect(manifest.get("ReleaseDate") == day,
           f"{where}: ReleaseDate {manifest.get('ReleaseDate')!r}, not {day}")
    expect(manifest.get("InstallerType") == "zip" and manifest.get("NestedInstallerType") == "portable",
           f"{where}: not a zip holding a portable program")
    nested = manifest.get("NestedInstallerFiles") or [{}]
    installers = manifest.get("Installers") or []
    arches = [installer.get("Architecture") for installer in installers]
    expect(sorted(arches) == ["x64", "x86"], f"{where}: architectures {arches}, expected x64 and x86")
    for installer in installers:
        arch = installer.get("Architecture")
        name = zip_named_by(installer.get("InstallerUrl"), arch, f"{where} {arch}")
        digest = installer.get("InstallerSha256", "")
        expect(re.fullmatch(r"[0-9A-F]{64}", digest),
               f"{where} {arch}: InstallerSha256 {digest!r} is not upper-case hex")
        expect(digest.lower() == sha256_of(name),
               f"{where} {arch}: InstallerSha256 is not the hash of {name}")
        expect(sha256_of(name) is None or holds(name, nested[0].get("RelativeFilePath")),
               f"{where} {arch}: {name} has no {nested[0].get('RelativeFilePath')}")
        # Below winget's own floor the field says what no winget can act on.
        floor = installer.get("MinimumOSVersion", WINGET_FLOOR)
        expect(re.fullmatch(r"\d+(\.\d+){0,3}", str(floor))
               and tuple(map(int, str(floor).split("."))) >= tuple(map(int, WINGET_FLOOR.split("."))),
               f"{where} {arch}: MinimumOSVersion {floor!r} is below winget's own {WINGET_FLOOR}")


def scoop_autoupdate(template, url):
    """Scoop's placeholders for an autoupdate of this version, the one in the manifest."""
    return (template.replace("$version", version).replace("$baseurl", url.rsplit("/", 1)[0])
            .replace("$url", url))


def check_scoop(path):
    with open(path, encoding="utf-8") as file:
        manifest = json.load(file)
    check_schema(manifest, "scoop/schema.json", "scoop")
    expect(manifest.get("version") == version, f"scoop: version {manifest.get('version')!r}, expected {version}")
    for key in ("description", "homepage", "license"):
        expect(isinstance(manifest.get(key), str) and manifest[key], f"scoop: no {key}")
    expect(URL.fullmatch(manifest.get("homepage", "")), "scoop: the homepage is no address")
    shortcuts = manifest.get("shortcuts") or [[""]]
    expect(manifest.get("checkver"), "scoop: no checkver")
    autoupdate = manifest.get("autoupdate", {})
    hash_rule = autoupdate.get("hash", {})
    with open(os.path.join(folder, "SHA256SUMS"), encoding="utf-8") as file:
        sums = file.read()
    architectures = manifest.get("architecture", {})
    expect(sorted(architectures) == ["32bit", "64bit"], f"scoop: architectures {sorted(architectures)}")
    for scoop_arch, arch in (("64bit", "x64"), ("32bit", "x86")):
        entry = architectures.get(scoop_arch, {})
        url = entry.get("url", "")
        name = zip_named_by(url, arch, f"scoop {scoop_arch}")
        # A missing hash must not pass for a missing zip's.
        expect(isinstance(entry.get("hash"), str) and entry.get("hash") == sha256_of(name),
               f"scoop {scoop_arch}: the hash is not that of {name}")
        expect(sha256_of(name) is None or holds(name, shortcuts[0][0]),
               f"scoop: {name} has no {shortcuts[0][0]}")
        template = autoupdate.get("architecture", {}).get(scoop_arch, {}).get("url", "")
        expect("$version" in template and scoop_autoupdate(template, url) == url,
               f"scoop {scoop_arch}: autoupdate's {template!r} does not give {url}")
        sums_url = scoop_autoupdate(hash_rule.get("url", ""), url)
        expect(sums_url == download + "SHA256SUMS",
               f"scoop {scoop_arch}: autoupdate reads hashes from {sums_url}")
        # As Scoop reads a hash file: its templates, the zip's name escaped, case ignored.
        pattern = hash_rule.get("regex", "").replace("$sha256", "([a-fA-F0-9]{64})")
        found = re.search(pattern.replace("$basename", re.escape(name)), sums, re.IGNORECASE)
        expect(found and found[1].lower() == entry.get("hash"),
               f"scoop {scoop_arch}: autoupdate finds {found and found[1]} in SHA256SUMS, not the hash")


winget = os.path.join(folder, f"Vantrel-{version}-winget.zip")
scoop = os.path.join(folder, "vantrel.json")
for path, check in ((winget, check_winget), (scoop, check_scoop)):
    if os.path.isfile(path):
        check(path)
    else:
        problems.append(f"no {path}")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
