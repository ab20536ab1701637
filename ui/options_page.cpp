#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <iterator>

#include "resources/resource.h"
#include "settings/settings_rules.h"
#include "ui/dialog_helpers.h"
#include "ui/options_pages.h"
#include "ui/options_rules.h"

namespace {

// Every number edit of the pages and its range.
struct NumberField {
  int edit;
  uint32_t minimum;
  uint32_t maximum;
};

}  // namespace

HWND CreatePage(HWND tab, int templateId, DLGPROC procedure, OptionsEdit& edit) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(tab, GWLP_HINSTANCE));
  const HWND page = CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), tab, procedure,
                                       reinterpret_cast<LPARAM>(&edit));
  if (page != nullptr) SetWindowLongPtrW(page, GWLP_ID, templateId);
  return page;
}

void InitNumberField(HWND page, int editId, int spinId, uint32_t minimum, uint32_t maximum,
                     uint32_t value) {
  const HWND spin = GetDlgItem(page, spinId);
  // The 32-bit messages: 99999 does not fit the classic 16-bit range.
  SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(page, editId)), 0);
  SendMessageW(spin, UDM_SETRANGE32, minimum, maximum);
  SendMessageW(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
  SendDlgItemMessageW(page, editId, EM_LIMITTEXT, 5, 0);  // "99999"
  SetDlgItemInt(page, editId, value, FALSE);
}

uint32_t ReadNumberField(HWND page, int editId, uint32_t minimum, uint32_t maximum) {
  wchar_t text[16] = L"";
  GetDlgItemTextW(page, editId, text, static_cast<int>(std::size(text)));
  const uint32_t value = ClampTypedNumber(text, minimum, maximum);
  wchar_t held[16];
  std::swprintf(held, std::size(held), L"%u", value);
  if (std::wcscmp(held, text) != 0) SetDlgItemTextW(page, editId, held);
  return value;
}

bool HandlePageMessage(HWND page, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (HandlePageBackground(page, message, wParam, lParam, result)) return true;
  if (message != WM_COMMAND || HIWORD(wParam) != EN_KILLFOCUS) return false;
  static constexpr NumberField kFields[] = {
      {IDC_OPT_FOLDERS_MIN_WIDTH, MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX},
      {IDC_OPT_FOLDERS_MIN_HEIGHT, MINIMUM_IMAGE_SIDE_MIN, MINIMUM_IMAGE_SIDE_MAX},
      {IDC_OPT_EDITOR_RATIO_WIDTH, RATIO_TERM_MIN, RATIO_TERM_MAX},
      {IDC_OPT_EDITOR_RATIO_HEIGHT, RATIO_TERM_MIN, RATIO_TERM_MAX},
  };
  for (const NumberField& field : kFields) {
    if (LOWORD(wParam) == field.edit && GetDlgItem(page, field.edit) != nullptr) {
      ReadNumberField(page, field.edit, field.minimum, field.maximum);
    }
  }
  result = TRUE;
  return true;
}
