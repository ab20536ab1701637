// The Explorer verb's rules on any registration, executable path and key: no
// read or write outside the buffers, the command written for a path is read
// back as this program's, and removing key parts leaves a prefix with as many
// parts fewer.
#include <algorithm>
#include <cstdlib>
#include <cwchar>

#include "tests/fuzz/fuzz_text.h"
#include "ui/explorer_verb_rules.h"

static bool SamePath(const wchar_t* a, const wchar_t* b) { return std::wcscmp(a, b) == 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  VerbRegistration read;
  read.allRead = input.ConsumeBool();
  for (TextBuffer* text :
       {&read.directoryCaption, &read.driveCaption, &read.directoryCommand, &read.driveCommand}) {
    CopyText(*text, ConsumeText(input, TEXT_CAPACITY - 1).c_str());
    TrimBlanks(*text);
  }
  const int parts = input.ConsumeIntegralInRange(-1, 8);
  const std::wstring exe = ConsumeText(input, TEXT_CAPACITY);
  IsVerbConsistent(read, exe.c_str(), SamePath);

  // A path with quotes, blanks at its ends or the verb's argument in it is
  // not one Windows gives the program.
  VerbRegistration written = {true, L"Trimlet", L"Trimlet"};
  const bool plausible = exe.find(L'"') == std::wstring::npos &&
                         exe.find(L" /EXPLORE %1") == std::wstring::npos &&
                         (exe.empty() || (exe.front() != L' ' && exe.back() != L' '));
  if (BuildVerbCommand(exe.c_str(), written.directoryCommand) && plausible) {
    CopyText(written.driveCommand, written.directoryCommand);
    if (!IsVerbConsistent(written, exe.c_str(), SamePath)) std::abort();
  }

  TextBuffer key;
  if (!CopyText(key, exe.c_str())) return 0;
  RemoveLastKeyParts(key, parts);
  const auto count = static_cast<int>(std::count(exe.begin(), exe.end(), L'\\'));
  const std::wstring left = key;
  if (exe.compare(0, left.size(), left) != 0 ||
      std::count(left.begin(), left.end(), L'\\') != count - std::clamp(parts, 0, count)) {
    std::abort();
  }
  return 0;
}
