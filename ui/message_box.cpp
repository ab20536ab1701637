#include "ui/message_box.h"

#include "base/product.h"
#include "ui/labels.h"

int ShowMessage(HWND owner, const wchar_t* text, UINT type) {
  // A message ends any wait: the user is asked, nothing is running.
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  return MessageBoxW(owner, text, PRODUCT_NAME, type);
}

int ShowLabelMessage(HWND owner, int label, const wchar_t* argument, UINT type) {
  return ShowMessage(owner, FormatMessageLabel(label, argument), type);
}
