// The registry layer, the settings store, the Explorer verb and the language
// files, against the real registry and files.
#include <shlobj.h>

#include <string>

#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "ui/english_labels.h"
#include "ui/explorer_verb.h"
#include "ui/labels.h"
#include "ui/language.h"

namespace {

constexpr const wchar_t* DIRECTORY = L"Directory\\shell\\Bluecrane.Trimlet";
constexpr const wchar_t* DRIVE = L"Drive\\shell\\Bluecrane.Trimlet";

std::wstring Value(HKEY root, const std::wstring& key, const wchar_t* name) {
  return ReadRawValue(root, key.c_str(), name).Text();
}

}  // namespace

TEST_CASE("registry texts are REG_SZ of at most 1023 characters; numbers are REG_DWORD") {
  RegistrySandbox sandbox;
  TextBuffer text;
  uint32_t number = 0;
  CHECK(WriteRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Name", L"abc"));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Name").type == REG_SZ);
  CHECK(ReadRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Name", text));
  CHECK_TEXT(text, L"abc");
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Long", std::wstring(1024, L'b'));
  CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Long", text));
  WriteRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
  CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, OPTIONS_KEY, L"Expand", text));
  CHECK(WriteRegistryNumber(OPTIONS_KEY, L"Number", 5));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"Number").type == REG_DWORD);
  CHECK(ReadRegistryNumber(OPTIONS_KEY, L"Number", 9, number));
  CHECK(number == 5);
}

// A refused write rolls back as the settings rules say (the native tests),
// and the Options dialog's refused save shows it through the real registry.
TEST_CASE("the first load writes its defaults back") {
  RegistrySandbox sandbox;
  LoadSettings(EXPLORER_VERB);
  wchar_t pictures[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures);
  CHECK(Value(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder") ==
        std::wstring(pictures) + L"\\Trimlet");
}

TEST_CASE("the Explorer verb: keys for folders and drives, read back, taken back when not whole") {
  RegistrySandbox sandbox;
  LoadSettings(EXPLORER_VERB);
  // The Options dialog's OK installs it; Wine's user is an administrator.
  REQUIRE(ReplaceOptions(Settings().options, L" Open in Trimlet "));
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  for (const std::wstring key : {DIRECTORY, DRIVE}) {
    CHECK(Value(HKEY_CLASSES_ROOT, key, L"") == L"Open in Trimlet");
    CHECK(Value(HKEY_CLASSES_ROOT, key + L"\\command", L"") ==
          L"\"" + std::wstring(exe) + L"\" /EXPLORE %1");
  }
  TextBuffer caption;
  CHECK(ReadVerb(caption));
  CHECK_TEXT(caption, L"Open in Trimlet");
  // One that cannot be finished is taken back.
  DeniedKey denied(HKEY_CLASSES_ROOT, (std::wstring(DRIVE) + L"\\command").c_str(), KEY_SET_VALUE);
  CopyText(caption, L"Open in Trimlet");
  CHECK_FALSE(WriteVerb(caption));
  CHECK_TEXT(caption, L"");
  CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, DIRECTORY));
  CHECK(Value(HKEY_CLASSES_ROOT, DRIVE, L"").empty());
}

TEST_CASE("a language file fills the labels; the machine's choice stands in for a gone file") {
  RegistrySandbox sandbox;
  ScratchFolder folder(L"TrimletLanguage");
  // An absolute value stands by itself, without the Lang folder.
  const std::wstring file = folder.File(L"fr.ini");
  WritePrivateProfileStringW(L"LABELS", L"0000", L"D'accord", file.c_str());
  WritePrivateProfileStringW(L"LABELS", L"0001", L"", file.c_str());
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile", folder.File(L"gone.ini"));
  WriteTextValue(HKEY_LOCAL_MACHINE, OPTIONS_KEY, L"LanguageFile", file);
  LoadLabels();
  CHECK(std::wstring(CurrentLanguageFile()) == file);
  CHECK_TEXT(LabelText(LBL_OK), L"D'accord");
  CHECK_TEXT(LabelText(LBL_CANCEL), L"");
  CHECK_TEXT(LabelText(LBL_WORKING), EnglishDefault(LBL_WORKING));
  CHECK(Value(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile") == file);
}

TEST_CASE("a language file that is binary, huge or a folder leaves the English texts") {
  RegistrySandbox sandbox;
  ScratchFolder folder(L"TrimletBadLanguage");
  // Ten megabytes of lines that are no labels, and bytes that are no text.
  std::string huge = "[LABELS]\n";
  while (huge.size() < 10 * 1024 * 1024) huge += "key=some text that is not a label\n";
  WriteTextFile(folder.File(L"huge.ini"), huge.c_str());
  WriteTextFile(folder.File(L"binary.ini"),
                (std::string(1 << 20, '\xC3') + "\x01[LABELS]").c_str());
  for (const wchar_t* name : {L"huge.ini", L"binary.ini", L""}) {
    SetCurrentLanguageFile(folder.File(name).c_str());
    ReloadLabels();
    CHECK_TEXT(LabelText(LBL_WORKING), EnglishDefault(LBL_WORKING));
  }
}
