// Faults from outside, met as a user meets them: each leaves the program
// working, says what went wrong, and loses nothing: the source's files stay
// as they were, the destination holds the old file or the whole new one, and
// no temporary file is left.
#include <windows.h>

#include <filesystem>
#include <string>

#include "settings/registry.h"
#include "tests/support/bytes.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().wstring());
  }
  return names;
}

}  // namespace

TEST_CASE(
    "a full or read-only destination: the crop is refused, an old crop stays, nothing is left") {
  const std::wstring full = ProgramBesideTests(L"wine\\small-disk");
  const std::wstring readOnly = ProgramBesideTests(L"wine\\read-only-disk");
  ULARGE_INTEGER total = {};
  GetDiskFreeSpaceExW(full.c_str(), nullptr, &total, nullptr);
  if (total.QuadPart == 0 || total.QuadPart > 4 * 1024 * 1024) {
    MESSAGE("not run: no small file system is mounted at ", Narrow(full));
    return;
  }
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletFullSource");
  // Its crop, 1200 x 800 at 24 bits, takes 2.8 MB of the small disk's 1 MB.
  REQUIRE(WritePatternPicture(source.File(L"p.bmp"), 1200, 900, L"image/bmp"));
  const Bytes picture = ReadAll(source.File(L"p.bmp"));
  // The read-only disk came with its old crop; the full one gets one here.
  const std::string old = "the crop saved before";
  WriteTextFile(full + L"\\p.bmp", old.c_str());
  for (const std::wstring& destination : {full, readOnly}) {
    CAPTURE(Narrow(destination));
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", destination);
    Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
    REQUIRE(trimlet.WaitStatus(2, L"1200 x 900"));
    trimlet.Press({VK_CONTROL, 'S'});
    REQUIRE(!trimlet.Answer(L"already exists", IDYES).empty());
    CHECK(!trimlet.Answer(L"Error saving image", IDOK).empty());
    CHECK(Names(destination) == std::vector<std::wstring>{L"p.bmp"});
    CHECK(ReadAll(destination + L"\\p.bmp") == Bytes(old.begin(), old.end()));
    if (destination == full) {
      // Without an old file, nothing at all is left.
      DeleteFileW((destination + L"\\p.bmp").c_str());
      trimlet.Press({VK_CONTROL, 'S'});
      CHECK(!trimlet.Answer(L"Error saving image", IDOK).empty());
      CHECK(Names(destination).empty());
    }
    CHECK((trimlet.WaitIdle() && trimlet.Status(2) == L"1200 x 900"));
  }
  CHECK(ReadAll(source.File(L"p.bmp")) == picture);
}
