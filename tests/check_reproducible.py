#!/usr/bin/python3
"""Compares two builds of the launcher byte for byte.

Usage: check_reproducible.py [--forbid TEXT]... EXE_A EXE_B

The caller builds the same sources twice, in different folders and at
different times.  On a difference this prints the first differing offset and
the PE field or section it lies in, so the cause (time stamp, checksum, a path
in .rdata, ...) is visible at once.  --forbid names text that must not occur
in either image, in ASCII or UTF-16 (typically the two build folders).
Standard library only.  Exit status 0 identical, 1 different, 2 unreadable.
"""

import struct
import sys

COFF_FIELDS = [
    (0, 2, "Machine"), (2, 2, "NumberOfSections"), (4, 4, "TimeDateStamp"),
    (8, 4, "PointerToSymbolTable"), (12, 4, "NumberOfSymbols"),
    (16, 2, "SizeOfOptionalHeader"), (18, 2, "Characteristics"),
]

# (offset, size, name) in the optional header; PE32 then PE32+.
OPTIONAL_FIELDS = {
    0x10B: [
        (0, 2, "Magic"), (2, 1, "MajorLinkerVersion"), (3, 1, "MinorLinkerVersion"),
        (4, 4, "SizeOfCode"), (8, 4, "SizeOfInitializedData"),
        (12, 4, "SizeOfUninitializedData"), (16, 4, "AddressOfEntryPoint"),
        (20, 4, "BaseOfCode"), (24, 4, "BaseOfData"), (28, 4, "ImageBase"),
        (32, 4, "SectionAlignment"), (36, 4, "FileAlignment"),
        (40, 2, "MajorOperatingSystemVersion"), (42, 2, "MinorOperatingSystemVersion"),
        (44, 2, "MajorImageVersion"), (46, 2, "MinorImageVersion"),
        (48, 2, "MajorSubsystemVersion"), (50, 2, "MinorSubsystemVersion"),
        (52, 4, "Win32VersionValue"), (56, 4, "SizeOfImage"), (60, 4, "SizeOfHeaders"),
        (64, 4, "CheckSum"), (68, 2, "Subsystem"), (70, 2, "DllCharacteristics"),
        (72, 4, "SizeOfStackReserve"), (76, 4, "SizeOfStackCommit"),
        (80, 4, "SizeOfHeapReserve"), (84, 4, "SizeOfHeapCommit"),
        (88, 4, "LoaderFlags"), (92, 4, "NumberOfRvaAndSizes"),
    ],
    0x20B: [
        (0, 2, "Magic"), (2, 1, "MajorLinkerVersion"), (3, 1, "MinorLinkerVersion"),
        (4, 4, "SizeOfCode"), (8, 4, "SizeOfInitializedData"),
        (12, 4, "SizeOfUninitializedData"), (16, 4, "AddressOfEntryPoint"),
        (20, 4, "BaseOfCode"), (24, 8, "ImageBase"),
        (32, 4, "SectionAlignment"), (36, 4, "FileAlignment"),
        (40, 2, "MajorOperatingSystemVersion"), (42, 2, "MinorOperatingSystemVersion"),
        (44, 2, "MajorImageVersion"), (46, 2, "MinorImageVersion"),
        (48, 2, "MajorSubsystemVersion"), (50, 2, "MinorSubsystemVersion"),
        (52, 4, "Win32VersionValue"), (56, 4, "SizeOfImage"), (60, 4, "SizeOfHeaders"),
        (64, 4, "CheckSum"), (68, 2, "Subsystem"), (70, 2, "DllCharacteristics"),
        (72, 8, "SizeOfStackReserve"), (80, 8, "SizeOfStackCommit"),
        (88, 8, "SizeOfHeapReserve"), (96, 8, "SizeOfHeapCommit"),
        (104, 4, "LoaderFlags"), (108, 4, "NumberOfRvaAndSizes"),
    ],
}

DIRECTORY_NAMES = [
    "Export", "Import", "Resource", "Exception", "Security", "BaseReloc", "Debug",
    "Architecture", "GlobalPtr", "TLS", "LoadConfig", "BoundImport", "IAT",
    "DelayImport", "CLR", "Reserved",
]


def describe(data, offset):
    """Where a file offset lies: a header field, a section (with its RVA), or elsewhere."""
    if offset < 0x40:
        return "DOS header"
    if len(data) < 0x40 or data[:2] != b"MZ":
        return "not a PE file"
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if offset < pe:
        return "DOS stub"
    if offset < pe + 4:
        return "PE signature"
    coff = pe + 4
    if offset < coff + 20:
        for off, size, name in COFF_FIELDS:
            if coff + off <= offset < coff + off + size:
                return "COFF header: %s" % name
    nsections, opt_size = struct.unpack_from("<H", data, coff + 2)[0], \
        struct.unpack_from("<H", data, coff + 16)[0]
    opt = coff + 20
    if offset < opt + opt_size:
        magic = struct.unpack_from("<H", data, opt)[0]
        fields = OPTIONAL_FIELDS.get(magic, [])
        for off, size, name in fields:
            if opt + off <= offset < opt + off + size:
                return "optional header: %s" % name
        dirs = opt + (96 if magic == 0x10B else 112)
        if offset >= dirs:
            index, part = divmod(offset - dirs, 8)
            name = DIRECTORY_NAMES[index] if index < len(DIRECTORY_NAMES) else str(index)
            return "data directory %d (%s) %s" % (index, name, "RVA" if part < 4 else "Size")
        return "optional header"
    table = opt + opt_size
    if offset < table + 40 * nsections:
        index = (offset - table) // 40
        name = data[table + 40 * index:table + 40 * index + 8].rstrip(b"\0").decode("latin-1")
        return "section header %d (%s)" % (index, name)
    for i in range(nsections):
        s = table + 40 * i
        name = data[s:s + 8].rstrip(b"\0").decode("latin-1")
        va, raw_size, raw_ptr = struct.unpack_from("<III", data, s + 12)
        if raw_ptr <= offset < raw_ptr + raw_size:
            return "section %s at RVA 0x%x" % (name, va + offset - raw_ptr)
    return "outside every section (padding or overlay)"


def first_difference(a, b, start=0, skip=range(0)):
    if a == b:
        return None
    for i in range(start, min(len(a), len(b))):
        if a[i] != b[i] and i not in skip:
            return i
    return min(len(a), len(b)) if len(a) != len(b) else None


def checksum_field(data):
    """Offsets of the optional header's CheckSum, which follows any other change."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return range(0)
    at = struct.unpack_from("<I", data, 0x3C)[0] + 24 + 64
    return range(at, at + 4)


def forbidden_hits(data, texts):
    hits = []
    for text in texts:
        for encoding in ("utf-8", "utf-16-le"):
            at = data.find(text.encode(encoding))
            if at >= 0:
                hits.append("%r (%s) at 0x%x in %s" % (text, encoding, at, describe(data, at)))
    return hits


def compare(a, b):
    """(ok, detail) for the byte-for-byte comparison."""
    at = first_difference(a, b)
    if at is None:
        return True, "%d bytes" % len(a)
    if at == min(len(a), len(b)):
        return False, "sizes differ: %d and %d bytes, equal up to the shorter" % (len(a), len(b))
    count = sum(1 for x, y in zip(a, b) if x != y)
    sizes = "" if len(a) == len(b) else "; sizes %d and %d" % (len(a), len(b))
    detail = "first difference at offset 0x%x (0x%02x vs 0x%02x) in %s" % (
        at, a[at], b[at], describe(a, at))
    skip = checksum_field(a)
    if at in skip:
        cause = first_difference(a, b, at, skip)
        if cause is not None and cause < min(len(a), len(b)):
            detail += "; first outside it at 0x%x (0x%02x vs 0x%02x) in %s" % (
                cause, a[cause], b[cause], describe(a, cause))
    return False, "%s; %d bytes differ%s" % (detail, count, sizes)


def main(argv):
    args, forbid = [], []
    it = iter(argv[1:])
    for arg in it:
        if arg == "--forbid":
            forbid.append(next(it, ""))
        else:
            args.append(arg)
    if len(args) != 2 or "" in forbid:
        print("usage: check_reproducible.py [--forbid TEXT]... EXE_A EXE_B", file=sys.stderr)
        return 2
    images = []
    for path in args:
        try:
            with open(path, "rb") as f:
                images.append(f.read())
        except OSError as e:
            print("check_reproducible: %s" % e, file=sys.stderr)
            return 2

    checks = [("identical", ) + compare(*images)]
    if forbid:
        for path, data in zip(args, images):
            hits = forbidden_hits(data, forbid)
            checks.append(("no build folder in %s" % path, not hits,
                           "; ".join(hits) if hits else "none of %d texts" % len(forbid)))
    failed = 0
    for name, ok, detail in checks:
        print("%s  %s: %s" % ("ok  " if ok else "FAIL", name, detail))
        failed += not ok
    print("%d passed, %d failed" % (len(checks) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
