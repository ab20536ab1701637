// Opening a source folder: its pictures listed under the busy dialog, the
// first one (or the one asked for) shown, then their thumbnail tiles made in
// the background while the user works.
#pragma once

#include "files/done_marks.h"

// Makes `folder` the source folder and lists its pictures. `reselect`, when
// not empty, names the file to show again if it is still there.
void LoadSourceFolder(const wchar_t* folder, const wchar_t* reselect);

// Puts the tiles that are ready into the list (WM_TILES_READY), and shows
// how many are in.
void TakeReadyTiles();

// Stops making the tiles of the list; those in hand are dropped.
void StopTiles();

// Whether tiles of the list are still being made.
bool TilesPending();

// Watches the source folder for changes to the files listed, when the user
// wants that; stops watching otherwise.
void WatchSourceFolder();

// How the destination is listed for the marks of the pictures done;
// replaceable so that a test can make it as slow as a network folder.
using DoneLister = DoneNames (*)(const wchar_t* destination, const wchar_t* source);
void SetDoneLister(DoneLister lister);
