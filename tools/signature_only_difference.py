"""Exits 0 when SIGNED is UNSIGNED plus an Authenticode signature and nothing else:
signature_only_difference.py SIGNED UNSIGNED

Signing appends the certificate table (after padding the file to 8 bytes), points the
security directory at it and updates the header checksum; everything else must be equal."""
import struct
import sys


# Where the data directories begin in the optional header, by its magic number.
DIRECTORIES_AT = {0x10B: 96, 0x20B: 112}  # PE32 (x86), PE32+ (x64)


def without_signature(image, path="the image"):
    """The bytes of a PE32 or PE32+ image with its signature and checksum taken out;
    ValueError for anything else."""
    data = bytearray(image)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic not in DIRECTORIES_AT:
        raise ValueError(f"{path}: not a PE32 or PE32+ image")
    checksum = optional + 64
    security = optional + DIRECTORIES_AT[magic] + 4 * 8  # data directory 4
    offset, size = struct.unpack_from("<II", data, security)
    if offset:
        if offset + size != len(data):
            raise ValueError(f"{path}: the certificate table is not at the end")
        del data[offset:]
    struct.pack_into("<I", data, checksum, 0)
    struct.pack_into("<II", data, security, 0, 0)
    return bytes(data).rstrip(b"\0")


def main():
    signed, unsigned = sys.argv[1], sys.argv[2]
    try:
        a = without_signature(open(signed, "rb").read(), signed)
        b = without_signature(open(unsigned, "rb").read(), unsigned)
    except ValueError as error:
        sys.exit(str(error))
    except struct.error:
        sys.exit(f"{signed} or {unsigned} is too short for a PE image")
    if a != b:
        first = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
        sys.exit(f"the images differ beyond the signature, first at byte {first}")
    if open(signed, "rb").read() == open(unsigned, "rb").read():
        sys.exit(f"{signed} is not signed")


if __name__ == "__main__":
    main()
