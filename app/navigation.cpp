#include "app/navigation.h"

// Pictures are shown and saved once the editor and the folder load exist;
// until then these commands have nothing to act on.
void Navigate(int) {}

void ToggleViewOnly() {}

void ShowImage(int) {}

void OnFileSelectionChanged(const NMLISTVIEW&) {}

void FinishOperation(bool) {}
