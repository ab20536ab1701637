#!/usr/bin/env python3
"""Writes the pictures of the upright test: a JPEG of four coloured quarters
stored with the orientation tag 6 (a quarter right) by exiftool, and the
upright reference ImageMagick makes of it with -auto-orient.

Usage: make_upright_pictures.py OUTPUT_FOLDER
"""
import pathlib
import subprocess
import sys

if len(sys.argv) != 2:
    raise SystemExit(__doc__)
out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
sideways = out / 'sideways_6.jpg'
# 480 x 320 as stored: red, cyan / blue, yellow quarters.
subprocess.run(['convert', '-size', '240x160', 'xc:#dc0000', 'xc:#00c8ff', '+append',
                '(', '-size', '240x160', 'xc:#0000ff', 'xc:#ffff00', '+append', ')',
                '-append', '-quality', '95', str(sideways)], check=True)
subprocess.run(['exiftool', '-q', '-overwrite_original', '-Orientation#=6', str(sideways)],
               check=True)
subprocess.run(['convert', str(sideways), '-auto-orient', str(out / 'upright_6.bmp')], check=True)
(out / '.written').touch()
