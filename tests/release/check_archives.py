"""Checks the release archives: check_archives.py ZIP SYMBOLS_ZIP EXE EPOCH

Exact, sorted entries; every entry dated SOURCE_DATE_EPOCH with plain file modes and no
extra time fields; a non-ASCII name, read from the raw headers, in code page 936 without
the UTF-8 flag and with an Info-ZIP Unicode Path field; the user guide in the form Notepad
reads on every Windows (UTF-8 with BOM, CRLF); the zip's exe is the exe beside it."""
import os
import struct
import sys
import time
import zipfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from zip_names import entry_name, stored_name  # noqa: E402

main_zip, symbols_zip, exe, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
problems = []


def local_header(path, info):
    """The flags, name and extra field of the entry's local header, as stored."""
    with open(path, "rb") as raw:
        raw.seek(info.header_offset)
        fixed = raw.read(30)
        flags, name_size, extra_size = struct.unpack_from("<6xH18xHH", fixed)
        name = raw.read(name_size)
        return flags, name, raw.read(extra_size)


def check_chinese_name(where, name, flags, stored, extra):
    expected = b"up" + struct.pack("<HBI", 5 + len(name.encode()), 1, zlib.crc32(name.encode("cp936")))
    expected += name.encode()
    if flags & 0x800:
        problems.append(f"{where}: the name is flagged as UTF-8")
    if stored != name.encode("cp936"):
        problems.append(f"{where}: stored name {stored!r}, expected {name!r} in code page 936")
    if expected not in extra:
        problems.append(f"{where}: no Unicode Path field {expected!r} in {extra!r}")


def check_entries(path, expected):
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        names = [entry_name(info) for info in infos]
        if names != expected:
            problems.append(f"{path}: entries {names}, expected {expected}")
        # DOS times have two-second steps.
        dated = time.gmtime(epoch - epoch % 2)[:6]
        for info, name in zip(infos, names):
            if info.date_time != dated:
                problems.append(f"{name}: dated {info.date_time}, expected {dated}")
            if info.external_attr >> 16 != 0o100644:
                problems.append(f"{name}: mode {oct(info.external_attr >> 16)}")
            if b"UT" in info.extra or b"ux" in info.extra:
                problems.append(f"{name}: extra time or owner field {info.extra!r}")
            if not name.isascii():
                central = (info.flag_bits, stored_name(info), info.extra)
                check_chinese_name(f"{name} (central)", name, *central)
                check_chinese_name(f"{name} (local)", name, *local_header(path, info))
        return {name: archive.read(info) for info, name in zip(infos, names)}


files = check_entries(main_zip, ["LICENSE", "Vantrel.exe", "说明.txt"])
check_entries(symbols_zip, ["Vantrel.exe.debug"])

guide = files.get("说明.txt", b"")
if not guide.startswith(b"\xef\xbb\xbf"):
    problems.append("说明.txt: no UTF-8 byte order mark")
if guide.count(b"\n") == 0 or guide.count(b"\n") != guide.count(b"\r\n"):
    problems.append("说明.txt: line ends are not all CRLF")
try:
    guide.decode("utf-8")
except UnicodeDecodeError as error:
    problems.append(f"说明.txt: not UTF-8: {error}")
with open(exe, "rb") as loose:
    if files.get("Vantrel.exe") != loose.read():
        problems.append("the zip's Vantrel.exe is not the exe beside it")

for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
