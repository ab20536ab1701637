// Faults from outside, met as a user meets them: each leaves the program
// working, says what went wrong, and loses nothing: the source's files stay
// as they were, the destination holds the old file or the whole new one, and
// no temporary file is left.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace {

std::string Bytes(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::trunc) << bytes;
}

std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().wstring());
  }
  return names;
}

// Started on the folder, its first picture shown.
struct Started {
  explicit Started(const ScratchFolder& source, const wchar_t* first)
      : trimlet(L"/EXPLORE \"" + source.path + L"\"") {
    REQUIRE(trimlet.WaitStatus(0, first));
  }
  // The message box the last command brought said `text`; taken with OK.
  bool Says(const wchar_t* text) {
    return !trimlet.Answer(text, IDOK).empty() && trimlet.WaitIdle();
  }
  Trimlet trimlet;
};

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
  const std::string picture = Bytes(source.File(L"p.bmp"));
  // The read-only disk came with its old crop; the full one gets one here.
  WriteBytes(full + L"\\p.bmp", "the crop saved before");
  for (const std::wstring& destination : {full, readOnly}) {
    CAPTURE(Narrow(destination));
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", destination);
    Started started(source, L"p.bmp");
    started.trimlet.Press({VK_CONTROL, 'S'});
    REQUIRE(!started.trimlet.Answer(L"already exists", IDYES).empty());
    CHECK(started.Says(L"Error saving image"));
    CHECK(Names(destination) == std::vector<std::wstring>{L"p.bmp"});
    CHECK(Bytes(destination + L"\\p.bmp") == "the crop saved before");
    if (destination == full) {
      // Without an old file, nothing at all is left.
      DeleteFileW((destination + L"\\p.bmp").c_str());
      started.trimlet.Press({VK_CONTROL, 'S'});
      CHECK(started.Says(L"Error saving image"));
      CHECK(Names(destination).empty());
    }
    CHECK(started.trimlet.Status(2) == L"1200 x 900");
  }
  CHECK(Bytes(source.File(L"p.bmp")) == picture);
}

// Unwatched, the changes stay unnoticed until each picture is shown. (A
// picture that no longer decodes is told in process, when decoded ahead.)
TEST_CASE("pictures that change after the listing: too large to decode, deleted") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletChangedSource");
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) {
    REQUIRE(WritePatternPicture(source.File(name), 320, 240, L"image/jpeg"));
  }
  WriteNumberValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"NotifySourceChanges", 0);
  Started started(source, L"a.jpg");
  Trimlet& trimlet = started.trimlet;
  // The same JPEG, its frame header saying 30000 x 20000: a decode would
  // need 2.4 GB.
  std::string huge = Bytes(source.File(L"a.jpg"));
  const std::size_t frame = huge.find("\xFF\xC0");
  REQUIRE(frame != std::string::npos);
  WriteBytes(source.File(L"b.jpg"), huge.replace(frame + 5, 4, "\x4E\x20\x75\x30"));
  REQUIRE(DeleteFileW(source.File(L"c.jpg").c_str()));
  for (const wchar_t* message : {L"Error loading image", L"does not exist"}) {
    CAPTURE(Narrow(message));
    trimlet.Press({VK_MENU, VK_RIGHT});
    CHECK(started.Says(message));
    // Nothing is shown, so nothing can be saved under the picture's name.
    CHECK_FALSE(ButtonEnabled(trimlet.window, IDC_TB_SAVE_ONLY));
  }
  // The program goes on: the first picture again.
  trimlet.Press({VK_MENU, VK_UP});
  CHECK(trimlet.WaitStatus(2, L"320 x 240"));
}

TEST_CASE("the source folder deleted while its pictures load: the program goes on") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletMovedSource");
  // Forty photo-sized pictures: a load long enough to be interrupted.
  for (int i = 0; i < 40; ++i) {
    const std::wstring name = L"p" + std::to_wstring(100 + i) + L".jpg";
    REQUIRE(WritePatternPicture(source.File(name.c_str()), 2400, 1800, L"image/jpeg"));
  }
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  // Once a picture is listed its bar shows: the folder goes while the walk
  // is under way.
  const HWND loading = trimlet.WaitDialog(L"Loading folder's images");
  REQUIRE(loading != nullptr);
  const HWND bar = GetDlgItem(loading, IDC_BUSY_PROGRESS);
  REQUIRE(WaitUntil([&] { return SendMessageW(bar, PBM_GETPOS, 0, 0) > 0; }, Trimlet::TIMEOUT));
  // A folder with a file open in it cannot always go at once.
  REQUIRE(WaitUntil(
      [&] {
        std::error_code error;
        std::filesystem::remove_all(source.path, error);
        return !error;
      },
      5000));
  // The pictures listed cannot be shown: the first says so, and the program
  // answers again.
  CHECK(!trimlet.Answer(L"\" does not exist", IDOK).empty());
  CHECK(trimlet.WaitIdle());
  CHECK(trimlet.Close() == 0);
}
