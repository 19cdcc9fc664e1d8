#!/usr/bin/python3
"""Draw the Tandrel emblem and write it as the launcher's .ico.

Usage: /usr/bin/python3 tools/make_icon.py OUT.ico [--sheet OUT.png]

The emblem is a sword standing in a heraldic shield; the crossguard and
blade form the letter T. Every image is drawn here from geometry (no input
files), so the output is the same bytes on every run with the same Pillow
and zlib. Needs only the standard library and Debian's python3-pil.
"""

import io
import math
import struct
import sys

from PIL import Image, ImageDraw, ImageFont, IcoImagePlugin

# (size, bits per pixel) in the order the icon directory lists them.
ENTRIES = [(16, 4), (16, 8), (32, 4), (32, 8), (48, 4), (48, 8),
           (256, 4), (256, 8), (256, 32), (16, 32), (32, 32), (48, 32)]

# The standard Windows 16-colour palette: what a 16-colour display shows,
# so the 4-bit images look the same there as here.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
         (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
         (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
         (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]

# Regions of the drawing: map character, full-colour top and bottom of a
# vertical gradient, and the 16-colour index used for the 4-bit images.
# Region 0 is the transparent outside.
REGIONS = [
    ('.', None, None, 0),
    ('K', (22, 20, 30), (22, 20, 30), 0),          # outline
    ('G', (255, 226, 122), (196, 128, 24), 11),    # shield rim
    ('N', (58, 108, 224), (18, 36, 112), 4),       # shield field
    ('W', (255, 255, 255), (222, 230, 242), 15),   # blade, lit half
    ('S', (176, 188, 206), (112, 124, 150), 7),    # blade, shaded half
    ('Y', (255, 232, 130), (206, 140, 30), 11),    # crossguard, pommel
    ('B', (132, 66, 30), (82, 36, 14), 1),         # grip
    ('R', (255, 96, 90), (170, 16, 34), 9),        # gem
    ('k', (22, 20, 30), (22, 20, 30), 0),          # inner rim line
    ('O', (176, 116, 20), (120, 72, 10), 3),       # shaded gold
]
LABEL = {r[0]: i for i, r in enumerate(REGIONS)}

# 16 px is drawn by hand: at that size a scaled drawing blurs the T away.
PIXELS_16 = [
    "......KYYK......",
    "......KBBK......",
    ".KKKKKKBBKKKKKK.",
    ".KGGGGKBBKGGGGK.",
    ".KGNKKKKKKKKNGK.",
    ".KGKYYYYYYYYKGK.",
    ".KGNKKKWSKKKNGK.",
    ".KGNNNKWSKNNNGK.",
    ".KGNNNKWSKNNNGK.",
    ".KGNNNKWSKNNNGK.",
    ".KGNNNKWSKNNNGK.",
    ".KGNNNKWSKNNNGK.",
    "..KGNNKWSKNNGK..",
    "...KGNNKKNNGK...",
    "....KGGNNGGK....",
    "......KGGK......",
]


# ---------------------------------------------------------------- geometry

def area2(poly):
    return sum(x0 * y1 - x1 * y0
               for (x0, y0), (x1, y1) in zip(poly, poly[1:] + poly[:1]))


def inset(poly, d):
    """Move every edge of a polygon inward by d (outward if d < 0), mitred.

    Good enough for the convex and gently notched shapes drawn here.
    """
    sign = 1.0 if area2(poly) > 0 else -1.0
    n = len(poly)
    normals = []
    for i in range(n):
        (x0, y0), (x1, y1) = poly[i], poly[(i + 1) % n]
        length = math.hypot(x1 - x0, y1 - y0)
        normals.append((-(y1 - y0) * sign / length, (x1 - x0) * sign / length))
    out = []
    for i in range(n):
        (ax, ay), (bx, by) = normals[i - 1], normals[i]
        k = d / (1.0 + ax * bx + ay * by)
        out.append((poly[i][0] + (ax + bx) * k, poly[i][1] + (ay + by) * k))
    return out


def cubic(p0, p1, p2, p3, steps):
    pts = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        pts.append(tuple(u * u * u * a + 3 * u * u * t * b + 3 * u * t * t * c
                         + t * t * t * e
                         for a, b, c, e in zip(p0, p1, p2, p3)))
    return pts


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def circle(cx, cy, r, steps=48):
    return [(cx + r * math.cos(2 * math.pi * i / steps),
             cy + r * math.sin(2 * math.pi * i / steps)) for i in range(steps)]


def layout(s):
    """Shapes for an s x s image, back to front, in pixel units.

    Widths are whole pixels and straight edges sit on pixel boundaries so
    the small sizes stay sharp.
    """
    c = s / 2
    ol = max(1, round(s / 36))                  # outline
    rim = max(2, round(s / 18))
    inner = round(s / 128)                      # line inside the rim
    left, top = round(0.07 * s), round(0.17 * s)
    right, shoulder, tip = s - left, 0.52 * s, s - 0.01 * s
    side = cubic((right, shoulder), (right, shoulder + 0.24 * s),
                 (c + 0.17 * s, tip - 0.12 * s), (c, tip), 24)
    shield = ([(left, top), (right, top), (right, shoulder)] + side
              + [(s - x, y) for x, y in reversed(side[:-1])] + [(left, shoulder)])

    bw = max(2, round(0.075 * s))               # blade half width
    gw = max(1, round(0.04 * s))                # grip half width
    hw = round(0.25 * s)                        # crossguard half width
    g0 = round(0.33 * s)
    g1 = g0 + max(2, round(0.075 * s))
    blade_end, blade_tip = 0.76 * s, 0.86 * s
    pommel_y, pommel_r = 0.09 * s, 0.06 * s
    blade = [(c - bw, g1), (c + bw, g1), (c + bw, blade_end), (c, blade_tip),
             (c - bw, blade_end)]
    mid = (g0 + g1) / 2
    guard = rect(c - hw, g0, c + hw, g1)
    large = s >= 128        # room for flared guard ends, shading and a gem
    if large:
        f = 0.025 * s
        guard = [(c - hw, g0 - f), (c - hw + 2 * f, g0), (c + hw - 2 * f, g0),
                 (c + hw, g0 - f), (c + hw, g1 + f), (c + hw - 2 * f, g1),
                 (c - hw + 2 * f, g1), (c - hw, g1 + f)]
    grip = rect(c - gw, pommel_y, c + gw, g0)
    pommel = circle(c, pommel_y, pommel_r)

    shapes = [('K', shield), ('G', inset(shield, ol))]
    if inner:
        shapes.append(('k', inset(shield, ol + rim)))
    shapes.append(('N', inset(shield, ol + rim + inner)))
    for part in (blade, grip, pommel):
        shapes.append(('K', inset(part, -ol)))
    shapes += [('W', [(c - bw, g1), (c, g1), (c, blade_tip), (c - bw, blade_end)]),
               ('S', [(c, g1), (c + bw, g1), (c + bw, blade_end), (c, blade_tip)]),
               ('B', grip), ('Y', pommel),
               ('K', inset(guard, -ol)), ('Y', guard)]
    if large:
        shapes += [('O', rect(c - hw + 2 * f, mid, c + hw - 2 * f, g1)),
                   ('K', circle(c, mid, 0.045 * s + ol)),
                   ('R', circle(c, mid, 0.045 * s))]
    return shapes


# ---------------------------------------------------------------- rendering

def coverage(s):
    """Per region, the fraction (0..255) of each pixel it covers."""
    if s == 16:
        flat = [LABEL[ch] for row in PIXELS_16 for ch in row]
        return [[255 if v == k else 0 for v in flat] for k in range(len(REGIONS))]
    f = 16 if s < 128 else 8
    big = Image.new('L', (s * f, s * f), 0)
    draw = ImageDraw.Draw(big)
    for name, poly in layout(s):
        # Pillow fills polygons edge-inclusive; pull in half a fine pixel
        # so shapes cover exactly their area.
        pts = [(x * f - 0.5, y * f - 0.5) for x, y in inset(poly, 0.5 / f)]
        draw.polygon(pts, fill=LABEL[name])
    out = []
    for k in range(len(REGIONS)):
        m = big.point([255 if v == k else 0 for v in range(256)])
        out.append(list(m.reduce(f).getdata()))
    return out


def lerp(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def full_colour(s, cov):
    """Straight-alpha RGBA pixels, each region shaded top to bottom."""
    shades = [None] + [[lerp(r[1], r[2], (y + 0.5) / s) for y in range(s)]
                       for r in REGIONS[1:]]
    px = []
    for i in range(s * s):
        y = i // s
        alpha = 255 - cov[0][i]
        if alpha == 0:
            px.append((0, 0, 0, 0))
            continue
        acc = [0.0, 0.0, 0.0]
        for k in range(1, len(REGIONS)):
            w = cov[k][i]
            if w:
                col = shades[k][y]
                for j in range(3):
                    acc[j] += col[j] * w
        px.append(tuple(int(v / alpha + 0.5) for v in acc) + (alpha,))
    return px


def sixteen_colour(s, cov):
    """Palette indices for the 4-bit image, None where transparent.

    Each pixel takes the region covering most of it, with outlines counted
    double so they stay unbroken along the curves. The silhouette matches
    the other depths: transparent where alpha would be below 128.
    """
    out = []
    for i in range(s * s):
        if cov[0][i] >= 128:
            out.append(None)
            continue
        best, best_w = 0, -1
        for k in range(1, len(REGIONS)):
            w = cov[k][i] * (2 if REGIONS[k][0] in 'Kk' else 1)
            if w > best_w:
                best, best_w = k, w
        out.append(REGIONS[best][3])
    return out


def adaptive_256(rgba):
    """Palette (index 0 black, for the masked pixels) and indices, 8-bit."""
    opaque = [p[:3] for p in rgba if p[3] >= 128]
    strip = Image.new('RGB', (len(opaque), 1))
    strip.putdata(opaque)
    # Quantize only the visible pixels, so no entry is spent on the outside.
    q = strip.quantize(255, method=Image.Quantize.MAXCOVERAGE,
                       dither=Image.Dither.NONE)
    idx = iter(v + 1 for v in q.getdata())
    flat = q.getpalette()[:3 * (max(q.getdata()) + 1)]
    palette = [(0, 0, 0)] + [tuple(flat[i:i + 3]) for i in range(0, len(flat), 3)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette, [next(idx) if p[3] >= 128 else None for p in rgba]


# ---------------------------------------------------------------- encoding

def stride(bits):
    return (bits + 31) // 32 * 4


def mask_bytes(s, transparent):
    out = bytearray()
    for y in reversed(range(s)):
        row = bytearray(stride(s))
        for x in range(s):
            if transparent[y * s + x]:
                row[x // 8] |= 0x80 >> (x % 8)
        out += row
    return bytes(out)


def dib_paletted(s, bpp, palette, idx):
    colour = bytearray()
    for y in reversed(range(s)):
        row = bytearray(stride(s * bpp))
        for x in range(s):
            v = idx[y * s + x] or 0
            if bpp == 8:
                row[x] = v
            else:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        colour += row
    mask = mask_bytes(s, [v is None for v in idx])
    head = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, bpp, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    quads = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    return head + quads + bytes(colour) + mask


def dib_alpha(s, rgba):
    colour = bytearray()
    for y in reversed(range(s)):
        for r, g, b, a in rgba[y * s:(y + 1) * s]:
            colour += bytes((b, g, r, a))
    mask = mask_bytes(s, [p[3] < 128 for p in rgba])
    head = struct.pack('<IiiHHIIiiII', 40, s, 2 * s, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return head + bytes(colour) + mask


def png_bytes(s, rgba):
    img = Image.new('RGBA', (s, s))
    img.putdata(rgba)
    buf = io.BytesIO()
    img.save(buf, 'PNG', optimize=False, compress_level=9)
    return buf.getvalue()


def build_images():
    """The twelve images' bytes, in directory order."""
    cache = {}
    images = []
    for s, bpp in ENTRIES:
        if s not in cache:
            cov = coverage(s)
            cache[s] = (cov, full_colour(s, cov))
        cov, rgba = cache[s]
        if bpp == 4:
            images.append(dib_paletted(s, 4, VGA16, sixteen_colour(s, cov)))
        elif bpp == 8:
            images.append(dib_paletted(s, 8, *adaptive_256(rgba)))
        elif s == 256:
            images.append(png_bytes(s, rgba))
        else:
            images.append(dib_alpha(s, rgba))
    return images


def ico_bytes(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (s, bpp), data in zip(ENTRIES, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 16 if bpp == 4 else 0,
                           0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


# ---------------------------------------------------------------- contact sheet

def contact_sheet(ico):
    """Every image as Pillow decodes it from the file, on light and dark."""
    font = ImageFont.load_default()
    icon = IcoImagePlugin.IcoFile(io.BytesIO(ico))
    pad, label_h = 8, 16
    backs = [(236, 236, 236), (30, 33, 40)]
    # Pillow sorts its entries; find each image by its offset instead.
    by_offset = {e['offset']: i for i, e in enumerate(icon.entry)}
    rows = {}
    for n, (s, bpp) in enumerate(ENTRIES):
        offset = struct.unpack_from('<I', ico, 6 + 16 * n + 12)[0]
        img = icon.frame(by_offset[offset]).convert('RGBA')
        rows.setdefault(s, []).append((n, bpp, img))
    scale = lambda s: 4 if s <= 48 else 1
    panel_w = lambda s: pad * 3 + s + s * scale(s) if scale(s) > 1 else pad * 2 + s
    cell_w = lambda s: 2 * panel_w(s) + pad
    width = pad + 3 * (max(cell_w(s) for s in rows) + pad)
    height = pad + sum(label_h + 2 * pad + s * scale(s) + pad for s in rows)
    sheet = Image.new('RGB', (width, height), (255, 255, 255))
    draw = ImageDraw.Draw(sheet)
    col_w = max(cell_w(s) for s in rows) + pad
    y = pad
    for s in sorted(rows):
        inner_h = 2 * pad + s * scale(s)
        for col, (n, bpp, img) in enumerate(rows[s]):
            x = pad + col * col_w
            text = '#%d  %dx%d  %d-bit%s' % (n + 1, s, s, bpp,
                                           '  (PNG)' if bpp == 32 and s == 256 else '')
            draw.text((x, y), text, fill=(0, 0, 0), font=font)
            for b, back in enumerate(backs):
                px = x + b * (panel_w(s) + pad)
                py = y + label_h
                draw.rectangle([px, py, px + panel_w(s) - 1, py + inner_h - 1], fill=back)
                sheet.paste(img, (px + pad, py + pad), img)
                if scale(s) > 1:
                    big = img.resize((s * scale(s),) * 2, Image.Resampling.NEAREST)
                    sheet.paste(big, (px + 2 * pad + s, py + pad), big)
        y += label_h + inner_h + pad
    buf = io.BytesIO()
    sheet.save(buf, 'PNG', optimize=False)
    return buf.getvalue()


def main(argv):
    args = argv[1:]
    sheet_path = None
    if len(args) == 3 and args[1] == '--sheet':
        sheet_path = args[2]
        args = args[:1]
    if len(args) != 1 or args[0].startswith('-'):
        print('usage: make_icon.py OUT.ico [--sheet OUT.png]', file=sys.stderr)
        return 2
    ico = ico_bytes(build_images())
    with open(args[0], 'wb') as f:
        f.write(ico)
    if sheet_path:
        with open(sheet_path, 'wb') as f:
            f.write(contact_sheet(ico))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
