#include "ui/labels.h"

#include "base/text.h"

namespace {

struct LabelState {
  TextBuffer table[LABEL_COUNT];
  wchar_t message[MESSAGE_CAPACITY];
  wchar_t prompt[PROMPT_CAPACITY];
};

LabelState g_labels;

bool IsLabelId(int id) { return static_cast<unsigned>(id) < static_cast<unsigned>(LABEL_COUNT); }

}  // namespace

const wchar_t* LabelText(int id) { return IsLabelId(id) ? g_labels.table[id] : L""; }

wchar_t* LabelEntry(int id) { return IsLabelId(id) ? g_labels.table[id] : nullptr; }

void LabelKey(int id, wchar_t* key) { FormatDecimal(key, static_cast<unsigned>(id), 4); }

const wchar_t* FormatMessageLabel(int id, const wchar_t* argument) {
  ReplaceAll(L"%1", LabelText(id), argument, g_labels.message, MESSAGE_CAPACITY);
  return g_labels.message;
}

const wchar_t* FormatLabelWithArgument(int id, const wchar_t* argument) {
  // The line feed goes into the label first: a "%2" in a file name is text.
  ReplaceAll(L"%2", LabelText(id), L"\n", g_labels.prompt, PROMPT_CAPACITY);
  ReplaceAll(L"%1", g_labels.prompt, argument, g_labels.prompt, PROMPT_CAPACITY);
  return g_labels.prompt;
}
