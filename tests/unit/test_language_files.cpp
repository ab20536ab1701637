// The shipped translations against the English table: every label and
// set-up text there, the same placeholders, nothing empty that English
// fills, and no access keys, which the English texts do not have either.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tests/support/wide_text.h"
#include "ui/english_labels.h"
#include "ui/labels.h"

namespace {

using Sections = std::map<std::string, std::map<std::string, std::string>>;

// The file's sections and keys, the values as their UTF-8 bytes.
Sections ReadIni(const std::filesystem::path& path) {
  Sections sections;
  std::ifstream file(path);
  std::string line;
  std::string section;
  while (std::getline(file, line)) {
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
    } else if (const auto equals = line.find('='); equals != std::string::npos) {
      sections[section][line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return sections;
}

int Count(const std::string& text, const char* part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

}  // namespace

TEST_CASE("every shipped language file has every text, with the English placeholders") {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TRIMLET_LANG_DIR)) {
    CAPTURE(entry.path().filename().string());
    ++files;
    Sections ini = ReadIni(entry.path());
    CHECK_FALSE(ini["TRANSLATOR"]["TranslatorName"].empty());
    REQUIRE(ini["LABELS"].size() == LABEL_COUNT);
    for (int id = 0; id < LABEL_COUNT; ++id) {
      wchar_t key[12];
      LabelKey(id, key);
      const std::string& text = ini["LABELS"][Narrow(key)];
      const std::string english = Narrow(EnglishDefault(id));  // placeholders are ASCII
      CAPTURE(id);
      CHECK(text.empty() == english.empty());
      for (const char* placeholder : {"%1", "%2", "&"}) {
        CHECK(Count(text, placeholder) == Count(english, placeholder));
      }
    }
    REQUIRE(ini["SETUP"].size() == SETUP_TEXT_COUNT);
    for (const SetupText& setup : kSetupTexts) {
      const std::string& text = ini["SETUP"][Narrow(setup.key)];
      CHECK_FALSE(text.empty());
      // The installer's records hold 29 characters (UTF-8 lead bytes).
      CHECK(std::count_if(text.begin(), text.end(),
                          [](unsigned char c) { return (c & 0xC0) != 0x80; }) <= 29);
    }
  }
  CHECK(files >= 2);
}
