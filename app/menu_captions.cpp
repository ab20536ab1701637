#include "app/menu_captions.h"

#include "app/menu_keys.h"
#include "resources/resource.h"
#include "ui/labels.h"

namespace {

// Item data 0 means "no label yet", so a label is stored as its id + 1.
constexpr ULONG_PTR LABEL_DATA_BIAS = 1;

void CaptionItems(HMENU menu, bool shellMenu) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    wchar_t text[64] = L"";
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_DATA | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING | MIIM_ID;
    item.dwTypeData = text;
    item.cch = 64;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item)) continue;
    if ((item.fType & MFT_SEPARATOR) != 0) continue;
    if (shellMenu && item.wID != IDM_IMAGE_SHELL_MENU_EMPTY) continue;
    const int label = item.dwItemData != 0 ? static_cast<int>(item.dwItemData - LABEL_DATA_BIAS)
                                           : MenuKeyLabel(text);
    if (item.hSubMenu != nullptr) CaptionItems(item.hSubMenu, label == LBL_SYSTEM_COMMANDS);
    if (label >= 0) CaptionMenuItem(menu, static_cast<UINT>(position), label);
  }
}

}  // namespace

void CaptionMenu(HMENU menu) { CaptionItems(menu, false); }

void CaptionMenuItem(HMENU menu, UINT position, int label) {
  MENUITEMINFOW caption = {};
  caption.cbSize = sizeof(caption);
  caption.fMask = MIIM_DATA | MIIM_STRING;
  caption.dwItemData = static_cast<ULONG_PTR>(label) + LABEL_DATA_BIAS;
  caption.dwTypeData = const_cast<wchar_t*>(LabelText(label));
  SetMenuItemInfoW(menu, position, TRUE, &caption);
}
