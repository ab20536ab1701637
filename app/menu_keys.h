// The keys that the menu resource carries in place of captions. Pure.
#pragma once

// The label that replaces a menu key, or -1 when the text is no key.
int MenuKeyLabel(const wchar_t* key);
