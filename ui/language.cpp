#include "ui/language.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/file_replace.h"
#include "base/product.h"
#include "settings/registry.h"
#include "ui/english_labels.h"
#include "ui/labels.h"
#include "ui/program_folder.h"

namespace {

constexpr const wchar_t* LANGUAGE_FILE_VALUE = L"LanguageFile";
constexpr const wchar_t* LABELS_SECTION = L"LABELS";
constexpr const wchar_t* TRANSLATOR_SECTION = L"TRANSLATOR";
constexpr const wchar_t* SETUP_SECTION = L"SETUP";
constexpr const wchar_t* TRANSLATOR_NAME = L"TranslatorName";
constexpr const wchar_t* TRANSLATOR_MAIL = L"TranslatorMail";

struct LanguageState {
  PathBuffer currentFile = L"<default>";
};

LanguageState g_language;

// The value as a path to an existing language file, DEFAULT_LANGUAGE, or
// empty when it names nothing usable (a folder counts as nothing).
void ResolveLanguageFile(const wchar_t* value, const wchar_t* folder, PathBuffer& result) {
  result[0] = L'\0';
  if (EqualsIgnoreAsciiCase(value, DEFAULT_LANGUAGE)) {
    CopyText(result, DEFAULT_LANGUAGE);
    return;
  }
  if (PathCombineW(result, folder, value) == nullptr) {
    result[0] = L'\0';
    return;
  }
  const DWORD attributes = GetFileAttributesW(result);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    result[0] = L'\0';
  }
}

// Reads LanguageFile from one root; values too long for a path count as
// absent.
bool ReadLanguageValue(HKEY root, TextBuffer& value) {
  return ReadRegistryText(root, OPTIONS_KEY, LANGUAGE_FILE_VALUE, value) &&
         CopyPathWithFallback(nullptr, value, L"");
}

}  // namespace

void GetLanguageFolder(PathBuffer& folder) {
  PathBuffer programFolder;
  if (!GetProgramFolder(programFolder) || PathCombineW(folder, programFolder, L"Lang") == nullptr) {
    CopyText(folder, L"Lang");
  }
}

void LoadLabels() {
  PathBuffer folder;
  GetLanguageFolder(folder);
  PathBuffer result = L"";
  TextBuffer value;
  if (ReadLanguageValue(HKEY_CURRENT_USER, value)) ResolveLanguageFile(value, folder, result);

  if (result[0] == L'\0') {
    // The user has no usable choice: inherit the machine's default, and keep
    // it as the user's own from now on.
    if (ReadLanguageValue(HKEY_LOCAL_MACHINE, value)) ResolveLanguageFile(value, folder, result);
    if (result[0] == L'\0') {
      CopyText(result, DEFAULT_LANGUAGE);
      CopyText(value, DEFAULT_LANGUAGE);
      WriteRegistryText(HKEY_LOCAL_MACHINE, OPTIONS_KEY, LANGUAGE_FILE_VALUE, value);
    }
    WriteRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, LANGUAGE_FILE_VALUE, value);
  }
  SetCurrentLanguageFile(result);
  ReloadLabels();
}

void ReloadLabels() {
  const bool english = EqualsIgnoreAsciiCase(g_language.currentFile, DEFAULT_LANGUAGE);
  for (int id = 0; id < LABEL_COUNT; ++id) {
    wchar_t* entry = LabelEntry(id);
    if (english) {
      CopyText(entry, TEXT_CAPACITY, EnglishDefault(id));
      continue;
    }
    wchar_t key[12];
    LabelKey(id, key);
    GetPrivateProfileStringW(LABELS_SECTION, key, EnglishDefault(id), entry, TEXT_CAPACITY,
                             g_language.currentFile);
  }
}

const wchar_t* CurrentLanguageFile() { return g_language.currentFile; }

void SetCurrentLanguageFile(const wchar_t* path) {
  if (!CopyText(g_language.currentFile, path)) CopyText(g_language.currentFile, DEFAULT_LANGUAGE);
}

void ReadTranslator(const wchar_t* path, TextBuffer& name, TextBuffer& mail) {
  GetPrivateProfileStringW(TRANSLATOR_SECTION, TRANSLATOR_NAME, L"", name, TEXT_CAPACITY, path);
  GetPrivateProfileStringW(TRANSLATOR_SECTION, TRANSLATOR_MAIL, L"", mail, TEXT_CAPACITY, path);
  TrimBlanks(name);
  TrimBlanks(mail);
}

bool SetLanguage(const wchar_t* path) {
  const wchar_t* value =
      EqualsIgnoreAsciiCase(path, DEFAULT_LANGUAGE) ? DEFAULT_LANGUAGE : PathFindFileNameW(path);
  if (!WriteRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, LANGUAGE_FILE_VALUE, value)) return false;
  SetCurrentLanguageFile(path);
  return true;
}

bool WriteEnglishLanguageFile(const wchar_t* path) {
  PathBuffer temporary;
  if (!ReserveFileBeside(path, temporary)) return false;
  bool written =
      WritePrivateProfileStringW(TRANSLATOR_SECTION, TRANSLATOR_NAME, MAKER_NAME, temporary) &&
      WritePrivateProfileStringW(TRANSLATOR_SECTION, TRANSLATOR_MAIL, MAKER_MAIL, temporary);
  for (const SetupText& setup : kSetupTexts) {
    written =
        written && WritePrivateProfileStringW(SETUP_SECTION, setup.key, setup.text, temporary);
  }
  for (int id = 0; id < LABEL_COUNT && written; ++id) {
    wchar_t key[12];
    LabelKey(id, key);
    written =
        WritePrivateProfileStringW(LABELS_SECTION, key, EnglishDefault(id), temporary) != FALSE;
  }
  // Flushes the profile cache before the file moves.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, temporary);
  bool blocked = false;
  if (written) return MoveIntoPlace(temporary, path, blocked);
  DeleteFileW(temporary);
  return false;
}
