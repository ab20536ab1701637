// ParseCommandLine on any text: the folder ends within its buffer, is a piece
// of the text, and is empty unless the form is Explore.
#include <cstdlib>

#include "app/command_line.h"
#include "tests/fuzz/fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::wstring text(WideText(std::string(data, data + size)).c_str());
  const CommandLine line = ParseCommandLine(text.c_str());
  const std::size_t length = TextLength(line.folder, PATH_CAPACITY);
  if (length == PATH_CAPACITY || text.find(line.folder) == std::wstring::npos) std::abort();
  if (line.form != CommandLineForm::Explore && length != 0) std::abort();
  return 0;
}
