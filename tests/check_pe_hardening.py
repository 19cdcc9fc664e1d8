#!/usr/bin/python3
"""Checks the hardened image properties of the launcher executable.

Usage: check_pe_hardening.py --arch {i686,x86_64} --map EXE.map EXE

The map is the linker map written by cmake/Hardening.cmake (-Map, --cref):
it gives the addresses of _load_config_used and __stack_chk_guard and tells
which object file references each imported function.

One line per property; a failure says what was got and what was expected.
Exit status 1 if any property fails.
"""

import argparse
import os
import re
import struct
import sys

import pefile

SUBSYSTEM_WINDOWS_GUI = 2
DLL_DYNAMIC_BASE = 0x0040
DLL_NX_COMPAT = 0x0100
DLL_TERMINAL_SERVER_AWARE = 0x8000
FILE_RELOCS_STRIPPED = 0x0001
FILE_LARGE_ADDRESS_AWARE = 0x0020
FILE_REMOVABLE_RUN_FROM_SWAP = 0x0400
FILE_NET_RUN_FROM_SWAP = 0x0800
RELOC_HIGHLOW = 3
DIR_BASERELOC = 5
DIR_LOAD_CONFIG = 10

OLDEST_WINDOWS = {"i686": (5, 0), "x86_64": (5, 2)}
TRIPLET = {"i686": "i686-w64-mingw32", "x86_64": "x86_64-w64-mingw32"}

# DLLs that every supported Windows ships.
SYSTEM_DLLS = {
    "kernel32.dll", "advapi32.dll", "user32.dll", "gdi32.dll", "shell32.dll",
    "shlwapi.dll", "msvcrt.dll", "comctl32.dll", "comdlg32.dll", "ole32.dll",
    "oleaut32.dll", "version.dll",
}

# ANSI entry points the statically linked run-time imports on its own behalf.
# The launcher's code may call none of them; the map proves who references each.
RUNTIME_ANSI = {
    "GetModuleHandleA": "crtbegin.o (i686): looks for the libgcc DLL",
    "LoadLibraryA": "crtbegin.o (i686): pins the libgcc DLL if present",
    "CryptAcquireContextA": "libssp: seeds __stack_chk_guard",
    "CreateEventA": "winpthread (pulled in by libstdc++/libgcc_eh)",
    "CreateSemaphoreA": "winpthread",
    "OutputDebugStringA": "winpthread",
}

STRING_LOADERS = {"LoadStringW", "LoadStringA"}

ANSI_NAME = re.compile(r"[a-z0-9]A$")


# ---- map file ---------------------------------------------------------------

def read_map(path):
    """Symbol addresses and cross references from a GNU ld map (with --cref)."""
    symbols, refs = {}, {}
    symbol_line = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+([^\s=]+)\s*$")
    in_cref, current = False, None
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("Cross Reference Table"):
                in_cref = True
                continue
            if not in_cref:
                m = symbol_line.match(line)
                if m:
                    symbols.setdefault(m.group(2), int(m.group(1), 16))
                continue
            if not line.strip() or line.startswith("Symbol "):
                continue
            if not line[0].isspace():
                parts = line.split(None, 1)
                current = parts[0]
                refs[current] = [parts[1].strip()] if len(parts) > 1 else []
            elif current is not None:
                refs[current].append(line.strip())
    return symbols, refs


def import_references(refs, arch):
    """Imported function name -> files that reference its import slot."""
    prefix = "_imp__" if arch == "i686" else "__imp_"
    found = {}
    for symbol, files in refs.items():
        if symbol.startswith(prefix):
            name = re.sub(r"@\d+$", "", symbol[len(prefix):])
            # files[0] defines the slot (the import library); the rest use it.
            found.setdefault(name, []).extend(files[1:])
    return found


def is_toolchain_file(path, arch):
    path = os.path.normpath(path.split("(", 1)[0])
    roots = ("/usr/lib/gcc/%s/" % TRIPLET[arch], "/usr/%s/lib/" % TRIPLET[arch])
    return path.startswith(roots)


# ---- image facts ------------------------------------------------------------

def imports(pe):
    """List of (dll lower-case, function name or None)."""
    out = []
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        dll = entry.dll.decode("ascii", "replace").lower()
        for imp in entry.imports:
            out.append((dll, imp.name.decode("ascii", "replace") if imp.name else None))
    return out


def highlow_relocations(pe):
    rvas = set()
    for block in getattr(pe, "DIRECTORY_ENTRY_BASERELOC", []):
        for entry in block.entries:
            if entry.type == RELOC_HIGHLOW:
                rvas.add(entry.rva)
    return rvas


def load_config_record(pe):
    """(rva, Size, SecurityCookie, SEHandlerTable, SEHandlerCount) or None."""
    d = pe.OPTIONAL_HEADER.DATA_DIRECTORY[DIR_LOAD_CONFIG]
    if d.VirtualAddress == 0:
        return None
    raw = pe.get_data(d.VirtualAddress, 0x48)
    if len(raw) < 0x48:
        return None
    size, = struct.unpack_from("<I", raw, 0)
    cookie, table, count = struct.unpack_from("<III", raw, 0x3C)
    return d.VirtualAddress, size, cookie, table, count


def section_of(pe, rva):
    for s in pe.sections:
        if s.VirtualAddress <= rva < s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData):
            return s
    return None


# ---- properties: each returns (ok, got, expected) ---------------------------

def equal(got, expected):
    return got == expected, got, expected


def none_of(offenders):
    return not offenders, offenders, []


def flag(value, mask):
    return "set" if value & mask else "clear"


def p_subsystem(c):
    return equal(c.pe.OPTIONAL_HEADER.Subsystem, SUBSYSTEM_WINDOWS_GUI)


def p_subsystem_version(c):
    oh = c.pe.OPTIONAL_HEADER
    return equal((oh.MajorSubsystemVersion, oh.MinorSubsystemVersion), OLDEST_WINDOWS[c.arch])


def p_os_version(c):
    oh = c.pe.OPTIONAL_HEADER
    return equal((oh.MajorOperatingSystemVersion, oh.MinorOperatingSystemVersion),
                 OLDEST_WINDOWS[c.arch])


def dll_flag(mask):
    return lambda c: equal(flag(c.pe.OPTIONAL_HEADER.DllCharacteristics, mask), "set")


def file_flag(mask, expected):
    return lambda c: equal(flag(c.pe.FILE_HEADER.Characteristics, mask), expected)


def header_value(name, expected):
    return lambda c: equal(getattr(c.pe.OPTIONAL_HEADER, name), expected)


def p_relocations(c):
    entries = sum(1 for b in getattr(c.pe, "DIRECTORY_ENTRY_BASERELOC", [])
                  for e in b.entries if e.type != 0)  # type 0 is padding
    return entries > 0, "%d entries" % entries, "at least 1 entry"


def p_timestamp(c):
    return equal(c.pe.FILE_HEADER.TimeDateStamp, 0)


def p_no_debug(c):
    fh = c.pe.FILE_HEADER
    found = [s.Name.rstrip(b"\0").decode() for s in c.pe.sections if s.Name.startswith(b".debug")]
    if fh.PointerToSymbolTable or fh.NumberOfSymbols:
        found.append("COFF symbol table")
    if c.pe.OPTIONAL_HEADER.DATA_DIRECTORY[6].Size:
        found.append("debug directory")
    return none_of(found)


def p_system_dlls(c):
    return none_of(sorted({dll for dll, _ in c.imports if dll not in SYSTEM_DLLS}))


def p_ansi_imports(c):
    offenders = []
    for dll, name in c.imports:
        if not name or not ANSI_NAME.search(name):
            continue
        if name not in RUNTIME_ANSI:
            offenders.append("%s!%s" % (dll, name))
            continue
        users = c.import_refs.get(name)
        if not users:
            offenders.append("%s missing from the map's cross references" % name)
            continue
        own = [f for f in users if not is_toolchain_file(f, c.arch)]
        if own:
            offenders.append("%s called from %s" % (name, " ".join(own)))
    return none_of(offenders)


def p_no_string_loader(c):
    return none_of(sorted({n for _, n in c.imports if n in STRING_LOADERS}))


def p_checksum(c):
    stored = c.pe.OPTIONAL_HEADER.CheckSum
    return equal("0x%x" % stored, "0x%x" % c.pe.generate_checksum())


def p_protector_in_own_code(c):
    # Only instrumented functions call the failure handler; load_config.c
    # names the guard but is not instrumented, so it does not count.
    users = [f for f in c.refs.get("__stack_chk_fail", [])[1:]
             if not is_toolchain_file(f, c.arch)]
    return bool(users), "%d project object(s)" % len(users), "at least 1 project object"


def p_guard_seeded(c):
    # The guard must be libssp's, whose start-up constructor (same object)
    # fills it from CryptGenRandom; a home-made guard would stay constant.
    owner = (c.refs.get("__stack_chk_guard") or ["nobody"])[0]
    seeders = c.import_refs.get("CryptGenRandom", [])
    got = "defined in %s; %s" % (
        os.path.basename(owner),
        "CryptGenRandom called there" if owner in seeders else "no CryptGenRandom there")
    return equal(got, "defined in libssp.a(ssp.o); CryptGenRandom called there")


def p_lc_dir_size(c):
    return equal(c.pe.OPTIONAL_HEADER.DATA_DIRECTORY[DIR_LOAD_CONFIG].Size, 0x40)


def p_lc_dir_rva(c):
    got = c.pe.OPTIONAL_HEADER.DATA_DIRECTORY[DIR_LOAD_CONFIG].VirtualAddress
    va = c.symbols.get("_load_config_used")
    if va is None:
        return False, got, "_load_config_used in the map"
    return equal(got, va - c.pe.OPTIONAL_HEADER.ImageBase)


def with_load_config(check):
    def run(c):
        if c.load_config is None:
            return False, "no load config", "a load config record"
        return check(c, c.load_config)
    return run


def p_lc_size(c, lc):
    return equal(lc[1], 0x48)


def p_lc_cookie(c, lc):
    guard = c.symbols.get("__stack_chk_guard")
    if guard is None:
        return False, lc[2], "__stack_chk_guard in the map"
    return equal(lc[2], guard)


def p_lc_table(c, lc):
    table = lc[3]
    inside = table != 0 and section_of(c.pe, table - c.pe.OPTIONAL_HEADER.ImageBase) is not None
    return inside, table, "a non-zero VA inside the image"


def p_lc_count(c, lc):
    return equal(lc[4], 0)


def p_lc_relocated(c, lc):
    relocs = highlow_relocations(c.pe)
    return none_of([name for name, off in (("SecurityCookie", 0x3C), ("SEHandlerTable", 0x40))
                    if lc[0] + off not in relocs])


BOTH = ("i686", "x86_64")
I686 = ("i686",)

PROPERTIES = [
    ("subsystem is Windows GUI", BOTH, p_subsystem),
    ("subsystem version", BOTH, p_subsystem_version),
    ("operating system version", BOTH, p_os_version),
    ("DYNAMIC_BASE (ASLR)", BOTH, dll_flag(DLL_DYNAMIC_BASE)),
    ("NX_COMPAT (DEP)", BOTH, dll_flag(DLL_NX_COMPAT)),
    ("TERMINAL_SERVER_AWARE", BOTH, dll_flag(DLL_TERMINAL_SERVER_AWARE)),
    ("relocations not stripped", BOTH, file_flag(FILE_RELOCS_STRIPPED, "clear")),
    ("relocation table non-empty", BOTH, p_relocations),
    ("not large-address aware", I686, file_flag(FILE_LARGE_ADDRESS_AWARE, "clear")),
    ("REMOVABLE_RUN_FROM_SWAP", BOTH, file_flag(FILE_REMOVABLE_RUN_FROM_SWAP, "set")),
    ("NET_RUN_FROM_SWAP", BOTH, file_flag(FILE_NET_RUN_FROM_SWAP, "set")),
    ("stack reserve", BOTH, header_value("SizeOfStackReserve", 0x100000)),
    ("stack commit", BOTH, header_value("SizeOfStackCommit", 0x1000)),
    ("heap reserve", BOTH, header_value("SizeOfHeapReserve", 0x100000)),
    ("heap commit", BOTH, header_value("SizeOfHeapCommit", 0x1000)),
    ("no link time stamp", BOTH, p_timestamp),
    ("no debug information or symbols", BOTH, p_no_debug),
    ("imports only system DLLs (offenders)", BOTH, p_system_dlls),
    ("ANSI imports only on the run-time's behalf (offenders)", BOTH, p_ansi_imports),
    ("no platform string loader (offenders)", BOTH, p_no_string_loader),
    ("checksum valid", BOTH, p_checksum),
    ("stack protector instruments the project's code", BOTH, p_protector_in_own_code),
    ("guard is seeded from CryptGenRandom", BOTH, p_guard_seeded),
    ("load config directory size", I686, p_lc_dir_size),
    ("load config directory is _load_config_used", I686, p_lc_dir_rva),
    ("load config record Size", I686, with_load_config(p_lc_size)),
    ("SecurityCookie is __stack_chk_guard", I686, with_load_config(p_lc_cookie)),
    ("SEHandlerTable non-zero", I686, with_load_config(p_lc_table)),
    ("SEHandlerCount", I686, with_load_config(p_lc_count)),
    ("load config addresses relocated (missing)", I686, with_load_config(p_lc_relocated)),
]


class Context:
    pass


def show(value):
    if isinstance(value, int) and not isinstance(value, bool):
        return "0x%x" % value if value > 9 else str(value)
    if isinstance(value, tuple):
        return ".".join(str(v) for v in value)
    if isinstance(value, list):
        return "[" + ", ".join(value) + "]" if value else "none"
    return str(value)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[1])
    ap.add_argument("--arch", choices=BOTH, required=True)
    ap.add_argument("--map", required=True, help="linker map written with -Map and --cref")
    ap.add_argument("exe")
    args = ap.parse_args(argv[1:])

    c = Context()
    c.arch = args.arch
    try:
        c.pe = pefile.PE(args.exe)
        c.symbols, c.refs = read_map(args.map)
    except (OSError, pefile.PEFormatError) as e:
        print("check_pe_hardening: %s" % e, file=sys.stderr)
        return 2
    want_machine = 0x14C if c.arch == "i686" else 0x8664
    if c.pe.FILE_HEADER.Machine != want_machine:
        print("check_pe_hardening: %s is machine 0x%x, not %s"
              % (args.exe, c.pe.FILE_HEADER.Machine, c.arch), file=sys.stderr)
        return 2
    if not c.refs:
        print("check_pe_hardening: %s has no cross reference table (link with --cref)"
              % args.map, file=sys.stderr)
        return 2
    c.imports = imports(c.pe)
    c.import_refs = import_references(c.refs, c.arch)
    c.load_config = load_config_record(c.pe) if c.arch == "i686" else None

    passed = failed = 0
    for name, arches, check in PROPERTIES:
        if c.arch not in arches:
            continue
        ok, got, expected = check(c)
        if ok:
            passed += 1
            print("ok    %s: %s" % (name, show(got)))
        else:
            failed += 1
            print("FAIL  %s: got %s, expected %s" % (name, show(got), show(expected)))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
