#!/usr/bin/python3
"""Post-link hardening of the launcher image, in place.

GNU ld cannot set two things the image needs:
- data directory 10 (load configuration): ld links _load_config_used
  (platform/load_config.c) but leaves the directory empty, so the x86 loader
  would never see the security cookie or the safe-handler table;
- IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP and IMAGE_FILE_NET_RUN_FROM_SWAP.

PE32 (i686): directory 10, the two flags, the checksum.
PE32+ (x86_64): the two flags and the checksum; SafeSEH does not exist there.

Usage: harden_pe.py [--delete-on-failure] EXE

Running it twice gives the same bytes.  On any doubt it exits non-zero and
leaves the file as it was (or deletes it with --delete-on-failure, so that a
build system relinks instead of shipping an unhardened image).
Standard library only: the build must not depend on pefile.
"""

import array
import os
import struct
import sys
import tempfile

MACHINE_I386 = 0x014C
MACHINE_AMD64 = 0x8664
MAGIC_PE32 = 0x10B
MAGIC_PE32PLUS = 0x20B

RUN_FROM_SWAP = 0x0400 | 0x0800  # removable media | network share

DIR_BASERELOC = 5
DIR_LOAD_CONFIG = 10
# Windows XP and older accept an x86 load config only with this directory size.
LOAD_CONFIG_DIR_SIZE = 0x40
# The record's own Size: fields up to SEHandlerCount (see platform/load_config.c).
LOAD_CONFIG_RECORD_SIZE = 0x48
COOKIE_FIELD = 0x3C
TABLE_FIELD = 0x40
COUNT_FIELD = 0x44

RELOC_HIGHLOW = 3
SCN_MEM_EXECUTE = 0x20000000


def u16(data, off):
    return struct.unpack_from("<H", data, off)[0]


def u32(data, off):
    return struct.unpack_from("<I", data, off)[0]


def parse_headers(data):
    """Return (headers dict, None) or (None, error text)."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None, "not an MZ executable"
    pe = u32(data, 0x3C)
    if pe + 24 > len(data) or data[pe:pe + 4] != b"PE\0\0":
        return None, "no PE signature"
    coff = pe + 4
    machine = u16(data, coff)
    nsections = u16(data, coff + 2)
    opt_size = u16(data, coff + 16)
    opt = coff + 20
    if opt + opt_size > len(data) or opt_size < 2:
        return None, "optional header runs past the end of the file"
    magic = u16(data, opt)
    if magic == MAGIC_PE32 and machine == MACHINE_I386:
        dirs = opt + 96
        image_base = u32(data, opt + 28)
    elif magic == MAGIC_PE32PLUS and machine == MACHINE_AMD64:
        dirs = opt + 112
        image_base = struct.unpack_from("<Q", data, opt + 24)[0]
    else:
        return None, "unsupported machine 0x%04x / optional header magic 0x%03x" % (machine, magic)
    ndirs = u32(data, dirs - 4)
    if ndirs <= DIR_LOAD_CONFIG or dirs + 8 * ndirs > opt + opt_size:
        return None, "only %d data directories; need at least %d" % (ndirs, DIR_LOAD_CONFIG + 1)
    sections = []
    table = opt + opt_size
    if table + 40 * nsections > len(data):
        return None, "section table runs past the end of the file"
    for i in range(nsections):
        s = table + 40 * i
        vsize, va, raw_size, raw_ptr = struct.unpack_from("<IIII", data, s + 8)
        sections.append({
            "va": va, "vsize": vsize, "raw_size": raw_size, "raw_ptr": raw_ptr,
            "flags": u32(data, s + 36),
        })
    return {
        "pe32": magic == MAGIC_PE32,
        "characteristics_off": coff + 18,
        "checksum_off": opt + 64,
        "dirs_off": dirs,
        "image_base": image_base,
        "size_of_image": u32(data, opt + 56),
        "sections": sections,
    }, None


def rva_to_offset(headers, rva):
    for s in headers["sections"]:
        if s["va"] <= rva < s["va"] + min(s["vsize"], s["raw_size"]):
            return s["raw_ptr"] + rva - s["va"]
    return None


def data_directory(data, headers, index):
    return struct.unpack_from("<II", data, headers["dirs_off"] + 8 * index)


def highlow_relocations(data, headers):
    """RVAs patched by HIGHLOW base relocations, or (None, error)."""
    rva, size = data_directory(data, headers, DIR_BASERELOC)
    if rva == 0 or size == 0:
        return None, "the image has no base relocation table"
    start = rva_to_offset(headers, rva)
    if start is None or start + size > len(data):
        return None, "the base relocation table lies outside the file"
    found = set()
    pos, end = start, start + size
    while pos + 8 <= end:
        page, block = struct.unpack_from("<II", data, pos)
        if block < 8 or pos + block > end:
            return None, "malformed base relocation block at file offset 0x%x" % pos
        for i in range(8, block, 2):
            entry = u16(data, pos + i)
            if entry >> 12 == RELOC_HIGHLOW:
                found.add(page + (entry & 0xFFF))
        pos += block
    return found, None


def find_load_config(data, headers, relocs):
    """RVA of the one _load_config_used record, or (None, error).

    Recognised by layout: Size 0x48, the fields up to EditList zero, and the
    SecurityCookie and SEHandlerTable fields holding relocated VAs inside the
    image.  Exactly one match is accepted.
    """
    pattern = struct.pack("<I", LOAD_CONFIG_RECORD_SIZE) + bytes(COOKIE_FIELD - 4)
    base, limit = headers["image_base"], headers["image_base"] + headers["size_of_image"]
    matches = []
    for s in headers["sections"]:
        if s["flags"] & SCN_MEM_EXECUTE or s["raw_size"] == 0:
            continue
        lo = s["raw_ptr"]
        hi = lo + min(s["vsize"], s["raw_size"]) - LOAD_CONFIG_RECORD_SIZE
        at = data.find(pattern, lo, hi + len(pattern))
        while 0 <= at <= hi:
            rva = s["va"] + at - lo
            cookie = u32(data, at + COOKIE_FIELD)
            table = u32(data, at + TABLE_FIELD)
            if ((at - lo) % 4 == 0
                    and base <= cookie < limit and base <= table < limit
                    and rva + COOKIE_FIELD in relocs and rva + TABLE_FIELD in relocs):
                matches.append(rva)
            at = data.find(pattern, at + 1, hi + len(pattern))
    if not matches:
        return None, ("no _load_config_used record found (is platform/load_config.c "
                      "linked and the relocation table kept?)")
    if len(matches) > 1:
        return None, "%d records look like _load_config_used (RVAs %s)" % (
            len(matches), ", ".join("0x%x" % m for m in matches))
    return matches[0], None


def pe_checksum(data, checksum_off):
    """The loader's image checksum: 16-bit one's-complement sum plus file length."""
    buf = bytearray(data)
    buf[checksum_off:checksum_off + 4] = bytes(4)
    if len(buf) % 2:
        buf.append(0)
    words = array.array("H")
    words.frombytes(bytes(buf))
    if sys.byteorder == "big":
        words.byteswap()
    total = sum(words)
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def harden(data):
    """Return (new image bytes, None) or (None, error text)."""
    headers, err = parse_headers(data)
    if err:
        return None, err
    out = bytearray(data)
    if headers["pe32"]:
        relocs, err = highlow_relocations(data, headers)
        if err:
            return None, err
        record, err = find_load_config(data, headers, relocs)
        if err:
            return None, err
        dir_off = headers["dirs_off"] + 8 * DIR_LOAD_CONFIG
        current_rva, current_size = struct.unpack_from("<II", data, dir_off)
        if current_rva not in (0, record) or (current_rva == 0 and current_size != 0):
            return None, ("data directory 10 already holds RVA 0x%x size 0x%x, not the "
                          "record at RVA 0x%x" % (current_rva, current_size, record))
        struct.pack_into("<II", out, dir_off, record, LOAD_CONFIG_DIR_SIZE)
    flags_off = headers["characteristics_off"]
    struct.pack_into("<H", out, flags_off, u16(out, flags_off) | RUN_FROM_SWAP)
    struct.pack_into("<I", out, headers["checksum_off"],
                     pe_checksum(out, headers["checksum_off"]))
    return bytes(out), None


def replace_file(path, content):
    """Write content over path atomically; return None or error text."""
    folder = os.path.dirname(os.path.abspath(path))
    try:
        fd, tmp = tempfile.mkstemp(prefix=".harden-", dir=folder)
    except OSError as e:
        return str(e)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(content)
        os.chmod(tmp, os.stat(path).st_mode & 0o7777)
        os.replace(tmp, path)
    except OSError as e:
        if os.path.exists(tmp):
            os.unlink(tmp)
        return str(e)
    return None


def main(argv):
    args = argv[1:]
    delete_on_failure = "--delete-on-failure" in args
    args = [a for a in args if a != "--delete-on-failure"]
    if len(args) != 1 or args[0].startswith("-"):
        print("usage: harden_pe.py [--delete-on-failure] EXE", file=sys.stderr)
        return 2
    path = args[0]
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as e:
        print("harden_pe: %s" % e, file=sys.stderr)
        return 1
    new, err = harden(data)
    if err is None and new != data:
        err = replace_file(path, new)
    if err:
        print("harden_pe: %s: %s" % (path, err), file=sys.stderr)
        if delete_on_failure:
            os.unlink(path)
            print("harden_pe: deleted %s so that the next build links it again" % path,
                  file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
