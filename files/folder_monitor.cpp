#include "files/folder_monitor.h"

// The monitor thread comes with its own work; until then nothing changes.
void StartFolderMonitor(const wchar_t*) {}

bool SourceChanged() { return false; }
