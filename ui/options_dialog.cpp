#include "ui/options_dialog.h"

// The pages come with their own work; until then nothing changes.
bool ShowOptionsDialog(HWND, int*) { return false; }
