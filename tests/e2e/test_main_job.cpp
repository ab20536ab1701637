// The main job, as a user does it: open a folder, save and go on through
// every picture, answer the overwrite question, switch to view-only; then
// check every file written against the source pictures.
#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/wide_text.h"
#include "tests/support/window_driver.h"

namespace gdi = Gdiplus::DllExports;

namespace {

constexpr const wchar_t* MAIN_CLASS = L"Bluecrane.Trimlet.MainWindow";
constexpr const wchar_t* DIALOG_CLASS = L"#32770";
constexpr const wchar_t* OPTIONS = L"Software\\Bluecrane\\Trimlet\\Options";
constexpr DWORD TIMEOUT = 30000;

// The samples and the selection each one starts with at the default 3:2:
// the largest centred rectangle of that ratio, turned to the picture.
struct Expected {
  const wchar_t* name;
  int x, y, width, height;
  int tolerance;  // mean difference per channel allowed (JPEG)
};

const Expected kExpected[] = {
    {L"house.bmp", 0, 20, 480, 320, 0},   {L"landscape.jpg", 0, 0, 1200, 800, 6},
    {L"pattern.gif", 0, 26, 640, 427, 0}, {L"portrait.jpg", 0, 0, 800, 1200, 6},
    {L"square.jpg", 0, 150, 900, 600, 6},
};

std::wstring SamplesFolder() {
  std::wstring path = TRIMLET_SAMPLES;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  // Built on Linux and run under Wine: the root is drive Z.
  if (!path.empty() && path[0] == L'\\') path = L"Z:" + path;
  return path;
}

bool FileExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }

int CountFiles(const std::wstring& folder, const wchar_t* pattern) {
  int count = 0;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) ++count;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return count;
}

struct Picture {
  Gdiplus::GpBitmap* bitmap = nullptr;
  explicit Picture(const std::wstring& path) {
    gdi::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
  }
  ~Picture() {
    if (bitmap != nullptr) gdi::GdipDisposeImage(bitmap);
  }
  UINT Width() const {
    UINT value = 0;
    gdi::GdipGetImageWidth(bitmap, &value);
    return value;
  }
  UINT Height() const {
    UINT value = 0;
    gdi::GdipGetImageHeight(bitmap, &value);
    return value;
  }
  Gdiplus::ARGB Pixel(int x, int y) const {
    Gdiplus::ARGB colour = 0;
    gdi::GdipBitmapGetPixel(bitmap, x, y, &colour);
    return colour;
  }
};

// Mean absolute difference per channel between the crop and the source
// region, over a grid of sample points.
double CropDifference(const Picture& crop, const Picture& source, const Expected& expected) {
  double total = 0;
  int samples = 0;
  for (int y = 0; y < expected.height; y += 7) {
    for (int x = 0; x < expected.width; x += 7) {
      const Gdiplus::ARGB a = crop.Pixel(x, y);
      const Gdiplus::ARGB b = source.Pixel(expected.x + x, expected.y + y);
      for (int shift : {0, 8, 16}) {
        total +=
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
      }
      samples += 3;
    }
  }
  return total / samples;
}

std::string Magic(const std::wstring& path) {
  char bytes[4] = {};
  DWORD read = 0;
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ReadFile(file, bytes, 4, &read, nullptr);
  CloseHandle(file);
  return std::string(bytes, read);
}

// The program in front, ready for the next key: no dialog of its own open.
bool Idle(const ProgramRun& run);

// Waits until the folder named in the title is loaded and its first picture
// shown; the main window, or null.
HWND WaitForLoadedFolder(const ProgramRun& run, const std::wstring& title) {
  const HWND main = WaitForWindow(run.Id(), MAIN_CLASS, TIMEOUT);
  if (main == nullptr) return nullptr;
  wchar_t shown[512] = L"";
  const bool loaded = WaitUntil(
      [&] {
        SendMessageW(main, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(shown));
        return title == shown && Idle(run);
      },
      TIMEOUT);
  CAPTURE(Narrow(shown));
  CHECK(loaded);
  return loaded ? main : nullptr;
}

bool Idle(const ProgramRun& run) { return TopLevelWindows(run.Id(), DIALOG_CLASS).empty(); }

// Brings the window to the front as a click on it would, then types. Without
// a window manager the test bed does not always give the activation back to
// the main window when one of its dialogs closes.
void Press(HWND window, std::initializer_list<WORD> keys) {
  const DWORD target = GetWindowThreadProcessId(window, nullptr);
  AttachThreadInput(GetCurrentThreadId(), target, TRUE);
  SetForegroundWindow(window);
  SetActiveWindow(window);
  AttachThreadInput(GetCurrentThreadId(), target, FALSE);
  Sleep(100);
  PressKeys(keys);
}

HWND WaitForQuestion(const ProgramRun& run) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> boxes = TopLevelWindows(run.Id(), DIALOG_CLASS);
        for (HWND candidate : boxes) {
          if (DialogTexts(candidate).find(L"already exists") != std::wstring::npos) box = candidate;
        }
        return box != nullptr;
      },
      TIMEOUT);
  return box;
}

}  // namespace

TEST_SUITE("main_job") {
  TEST_CASE("save and go on through a folder; overwrite, rename, cancel; view-only saves nothing") {
    RegistrySandbox sandbox;
    GdiplusSession gdiplus;
    ScratchFolder source(L"TrimletJobSource");
    ScratchFolder out(L"TrimletJobOut");
    const std::wstring samples = SamplesFolder();
    for (const wchar_t* name : {L"house.bmp", L"landscape.jpg", L"pattern.gif", L"portrait.jpg",
                                L"square.jpg", L"tiny.jpg"}) {
      REQUIRE(CopyFileW((samples + L"\\" + name).c_str(), source.File(name).c_str(), FALSE));
    }
    const std::wstring destination = out.File(L"crops");
    WriteTextValue(HKEY_CURRENT_USER, OPTIONS, L"DestinationFolder", destination);
    WriteNumberValue(HKEY_CURRENT_USER, OPTIONS, L"StartupAskFolder", 0);

    const std::wstring title = L"Trimlet - " + source.path;
    auto run = std::make_unique<ProgramRun>(ProgramBesideTests(L"Trimlet.exe"),
                                            L"/EXPLORE \"" + source.path + L"\"");
    HWND main = WaitForLoadedFolder(*run, title);
    REQUIRE(main != nullptr);

    // First pass: Save and go on through every picture, Save on the last.
    int saved = 0;
    for (const Expected& expected : kExpected) {
      const bool last = &expected == &kExpected[std::size(kExpected) - 1];
      Press(main, last ? std::initializer_list<WORD>{VK_CONTROL, 'S'}
                       : std::initializer_list<WORD>{VK_CONTROL, VK_RIGHT});
      const std::wstring written = destination + L"\\" + expected.name;
      CHECK(WaitUntil([&] { return FileExists(written) && Idle(*run); }, TIMEOUT));
      ++saved;
    }
    CHECK(CountFiles(destination, L"*.*") == saved);
    for (const Expected& expected : kExpected) {
      CAPTURE(Narrow(expected.name));
      const Picture crop(destination + L"\\" + expected.name);
      const Picture original(source.File(expected.name));
      REQUIRE(crop.bitmap != nullptr);
      CHECK(crop.Width() == static_cast<UINT>(expected.width));
      CHECK(crop.Height() == static_cast<UINT>(expected.height));
      CHECK(CropDifference(crop, original, expected) <= expected.tolerance + 0.5);
    }
    CHECK(Magic(destination + L"\\house.bmp").substr(0, 2) == "BM");
    CHECK(Magic(destination + L"\\pattern.gif") == "GIF8");
    CHECK(Magic(destination + L"\\landscape.jpg").substr(0, 2) == "\xFF\xD8");

    // Second pass, started again on the first picture: Yes overwrites, No
    // (the default, so Enter) makes a new name, Cancel saves nothing.
    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run->WaitForExit(TIMEOUT) == 0);
    run = std::make_unique<ProgramRun>(ProgramBesideTests(L"Trimlet.exe"),
                                       L"/EXPLORE \"" + source.path + L"\"");
    main = WaitForLoadedFolder(*run, title);
    REQUIRE(main != nullptr);
    Press(main, {VK_CONTROL, 'S'});
    HWND question = WaitForQuestion(*run);
    REQUIRE(question != nullptr);
    CHECK(DialogTexts(question).find(destination + L"\\house.bmp") != std::wstring::npos);
    PressKeys({'Y'});
    CHECK(WaitUntil([&] { return Idle(*run); }, TIMEOUT));
    CHECK(CountFiles(destination, L"*.*") == saved);

    Press(main, {VK_CONTROL, VK_RIGHT});
    question = WaitForQuestion(*run);
    REQUIRE(question != nullptr);
    PressKeys({VK_RETURN});
    CHECK(WaitUntil([&] { return CountFiles(destination, L"*.bmp") == 2 && Idle(*run); }, TIMEOUT));

    Press(main, {VK_CONTROL, 'S'});
    question = WaitForQuestion(*run);
    REQUIRE(question != nullptr);
    PressKeys({VK_ESCAPE});
    CHECK(WaitUntil([&] { return Idle(*run); }, TIMEOUT));
    CHECK(CountFiles(destination, L"*.*") == saved + 1);

    // View-only: the save commands are greyed, so Ctrl+S asks nothing.
    Press(main, {VK_SPACE});
    WaitUntil([&] { return Idle(*run); }, TIMEOUT);
    Press(main, {VK_CONTROL, 'S'});
    Sleep(1000);
    CHECK(Idle(*run));
    CHECK(CountFiles(destination, L"*.*") == saved + 1);

    PostMessageW(main, WM_CLOSE, 0, 0);
    CHECK(run->WaitForExit(TIMEOUT) == 0);
  }
}
