#include <shlobj.h>

#include <string>

#include "settings/registry.h"
#include "settings/settings.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"

namespace {

constexpr const wchar_t* OPTIONS = L"Software\\Bluecrane\\Trimlet\\Options";
constexpr const wchar_t* LAYOUT = L"Software\\Bluecrane\\Trimlet\\Layout";

std::wstring PicturesTrimlet() {
  wchar_t path[MAX_PATH] = L"";
  SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, path);
  return std::wstring(path) + L"\\Trimlet";
}

// A folder for the test, removed again at the end.
struct TempFolder {
  std::wstring path;
  TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path = std::wstring(base) + L"TrimletSettingsTest";
    CreateDirectoryW(path.c_str(), nullptr);
  }
  ~TempFolder() { RemoveDirectoryW(path.c_str()); }
};

}  // namespace

TEST_SUITE("settings_store") {
  TEST_CASE("the first start creates both keys with all their values") {
    RegistrySandbox sandbox;
    LoadSettings();
    CHECK(std::wstring(Settings().options.DestinationFolder) == PicturesTrimlet());
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder").Text() ==
          PicturesTrimlet());
    CHECK(CountValues(HKEY_CURRENT_USER, OPTIONS) == 14);
    CHECK(CountValues(HKEY_CURRENT_USER, LAYOUT) == 8);
    const RawValue width = ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowWidth");
    CHECK(width.type == REG_DWORD);
    CHECK(width.Number() == 580);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioHeight").Number() == 2);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"LastUsedFolder").type == REG_SZ);
  }

  TEST_CASE("stored values that cannot be used are replaced, as numbers") {
    RegistrySandbox sandbox;
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioWidth", L"16");
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioHeight", 100000);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"MinimumImageHeight", 50);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioMode", 3);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"MinimumImageWidth", 120);
    LoadSettings();
    const Options& o = Settings().options;
    CHECK(o.ResizeRatioWidth == 3);
    CHECK(o.ResizeRatioHeight == 2);
    CHECK(o.MinimumImageHeight == 96);
    CHECK(o.ResizeRatioMode == 0);
    CHECK(o.MinimumImageWidth == 120);
    const RawValue width = ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioWidth");
    CHECK(width.type == REG_DWORD);
    CHECK(width.Number() == 3);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"MinimumImageHeight").Number() == 96);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"ResizeRatioMode").Number() == 0);
  }

  TEST_CASE("path limits and folders that no longer exist") {
    RegistrySandbox sandbox;
    const std::wstring fits = L"C:\\" + std::wstring(256, L'd');
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", fits);
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LastUsedFolder", L"C:\\No\\Such\\Folder");
    LoadSettings();
    CHECK(std::wstring(Settings().options.DestinationFolder) == fits);
    CHECK_TEXT(Settings().options.LastUsedFolder, L"");
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"LastUsedFolder").Text().empty());

    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", fits + L"e");
    TempFolder folder;
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"LastUsedFolder", folder.path);
    LoadSettings();
    CHECK(std::wstring(Settings().options.DestinationFolder) == PicturesTrimlet());
    CHECK(std::wstring(Settings().options.LastUsedFolder) == folder.path);
  }

  TEST_CASE("a save writes what changed, and only that") {
    RegistrySandbox sandbox;
    LoadSettings();
    Settings().layout.MainSplitterPosition = 321;
    Settings().options.ViewOnlyImages = true;
    CHECK(SaveSettings(false));
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainSplitterPosition").Number() == 321);
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"ViewOnlyImages").Number() == 1);

    // Letter case alone is not a change for the last used folder.
    TempFolder folder;
    CopyText(Settings().options.LastUsedFolder, folder.path.c_str());
    CHECK(SaveSettings(false));
    CharUpperW(Settings().options.LastUsedFolder);
    CHECK(SaveSettings(false));
    CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS, L"LastUsedFolder").Text() == folder.path);
  }

  TEST_CASE("a save with nothing changed opens no key") {
    RegistrySandbox sandbox;
    LoadSettings();
    // Every access to both keys is refused: any attempt would fail the save.
    DeniedKey options(HKEY_CURRENT_USER, OPTIONS, KEY_ALL_ACCESS);
    DeniedKey layout(HKEY_CURRENT_USER, LAYOUT, KEY_ALL_ACCESS);
    CHECK(SaveSettings(false));
    Settings().layout.OptionsSelectedTab = 2;
    CHECK_FALSE(SaveSettings(false));
  }

  TEST_CASE("a refused write fails the save and restores the stored position") {
    RegistrySandbox sandbox;
    LoadSettings();
    Settings().layout.MainSplitterPosition = 200;
    CHECK(SaveSettings(false));
    {
      DeniedKey readOnly(HKEY_CURRENT_USER, LAYOUT, KEY_SET_VALUE);
      Settings().layout.MainWindowLeft = 400;
      Settings().layout.MainWindowTop = 300;
      CHECK_FALSE(SaveSettings(false));
      CHECK(Settings().layout.MainWindowLeft == 10);
      CHECK(Settings().layout.MainWindowTop == 10);
      CHECK(Settings().layout.MainSplitterPosition == 200);
    }
    CHECK(ReadRawValue(HKEY_CURRENT_USER, LAYOUT, L"MainWindowLeft").Number() == 10);
  }

  TEST_CASE("a forced save by an administrator installs the Explorer verb") {
    RegistrySandbox sandbox;
    LoadSettings();
    REQUIRE(IsUserAnAdmin());  // Wine's prefix user is an administrator
    CopyText(Settings().ContextMenuText, L" Open in Trimlet ");
    CHECK(SaveSettings(true));
    CHECK(ReadRawValue(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet", L"").Text() ==
          L"Open in Trimlet");
    // The next start reads it back.
    LoadSettings();
    CHECK_TEXT(Settings().ContextMenuText, L"Open in Trimlet");
  }
}
