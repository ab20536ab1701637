#include "tests/support/registry_sandbox.h"

#include <sddl.h>
#include <shlwapi.h>

#include <cstring>
#include <cwchar>

namespace {

void SetKeySecurity(HKEY root, const wchar_t* keyPath, const wchar_t* sddl) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                           nullptr)) {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
  }
  RegCloseKey(key);
}

constexpr const wchar_t* ALLOW_ALL = L"D:(A;;KA;;;WD)";

}  // namespace

RegistrySandbox::RegistrySandbox() { ClearProductRegistry(); }
RegistrySandbox::~RegistrySandbox() { ClearProductRegistry(); }

void ClearProductRegistry() {
  SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Bluecrane");
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Drive\\shell\\Bluecrane.Trimlet");
}

std::wstring RawValue::Text() const {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

DWORD RawValue::Number() const {
  DWORD value = 0;
  if (data.size() == sizeof(value)) std::memcpy(&value, data.data(), sizeof(value));
  return value;
}

RawValue ReadRawValue(HKEY root, const wchar_t* keyPath, const wchar_t* name) {
  RawValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size);
    value.exists = RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size) ==
                   ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return value;
}

void WriteRawValue(HKEY root, const wchar_t* keyPath, const wchar_t* name, DWORD type,
                   const void* data, DWORD size) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void WriteTextValue(HKEY root, const wchar_t* keyPath, const wchar_t* name,
                    const std::wstring& text) {
  WriteRawValue(root, keyPath, name, REG_SZ, text.c_str(),
                static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteNumberValue(HKEY root, const wchar_t* keyPath, const wchar_t* name, DWORD value) {
  WriteRawValue(root, keyPath, name, REG_DWORD, &value, sizeof(value));
}

bool KeyExists(HKEY root, const wchar_t* keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

int CountValues(HKEY root, const wchar_t* keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return -1;
  DWORD count = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return static_cast<int>(count);
}

DeniedKey::DeniedKey(HKEY root, const wchar_t* keyPath, REGSAM denied)
    : root_(root), path_(keyPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key, nullptr) ==
      ERROR_SUCCESS) {
    RegCloseKey(key);
  }
  wchar_t sddl[64];
  std::swprintf(sddl, 64, L"D:(D;;0x%lx;;;WD)(A;;KA;;;WD)", static_cast<unsigned long>(denied));
  SetKeySecurity(root, keyPath, sddl);
}

DeniedKey::~DeniedKey() { SetKeySecurity(root_, path_.c_str(), ALLOW_ALL); }
