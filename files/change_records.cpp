#include "files/change_records.h"

#include <algorithm>
#include <cstring>

namespace {

// The fixed part of a record: next offset, action, name length in bytes.
constexpr std::size_t HEADER_BYTES = 12;
constexpr std::size_t NAME_CAPACITY = 259;

uint32_t ReadNumber(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, sizeof(value));
  return value;
}

}  // namespace

bool ChangesListedFile(const uint8_t* buffer, std::size_t bytes,
                       const std::vector<std::wstring>& listed, SameName same) {
  if (bytes == 0) return !listed.empty();
  std::size_t offset = 0;
  while (offset + HEADER_BYTES <= bytes) {
    const uint8_t* record = buffer + offset;
    const uint32_t next = ReadNumber(record);
    const uint32_t action = ReadNumber(record + 4);
    const std::size_t nameBytes = ReadNumber(record + 8);
    if (nameBytes > bytes - offset - HEADER_BYTES) return false;
    if (action == CHANGE_REMOVED || action == CHANGE_MODIFIED ||
        action == CHANGE_RENAMED_OLD_NAME) {
      // UTF-16 units, whatever the size of wchar_t where this is built.
      std::wstring name(std::min(nameBytes / 2, NAME_CAPACITY), L'\0');
      for (std::size_t i = 0; i < name.size(); ++i) {
        uint16_t unit;
        std::memcpy(&unit, record + HEADER_BYTES + 2 * i, sizeof(unit));
        name[i] = static_cast<wchar_t>(unit);
      }
      for (const std::wstring& file : listed) {
        if (same(file.c_str(), name.c_str())) return true;
      }
    }
    if (next == 0 || next > bytes - offset) return false;
    offset += next;
  }
  return false;
}
