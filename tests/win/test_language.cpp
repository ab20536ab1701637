#include <shlwapi.h>

#include <string>

#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "ui/english_labels.h"
#include "ui/labels.h"
#include "ui/language.h"

namespace {

constexpr const wchar_t* OPTIONS = L"Software\\Bluecrane\\Trimlet\\Options";

// The "Lang" folder beside the test executable, with the files a test puts
// there; all removed again at the end.
struct LangFolder {
  std::wstring path;

  LangFolder() {
    PathBuffer folder;
    GetLanguageFolder(folder);
    path = folder;
    CreateDirectoryW(path.c_str(), nullptr);
  }
  ~LangFolder() {
    for (const wchar_t* name : {L"fr.ini", L"de.ini", L"empty.ini"}) {
      DeleteFileW(File(name).c_str());
    }
    RemoveDirectoryW(File(L"sub").c_str());
    RemoveDirectoryW(path.c_str());
  }
  std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
  void Write(const wchar_t* name, const wchar_t* section, const wchar_t* key,
             const std::wstring& value) const {
    WritePrivateProfileStringW(section, key, value.c_str(), File(name).c_str());
  }
};

std::wstring UserValue() {
  return ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile").Text();
}
std::wstring MachineValue() {
  return ReadRawValue(HKEY_LOCAL_MACHINE, OPTIONS, L"LanguageFile").Text();
}

}  // namespace

TEST_SUITE("language") {
  TEST_CASE("the language folder is Lang beside the executable") {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    PathRemoveFileSpecW(exe);
    PathBuffer folder;
    GetLanguageFolder(folder);
    CHECK(std::wstring(folder) == std::wstring(exe) + L"\\Lang");
  }

  TEST_CASE("<default> in any case means English and writes nothing") {
    RegistrySandbox sandbox;
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"<DEFAULT>");
    LoadLabels();
    CHECK_TEXT(CurrentLanguageFile(), L"<default>");
    CHECK_TEXT(LabelText(LBL_OK), L"OK");
    CHECK(UserValue() == L"<DEFAULT>");
    CHECK_FALSE(ReadRawValue(HKEY_LOCAL_MACHINE, OPTIONS, L"LanguageFile").exists);
  }

  TEST_CASE("the machine's choice stands in for a user's file that is gone") {
    RegistrySandbox sandbox;
    LangFolder lang;
    lang.Write(L"fr.ini", L"LABELS", L"0000", L"D'accord");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"deleted.ini");
    WriteTextValue(HKEY_LOCAL_MACHINE, OPTIONS, L"LanguageFile", L"fr.ini");
    LoadLabels();
    CHECK(std::wstring(CurrentLanguageFile()) == lang.File(L"fr.ini"));
    CHECK_TEXT(LabelText(LBL_OK), L"D'accord");
    CHECK_TEXT(LabelText(LBL_CANCEL), L"Cancel");
    CHECK(UserValue() == L"fr.ini");
  }

  TEST_CASE("when nothing resolves both keys fall back to English") {
    RegistrySandbox sandbox;
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"deleted.ini");
    LoadLabels();
    CHECK_TEXT(CurrentLanguageFile(), L"<default>");
    CHECK(UserValue() == L"<default>");
    CHECK(MachineValue() == L"<default>");

    RegistrySandbox empty;
    LoadLabels();
    CHECK(UserValue() == L"<default>");
    CHECK(MachineValue() == L"<default>");
  }

  TEST_CASE("a folder, an over-long value or a wrong type counts as missing") {
    RegistrySandbox sandbox;
    LangFolder lang;
    CreateDirectoryW(lang.File(L"sub").c_str(), nullptr);
    lang.Write(L"de.ini", L"LABELS", L"0001", L"Abbrechen");
    WriteTextValue(HKEY_LOCAL_MACHINE, OPTIONS, L"LanguageFile", L"de.ini");

    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"sub");
    LoadLabels();
    CHECK(std::wstring(CurrentLanguageFile()) == lang.File(L"de.ini"));

    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", std::wstring(260, L'x'));
    LoadLabels();
    CHECK_TEXT(LabelText(LBL_CANCEL), L"Abbrechen");
    CHECK(UserValue() == L"de.ini");

    WriteRawValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", REG_EXPAND_SZ, L"fr.ini", 14);
    WriteTextValue(HKEY_LOCAL_MACHINE, OPTIONS, L"LanguageFile", L"sub");
    LoadLabels();
    CHECK_TEXT(CurrentLanguageFile(), L"<default>");
    CHECK_TEXT(LabelText(LBL_CANCEL), L"Cancel");
  }

  TEST_CASE("an empty key gives an empty label, a missing key the English one") {
    RegistrySandbox sandbox;
    LangFolder lang;
    lang.Write(L"fr.ini", L"LABELS", L"0006", L"");
    lang.Write(L"fr.ini", L"LABELS", L"0117", L"Droits");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"fr.ini");
    LoadLabels();
    CHECK_TEXT(LabelText(6), L"");
    CHECK_TEXT(LabelText(7), EnglishDefault(7));
    CHECK_TEXT(LabelText(117), L"Droits");
  }

  TEST_CASE("labels are cut to 1023 characters; a file without labels gives English") {
    RegistrySandbox sandbox;
    LangFolder lang;
    lang.Write(L"fr.ini", L"LABELS", L"0010", std::wstring(1500, L'z'));
    lang.Write(L"empty.ini", L"TRANSLATOR", L"TranslatorName", L"Nobody");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"fr.ini");
    LoadLabels();
    CHECK(std::wstring(LabelText(10)) == std::wstring(1023, L'z'));

    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", L"empty.ini");
    LoadLabels();
    for (int id = 0; id < LABEL_COUNT; ++id) {
      CAPTURE(id);
      CHECK_TEXT(LabelText(id), EnglishDefault(id));
    }
  }

  TEST_CASE("an absolute value stands by itself") {
    RegistrySandbox sandbox;
    wchar_t file[MAX_PATH];
    GetTempPathW(MAX_PATH, file);
    lstrcatW(file, L"trimlet-absolute.ini");
    WritePrivateProfileStringW(L"LABELS", L"0000", L"Absolut", file);
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LanguageFile", file);
    LoadLabels();
    CHECK_TEXT(LabelText(LBL_OK), L"Absolut");
    DeleteFileW(file);
    // A file that disappears before a reload simply gives the English texts.
    ReloadLabels();
    CHECK_TEXT(LabelText(LBL_OK), L"OK");
  }
}
