#!/usr/bin/env python3
"""The picture generator: what it draws, the files it writes and the
descriptions it refuses. Runs natively under ctest."""

import io
import os
import struct
import sys
import tempfile
import unittest
from contextlib import redirect_stderr

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools'))
import gen_art  # noqa: E402


class GenArt(unittest.TestCase):
    def draw(self, rel, text):
        """Runs the generator on one description; its exit code and message."""
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        self.out = os.path.join(tmp.name, 'out')
        path = os.path.join(tmp.name, 'art', rel)
        os.makedirs(os.path.dirname(path))
        with open(path, 'w', encoding='utf-8') as f:
            f.write(text)
        err = io.StringIO()
        with redirect_stderr(err):
            code = gen_art.main(['--out', self.out, path])
        return code, err.getvalue()

    def read(self, name):
        with open(os.path.join(self.out, name), 'rb') as f:
            return f.read()

    def test_shapes_are_exact_inside_blended_at_their_rims_and_clear_erases(self):
        art = gen_art.Art()
        art.kind, art.canvas = 'icon', (16, 16)
        art.shapes = [gen_art.Shape('circle', [8, 8, 6], {'fill': '#204080'}, 1),
                      gen_art.Shape('rect', [0, 0, 4, 16], {'fill': 'clear'}, 2)]
        px = gen_art.render(art, 16, 16)
        self.assertEqual((0x20, 0x40, 0x80, 255), px[8][8])
        self.assertTrue(0 < px[8][13][3] < 255, 'the rim blends into the background')
        self.assertEqual(0, px[8][3][3], 'erased')

    def test_icons_hold_every_size_with_a_mask_of_their_transparent_pixels(self):
        self.assertEqual((0, ''), self.draw('icons/dot.art', 'icon\ncanvas 16 16\nsizes 16 32\n'
                                                             'rect 0 0 8 16 fill=#0000ff\n'))
        data = self.read('dot.ico')
        self.assertEqual((0, 1, 2), struct.unpack_from('<HHH', data))
        self.assertEqual([16, 32], [data[6 + 16 * i] for i in range(2)])
        offset = struct.unpack_from('<I', data, 18)[0]
        self.assertEqual((16, 32, 32), struct.unpack_from('<iiH', data, offset + 4)[:2] + (data[offset + 14],))
        self.assertEqual(b'\x00\xff\x00\x00', data[offset + 40 + 16 * 16 * 4:][:4], 'right half transparent')

    def test_bitmaps_are_stored_bottom_up_in_padded_rows(self):
        self.assertEqual(0, self.draw('bitmaps/bar.art', 'bitmap\ncanvas 3 2\nrect 0 0 3 1 fill=#ff0000\n')[0])
        bar = self.read('bar.bmp')
        offset = struct.unpack_from('<I', bar, 10)[0]
        self.assertEqual(offset + 2 * 12, len(bar), '3 pixels of 3 bytes padded to 12')
        self.assertEqual(b'\xff' * 9 + bytes(3) + b'\x00\x00\xff', bar[offset:offset + 15], 'white row first')

    def test_a_palette_bitmap_keeps_every_colour_exactly(self):
        self.assertEqual(0, self.draw('bitmaps/pal.art', 'bitmap\ndepth 8\ncanvas 3 2\nrect 0 0 3 1 fill=#ff0000\n')[0])
        pal = self.read('pal.bmp')
        offset = struct.unpack_from('<I', pal, 10)[0]
        self.assertEqual((8, 2), (struct.unpack_from('<H', pal, 28)[0], struct.unpack_from('<I', pal, 46)[0]))
        # The palette in order of first use from the top: red, then white.
        self.assertEqual(b'\x00\x00\xff\x00\xff\xff\xff\x00', pal[54:62])
        self.assertEqual(b'\x01\x01\x01\x00\x00\x00\x00\x00', pal[offset:offset + 8], 'bottom up, rows padded to 4')

    def test_mistakes_are_named_with_their_line_and_nothing_is_written(self):
        for rel, text, words in (('icons/x.art', 'icon\ncanvas 8 8\nrect 0 0 8 fill=#000000\n', 'x.art:3: line 3: rect takes 4'),
                                 ('icons/x.art', 'icon\ncanvas 8 8\nrect 0 0 8 8 fill=#12345\n', "bad colour '#12345'"),
                                 ('icons/x.art', 'icon\ncanvas 8 8\nline 0 0 8 8 fill=#000000\n', 'needs stroke='),
                                 ('icons/x.art', 'icon\nsizes 8\ngroup g\n', 'group g has no end'),
                                 ('bitmaps/x.art', 'icon\ncanvas 8 8\nsizes 8\n', 'a icon in the bitmaps folder')):
            with self.subTest(words=words):
                code, err = self.draw(rel, text)
                self.assertEqual(1, code)
                self.assertIn(words, err)
                self.assertEqual([], os.listdir(self.out))


if __name__ == '__main__':
    unittest.main()
