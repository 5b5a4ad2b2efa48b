"""The names of the entries make_zip.py writes, read back on any Python 3."""


def entry_name(info):
    """zipfile reads a name without the UTF-8 flag as code page 437; ours are in code
    page 936 (zipfile's metadata_encoding, which could say so, needs Python 3.11)."""
    if info.flag_bits & 0x800:
        return info.filename
    return info.filename.encode("cp437").decode("cp936")
