// The release as a user gets it: the installer run silently, the installed
// program started, an upgrade, and the uninstaller.
#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <set>
#include <string>

#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"
#include "trimlet_version.h"

namespace {

constexpr DWORD TIMEOUT = Trimlet::TIMEOUT;
constexpr const wchar_t* UNINSTALL_KEY =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Bluecrane.Trimlet";
constexpr const wchar_t* VERSION = L"" TRIMLET_VERSION_TEXT;

std::wstring KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  SHGetKnownFolderPath(id, 0, nullptr, &path);
  const std::wstring folder = path != nullptr ? path : L"";
  CoTaskMemFree(path);
  return folder;
}

// The files under a folder, by their paths relative to it.
std::set<std::wstring> Files(const std::wstring& folder) {
  std::set<std::wstring> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files.insert(std::filesystem::relative(entry.path(), folder).wstring());
    }
  }
  return files;
}

}  // namespace

TEST_CASE(
    "the installer puts the program, its manual, shortcuts and uninstall entry in place; "
    "an upgrade keeps the settings; the uninstaller leaves nothing") {
  RegistrySandbox sandbox;
  const std::wstring release = ProgramBesideTests(L"release");
  const std::wstring setup = release + L"\\Trimlet-" + VERSION + L"-setup.exe";
  REQUIRE(PathFileExistsW(setup.c_str()));
  // Wine knows no folder for the user's programs; Windows puts it there.
  std::wstring programFiles = KnownFolder(FOLDERID_UserProgramFiles);
  if (programFiles.empty()) programFiles = KnownFolder(FOLDERID_LocalAppData) + L"\\Programs";
  const std::wstring folder = programFiles + L"\\Trimlet";
  const std::wstring programs = KnownFolder(FOLDERID_Programs) + L"\\Trimlet";
  const std::wstring shortcuts[] = {KnownFolder(FOLDERID_Desktop) + L"\\Trimlet.lnk",
                                    programs + L"\\Trimlet.lnk", programs + L"\\User's manual.lnk",
                                    programs + L"\\Uninstall.lnk"};
  REQUIRE_FALSE(PathFileExistsW(folder.c_str()));

  // For the current user: no administrator needed.
  REQUIRE(Trimlet(L"/S", false, setup).WaitForExit() == 0);
  std::set<std::wstring> expected = Files(release + L"\\Trimlet");
  expected.insert(L"Uninstall.exe");
  CHECK(Files(folder) == expected);
  for (const std::wstring& shortcut : shortcuts) CHECK(PathFileExistsW(shortcut.c_str()));
  const std::pair<const wchar_t*, std::wstring> entry[] = {
      {L"DisplayName", L"Trimlet"},
      {L"DisplayVersion", VERSION},
      {L"UninstallString", L"\"" + folder + L"\\Uninstall.exe\" /CurrentUser"}};
  for (const auto& [name, value] : entry) {
    CHECK(ReadRawValue(HKEY_CURRENT_USER, UNINSTALL_KEY, name).Text() == value);
  }

  // The installed program runs; a first start asks for the source folder.
  // Cancel leaves the window empty, and F3 without a destination says so.
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", L"");
  Trimlet installed(L"", true, folder + L"\\Trimlet.exe");
  REQUIRE(installed.window != nullptr);
  CHECK_FALSE(installed.Answer(L"Select", IDCANCEL).empty());
  REQUIRE(installed.WaitIdle());
  installed.Press({VK_F3});
  CHECK(installed.Answer(L"not been specified", IDOK) ==
        L"The destination folder has not been specified. Please select it in the options.|OK");
  CHECK(installed.Close() == 0);

  // An upgrade over the installation keeps what the user set.
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", L"C:\\Crops");
  REQUIRE(Trimlet(L"/S", false, setup).WaitForExit() == 0);
  CHECK(Files(folder) == expected);
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder").Text() == L"C:\\Crops");

  // The uninstaller runs from a copy of itself, which ends when all is gone.
  WriteTextValue(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet", L"", L"Open");
  WriteNumberValue(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct", L"Kept", 1);
  REQUIRE(Trimlet(L"/CurrentUser /S", false, folder + L"\\Uninstall.exe").WaitForExit() == 0);
  CHECK(WaitUntil([&] { return !PathFileExistsW(folder.c_str()); }, TIMEOUT));
  CHECK(WaitUntil([&] { return !KeyExists(HKEY_CURRENT_USER, UNINSTALL_KEY); }, TIMEOUT));
  for (const std::wstring& shortcut : shortcuts) CHECK_FALSE(PathFileExistsW(shortcut.c_str()));
  CHECK_FALSE(PathFileExistsW(programs.c_str()));
  // Trimlet.exe /UNINSTALL ran: the program's settings and verb went, and
  // nothing else.
  CHECK_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet"));
  CHECK_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane\\Trimlet"));
  CHECK_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet"));
  CHECK(KeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane\\OtherProduct"));
}
