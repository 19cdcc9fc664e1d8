#!/usr/bin/python3
"""Check the layout of the launcher's .ico, byte by byte.

Usage: /usr/bin/python3 tests/check_icon_file.py resources/app.ico
Parses the file on its own (no code shared with tools/make_icon.py) and
prints one "got X, expected Y" line per fault; exit status 1 if any.
"""

import struct
import sys
import zlib

# size, bits per pixel, bColorCount, stored as PNG -- in directory order
IMAGES = [
    (16, 4, 16, False), (16, 8, 0, False),
    (32, 4, 16, False), (32, 8, 0, False),
    (48, 4, 16, False), (48, 8, 0, False),
    (256, 4, 16, False), (256, 8, 0, False), (256, 32, 0, True),
    (16, 32, 0, False), (32, 32, 0, False), (48, 32, 0, False),
]


def ok(errors, what, got, expected):
    if got != expected:
        errors.append('%s: got %r, expected %r' % (what, got, expected))


def test_directory(data, errors):
    """Header, entries, and that the images tile the rest of the file."""
    if len(data) < 6 + 16 * len(IMAGES):
        errors.append('file size: got %d, expected at least %d'
                      % (len(data), 6 + 16 * len(IMAGES)))
        return []
    ok(errors, 'ICONDIR (reserved, type, count)',
       struct.unpack_from('<HHH', data), (0, 1, len(IMAGES)))
    spans, end = [], 6 + 16 * len(IMAGES)
    for n, (size, bpp, colours, _) in enumerate(IMAGES, 1):
        fields = struct.unpack_from('<BBBBHHII', data, 6 + 16 * (n - 1))
        ok(errors, 'entry %d (width, height, colours, reserved, planes, bpp)' % n,
           fields[:6], (size % 256, size % 256, colours, 0, 1, bpp))
        length, offset = fields[6], fields[7]
        ok(errors, 'entry %d offset' % n, offset, end)
        spans.append((offset, length))
        end = offset + length
    ok(errors, 'file size', len(data), end)
    return spans if len(data) >= end else []


def test_dib(n, img, size, bpp, errors):
    """BITMAPINFOHEADER, full palette, colour bitmap and AND mask."""
    colours = 1 << bpp if bpp <= 8 else 0
    xor_stride, and_stride = (size * bpp + 31) // 32 * 4, (size + 31) // 32 * 4
    pal_end = 40 + 4 * colours
    bits = xor_stride * size + and_stride * size
    ok(errors, 'image %d dwBytesInRes' % n, len(img), pal_end + bits)
    if len(img) != pal_end + bits:
        return
    head = struct.unpack_from('<IiiHHIIiiII', img)
    ok(errors, 'image %d header (size, width, height, planes, bpp, compression, '
       'image size)' % n, head[:7], (40, size, 2 * size, 1, bpp, 0, bits))
    ok(errors, 'image %d colours used valid' % n, head[9] in (0, colours), True)
    ok(errors, 'image %d colours important' % n, head[10], 0)
    quads = [img[i:i + 4] for i in range(40, pal_end, 4)]
    if quads:
        ok(errors, 'image %d palette entry 0' % n, quads[0], b'\0\0\0\0')
        ok(errors, 'image %d palette reserved bytes' % n,
           {q[3] for q in quads}, {0})
    masked = set()
    for row in range(size):
        line = img[pal_end + bits - (row + 1) * and_stride:][:and_stride]
        for x in range(size):
            if line[x // 8] & (0x80 >> (x % 8)):
                masked.add((x, row))
    ok(errors, 'image %d has transparent and opaque pixels' % n,
       0 < len(masked) < size * size, True)
    for y in range(size):
        line = img[pal_end + (size - 1 - y) * xor_stride:][:xor_stride]
        for x in range(size):
            if bpp == 32:
                alpha, want = line[4 * x + 3], (x, y) in masked
                if (alpha < 128) != want:
                    errors.append('image %d pixel (%d,%d): got alpha %d with mask %d, '
                                  'expected mask 1 exactly where alpha < 128'
                                  % (n, x, y, alpha, want))
                    return
            elif (x, y) in masked:
                index = line[x] if bpp == 8 else line[x // 2] >> (4 - 4 * (x % 2)) & 15
                if index:
                    errors.append('image %d masked pixel (%d,%d): got index %d, '
                                  'expected 0' % (n, x, y, index))
                    return
    if bpp == 32:
        alphas = set(img[40 + 3:40 + xor_stride * size:4])
        ok(errors, 'image %d alpha has 0 and 255' % n, {0, 255} <= alphas, True)


def test_png(n, img, size, errors):
    """Complete PNG: IHDR, CRCs, pixel data size, IEND at the very end."""
    ok(errors, 'image %d PNG signature' % n, img[:8], b'\x89PNG\r\n\x1a\n')
    pos, names, idat = 8, [], b''
    while pos + 12 <= len(img):
        length, name = struct.unpack_from('>I4s', img, pos)
        body = img[pos + 8:pos + 8 + length]
        crc = struct.unpack_from('>I', img, pos + 8 + length)[0] \
            if pos + 12 + length <= len(img) else None
        ok(errors, 'image %d chunk %r CRC' % (n, name), crc, zlib.crc32(name + body))
        if name == b'IHDR' and length == 13:
            ok(errors, 'image %d IHDR (w, h, depth, colour type, compression, '
               'filter, interlace)' % n, struct.unpack('>IIBBBBB', body),
               (size, size, 8, 6, 0, 0, 0))
        idat += body if name == b'IDAT' else b''
        names.append(name.decode('latin-1'))
        pos += 12 + length
    ok(errors, 'image %d first and last chunk' % n, (names[:1], names[-1:]),
       (['IHDR'], ['IEND']))
    ok(errors, 'image %d IEND ends the image' % n, pos, len(img))
    ok(errors, 'image %d text or time chunks' % n,
       [c for c in names if c in ('tEXt', 'zTXt', 'iTXt', 'tIME')], [])
    try:
        raw = zlib.decompress(idat)
    except zlib.error as e:
        raw = 'zlib error %s' % e
    ok(errors, 'image %d decompressed pixel bytes' % n,
       len(raw) if isinstance(raw, bytes) else raw, size * (1 + 4 * size))


def main(argv):
    if len(argv) != 2:
        print('usage: check_icon_file.py FILE.ico', file=sys.stderr)
        return 2
    with open(argv[1], 'rb') as f:
        data = f.read()
    errors = []
    spans = test_directory(data, errors)
    for n, ((size, bpp, _, is_png), (offset, length)) in enumerate(zip(IMAGES, spans), 1):
        img = data[offset:offset + length]
        if is_png:
            test_png(n, img, size, errors)
        else:
            test_dib(n, img, size, bpp, errors)
    for e in errors:
        print('FAIL ' + e)
    print('%s: %d images checked, %d faults' % (argv[1], len(spans), len(errors)))
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
