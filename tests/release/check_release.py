#!/usr/bin/env python3
"""The portable ZIP holds exactly the staged program folder (which the
installer installs), and every link and picture of the manual resolves.

Usage: check_release.py PORTABLE_ZIP STAGED_FOLDER
"""

import html.parser
import pathlib
import sys
import urllib.parse
import zipfile


class References(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.found = []
        self.anchors = set()

    def handle_starttag(self, tag, attributes):
        for name, value in attributes:
            if name in ('href', 'src') and value is not None:
                self.found.append(value)
            if name == 'id' and value:
                self.anchors.add(value)


def parse(page):
    parser = References()
    parser.feed(page.read_text(encoding='utf-8'))
    return parser


def broken_links(manual):
    broken = []
    anchors = {page.resolve(): parse(page).anchors for page in manual.glob('*.htm')}
    for page in sorted(anchors):
        for reference in parse(page).found:
            target = urllib.parse.urlsplit(reference)
            if target.scheme or target.netloc:
                broken.append(f'{page.name}: {reference} leaves the manual')
                continue
            path = (page.parent / urllib.parse.unquote(target.path)).resolve() \
                if target.path else page.resolve()
            if not path.is_file():
                broken.append(f'{page.name}: {reference} names no file')
            elif target.fragment and target.fragment not in anchors.get(path, set()):
                broken.append(f'{page.name}: {reference} names no anchor')
    return broken


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    archive, stage = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    with zipfile.ZipFile(archive) as portable:
        zipped = {name for name in portable.namelist() if not name.endswith('/')}
    staged = {'Trimlet/' + path.relative_to(stage).as_posix()
              for path in stage.rglob('*') if path.is_file()}
    problems = [f'only in the ZIP: {name}' for name in sorted(zipped - staged)]
    problems += [f'missing from the ZIP: {name}' for name in sorted(staged - zipped)]
    for required in ('Trimlet/Trimlet.exe', 'Trimlet/HTML/Index.htm',
                     'Trimlet/Licenses/libjpeg-turbo/LICENSE.md'):
        if required not in zipped:
            problems.append(f'the ZIP lacks {required}')
    if not any(name.startswith('Trimlet/Lang/') for name in zipped):
        problems.append('the ZIP has no language files')
    problems += broken_links(stage / 'HTML')
    print('\n'.join(problems) if problems else f'{len(zipped)} files, every link resolves')
    sys.exit(1 if problems else 0)


main()
