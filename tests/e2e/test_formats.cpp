// PNG, TIFF and .jpeg pictures as a user meets them: a folder of them lists
// nothing until the option is on, and the empty list says why and opens the
// option; then they list with the others, a TIFF turned by its tag, and each
// crop keeps its format. check_format_crops.py reads the crops back with
// ImageMagick.
#include <windows.h>
#include <commctrl.h>
#include <doctest/doctest.h>

#include <filesystem>

#include "resources/resource.h"
#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_driver.h"

TEST_CASE("more formats: the empty list's hint opens their option; PNG, TIFF and .jpeg pictures "
          "listed with the others and saved in their own formats") {
  RegistrySandbox sandbox;
  GdiplusSession gdiplus;
  ScratchFolder source(L"TrimletFormats");
  const std::filesystem::path out = ProgramBesideTests(L"formats-out");
  std::filesystem::remove_all(out);
  // Made by make_e2e_pictures.py: a TIFF stored 500 x 400 and tagged a
  // quarter right, its IFD0 after the pixels.
  REQUIRE(CopyFileW(ProgramBesideTests(L"pictures\\sideways_6.tif").c_str(),
                    source.File(L"scan.tif").c_str(), FALSE));
  REQUIRE(WritePicture(source.File(L"shot.png"), 400, 300, 0x80FF0000, L"image/png"));
  REQUIRE(WritePatternPicture(source.File(L"photo.jpeg"), 600, 400, L"image/jpeg"));
  WriteTextValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"DestinationFolder", out.wstring());
  WriteNumberValue(HKEY_CURRENT_USER, LAYOUT_KEY, L"OptionsSelectedTab", 1);

  // A click on the empty list's line opens the Options on the Folders page.
  Trimlet trimlet(L"/EXPLORE \"" + source.path + L"\"");
  REQUIRE(trimlet.WaitIdle());
  trimlet.Drag(trimlet.Child(IDC_FILE_LIST), {30, 12}, {30, 12});
  const HWND dialog = trimlet.WaitDialog(L"Also list PNG and TIFF pictures");
  REQUIRE(dialog != nullptr);
  const HWND tabs = GetDlgItem(dialog, IDC_OPT_TABS);
  CHECK(SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 0);
  PostMessageW(GetDlgItem(GetDlgItem(tabs, IDD_OPTIONS_FOLDERS), IDC_OPT_FOLDERS_MORE_FORMATS),
               BM_CLICK, 0, 0);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);

  // Listed by name (photo.jpeg, scan.tif, shot.png), the TIFF upright; each
  // saved, and read back by check_format_crops.py.
  REQUIRE(trimlet.WaitStatus(1, L"1 / 3"));
  CHECK(ReadRawValue(HKEY_CURRENT_USER, OPTIONS_KEY, L"ListMoreFormats").Number() == 1);
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitStatus(0, L"scan.tif"));
  CHECK(trimlet.Status(2) == L"400 x 500");
  trimlet.Press({VK_CONTROL, VK_RIGHT});
  REQUIRE(trimlet.WaitStatus(0, L"shot.png"));
  trimlet.Press({VK_CONTROL, 'S'});
  CHECK(trimlet.WaitIdle());
}
