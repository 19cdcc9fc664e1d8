#!/usr/bin/python3
"""Where the bytes of an executable go: code, data and resources.

Reads the section table and the resource directory with pefile (Debian's
python3-pefile, hence /usr/bin/python3) and prints, for each EXE given, one
table: the headers, then every section under its kind with its size in the
file and in memory, then the resources by type.

  code       sections marked as code or executable
  resources  the section that holds the resource directory
  data       every other section (read-only data, unwind tables, imports,
             relocations, TLS, zero-filled data, which takes no file space)

Usage: exe_size.py EXE [EXE ...]
"""

import os
import sys

import pefile

SCN_CNT_CODE = 0x00000020
SCN_MEM_EXECUTE = 0x20000000

RESOURCE_TYPES = {
    1: "cursor", 2: "bitmap", 3: "icon image", 4: "menu", 5: "dialog", 6: "string table",
    9: "accelerators", 10: "raw data", 12: "cursor group", 14: "icon group", 16: "version block",
    24: "manifest",
}


def section_name(section):
    return section.Name.rstrip(b"\0").decode("ascii", "replace")


def kind_of(pe, section):
    if section.Characteristics & (SCN_CNT_CODE | SCN_MEM_EXECUTE):
        return "code"
    rsrc = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]]
    if rsrc.Size and section.contains_rva(rsrc.VirtualAddress):
        return "resources"
    return "data"


def resource_sizes(pe):
    """[(type name, number of items, bytes of data)] in directory order."""
    out = []
    for type_entry in getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None) and pe.DIRECTORY_ENTRY_RESOURCE.entries or []:
        if type_entry.name is not None:
            name = str(type_entry.name)
        else:
            name = RESOURCE_TYPES.get(type_entry.id, "type %d" % type_entry.id)
        items = 0
        size = 0
        for name_entry in type_entry.directory.entries:
            for lang_entry in name_entry.directory.entries:
                items += 1
                size += lang_entry.data.struct.Size
        out.append((name, items, size))
    return out


def report(path):
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    file_size = os.path.getsize(path)
    machine = {0x14C: "i686", 0x8664: "x86_64"}.get(pe.FILE_HEADER.Machine, hex(pe.FILE_HEADER.Machine))

    rows = []  # (kind, name, file bytes, memory bytes)
    for section in pe.sections:
        rows.append((kind_of(pe, section), section_name(section), section.SizeOfRawData,
                     section.Misc_VirtualSize))
    headers = pe.OPTIONAL_HEADER.SizeOfHeaders
    end_of_sections = max([s.PointerToRawData + s.SizeOfRawData for s in pe.sections] + [headers])
    trailing = file_size - end_of_sections

    print("%s (%s): %d bytes" % (path, machine, file_size))
    print("  %-10s %-10s %10s %10s %6s" % ("kind", "section", "file", "memory", "file%"))

    def line(kind, name, in_file, in_memory):
        print("  %-10s %-10s %10d %10s %5.1f%%" % (kind, name, in_file, in_memory, 100.0 * in_file / file_size))

    line("headers", "", headers, "")
    for kind in ("code", "data", "resources"):
        total_file = 0
        total_memory = 0
        for row in rows:
            if row[0] == kind:
                line("", row[1], row[2], row[3])
                total_file += row[2]
                total_memory += row[3]
        line(kind, "(total)", total_file, total_memory)
    if trailing:
        line("trailing", "", trailing, "")

    resources = resource_sizes(pe)
    if resources:
        print("  resources by type:")
        for name, items, size in resources:
            print("    %-14s %3d item(s) %10d bytes" % (name, items, size))
        rsrc = [r for r in rows if r[0] == "resources"]
        payload = sum(size for _, _, size in resources)
        if rsrc:
            print("    %-14s %14s %10d bytes" % ("directory", "", max(rsrc[0][3] - payload, 0)))
    print()


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    for path in argv[1:]:
        report(path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
