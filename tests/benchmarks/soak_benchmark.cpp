// Save and go on, over and over, on the real Trimlet.exe: a small folder
// walked from the first picture to the last and back to the first, the
// destination emptied as it goes, with the program's handles, GDI objects
// and memory read from the process every so often. What matters is that
// they stay flat.
//   soak_benchmark [STEPS] [commands]    (10000 unless told)
// The steps are the keys a user presses, or with "commands" the menu
// commands posted as WM_COMMAND by another program, each as soon as the
// program has taken the one before.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_driver.h"

namespace {

constexpr int DEFAULT_STEPS = 10000;
constexpr int PICTURES = 5;

struct Figures {
  DWORD handles = 0;
  DWORD gdiObjects = 0;
  DWORD userObjects = 0;
  double workingSetMb = 0;
  double privateMb = 0;
};

Figures Read(DWORD processId) {
  Figures figures;
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  GetProcessHandleCount(process, &figures.handles);
  figures.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  figures.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                           sizeof(memory))) {
    figures.workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024 * 1024);
    figures.privateMb = static_cast<double>(memory.PrivateUsage) / (1024 * 1024);
  }
  CloseHandle(process);
  return figures;
}

void Print(int step, const Figures& figures) {
  std::printf("%8d %9lu %11lu %12lu %13.1f %12.1f\n", step, figures.handles, figures.gdiObjects,
              figures.userObjects, figures.workingSetMb, figures.privateMb);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int steps = argc > 1 ? std::atoi(argv[1]) : DEFAULT_STEPS;
  const bool commands = argc > 2 && std::string(argv[2]) == "commands";
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletSoakSource");
  ScratchFolder out(L"TrimletSoakOut");
  for (int i = 0; i < PICTURES; ++i) {
    const std::wstring name = L"p" + std::to_wstring(i) + L".jpg";
    WritePatternPicture(source.File(name.c_str()), 640, 480, L"image/jpeg");
  }
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.path);
  // The monitor would see nothing here; it stays on as a user has it.
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  if (!trimlet.WaitStatus(0, L"p0.jpg")) {
    std::printf("the program did not show the first picture\n");
    return 1;
  }
  std::printf("%d Save and go on steps on %d pictures of 640 x 480, by %s\n", steps, PICTURES,
              commands ? "posted commands" : "keys");
  std::printf("    step   handles GDI objects user objects working set MB  private MB\n");
  const Figures first = Read(trimlet.Id());
  Print(0, first);
  Figures last = first;
  int index = 0;
  for (int step = 1; step <= steps; ++step) {
    // Save and go on; at the last picture, back to the first.
    const bool more = index < PICTURES - 1;
    if (commands) {
      PostMessageW(trimlet.window, WM_COMMAND, more ? IDM_IMAGE_SAVE_NEXT : IDM_IMAGE_MOVE_FIRST,
                   0);
    } else {
      trimlet.Press({static_cast<WORD>(more ? VK_CONTROL : VK_MENU),
                     static_cast<WORD>(more ? VK_RIGHT : VK_UP)});
    }
    index = more ? index + 1 : 0;
    const std::wstring position = std::to_wstring(index + 1) + L" / " + std::to_wstring(PICTURES);
    if (!trimlet.WaitStatus(1, position)) {
      std::printf("step %d: the program did not come back (%s)\n", step,
                  IsWindowEnabled(trimlet.window) ? "enabled" : "disabled");
      if (std::getenv("SOAK_HOLD") != nullptr) Sleep(600000);
      for (HWND dialog : TopLevelWindows(trimlet.Id(), L"#32770")) {
        std::printf("  a dialog says: %ls\n", DialogTexts(dialog).c_str());
      }
      return 1;
    }
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(out.path, ignored)) {
      std::filesystem::remove(entry.path(), ignored);
    }
    if (step % (steps < 100 ? 1 : steps / 20) == 0 || step == steps) {
      last = Read(trimlet.Id());
      Print(step, last);
    }
  }
  std::printf("growth   %9ld %11ld %12ld %13.1f %12.1f\n",
              static_cast<long>(last.handles) - static_cast<long>(first.handles),
              static_cast<long>(last.gdiObjects) - static_cast<long>(first.gdiObjects),
              static_cast<long>(last.userObjects) - static_cast<long>(first.userObjects),
              last.workingSetMb - first.workingSetMb, last.privateMb - first.privateMb);
  if (first.handles == 0 && first.gdiObjects == 0) {
    std::printf(
        "(this system gives no handle or GDI object counts of a process: Wine answers 0)\n");
  }
  return trimlet.Close() == 0 ? 0 : 1;
}
