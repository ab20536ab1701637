// The Language dialog of the real Trimlet.exe: opened after the file of the
// language in use was deleted, another language, a new English language file
// to translate, and English again at once.
#include <windows.h>
#include <dlgs.h>
#include <shlwapi.h>

#include <memory>
#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t text[256] = L"";
  GetPrivateProfileStringW(section, key, L"(none)", text, 256, file.c_str());
  return text;
}

}  // namespace

TEST_CASE("Language: the file in use deleted, German picked, a new English file, English again") {
  RegistrySandbox sandbox;
  ScratchFolder out(L"TrimletLanguage");
  const std::wstring gone = ProgramBesideTests(L"Lang\\Gone.ini");
  // Gone even when the test fails: the release is made from this folder.
  const std::unique_ptr<const std::wstring, void (*)(const std::wstring*)> removed(
      &gone, [](const std::wstring* path) { DeleteFileW(path->c_str()); });
  REQUIRE(CopyFileW(ProgramBesideTests(L"Lang\\Deutsch.ini").c_str(), gone.c_str(), FALSE));
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"StartupAskFolder", 0);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LastUsedFolder", out.path);
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile", L"Gone.ini");
  Trimlet trimlet(L"");
  REQUIRE(trimlet.WaitStatus(0, L"Kein Bild ausgew\u00E4hlt"));

  // The file of the language in use deleted, its texts stay, and the dialog
  // opens on what is left. The list has the focus; "Deutsch" sorts first.
  REQUIRE(DeleteFileW(gone.c_str()));
  trimlet.Press({VK_CONTROL, 'L'});
  HWND dialog = trimlet.WaitDialog(L"Sprache w\u00E4hlen");
  REQUIRE(dialog != nullptr);
  trimlet.Press({VK_HOME}, dialog);
  CHECK(DialogTexts(dialog).find(L"Bluecrane") != std::wstring::npos);
  PressKeys({VK_RETURN});
  REQUIRE(trimlet.WaitIdle());
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"LanguageFile").Text() == L"Deutsch.ini");

  // Its link writes the English texts, whatever the language in use, to the
  // file picked: in the folder used last, its extension added.
  trimlet.Press({VK_CONTROL, 'L'});
  dialog = trimlet.WaitDialog(L"Sprache w\u00E4hlen");
  REQUIRE(dialog != nullptr);
  const HWND picker = trimlet.OpenPicker(GetDlgItem(dialog, IDC_LANGUAGE_CREATE_LINK),
                                         L"\u00DCbersetzungsdateien (*.ini)");
  REQUIRE(picker != nullptr);
  const std::wstring file = out.File(L"New.ini");
  const HWND name = GetDlgItem(picker, GetDlgItem(picker, cmb13) != nullptr ? cmb13 : edt1);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"New"));
  PostMessageW(picker, WM_COMMAND, IDOK, 0);
  CHECK(WaitUntil([&] { return PathFileExistsW(file.c_str()) && !IsWindow(picker); },
                  Trimlet::TIMEOUT));
  CHECK(Profile(file, L"TRANSLATOR", L"TranslatorName") == L"Bluecrane");
  CHECK(Profile(file, L"LABELS", L"0077") == L"No image selected");

  // English, second in the list, at once.
  trimlet.Press({VK_HOME}, dialog);
  PressKeys({VK_DOWN});
  PressKeys({VK_RETURN});
  CHECK(trimlet.WaitStatus(0, L"No image selected"));
  CHECK(trimlet.Close() == 0);
}
