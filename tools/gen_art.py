#!/usr/bin/env python3
"""Render a program's icons and bitmaps from their drawing descriptions.

Each picture is a small text file under a program's art/ folder
(art/icons/*.art become .ico files, art/bitmaps/*.art become .bmp files)
that lists shapes in a design coordinate space. The renderer rasterises
them with anti-aliasing at every size the file asks for, using only the
standard library.

Usage:
    gen_art.py --out DIR [--art-root DIR] [--preview SHEET.png] FILE.art...

Description language, one statement per line, '#' starts a comment:

    icon | bitmap             what the file makes (must match its folder)
    canvas W H                design space, in units
    sizes S | WxH ...         icon images, smallest first (S means SxS);
                              a size whose aspect differs from the canvas
                              stretches the drawing to fill it
    size WxH                  bitmap size (default: the canvas)
    depth 24 | 8 | 1          bitmap colour depth (default 24); 8 stores the
                              bitmap's own colours in a palette (at most 256)
    background #rrggbb        bitmap background (default white)
    include FILE              read group definitions from FILE (art/ relative)
    group NAME ... end        define a reusable group of shapes
    use NAME DX DY [SCALE]    draw a group moved by DX, DY and scaled

    rect X0 Y0 X1 Y1          circle CX CY R         ellipse CX CY RX RY
    rrect X0 Y0 X1 Y1 R       poly X Y X Y ...       star CX CY ROUT RIN N [ROT]
    line X0 Y0 X1 Y1          path X Y X Y ...       arc CX CY R A0 A1
    hgradient #from #to       exact left-to-right ramp over the whole bitmap

  Options after a shape: fill=PAINT, stroke=PAINT, width=N (stroke width),
  head=1 (arrow head at the end of a line, path or arc). Lines, paths and
  arcs only stroke. Angles are degrees counter-clockwise from east as seen
  on screen. PAINT is #rrggbb, #rrggbbaa, clear (erases to transparent),
  linear(#c0,#c1,X0,Y0,X1,Y1) or radial(#c0,#c1,CX,CY,R).
"""

import argparse
import math
import os
import struct
import sys
import zlib


class ArtError(Exception):
    pass


# --------------------------------------------------------------------------
# Paints
# --------------------------------------------------------------------------

def parse_colour(text):
    t = text.strip()
    if not t.startswith('#') or len(t) not in (7, 9):
        raise ArtError('bad colour %r' % text)
    try:
        vals = [int(t[i:i + 2], 16) for i in range(1, len(t), 2)]
    except ValueError:
        raise ArtError('bad colour %r' % text)
    if len(vals) == 3:
        vals.append(255)
    return tuple(v / 255.0 for v in vals)


class Paint:
    """A colour source: solid, gradient or the eraser."""

    def __init__(self, kind, colours=(), geom=()):
        self.kind = kind
        self.colours = colours
        self.geom = list(geom)

    @staticmethod
    def parse(text):
        if text == 'clear':
            return Paint('clear')
        if text.startswith('#'):
            return Paint('solid', (parse_colour(text),))
        for kind, ngeom in (('linear', 4), ('radial', 3)):
            if text.startswith(kind + '(') and text.endswith(')'):
                parts = text[len(kind) + 1:-1].split(',')
                if len(parts) != 2 + ngeom:
                    raise ArtError('%s() takes 2 colours and %d numbers' % (kind, ngeom))
                cols = (parse_colour(parts[0]), parse_colour(parts[1]))
                return Paint(kind, cols, [float(p) for p in parts[2:]])
        raise ArtError('bad paint %r' % text)

    def transformed(self, dx, dy, k):
        g = self.geom
        if self.kind == 'linear':
            g = [g[0] * k + dx, g[1] * k + dy, g[2] * k + dx, g[3] * k + dy]
        elif self.kind == 'radial':
            g = [g[0] * k + dx, g[1] * k + dy, g[2] * k]
        return Paint(self.kind, self.colours, g)

    def at(self, x, y):
        if self.kind == 'solid':
            return self.colours[0]
        if self.kind == 'linear':
            x0, y0, x1, y1 = self.geom
            vx, vy = x1 - x0, y1 - y0
            n = vx * vx + vy * vy
            t = ((x - x0) * vx + (y - y0) * vy) / n if n else 0.0
        else:
            cx, cy, r = self.geom
            t = math.hypot(x - cx, y - cy) / r if r else 0.0
        t = min(max(t, 0.0), 1.0)
        c0, c1 = self.colours
        return tuple(a + (b - a) * t for a, b in zip(c0, c1))


# --------------------------------------------------------------------------
# Shapes as signed distance functions (negative inside)
# --------------------------------------------------------------------------

def seg_dist(px, py, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    n = vx * vx + vy * vy
    t = ((px - ax) * vx + (py - ay) * vy) / n if n else 0.0
    t = min(max(t, 0.0), 1.0)
    return math.hypot(px - ax - vx * t, py - ay - vy * t)


def point_on_arc(cx, cy, r, a):
    rad = math.radians(a)
    return cx + r * math.cos(rad), cy - r * math.sin(rad)


class Shape:
    OPEN = ('line', 'path', 'arc')
    ARGC = {'rect': 4, 'rrect': 5, 'circle': 3, 'ellipse': 4, 'line': 4, 'arc': 5}

    def __init__(self, kind, nums, opts, lineno):
        self.kind = kind
        self.nums = nums
        self.lineno = lineno
        self.fill = Paint.parse(opts['fill']) if 'fill' in opts else None
        self.stroke = Paint.parse(opts['stroke']) if 'stroke' in opts else None
        self.width = float(opts.get('width', 1.0))
        self.head = opts.get('head', '0') not in ('0', 'no')
        self._check()
        self._prepare()

    def _check(self):
        n = len(self.nums)
        want = self.ARGC.get(self.kind)
        if want is not None and n != want:
            raise ArtError('line %d: %s takes %d numbers' % (self.lineno, self.kind, want))
        if self.kind in ('poly', 'path') and (n < 4 or n % 2):
            raise ArtError('line %d: %s takes pairs of numbers' % (self.lineno, self.kind))
        if self.kind == 'star' and n not in (5, 6):
            raise ArtError('line %d: star takes 5 or 6 numbers' % self.lineno)
        if self.kind in self.OPEN and (self.fill or not self.stroke):
            raise ArtError('line %d: %s needs stroke= and no fill=' % (self.lineno, self.kind))
        if not self.fill and not self.stroke:
            raise ArtError('line %d: nothing to paint' % self.lineno)

    def _prepare(self):
        """Turn stars into polygons and arrow heads into extra polygons."""
        if self.kind == 'star':
            cx, cy, ro, ri, n = self.nums[:5]
            rot = self.nums[5] if len(self.nums) > 5 else 90.0
            pts = []
            for i in range(int(n) * 2):
                a = rot + i * 180.0 / n
                x, y = point_on_arc(cx, cy, ro if i % 2 == 0 else ri, a)
                pts += [x, y]
            self.kind, self.nums = 'poly', pts
        self.head_poly = None
        if self.head and self.kind in self.OPEN:
            if self.kind == 'arc':
                cx, cy, r, a0, a1 = self.nums
                ex, ey = point_on_arc(cx, cy, r, a1)
                rad = math.radians(a1)
                tx, ty = -math.sin(rad), -math.cos(rad)     # counter-clockwise tangent
            else:
                p = self.nums
                ex, ey = p[-2], p[-1]
                tx, ty = ex - p[-4], ey - p[-3]
                n = math.hypot(tx, ty) or 1.0
                tx, ty = tx / n, ty / n
            length, half = 2.2 * self.width, 1.6 * self.width
            nx, ny = -ty, tx
            # The head starts a little behind the end so that the stroke's
            # round cap stays hidden inside it.
            bx, by = ex - tx * 0.3 * length, ey - ty * 0.3 * length
            self.head_poly = [bx + nx * half, by + ny * half,
                              bx + tx * length, by + ty * length,
                              bx - nx * half, by - ny * half]
            if self.kind == 'arc':
                # Shorten the arc so its end does not poke out of the head.
                cx, cy, r, a0, a1 = self.nums
                back = math.degrees(0.3 * length / r) if r else 0.0
                self.nums = [cx, cy, r, a0, a1 - back]
            else:
                p = list(self.nums)
                p[-2], p[-1] = bx, by
                self.nums = p

    def transformed(self, dx, dy, k):
        s = Shape.__new__(Shape)
        s.__dict__.update(self.__dict__)
        n = list(self.nums)
        if self.kind in ('rect', 'rrect', 'line', 'poly', 'path'):
            npts = 4 if self.kind in ('rect', 'rrect', 'line') else len(n)
            for i in range(npts):
                n[i] = n[i] * k + (dx if i % 2 == 0 else dy)
            if self.kind == 'rrect':
                n[4] *= k
        elif self.kind in ('circle', 'ellipse', 'arc'):
            n[0], n[1] = n[0] * k + dx, n[1] * k + dy
            n[2] *= k
            if self.kind == 'ellipse':
                n[3] *= k
        s.nums = n
        s.width = self.width * k
        s.fill = self.fill.transformed(dx, dy, k) if self.fill else None
        s.stroke = self.stroke.transformed(dx, dy, k) if self.stroke else None
        if self.head_poly:
            s.head_poly = [v * k + (dx if i % 2 == 0 else dy)
                           for i, v in enumerate(self.head_poly)]
        return s

    # Signed distance, in design units.
    def sdf(self, x, y):
        k, n = self.kind, self.nums
        if k == 'circle':
            return math.hypot(x - n[0], y - n[1]) - n[2]
        if k == 'ellipse':
            q = math.hypot((x - n[0]) / n[2], (y - n[1]) / n[3])
            return (q - 1.0) * min(n[2], n[3])
        if k in ('rect', 'rrect'):
            r = n[4] if k == 'rrect' else 0.0
            cx, cy = (n[0] + n[2]) / 2, (n[1] + n[3]) / 2
            hx, hy = abs(n[2] - n[0]) / 2 - r, abs(n[3] - n[1]) / 2 - r
            qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
            out = math.hypot(max(qx, 0.0), max(qy, 0.0))
            return out + min(max(qx, qy), 0.0) - r
        if k == 'poly':
            return poly_sdf(n, x, y)
        if k == 'line' or k == 'path':
            d = min(seg_dist(x, y, n[i], n[i + 1], n[i + 2], n[i + 3])
                    for i in range(0, len(n) - 2, 2))
            return d
        if k == 'arc':
            cx, cy, r, a0, a1 = n
            a = math.degrees(math.atan2(-(y - cy), x - cx))
            rel = (a - a0) % 360.0
            if rel <= (a1 - a0):
                return abs(math.hypot(x - cx, y - cy) - r)
            p0 = point_on_arc(cx, cy, r, a0)
            p1 = point_on_arc(cx, cy, r, a1)
            return min(math.hypot(x - p0[0], y - p0[1]), math.hypot(x - p1[0], y - p1[1]))
        raise ArtError('unknown shape %s' % k)

    def bounds(self):
        """Bounding box in design units, before stroke growth."""
        k, n = self.kind, self.nums
        if k in ('circle', 'arc'):
            return n[0] - n[2], n[1] - n[2], n[0] + n[2], n[1] + n[2]
        if k == 'ellipse':
            return n[0] - n[2], n[1] - n[3], n[0] + n[2], n[1] + n[3]
        if k in ('rect', 'rrect'):
            return min(n[0], n[2]), min(n[1], n[3]), max(n[0], n[2]), max(n[1], n[3])
        xs, ys = n[0::2], n[1::2]
        return min(xs), min(ys), max(xs), max(ys)


def poly_sdf(pts, x, y):
    inside = False
    d = float('inf')
    m = len(pts) // 2
    j = m - 1
    for i in range(m):
        xi, yi = pts[2 * i], pts[2 * i + 1]
        xj, yj = pts[2 * j], pts[2 * j + 1]
        if (yi > y) != (yj > y):
            if x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
        d = min(d, seg_dist(x, y, xi, yi, xj, yj))
        j = i
    return -d if inside else d


# --------------------------------------------------------------------------
# Parsing
# --------------------------------------------------------------------------

class Art:
    def __init__(self):
        self.kind = None
        self.canvas = None
        self.sizes = []
        self.depth = 24
        self.background = (1.0, 1.0, 1.0, 1.0)
        self.shapes = []
        self.gradient = None


def parse_size(text):
    if 'x' in text:
        w, h = text.split('x', 1)
        return int(w), int(h)
    return int(text), int(text)


def parse_file(path, art_root, art=None, groups=None, inside_include=False):
    if art is None:
        art = Art()
    if groups is None:
        groups = {}
    current_group = None
    with open(path, encoding='utf-8') as f:
        lines = f.readlines()
    for lineno, raw in enumerate(lines, 1):
        line = strip_comment(raw)
        words = line.split()
        if not words:
            continue
        cmd, args = words[0], words[1:]
        where = '%s:%d' % (path, lineno)
        try:
            if cmd == 'group':
                if current_group is not None:
                    raise ArtError('groups do not nest')
                current_group = args[0]
                groups[current_group] = []
            elif cmd == 'end':
                if current_group is None:
                    raise ArtError('end without group')
                current_group = None
            elif cmd == 'include':
                parse_file(os.path.join(art_root, args[0]), art_root, art, groups, True)
            elif cmd == 'use':
                name = args[0]
                if name not in groups:
                    raise ArtError('unknown group %s' % name)
                dx, dy = float(args[1]), float(args[2])
                k = float(args[3]) if len(args) > 3 else 1.0
                target = groups[current_group] if current_group else art.shapes
                target.extend(s.transformed(dx, dy, k) for s in groups[name])
            elif cmd in ('icon', 'bitmap'):
                art.kind = cmd
            elif cmd == 'canvas':
                art.canvas = (float(args[0]), float(args[1]))
            elif cmd == 'sizes':
                art.sizes = [parse_size(a) for a in args]
            elif cmd == 'size':
                art.sizes = [parse_size(args[0])]
            elif cmd == 'depth':
                art.depth = int(args[0])
                if art.depth not in (1, 8, 24):
                    raise ArtError('depth is 1, 8 or 24')
            elif cmd == 'background':
                art.background = parse_colour(args[0])
            elif cmd == 'hgradient':
                art.gradient = (hex_rgb(args[0]), hex_rgb(args[1]))
            else:
                nums, opts = [], {}
                for a in args:
                    if '=' in a:
                        key, val = a.split('=', 1)
                        opts[key] = val
                    else:
                        nums.append(float(a))
                shape = Shape(cmd, nums, opts, lineno)
                (groups[current_group] if current_group else art.shapes).append(shape)
        except (ArtError, ValueError, IndexError) as e:
            raise ArtError('%s: %s' % (where, e))
    if current_group is not None:
        raise ArtError('%s: group %s has no end' % (path, current_group))
    return art


def strip_comment(raw):
    # '#' starts a comment only at the start of a word: colours contain '#'
    # after '=' or '(' or as a whole word in hgradient/background.
    out = []
    for word in raw.split():
        if word.startswith('#') and not is_colour_word(word):
            break
        out.append(word)
    return ' '.join(out)


def is_colour_word(word):
    body = word[1:]
    return len(body) in (6, 8) and all(c in '0123456789abcdefABCDEF' for c in body)


def hex_rgb(text):
    c = parse_colour(text)
    return tuple(int(round(v * 255)) for v in c[:3])


# --------------------------------------------------------------------------
# Rendering
# --------------------------------------------------------------------------

def render(art, w, h):
    """Returns rows of (r, g, b, a) tuples, 0..255, straight alpha."""
    if art.gradient:
        return render_gradient(art, w, h)
    cw, ch = art.canvas
    sx, sy = w / cw, h / ch
    scale = math.sqrt(sx * sy)
    if art.kind == 'bitmap':
        r, g, b, _ = art.background
        base = [r, g, b, 1.0]
    else:
        base = [0.0, 0.0, 0.0, 0.0]
    # premultiplied floats
    px = [[list(base) for _ in range(w)] for _ in range(h)]
    for shape in art.shapes:
        if shape.fill:
            paint_sdf(px, shape, shape.fill, lambda x, y, s=shape: s.sdf(x, y), 0.0, sx, sy, scale)
        if shape.stroke:
            half = shape.width / 2.0
            if shape.kind in Shape.OPEN:
                fn = (lambda x, y, s=shape, hw=half: s.sdf(x, y) - hw)
            else:
                fn = (lambda x, y, s=shape, hw=half: abs(s.sdf(x, y)) - hw)
            paint_sdf(px, shape, shape.stroke, fn, half, sx, sy, scale)
            if shape.head_poly:
                head = Shape('poly', shape.head_poly, {'fill': '#000000'}, shape.lineno)
                paint_sdf(px, head, shape.stroke, lambda x, y, s=head: s.sdf(x, y),
                          0.0, sx, sy, scale)
    out = []
    for row in px:
        orow = []
        for r, g, b, a in row:
            if a <= 0.0:
                orow.append((0, 0, 0, 0))
            else:
                orow.append((to8(r / a), to8(g / a), to8(b / a), to8(a)))
        out.append(orow)
    return out


def paint_sdf(px, shape, paint, fn, grow, sx, sy, scale):
    h, w = len(px), len(px[0])
    x0, y0, x1, y1 = shape.bounds()
    pad = grow + 1.5 / scale
    ix0 = max(0, int(math.floor((x0 - pad) * sx)))
    iy0 = max(0, int(math.floor((y0 - pad) * sy)))
    ix1 = min(w, int(math.ceil((x1 + pad) * sx)) + 1)
    iy1 = min(h, int(math.ceil((y1 + pad) * sy)) + 1)
    for iy in range(iy0, iy1):
        y = (iy + 0.5) / sy
        row = px[iy]
        for ix in range(ix0, ix1):
            x = (ix + 0.5) / sx
            cov = 0.5 - fn(x, y) * scale
            if cov <= 0.0:
                continue
            if cov > 1.0:
                cov = 1.0
            dst = row[ix]
            if paint.kind == 'clear':
                keep = 1.0 - cov
                row[ix] = [c * keep for c in dst]
                continue
            r, g, b, a = paint.at(x, y)
            ea = a * cov
            inv = 1.0 - ea
            row[ix] = [r * ea + dst[0] * inv, g * ea + dst[1] * inv,
                       b * ea + dst[2] * inv, ea + dst[3] * inv]


def render_gradient(art, w, h):
    """Exact integer ramp: the first column is one colour, the last the
    other, and the steps between differ by at most one unit."""
    (r0, g0, b0), (r1, g1, b1) = art.gradient
    last = max(w - 1, 1)

    def step(c0, c1, i):
        return c0 + ((c1 - c0) * i * 2 + last) // (2 * last)

    row = [(step(r0, r1, i), step(g0, g1, i), step(b0, b1, i), 255) for i in range(w)]
    return [list(row) for _ in range(h)]


def to8(v):
    return max(0, min(255, int(v * 255.0 + 0.5)))


# --------------------------------------------------------------------------
# File formats
# --------------------------------------------------------------------------

def dib_icon_image(pixels):
    """BITMAPINFOHEADER + 32-bit colour + AND mask, as stored in .ico."""
    h, w = len(pixels), len(pixels[0])
    mask_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            if a == 0:
                r = g = b = 0
            xor += bytes((b, g, r, a))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def write_ico(path, images):
    count = len(images)
    entries = bytearray()
    blobs = bytearray()
    offset = 6 + 16 * count
    for pixels in images:
        h, w = len(pixels), len(pixels[0])
        blob = dib_icon_image(pixels)
        entries += struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, 1, 32,
                               len(blob), offset + len(blobs))
        blobs += blob
    data = struct.pack('<HHH', 0, 1, count) + bytes(entries) + bytes(blobs)
    write_if_changed(path, data)


def write_bmp(path, pixels, depth, background):
    h, w = len(pixels), len(pixels[0])
    body = bytearray()
    if depth == 24:
        stride = (w * 3 + 3) & ~3
        for row in reversed(pixels):
            line = bytearray()
            for r, g, b, a in row:
                line += bytes((b, g, r))
            line += bytes(stride - len(line))
            body += line
        palette = b''
    elif depth == 8:
        # The same pixels in a third of the room: every colour the drawing
        # uses goes into the palette once, in order of first use.
        index = {}
        for row in pixels:
            for r, g, b, a in row:
                index.setdefault((r, g, b), len(index))
        if len(index) > 256:
            raise ArtError('depth 8 holds 256 colours, the drawing has %d' % len(index))
        stride = (w + 3) & ~3
        for row in reversed(pixels):
            line = bytearray(index[(r, g, b)] for r, g, b, a in row)
            body += line + bytes(stride - len(line))
        palette = b''.join(bytes((b, g, r, 0)) for (r, g, b) in index)
    else:
        stride = ((w + 31) // 32) * 4
        for row in reversed(pixels):
            line = bytearray(stride)
            for x, (r, g, b, a) in enumerate(row):
                if (r * 299 + g * 587 + b * 114) // 1000 >= 128:
                    line[x // 8] |= 0x80 >> (x % 8)      # index 1: white
            body += line
        palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    colours = len(palette) // 4
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, depth, 0, len(body),
                       2835, 2835, colours, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack('<2sIHHI', b'BM', offset + len(body), 0, 0, offset)
    write_if_changed(path, head + info + palette + bytes(body))


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                os.utime(path)
                return
    except OSError:
        pass
    with open(path, 'wb') as f:
        f.write(data)


def write_png(path, pixels):
    h, w = len(pixels), len(pixels[0])
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


def preview_sheet(path, rendered, zoom=4):
    """One row per picture: each image enlarged, icons over a checkerboard."""
    gap = 6
    rows = []
    for name, kind, images in rendered:
        z = zoom if kind == 'icon' else (1 if len(images[0][0]) > 64 else zoom)
        rows.append((kind, images, z))
    width = max(sum(len(img[0]) * z + gap for img in imgs) for _, imgs, z in rows) + gap
    height = sum(max(len(img) for img in imgs) * z + gap for _, imgs, z in rows) + gap
    sheet = [[(90, 90, 90)] * width for _ in range(height)]
    y = gap
    for kind, images, z in rows:
        x = gap
        for img in images:
            for iy in range(len(img) * z):
                for ix in range(len(img[0]) * z):
                    r, g, b, a = img[iy // z][ix // z]
                    chk = 255 if ((ix // 8 + iy // 8) % 2) else 205
                    al = a / 255.0
                    sheet[y + iy][x + ix] = (int(r * al + chk * (1 - al)),
                                             int(g * al + chk * (1 - al)),
                                             int(b * al + chk * (1 - al)))
            x += len(img[0]) * z + gap
        y += max(len(img) for img in images) * z + gap
    write_png(path, sheet)


# --------------------------------------------------------------------------

def build(path, art_root, out_dir):
    art = parse_file(path, art_root)
    folder = os.path.basename(os.path.dirname(os.path.abspath(path)))
    expected = {'icons': 'icon', 'bitmaps': 'bitmap'}.get(folder)
    if art.kind is None:
        raise ArtError('%s: says neither icon nor bitmap' % path)
    if expected and expected != art.kind:
        raise ArtError('%s: a %s in the %s folder' % (path, art.kind, folder))
    if art.canvas is None and not art.gradient:
        raise ArtError('%s: no canvas' % path)
    stem = os.path.splitext(os.path.basename(path))[0]
    if art.kind == 'icon':
        if not art.sizes:
            raise ArtError('%s: no sizes' % path)
        images = [render(art, w, h) for w, h in art.sizes]
        write_ico(os.path.join(out_dir, stem + '.ico'), images)
    else:
        if art.sizes:
            w, h = art.sizes[0]
        else:
            w, h = int(art.canvas[0]), int(art.canvas[1])
        images = [render(art, w, h)]
        write_bmp(os.path.join(out_dir, stem + '.bmp'), images[0], art.depth, art.background)
    return stem, art.kind, images


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('--out', required=True, help='folder for the .ico and .bmp files')
    ap.add_argument('--art-root', help='folder that include paths start from')
    ap.add_argument('--preview', help='also write a PNG contact sheet')
    ap.add_argument('files', nargs='+')
    args = ap.parse_args(argv)
    os.makedirs(args.out, exist_ok=True)
    rendered = []
    try:
        for path in args.files:
            root = args.art_root or os.path.dirname(os.path.dirname(os.path.abspath(path)))
            rendered.append(build(path, root, args.out))
    except (ArtError, OSError) as e:
        print('gen_art: %s' % e, file=sys.stderr)
        return 1
    if args.preview:
        preview_sheet(args.preview, rendered)
        for i, (name, kind, images) in enumerate(rendered):
            print('%2d %s %s' % (i, kind, name))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
