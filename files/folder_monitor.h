// Watching the source folder for changes to listed files.
#pragma once

// Stops the monitor and, for a folder (not null) with monitoring on, starts
// it again there.
void StartFolderMonitor(const wchar_t* folder);

// True when a listed file changed since the folder was loaded.
bool SourceChanged();
