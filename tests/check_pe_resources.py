#!/usr/bin/python3
"""Check every resource of a built launcher executable.

Usage: /usr/bin/python3 tests/check_pe_resources.py [--version A.B.C.D] EXE ICO

EXE is the built launcher, ICO the icon file it was built from
(resources/app.ico). Checks the resource directory (types, ids, languages and
nothing else), the string blocks' layout, the icon group against the RT_ICON
images and the .ico, the version block node by node, and the manifest element
by element. The texts of the string table are checked in-process by the unit
tests (tests/unit/string_table_test.cpp).

One line per check; a failure says what was got and what was expected.
Exit status 1 if any check fails.
"""

import argparse
import io
import struct
import sys
import unicodedata
import xml.etree.ElementTree as ET

import pefile

RT_ICON, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 6, 14, 16, 24
ENGLISH_US = 0x0409

# Block 9 (ids 128 to 143) exists in these languages and no other.
STRING_LANGUAGES = [
    0x0014, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408, 0x0409, 0x040B,
    0x040C, 0x040E, 0x0410, 0x0411, 0x0412, 0x0413, 0x0415, 0x0416,
    0x0419, 0x041D, 0x041E, 0x0804, 0x0809, 0x080A, 0x0816, 0x0C0A,
]
STRING_BLOCK = 9
FILLED_ENTRIES = 9  # ids 128 to 136; 137 to 143 are empty

# (size in pixels, bits per pixel, stored as PNG), in group order = RT_ICON id.
ICON_IMAGES = [
    (16, 4, False), (16, 8, False), (32, 4, False), (32, 8, False),
    (48, 4, False), (48, 8, False), (256, 4, False), (256, 8, False),
    (256, 32, True), (16, 32, False), (32, 32, False), (48, 32, False),
]
ICON_GROUP = 107

EXPECTED_DIRECTORY = {
    RT_ICON: {n: [ENGLISH_US] for n in range(1, len(ICON_IMAGES) + 1)},
    RT_STRING: {STRING_BLOCK: sorted(STRING_LANGUAGES)},
    RT_GROUP_ICON: {ICON_GROUP: [ENGLISH_US]},
    RT_VERSION: {1: [ENGLISH_US]},
    RT_MANIFEST: {1: [ENGLISH_US]},
}

PNG_SIGNATURE = b'\x89PNG\r\n\x1a\n'

ASM_V1 = 'urn:schemas-microsoft-com:asm.v1'
ASM_V3 = 'urn:schemas-microsoft-com:asm.v3'
# (namespace, local name, attributes, namespace it declares), each nested in
# the one before.
MANIFEST_ELEMENTS = [
    (ASM_V1, 'assembly', {'manifestVersion': '1.0'}, ASM_V1),
    (ASM_V3, 'trustInfo', {}, ASM_V3),
    (ASM_V3, 'security', {}, None),
    (ASM_V3, 'requestedPrivileges', {}, None),
    (ASM_V3, 'requestedExecutionLevel', {'level': 'asInvoker', 'uiAccess': 'false'}, None),
]


class Checks:
    """Prints one line per check and remembers whether any failed."""

    def __init__(self):
        self.failed = 0
        self.passed = 0

    def equal(self, what, got, expected):
        return self.true(what, got == expected, repr(got), repr(expected))

    def true(self, what, condition, got, expected):
        """For checks that are not an equality: `got` and `expected` describe."""
        if condition:
            self.passed += 1
            print('ok   %s' % what)
            return True
        self.failed += 1
        print('FAIL %s: got %s, expected %s' % (what, got, expected))
        return False


# ---- resource directory -------------------------------------------------------

def read_resources(pe):
    """{type: {name: {language: bytes}}}; names that are strings are kept as str."""
    found = {}
    if not hasattr(pe, 'DIRECTORY_ENTRY_RESOURCE'):
        return found
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        tkey = rtype.id if rtype.name is None else str(rtype.name)
        for name in rtype.directory.entries:
            nkey = name.id if name.name is None else str(name.name)
            for lang in name.directory.entries:
                entry = lang.data.struct
                data = pe.get_data(entry.OffsetToData, entry.Size)
                found.setdefault(tkey, {}).setdefault(nkey, {})[lang.id] = data
    return found


def check_directory(found, checks):
    checks.equal('resource types', sorted(found, key=str), sorted(EXPECTED_DIRECTORY, key=str))
    for rtype, names in sorted(EXPECTED_DIRECTORY.items()):
        got_names = found.get(rtype, {})
        checks.equal('type %d: ids' % rtype, sorted(got_names, key=str), sorted(names, key=str))
        for name, languages in sorted(names.items()):
            got_langs = sorted(got_names.get(name, {}))
            checks.equal('type %d id %d: languages' % (rtype, name),
                         ['0x%04X' % l for l in got_langs], ['0x%04X' % l for l in languages])


def one(found, rtype, name):
    """The data of a resource that must exist in English (US) only, or None."""
    return found.get(rtype, {}).get(name, {}).get(ENGLISH_US)


# ---- string blocks ------------------------------------------------------------

def check_string_block(language, data, checks):
    """Sixteen counted entries filling the block; ids 128..136 filled, the rest
    empty; no unit 0, surrogate or blank other than U+0020; NFC."""
    what = 'string block 9 0x%04X' % language
    entries, at = [], 0
    for i in range(16):
        if at + 2 > len(data):
            break
        count = struct.unpack_from('<H', data, at)[0]
        at += 2
        if at + 2 * count > len(data):
            break
        entries.append(data[at:at + 2 * count])
        at += 2 * count
    checks.equal(what + ': entries', len(entries), 16)
    checks.equal(what + ': bytes after the sixteenth entry', len(data) - at, 0)
    checks.equal(what + ': filled ids',
                 [128 + i for i, e in enumerate(entries) if e],
                 list(range(128, 128 + FILLED_ENTRIES)))
    units = [u for e in entries for u in struct.unpack('<%dH' % (len(e) // 2), e)]
    checks.equal(what + ': units 0, surrogates or other blanks',
                 ['U+%04X' % u for u in units
                  if u == 0 or 0xD800 <= u <= 0xDFFF
                  or (u != 0x20 and unicodedata.category(chr(u)) in ('Zs', 'Zl', 'Zp', 'Cc'))], [])
    texts = [e.decode('utf-16-le', 'replace') for e in entries]
    checks.equal(what + ': texts not in NFC',
                 [t for t in texts if unicodedata.normalize('NFC', t) != t], [])
    return texts


def check_strings(found, checks):
    blocks = found.get(RT_STRING, {}).get(STRING_BLOCK, {})
    texts = {lang: check_string_block(lang, data, checks) for lang, data in sorted(blocks.items())}
    # Caption and error text are the same in every language.
    for index, id_ in ((0, 128), (1, 129)):
        values = sorted({t[index] for t in texts.values() if len(t) > index})
        checks.equal('string %d: one text in all blocks' % id_, len(values), 1)


# ---- icon ---------------------------------------------------------------------

def image_facts(data):
    """(width, height, bits per pixel, form) from a DIB header or a PNG IHDR."""
    if data[:8] == PNG_SIGNATURE:
        if len(data) < 33 or data[12:16] != b'IHDR':
            return None
        width, height, depth, colour = struct.unpack_from('>IIBB', data, 16)
        channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour, 0)
        bpp = depth if colour == 3 else depth * channels
        return width, height, bpp, 'PNG'
    if len(data) < 40:
        return None
    _, width, height, _, bpp = struct.unpack_from('<IiiHH', data)
    return width, height // 2, bpp, 'DIB'


def check_dib(what, data, size, bpp, checks):
    colours = 1 << bpp if bpp <= 8 else 0
    xor_stride = (size * bpp + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    bits = (xor_stride + and_stride) * size
    checks.equal(what + ': bytes (header, palette, colour bitmap, mask)',
                 len(data), 40 + 4 * colours + bits)
    if len(data) < 40:
        return
    head = struct.unpack_from('<IiiHHIIiiII', data)
    checks.equal(what + ': BITMAPINFOHEADER size, width, height, planes, bits, compression',
                 head[:6], (40, size, 2 * size, 1, bpp, 0))
    checks.true(what + ': biSizeImage', head[6] in (0, bits), head[6], '0 or %d' % bits)
    checks.true(what + ': biClrUsed', head[9] in (0, colours), head[9], '0 or %d' % colours)


def check_png(what, data, size, checks):
    checks.equal(what + ': PNG signature', data[:8], PNG_SIGNATURE)
    checks.equal(what + ': first chunk', data[12:16], b'IHDR')
    if len(data) >= 29:
        checks.equal(what + ': IHDR length, width, height, depth, colour type, compression, '
                     'filter, interlace',
                     struct.unpack_from('>I', data, 8) + struct.unpack_from('>IIBBBBB', data, 16),
                     (13, size, size, 8, 6, 0, 0, 0))
    checks.equal(what + ': last chunk IEND at the very end', data[-12:],
                 b'\0\0\0\0IEND\xaeB`\x82')


def ico_images(path, checks):
    with open(path, 'rb') as f:
        ico = f.read()
    reserved, kind, count = struct.unpack_from('<HHH', ico)
    checks.equal('%s: ICONDIR reserved, type, count' % path, (reserved, kind, count),
                 (0, 1, len(ICON_IMAGES)))
    images = []
    for i in range(count):
        length, offset = struct.unpack_from('<II', ico, 6 + 16 * i + 8)
        images.append(ico[offset:offset + length])
    return images


def check_icon(found, ico_path, checks):
    ico = ico_images(ico_path, checks)
    images = {}
    for n, (size, bpp, is_png) in enumerate(ICON_IMAGES, 1):
        data = one(found, RT_ICON, n)
        if data is None:
            continue
        images[n] = data
        what = 'RT_ICON %d (%dx%d, %d bpp, %s)' % (n, size, size, bpp, 'PNG' if is_png else 'DIB')
        if is_png:
            check_png(what, data, size, checks)
        else:
            check_dib(what, data, size, bpp, checks)
        if n <= len(ico):
            checks.true(what + ': equals image %d of %s' % (n, ico_path), data == ico[n - 1],
                        '%d bytes, %d of the first %d differing'
                        % (len(data), sum(x != y for x, y in zip(data, ico[n - 1])),
                           min(len(data), len(ico[n - 1]))),
                        'the same %d bytes' % len(ico[n - 1]))

    group = one(found, RT_GROUP_ICON, ICON_GROUP)
    if group is None:
        return
    checks.equal('RT_GROUP_ICON %d: size' % ICON_GROUP, len(group), 6 + 14 * len(ICON_IMAGES))
    checks.equal('RT_GROUP_ICON %d: idReserved, idType, idCount' % ICON_GROUP,
                 struct.unpack_from('<HHH', group), (0, 1, len(ICON_IMAGES)))
    for i in range(min(len(ICON_IMAGES), (len(group) - 6) // 14)):
        fields = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * i)
        size, bpp, is_png = ICON_IMAGES[i]
        what = 'RT_GROUP_ICON %d entry %d' % (ICON_GROUP, i + 1)
        checks.equal(what + ': width, height, colours, reserved, planes, bits, id',
                     fields[:6] + fields[7:], (size % 256, size % 256, 16 if bpp == 4 else 0, 0, 1, bpp, i + 1))
        image = images.get(fields[7])
        if image is None:
            checks.true(what + ': nId names an image', False, fields[7], 'an RT_ICON id 1..12')
            continue
        facts = image_facts(image)
        if facts is None:
            checks.true(what + ': image header readable', False, 'a short image', 'a DIB or PNG header')
            continue
        width, height, bits, form = facts
        checks.equal(what + ': bWidth, bHeight, bColorCount, wBitCount from the image (%s)' % form,
                     (fields[0], fields[1], fields[2], fields[5]),
                     (width % 256, height % 256, 16 if bits == 4 else 0, bits))
        checks.equal(what + ': dwBytesInRes', fields[6], len(image))


# ---- version block ------------------------------------------------------------

def align4(offset):
    return (offset + 3) & ~3


def parse_node(data, start, end, checks, parent, index):
    """One VS_VERSIONINFO node at `start` (4-aligned) that must end by `end`.
    Returns (length, value length, type, key, value bytes, children) or None;
    children are parsed recursively. Padding bytes must be zero."""
    path = '%s/#%d' % (parent, index) if parent else 'node #%d' % index
    if start + 6 > end:
        checks.true(path + ': header', False, 'the block ending at %d' % end, 'a header at %d' % start)
        return None
    length, value_length, kind = struct.unpack_from('<HHH', data, start)
    node_end = start + length
    if not checks.true(path + ': wLength within its parent', node_end <= end and length >= 6,
                       length, 'at most %d' % (end - start)):
        return None
    at, key = start + 6, ''
    while at + 2 <= node_end:
        unit = struct.unpack_from('<H', data, at)[0]
        at += 2
        if unit == 0:
            break
        key += chr(unit)
    path = '%s/%s' % (parent, key) if parent else key
    value_at = align4(at)
    checks.equal(path + ': padding after the key', data[at:value_at], b'\0' * (value_at - at))
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[value_at:value_at + value_bytes]
    children_at = align4(value_at + value_bytes) if value_bytes else value_at
    children = []
    if children_at < node_end:
        checks.equal(path + ': padding after the value', data[value_at + value_bytes:children_at],
                     b'\0' * (children_at - value_at - value_bytes))
        at = child_end = children_at
        while at < node_end:
            child = parse_node(data, at, node_end, checks, path, len(children) + 1)
            if child is None:
                break
            children.append(child)
            child_end = at + child[0]
            next_at = align4(child_end)
            if next_at < node_end:
                checks.equal('%s/%s: padding after it' % (path, child[3]), data[child_end:next_at],
                             b'\0' * (next_at - child_end))
            at = next_at
        # No padding of its own at the end: the node ends with its last child.
        checks.equal(path + ': wLength ends with the last child', length, child_end - start)
    else:
        # A leaf: its length covers header, key, padding and value, no more.
        checks.equal(path + ': wLength of a leaf', length, value_at + value_bytes - start)
    return length, value_length, kind, key, value, children


def version_numbers(text):
    parts = [int(p) for p in text.split('.')]
    if len(parts) != 4 or any(not 0 <= p <= 0xFFFF for p in parts):
        raise SystemExit('--version needs four numbers 0..65535, not %r' % text)
    return parts


def check_version(found, version, checks):
    data = one(found, RT_VERSION, 1)
    if data is None:
        return
    a, b, c, d = version
    text = '%d, %d, %d, %d' % (a, b, c, d)
    root = parse_node(data, 0, len(data), checks, '', 1)
    if root is None:
        return
    length, value_length, kind, key, value, children = root
    checks.equal('VS_VERSIONINFO: wLength is the resource size', length, len(data))
    checks.equal('VS_VERSIONINFO: wValueLength, wType, szKey', (value_length, kind, key),
                 (52, 0, 'VS_VERSION_INFO'))
    if len(value) == 52:
        fixed = struct.unpack('<13I', value)
        names = ['dwSignature', 'dwStrucVersion', 'dwFileVersionMS', 'dwFileVersionLS',
                 'dwProductVersionMS', 'dwProductVersionLS', 'dwFileFlagsMask', 'dwFileFlags',
                 'dwFileOS', 'dwFileType', 'dwFileSubtype', 'dwFileDateMS', 'dwFileDateLS']
        expected = [0xFEEF04BD, 0x00010000, a << 16 | b, c << 16 | d, a << 16 | b, c << 16 | d,
                    0x17, 0, 0x4, 0x1, 0, 0, 0]
        for name, got, want in zip(names, fixed, expected):
            checks.equal('VS_FIXEDFILEINFO.%s' % name, '0x%08X' % got, '0x%08X' % want)
    checks.equal('VS_VERSIONINFO: children', [ch[3] for ch in children], ['StringFileInfo', 'VarFileInfo'])

    strings = [
        ('FileDescription', 'Tandrel'),
        ('FileVersion', text),
        ('InternalName', 'TandrelLauncher'),
        ('OriginalFilename', 'TandrelLauncher.exe'),
        ('ProductName', 'Tandrel'),
        ('ProductVersion', text),
    ]
    for child in children:
        _, value_length, kind, key, _, grandchildren = child
        checks.equal('%s: wValueLength, wType' % key, (value_length, kind), (0, 1))
        if key == 'StringFileInfo':
            checks.equal('StringFileInfo: tables', [t[3] for t in grandchildren], ['040904b0'])
            for table in grandchildren[:1]:
                checks.equal('040904b0: wValueLength, wType', table[1:3], (0, 1))
                checks.equal('040904b0: keys in order', [s[3] for s in table[5]], [k for k, _ in strings])
                for entry, (name, want) in zip(table[5], strings):
                    _, units, skind, _, svalue, sub = entry
                    checks.equal('%s: wType, children' % name, (skind, len(sub)), (1, 0))
                    checks.equal('%s: wValueLength (UTF-16 units, NUL included)' % name, units, len(want) + 1)
                    checks.equal('%s: value with its NUL' % name, svalue.decode('utf-16-le', 'replace'),
                                 want + '\0')
        elif key == 'VarFileInfo':
            checks.equal('VarFileInfo: values', [v[3] for v in grandchildren], ['Translation'])
            for var in grandchildren[:1]:
                checks.equal('Translation: wValueLength (bytes), wType, children',
                             (var[1], var[2], len(var[5])), (4, 0, 0))
                if len(var[4]) == 4:
                    checks.equal('Translation: language, code page',
                                 ['0x%04X' % x for x in struct.unpack('<HH', var[4])], ['0x0409', '0x04B0'])


# ---- manifest -----------------------------------------------------------------

def check_manifest(found, checks):
    data = one(found, RT_MANIFEST, 1)
    if data is None:
        return
    checks.equal('manifest: bytes outside printable ASCII, tab and line ends',
                 sorted({hex(b) for b in data if not (32 <= b < 127 or b in (9, 10, 13))}), [])
    checks.true('manifest: no byte-order mark', not data.startswith((b'\xef\xbb\xbf', b'\xff\xfe', b'\xfe\xff')),
                repr(data[:3]), 'none')
    checks.equal('manifest: first non-blank characters (no XML declaration)', data.lstrip()[:2], b'<a')
    checks.equal('manifest: processing instructions, comments or declarations',
                 b'<?' in data or b'<!' in data, False)
    declared, opened = [], []
    try:
        for event, item in ET.iterparse(io.BytesIO(data), events=('start-ns', 'start')):
            if event == 'start-ns':
                declared.append(item)
            else:
                opened.append((item, declared))
                declared = []
    except ET.ParseError as e:
        checks.true('manifest: well-formed XML', False, str(e), 'no parse error')
        return
    checks.equal('manifest: elements', [_local(e.tag) for e, _ in opened],
                 [name for _, name, _, _ in MANIFEST_ELEMENTS])
    for depth, ((element, decl), (ns, name, attributes, declares)) in enumerate(zip(opened, MANIFEST_ELEMENTS)):
        checks.equal('manifest <%s>: namespace' % name, element.tag, '{%s}%s' % (ns, name))
        checks.equal('manifest <%s>: attributes' % name, element.attrib, attributes)
        checks.equal('manifest <%s>: namespace declarations' % name, decl,
                     [('', declares)] if declares else [])
        children = list(element)
        checks.equal('manifest <%s>: child elements' % name, [_local(c.tag) for c in children],
                     [MANIFEST_ELEMENTS[depth + 1][1]] if depth + 1 < len(MANIFEST_ELEMENTS) else [])
        checks.equal('manifest <%s>: text' % name, (element.text or '').strip(), '')
        if depth == len(MANIFEST_ELEMENTS) - 1:
            checks.equal('manifest <%s>: content' % name, element.text, None)


def _local(tag):
    return tag.rsplit('}', 1)[-1]


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--version', default='1.0.0.0', help='the four version numbers, A.B.C.D')
    parser.add_argument('exe')
    parser.add_argument('ico')
    args = parser.parse_args(argv[1:])
    version = version_numbers(args.version)
    checks = Checks()
    pe = pefile.PE(args.exe, fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE']])
    found = read_resources(pe)
    check_directory(found, checks)
    check_strings(found, checks)
    check_icon(found, args.ico, checks)
    check_version(found, version, checks)
    check_manifest(found, checks)
    print('%s: %d checks passed, %d failed' % (args.exe, checks.passed, checks.failed))
    return 1 if checks.failed else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
