#!/usr/bin/env python3
"""Writes the pictures of the end-to-end tests that GDI+ under Wine cannot
write: a JPEG of four coloured quarters stored with the orientation tag 6 (a
quarter right) by exiftool, and the upright reference ImageMagick makes of
it with -auto-orient; a TIFF tagged the same way, whose IFD0 libtiff puts
after the pixels.

Usage: make_e2e_pictures.py OUTPUT_FOLDER
"""
import pathlib
import subprocess
import sys

if len(sys.argv) != 2:
    raise SystemExit(__doc__)
out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
sideways = out / 'sideways_6.jpg'
scan = out / 'sideways_6.tif'
# 480 x 320 as stored: red, cyan / blue, yellow quarters.
subprocess.run(['convert', '-size', '240x160', 'xc:#dc0000', 'xc:#00c8ff', '+append',
                '(', '-size', '240x160', 'xc:#0000ff', 'xc:#ffff00', '+append', ')',
                '-append', '-quality', '95', str(sideways)], check=True)
subprocess.run(['convert', '-size', '500x400', 'gradient:yellow-green', '-compress', 'lzw',
                str(scan)], check=True)
subprocess.run(['exiftool', '-q', '-overwrite_original', '-Orientation#=6', str(sideways),
                str(scan)], check=True)
subprocess.run(['convert', str(sideways), '-auto-orient', str(out / 'upright_6.bmp')], check=True)
(out / '.written').touch()
