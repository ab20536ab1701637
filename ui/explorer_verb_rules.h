// The Explorer verb's registry layout and its consistency rules. Pure.
#pragma once

#include "base/text.h"

// Where the verb lives under HKEY_CLASSES_ROOT: one per kind of item.
enum class VerbTarget { Directory, Drive };

// "Directory\shell\Bluecrane.Trimlet" or "Drive\shell\Bluecrane.Trimlet".
void VerbKeyPath(VerbTarget target, TextBuffer& path);
// The same with "\command" appended.
void VerbCommandKeyPath(VerbTarget target, TextBuffer& path);

// The command that starts this program on a folder: the quoted executable
// path followed by " /EXPLORE %1". False when it does not fit.
bool BuildVerbCommand(const wchar_t* exePath, TextBuffer& command);

// The default values of the four verb keys as read, blanks trimmed.
struct VerbRegistration {
  bool allRead = false;
  TextBuffer directoryCaption = {};
  TextBuffer driveCaption = {};
  TextBuffer directoryCommand = {};
  TextBuffer driveCommand = {};
};

// True when the registration is whole, the same for directories and drives,
// and starts this executable. Paths are compared with `samePath`.
bool IsVerbConsistent(const VerbRegistration& registration, const wchar_t* exePath,
                      bool (*samePath)(const wchar_t*, const wchar_t*));

// Drops the last `parts` backslash-separated parts of a key path in place:
// "Software\Bluecrane\Trimlet\Options" less one part is the product key.
void RemoveLastKeyParts(wchar_t* keyPath, int parts);
