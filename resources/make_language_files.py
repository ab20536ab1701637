#!/usr/bin/env python3
"""Writes the language files into the folder "Lang" beside the program.

The sources in resources/lang are UTF-8 for easy editing; the program reads
language files through the system's profile functions, which read Unicode
only as UTF-16 with a byte-order mark, so they are written that way.

Usage: python3 make_language_files.py SOURCE_FOLDER OUTPUT_FOLDER
"""

import pathlib
import sys

if len(sys.argv) != 3:
    raise SystemExit(__doc__)
source, output = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
output.mkdir(parents=True, exist_ok=True)
for language in sorted(source.glob('*.ini')):
    text = language.read_text(encoding='utf-8').replace('\r\n', '\n').replace('\n', '\r\n')
    (output / language.name).write_bytes(b'\xff\xfe' + text.encode('utf-16-le'))
