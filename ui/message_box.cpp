#include "ui/message_box.h"

#include "ui/labels.h"

int ShowMessage(HWND owner, const wchar_t* text, UINT type) {
  return MessageBoxW(owner, text, L"Trimlet", type);
}

int ShowLabelMessage(HWND owner, int label, const wchar_t* argument, UINT type) {
  return ShowMessage(owner, FormatMessageLabel(label, argument), type);
}
