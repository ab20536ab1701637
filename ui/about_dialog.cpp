#include "ui/about_dialog.h"

// The box comes with its own work; until then the command shows nothing.
void ShowAboutDialog(HWND) {}
