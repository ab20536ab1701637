#include "ui/explorer_verb_rules.h"

#include <cwchar>

#include "base/product.h"

namespace {

constexpr const wchar_t* EXPLORE_ARGUMENT = L" /EXPLORE %1";

// Removes every occurrence of `what` from `text`, in place.
void RemoveAll(wchar_t* text, const wchar_t* what) {
  ReplaceAll(what, text, L"", text, TEXT_CAPACITY);
}

}  // namespace

void VerbKeyPath(VerbTarget target, TextBuffer& path) {
  CopyText(path, target == VerbTarget::Directory ? L"Directory\\shell\\" : L"Drive\\shell\\");
  AppendText(path, MAKER_NAME);
  AppendText(path, L".");
  AppendText(path, PRODUCT_NAME);
}

void VerbCommandKeyPath(VerbTarget target, TextBuffer& path) {
  VerbKeyPath(target, path);
  AppendText(path, L"\\command");
}

bool BuildVerbCommand(const wchar_t* exePath, TextBuffer& command) {
  return CopyText(command, L"\"") && AppendText(command, exePath) && AppendText(command, L"\"") &&
         AppendText(command, EXPLORE_ARGUMENT);
}

bool IsVerbConsistent(const VerbRegistration& registration, const wchar_t* exePath,
                      bool (*samePath)(const wchar_t*, const wchar_t*)) {
  const VerbRegistration& r = registration;
  if (!r.allRead || r.directoryCaption[0] == L'\0' || r.directoryCommand[0] == L'\0') return false;
  if (std::wcscmp(r.directoryCaption, r.driveCaption) != 0 ||
      std::wcscmp(r.directoryCommand, r.driveCommand) != 0) {
    return false;
  }
  if (std::wcsstr(r.directoryCommand, EXPLORE_ARGUMENT) == nullptr) return false;
  TextBuffer path;
  CopyText(path, r.directoryCommand);
  RemoveAll(path, EXPLORE_ARGUMENT);
  RemoveAll(path, L"\"");
  TrimBlanks(path);
  return samePath(path, exePath);
}

void RemoveLastKeyParts(wchar_t* keyPath, int parts) {
  for (; parts > 0; --parts) {
    wchar_t* last = std::wcsrchr(keyPath, L'\\');
    if (last == nullptr) {
      keyPath[0] = L'\0';
      return;
    }
    *last = L'\0';
  }
}
