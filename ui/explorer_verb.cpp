#include "ui/explorer_verb.h"

#include <windows.h>

#include "settings/registry.h"
#include "ui/explorer_verb_rules.h"
#include "ui/program_folder.h"
#include "base/win_text.h"

namespace {

constexpr VerbTarget kTargets[] = {VerbTarget::Directory, VerbTarget::Drive};

// Deletes the verb's key tree when it exists; true when there was nothing to
// delete or the deletion succeeded.
bool DeleteVerb(VerbTarget target) {
  TextBuffer key;
  VerbKeyPath(target, key);
  if (!RegistryKeyExists(HKEY_CLASSES_ROOT, key)) return true;
  return DeleteRegistryTree(HKEY_CLASSES_ROOT, key) == ERROR_SUCCESS;
}

bool DeleteVerbs() {
  bool deleted = true;
  for (VerbTarget target : kTargets) deleted = DeleteVerb(target) && deleted;
  return deleted;
}

bool ReadDefaultValue(const wchar_t* key, TextBuffer& text) {
  const bool found = ReadRegistryText(HKEY_CLASSES_ROOT, key, L"", text);
  TrimBlanks(text);
  return found;
}

// Removes the product key and, when nothing else is left in it, the maker key.
bool RemoveProductKeys(HKEY root) {
  PathBuffer key;
  CopyText(key, OPTIONS_KEY);
  RemoveLastKeyParts(key, 1);
  bool removed = true;
  if (RegistryKeyExists(root, key)) removed = DeleteRegistryTree(root, key) == ERROR_SUCCESS;
  RemoveLastKeyParts(key, 1);
  if (RegistryKeyExists(root, key)) {
    // A maker key that still holds another product's key is left alone.
    const LSTATUS status = DeleteEmptyRegistryKey(root, key);
    removed = removed && (status == ERROR_SUCCESS || status == ERROR_DIR_NOT_EMPTY ||
                          status == ERROR_KEY_HAS_CHILDREN);
  }
  return removed;
}

}  // namespace

bool ReadVerb(TextBuffer& caption) {
  caption[0] = L'\0';
  PathBuffer exePath;
  if (!GetProgramPath(exePath)) return false;

  VerbRegistration registration;
  TextBuffer key;
  VerbKeyPath(VerbTarget::Directory, key);
  registration.allRead = ReadDefaultValue(key, registration.directoryCaption);
  VerbKeyPath(VerbTarget::Drive, key);
  registration.allRead = ReadDefaultValue(key, registration.driveCaption) && registration.allRead;
  VerbCommandKeyPath(VerbTarget::Directory, key);
  registration.allRead =
      ReadDefaultValue(key, registration.directoryCommand) && registration.allRead;
  VerbCommandKeyPath(VerbTarget::Drive, key);
  registration.allRead = ReadDefaultValue(key, registration.driveCommand) && registration.allRead;

  if (IsVerbConsistent(registration, exePath, SameTextIgnoreCase)) {
    CopyText(caption, registration.directoryCaption);
    return true;
  }
  DeleteVerbs();
  return false;
}

bool WriteVerb(TextBuffer& caption) {
  PathBuffer exePath;
  if (!GetProgramPath(exePath)) return false;
  TrimBlanks(caption);
  if (caption[0] == L'\0') return DeleteVerbs();

  TextBuffer command;
  TextBuffer key;
  bool written = BuildVerbCommand(exePath, command);
  for (VerbTarget target : kTargets) {
    VerbKeyPath(target, key);
    written = written && WriteRegistryText(HKEY_CLASSES_ROOT, key, L"", caption);
  }
  for (VerbTarget target : kTargets) {
    VerbCommandKeyPath(target, key);
    written = written && WriteRegistryText(HKEY_CLASSES_ROOT, key, L"", command);
  }
  if (written) return true;
  // Never leave half a registration behind.
  caption[0] = L'\0';
  DeleteVerbs();
  return false;
}

bool UninstallCleanup() {
  bool cleaned = RemoveProductKeys(HKEY_CURRENT_USER);
  cleaned = RemoveProductKeys(HKEY_LOCAL_MACHINE) && cleaned;
  TextBuffer noCaption = {};
  return WriteVerb(noCaption) && cleaned;
}
