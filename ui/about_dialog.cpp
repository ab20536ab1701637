#include "ui/about_dialog.h"

#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "base/product.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/labels.h"
#include "ui/link_control.h"
#include "ui/message_box.h"
#include "ui/wait_cursor.h"

namespace {

constexpr DialogLabel kLabels[] = {
    {DIALOG_TITLE, LBL_ABOUT},
    {IDOK, LBL_CLOSE},
    {IDC_ABOUT_DEVELOPER_TEXT, LBL_DEVELOPED_BY},
    {IDC_ABOUT_ICONS_TEXT, LBL_ICONS_FROM},
    {IDC_ABOUT_SETUP_TEXT, LBL_INSTALL_TOOL},
    {IDC_ABOUT_JPEG_TEXT, LBL_JPEG_CODEC},
};

// The credits: fixed names, each a link to its web site.
struct Credit {
  int control;
  const wchar_t* name;
  const wchar_t* host;
};

constexpr Credit kCredits[] = {
    {IDC_ABOUT_DEVELOPER_LINK, MAKER_NAME, MAKER_WEB_HOST},
    {IDC_ABOUT_ICONS_LINK, L"Tango Project", L"tango.freedesktop.org"},
    {IDC_ABOUT_SETUP_LINK, L"NSIS", L"nsis.sourceforge.io"},
    {IDC_ABOUT_JPEG_LINK, L"libjpeg-turbo", L"libjpeg-turbo.org"},
};

// The file version of the version resource, "1.0.0.0"; false when it cannot
// be read.
bool ReadFileVersion(HINSTANCE instance, wchar_t* text, std::size_t capacity) {
  const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
  const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return false;
  // The system may write into the block it is asked about: a copy.
  std::vector<BYTE> block(SizeofResource(instance, found));
  std::memcpy(block.data(), data, block.size());
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      length != sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  std::swprintf(text, capacity, L"%u.%u.%u.%u", HIWORD(info->dwFileVersionMS),
                LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                LOWORD(info->dwFileVersionLS));
  return true;
}

// One run of the box: its bold font, deleted with it.
struct AboutRun {
  HFONT bold = nullptr;
};

void OnInitDialog(HWND dialog, AboutRun& run) {
  WaitCursor wait;
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
  font.lfWeight = FW_BOLD;
  run.bold = CreateFontIndirectW(&font);
  SetDialogLabels(dialog, kLabels);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  wchar_t version[48] = L"";
  if (!ReadFileVersion(instance, version, std::size(version))) CopyText(version, L"0.0.0.0");
  SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, FormatMessageLabel(LBL_VERSION, version));
  for (int control : {IDC_ABOUT_VERSION, IDC_ABOUT_DEVELOPER_LINK}) {
    SendDlgItemMessageW(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(run.bold), FALSE);
  }
  for (const Credit& credit : kCredits) {
    SetDlgItemTextW(dialog, credit.control, credit.name);
    MakeLink(GetDlgItem(dialog, credit.control));
  }
  CentreOnParent(dialog);
  SetFocus(GetDlgItem(dialog, IDOK));
}

void OpenCredit(HWND dialog, int control) {
  for (const Credit& credit : kCredits) {
    if (credit.control != control) continue;
    bool opened = false;
    {
      WaitCursor wait;
      opened = ShellOpen(credit.host, ShellTarget::Web);
    }
    if (!opened) ShowMessage(dialog, LabelText(LBL_WEB_URL_ERROR), MB_OK | MB_ICONERROR);
  }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    OnInitDialog(dialog, *KeepDialogData<AboutRun>(dialog, lParam));
    return FALSE;
  }
  AboutRun* run = DialogData<AboutRun>(dialog);
  if (run == nullptr) return FALSE;
  switch (message) {
    case WM_LINK_ACTIVATED:
      OpenCredit(dialog, static_cast<int>(wParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      return TRUE;
    case WM_NCDESTROY:
      // After the controls, which use it to the end.
      if (run->bold != nullptr) DeleteObject(run->bold);
      return FALSE;
  }
  return FALSE;
}

}  // namespace

void ShowAboutDialog(HWND owner) {
  AboutRun run;
  RunDialog(owner, IDD_ABOUT, AboutDialogProc, run);
}
