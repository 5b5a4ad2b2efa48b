"""The names of the entries make_zip.py writes, read back on any Python 3."""
import struct
import zlib

UNICODE_PATH_FIELD = 0x7075


def stored_name(info):
    """The name's bytes as the header holds them. zipfile keeps the name it decoded from
    them, before any Unicode Path field, in orig_filename: as UTF-8 when flagged, else as
    code page 437, which maps every byte (no metadata_encoding is passed here)."""
    return info.orig_filename.encode("utf-8" if info.flag_bits & 0x800 else "cp437")


def unicode_path(extra, stored):
    """The UTF-8 name of an Info-ZIP Unicode Path field (version 1) made for the stored
    name, or None: a field whose CRC-32 is not the stored name's was left behind by a tool
    that renamed the entry, and Windows and 7-Zip ignore it as well."""
    while len(extra) >= 4:
        kind, size = struct.unpack_from("<HH", extra)
        data, extra = extra[4:4 + size], extra[4 + size:]
        if kind != UNICODE_PATH_FIELD or len(data) < 5:
            continue
        version, crc = struct.unpack_from("<BI", data)
        if version == 1 and crc == zlib.crc32(stored):
            try:
                return data[5:].decode("utf-8") or None
            except UnicodeDecodeError:
                return None
    return None


def entry_name(info):
    """The Unicode Path field's name when the entry has one, else the header's name: UTF-8
    when flagged, else code page 936, ours (zipfile reads it as code page 437). Newer
    zipfiles put the field's name in info.filename themselves, older ones do not, so it
    is not read from there."""
    stored = stored_name(info)
    named = unicode_path(info.extra, stored)
    if named is not None:
        return named
    return stored.decode("utf-8" if info.flag_bits & 0x800 else "cp936")
