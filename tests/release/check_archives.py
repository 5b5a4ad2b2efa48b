"""Checks the release archives: check_archives.py ZIP SYMBOLS_ZIP EXE EPOCH

Exact, sorted entries; every entry dated SOURCE_DATE_EPOCH with plain file modes and no
extra time fields; non-ASCII names flagged as UTF-8; the user guide in the form Notepad
reads on every Windows (UTF-8 with BOM, CRLF); the zip's exe is the exe beside it."""
import sys
import time
import zipfile

main_zip, symbols_zip, exe, epoch = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
problems = []


def check_entries(path, expected):
    with zipfile.ZipFile(path) as archive:
        infos = archive.infolist()
        names = [info.filename for info in infos]
        if names != expected:
            problems.append(f"{path}: entries {names}, expected {expected}")
        # DOS times have two-second steps.
        dated = time.gmtime(epoch - epoch % 2)[:6]
        for info in infos:
            if info.date_time != dated:
                problems.append(f"{info.filename}: dated {info.date_time}, expected {dated}")
            if info.external_attr >> 16 != 0o100644:
                problems.append(f"{info.filename}: mode {oct(info.external_attr >> 16)}")
            if b"UT" in info.extra or b"ux" in info.extra:
                problems.append(f"{info.filename}: extra time or owner field {info.extra!r}")
            if not info.filename.isascii() and not info.flag_bits & 0x800:
                problems.append(f"{info.filename}: name not flagged as UTF-8")
        return {info.filename: archive.read(info) for info in infos}


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
