#include <string>

#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "ui/explorer_verb.h"

namespace {

constexpr const wchar_t* DIRECTORY = L"Directory\\shell\\Bluecrane.Trimlet";
constexpr const wchar_t* DRIVE = L"Drive\\shell\\Bluecrane.Trimlet";
constexpr const wchar_t* DIRECTORY_COMMAND = L"Directory\\shell\\Bluecrane.Trimlet\\command";
constexpr const wchar_t* DRIVE_COMMAND = L"Drive\\shell\\Bluecrane.Trimlet\\command";

std::wstring ExePath() {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring DefaultValue(const wchar_t* key) {
  return ReadRawValue(HKEY_CLASSES_ROOT, key, L"").Text();
}

void Register(const std::wstring& directoryCaption, const std::wstring& driveCaption,
              const std::wstring& command) {
  WriteTextValue(HKEY_CLASSES_ROOT, DIRECTORY, L"", directoryCaption);
  WriteTextValue(HKEY_CLASSES_ROOT, DRIVE, L"", driveCaption);
  WriteTextValue(HKEY_CLASSES_ROOT, DIRECTORY_COMMAND, L"", command);
  WriteTextValue(HKEY_CLASSES_ROOT, DRIVE_COMMAND, L"", command);
}

bool NoVerbLeft() {
  return !KeyExists(HKEY_CLASSES_ROOT, DIRECTORY) && !KeyExists(HKEY_CLASSES_ROOT, DRIVE);
}

}  // namespace

TEST_SUITE("explorer_verb") {
  TEST_CASE("writing a caption registers the verb for folders and drives") {
    RegistrySandbox sandbox;
    TextBuffer caption = L"  Open in Trimlet  ";
    CHECK(WriteVerb(caption));
    CHECK_TEXT(caption, L"Open in Trimlet");
    const std::wstring command = L"\"" + ExePath() + L"\" /EXPLORE %1";
    CHECK(DefaultValue(DIRECTORY) == L"Open in Trimlet");
    CHECK(DefaultValue(DRIVE) == L"Open in Trimlet");
    CHECK(DefaultValue(DIRECTORY_COMMAND) == command);
    CHECK(DefaultValue(DRIVE_COMMAND) == command);

    TextBuffer read;
    CHECK(ReadVerb(read));
    CHECK_TEXT(read, L"Open in Trimlet");

    TextBuffer blanks = L"   ";
    CHECK(WriteVerb(blanks));
    CHECK(NoVerbLeft());
    TextBuffer nothing = L"";
    CHECK(WriteVerb(nothing));
  }

  TEST_CASE("a registration that is not ours, or not whole, is removed when read") {
    RegistrySandbox sandbox;
    TextBuffer caption;
    Register(L"Open", L"Open", L"\"C:\\Elsewhere\\Trimlet.exe\" /EXPLORE %1");
    CHECK_FALSE(ReadVerb(caption));
    CHECK_TEXT(caption, L"");
    CHECK(NoVerbLeft());

    Register(L"Open", L"Open here", L"\"" + ExePath() + L"\" /EXPLORE %1");
    CHECK_FALSE(ReadVerb(caption));
    CHECK(NoVerbLeft());

    Register(L"Open", L"Open", L"\"" + ExePath() + L"\" %1");
    CHECK_FALSE(ReadVerb(caption));
    CHECK(NoVerbLeft());

    Register(L"Open", L"Open", L"\"" + ExePath() + L"\" /EXPLORE %1");
    ClearProductRegistry();
    WriteTextValue(HKEY_CLASSES_ROOT, DIRECTORY, L"", L"Open");
    WriteTextValue(HKEY_CLASSES_ROOT, DIRECTORY_COMMAND, L"",
                   L"\"" + ExePath() + L"\" /EXPLORE %1");
    CHECK_FALSE(ReadVerb(caption));
    CHECK(NoVerbLeft());
  }

  TEST_CASE("an unquoted path in another case still matches") {
    RegistrySandbox sandbox;
    std::wstring path = ExePath();
    CharUpperW(path.data());
    Register(L"  Crop  ", L"Crop", path + L" /EXPLORE %1");
    TextBuffer caption;
    CHECK(ReadVerb(caption));
    CHECK_TEXT(caption, L"Crop");
  }

  TEST_CASE("a registration that cannot be finished is taken back") {
    RegistrySandbox sandbox;
    DeniedKey denied(HKEY_CLASSES_ROOT, DRIVE_COMMAND, KEY_SET_VALUE);
    TextBuffer caption = L"Open in Trimlet";
    CHECK_FALSE(WriteVerb(caption));
    CHECK_TEXT(caption, L"");
    CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, DIRECTORY));
    CHECK(DefaultValue(DRIVE).empty());
  }

  TEST_CASE("the uninstall clean-up removes the product and keeps the maker's other products") {
    RegistrySandbox sandbox;
    WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet\\Layout", L"MainWindowLeft",
                     5);
    WriteTextValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet\\Options", L"LanguageFile",
                   L"<default>");
    WriteTextValue(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet\\Options", L"LanguageFile",
                   L"<default>");
    WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct", L"Kept", 1);
    TextBuffer caption = L"Open in Trimlet";
    REQUIRE(WriteVerb(caption));

    CHECK(UninstallCleanup());
    CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet"));
    CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane"));
    CHECK(ReadRawValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct", L"Kept").exists);
    CHECK(NoVerbLeft());
    // A second run finds nothing to do and succeeds.
    CHECK(UninstallCleanup());
  }
}
