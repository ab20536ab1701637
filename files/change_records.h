// The change records that the system hands a folder watcher, read safely.
// Pure, so that any bytes can be given to it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Record actions, as the system numbers them.
enum ChangeAction : uint32_t {
  CHANGE_ADDED = 1,
  CHANGE_REMOVED = 2,
  CHANGE_MODIFIED = 3,
  CHANGE_RENAMED_OLD_NAME = 4,
  CHANGE_RENAMED_NEW_NAME = 5,
};

using SameName = bool (*)(const wchar_t* a, const wchar_t* b);

// True when the records in the first `bytes` bytes of `buffer` remove,
// rewrite or rename away one of the `listed` file names (compared with
// `same`). Names are cut to 259 characters; a record that reaches past the
// bytes ends the walk. No bytes at all means the system lost the changes:
// any of the listed files may have changed.
bool ChangesListedFile(const uint8_t* buffer, std::size_t bytes,
                       const std::vector<std::wstring>& listed, SameName same);
