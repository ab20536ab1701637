#!/usr/bin/env python3
"""Reads back with ImageMagick the crops that the end-to-end test of the
more formats saved: each in the format of its name, the TIFF upright, the
PNG with its alpha channel and its half-transparent pixels. (Wine's GDI+ writes a
TIFF without compression whatever it is asked; the LZW parameter that the
program hands it is checked by the native tests.)

Usage: check_format_crops.py FOLDER
"""
import pathlib
import subprocess
import sys

if len(sys.argv) != 2:
    raise SystemExit(__doc__)
folder = pathlib.Path(sys.argv[1])
# Each crop: its format, size and channels, and the alpha of its corner.
expected = {'photo.jpeg': 'JPEG 600x400 srgb 1',
            'scan.tif': 'TIFF 333x500 srgba 1',
            'shot.png': 'PNG 400x267 srgba 0.501961'}
problems = []
for name, wanted in expected.items():
    seen = subprocess.run(['identify', '-format', '%m %wx%h %[channels] %[fx:p{2,2}.a]',
                           str(folder / name)], capture_output=True, text=True).stdout
    if seen != wanted:
        problems.append(f'{name}: {seen or "unreadable"}, not {wanted}')
sys.exit('\n'.join(problems) if problems else 0)
