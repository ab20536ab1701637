#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "files/change_records.h"
#include "tests/support/wide_text.h"

// Records as the system lays them out: 4-byte aligned, names in UTF-16, the
// last one's next offset 0.
static std::vector<uint8_t> Records(const std::vector<std::pair<uint32_t, std::wstring>>& list) {
  std::vector<uint8_t> bytes;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const auto& [action, name] = list[i];
    const uint32_t nameBytes = 2 * static_cast<uint32_t>(name.size());
    const uint32_t size = (12 + nameBytes + 3) & ~3u;
    const uint32_t header[3] = {i + 1 < list.size() ? size : 0, action, nameBytes};
    const std::size_t start = bytes.size();
    bytes.resize(start + size);
    std::memcpy(&bytes[start], header, 12);
    for (std::size_t c = 0; c < name.size(); ++c) bytes[start + 12 + 2 * c] = name[c] & 0xFF;
  }
  return bytes;
}

static bool Changes(const std::vector<uint8_t>& bytes, std::size_t cut = 0) {
  return ChangesListedFile(
      bytes.data(), bytes.size() - cut, {L"a.jpg", std::wstring(259, L'x')},
      [](const wchar_t* a, const wchar_t* b) { return EqualsIgnoreAsciiCase(a, b); });
}

TEST_CASE("a listed file removed, rewritten or renamed away is a change; records stay in bounds") {
  for (uint32_t action : {CHANGE_REMOVED, CHANGE_MODIFIED, CHANGE_RENAMED_OLD_NAME}) {
    CHECK(Changes(Records({{CHANGE_ADDED, L"new.jpg"}, {action, L"A.JPG"}})));
  }
  CHECK_FALSE(Changes(Records(
      {{CHANGE_ADDED, L"a.jpg"}, {CHANGE_RENAMED_NEW_NAME, L"a.jpg"}, {CHANGE_REMOVED, L"c"}})));
  // Regression: an overflow (no bytes) was taken for no change.
  CHECK(Changes({}));
  // A record cut short ends the walk; a name is cut to 259 characters.
  CHECK_FALSE(Changes(Records({{CHANGE_ADDED, L"b"}, {CHANGE_REMOVED, L"a.jpg"}}), 4));
  CHECK(Changes(Records({{CHANGE_REMOVED, std::wstring(300, L'x')}})));
}
