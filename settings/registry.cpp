#include "settings/registry.h"

#include <shlwapi.h>

#include <cwchar>

namespace {

// Closes the key on every path.
class OpenKey {
 public:
  OpenKey(HKEY root, const wchar_t* path, REGSAM access) {
    if (RegOpenKeyExW(root, path, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  OpenKey(HKEY root, const wchar_t* path) {
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool SetValue(HKEY root, const wchar_t* keyPath, const wchar_t* valueName, DWORD type,
              const void* data, DWORD size) {
  OpenKey key(root, keyPath);
  if (key.get() == nullptr) return false;
  return RegSetValueExW(key.get(), valueName, 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

}  // namespace

bool ReadRegistryText(HKEY root, const wchar_t* keyPath, const wchar_t* valueName,
                      TextBuffer& text) {
  text[0] = L'\0';
  OpenKey key(root, keyPath, KEY_QUERY_VALUE);
  if (key.get() == nullptr) return false;
  // One unit more than a text may have, so that a value of 1024 characters
  // stored without its terminator is told apart from one of 1023.
  wchar_t data[TEXT_CAPACITY + 1];
  DWORD type = 0;
  DWORD size = sizeof(data) - sizeof(wchar_t);
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(data),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  DWORD length = size / sizeof(wchar_t);
  data[length] = L'\0';
  return CopyText(text, data);
}

bool WriteRegistryText(HKEY root, const wchar_t* keyPath, const wchar_t* valueName,
                       const wchar_t* text) {
  const DWORD size = static_cast<DWORD>(std::wcslen(text) * sizeof(wchar_t));
  return SetValue(root, keyPath, valueName, REG_SZ, text, size);
}

bool ReadRegistryNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t fallback,
                        uint32_t& value) {
  value = fallback;
  OpenKey key(HKEY_CURRENT_USER, keyPath, KEY_QUERY_VALUE);
  if (key.get() == nullptr) return false;
  DWORD type = 0;
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (RegQueryValueExW(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(&data),
                       &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(data)) {
    return false;
  }
  value = data;
  return true;
}

bool WriteRegistryNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t value) {
  const DWORD data = value;
  return SetValue(HKEY_CURRENT_USER, keyPath, valueName, REG_DWORD, &data, sizeof(data));
}

bool RegistryKeyExists(HKEY root, const wchar_t* keyPath) {
  return OpenKey(root, keyPath, KEY_QUERY_VALUE).get() != nullptr;
}

LSTATUS DeleteRegistryTree(HKEY root, const wchar_t* keyPath) {
  return static_cast<LSTATUS>(SHDeleteKeyW(root, keyPath));
}

LSTATUS DeleteEmptyRegistryKey(HKEY root, const wchar_t* keyPath) {
  return static_cast<LSTATUS>(SHDeleteEmptyKeyW(root, keyPath));
}
