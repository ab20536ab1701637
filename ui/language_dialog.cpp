#include "ui/language_dialog.h"

// The dialog itself comes with the language-file editor; until then the
// language cannot change from here.
bool ShowLanguageDialog(HWND) { return false; }
