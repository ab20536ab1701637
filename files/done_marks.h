// The pictures already done: a file of the same name in the destination
// folder means the picture was cropped there before, and its tile is marked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The names of the files in the destination folder, read with one listing.
class DoneNames {
 public:
  // Lists `destination`. None when it is the source folder itself, where
  // every picture would find itself.
  void Read(const wchar_t* destination, const wchar_t* source);
  // Whether a file of the name, in any letter case, was listed.
  bool Contains(const wchar_t* fileName) const;

 private:
  std::vector<std::wstring> names_;  // sorted, ignoring case
};

// Whether `destination` holds a file named `fileName`: the crop of that
// picture. False when the destination is the source folder.
bool HasDoneFile(const wchar_t* destination, const wchar_t* source, const wchar_t* fileName);

// Draws the mark (a green disc with a white tick) onto the bottom-right
// corner of a tile.
void DrawDoneMark(HBITMAP tile);
