// Menu items captioned from labels. Each item keeps its label in its item
// data, so that a change of language finds it again.
#pragma once

#include <windows.h>

// Captions `menu` and its submenus: items still carrying a key from the
// resource, and items captioned before. In the System commands submenu only
// our own "(empty)" item is touched; the others belong to the shell.
void CaptionMenu(HMENU menu);

// Gives the item at `position` the text of `label`, and remembers it.
void CaptionMenuItem(HMENU menu, UINT position, int label);
