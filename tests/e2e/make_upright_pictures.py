#!/usr/bin/env python3
"""Writes the pictures of the upright test: a JPEG of four coloured quarters
stored with the orientation tag 6 (a quarter right), and the upright
reference ImageMagick makes of it with -auto-orient.

Usage: make_upright_pictures.py OUTPUT_FOLDER
"""
import pathlib
import subprocess
import sys

if len(sys.argv) != 2:
    raise SystemExit(__doc__)
out = pathlib.Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)

# 480 x 320 as stored: red, cyan / blue, yellow quarters.
stored = out / 'stored.jpg'
subprocess.run(['convert', '-size', '240x160', 'xc:#dc0000', 'xc:#00c8ff', '+append',
                '(', '-size', '240x160', 'xc:#0000ff', 'xc:#ffff00', '+append', ')',
                '-append', '-quality', '95', str(stored)], check=True)
jpeg = stored.read_bytes()
stored.unlink()


def exif_segment(orientation):
    """APP1 holding a big-endian TIFF block with IFD0's orientation entry."""
    tiff = (b'MM\x00\x2a\x00\x00\x00\x08' + b'\x00\x01' +
            b'\x01\x12\x00\x03\x00\x00\x00\x01' + bytes([0, orientation, 0, 0]) +
            b'\x00\x00\x00\x00')
    body = b'Exif\x00\x00' + tiff
    return b'\xff\xe1' + (len(body) + 2).to_bytes(2, 'big') + body


sideways = out / 'sideways_6.jpg'
# The tag goes right after the start of image, before the JFIF block.
sideways.write_bytes(jpeg[:2] + exif_segment(6) + jpeg[2:])
subprocess.run(['convert', str(sideways), '-auto-orient', str(out / 'upright_6.bmp')], check=True)
(out / '.written').touch()
