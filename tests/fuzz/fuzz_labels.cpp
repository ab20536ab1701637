// A label as a language file fills it (cut to the entry, as the profile
// reader does), formatted with any argument: the message is the label with
// each "%1" replaced, or the label itself when that does not fit, and the
// prompt ends within its buffer.
#include <cstdlib>

#include "base/text.h"
#include "tests/fuzz/fuzz_text.h"
#include "ui/labels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const int id = input.ConsumeIntegralInRange(-1, static_cast<int>(LABEL_COUNT));
  if (wchar_t* entry = LabelEntry(id)) {
    CopyText(entry, TEXT_CAPACITY, ConsumeText(input, TEXT_CAPACITY - 1).c_str());
  }
  const std::wstring argument = ConsumeText(input, PROMPT_CAPACITY);
  const std::wstring label = LabelText(id);
  std::wstring expected;
  for (std::size_t at = 0; at < label.size();) {
    const bool placeholder = label.compare(at, 2, L"%1") == 0;
    expected += placeholder ? argument : label.substr(at, 1);
    at += placeholder ? 2 : 1;
  }
  if (expected.size() >= MESSAGE_CAPACITY) expected = label;
  if (FormatMessageLabel(id, argument.c_str()) != expected) std::abort();
  const wchar_t* prompt = FormatLabelWithArgument(id, argument.c_str());
  if (TextLength(prompt, PROMPT_CAPACITY) == PROMPT_CAPACITY) std::abort();
  return 0;
}
