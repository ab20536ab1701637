#include "tests/support/registry_sandbox.h"

#include <sddl.h>
#include <shlwapi.h>

#include <cwchar>

namespace {

void SetKeySecurity(HKEY root, const wchar_t* keyPath, const wchar_t* sddl) {
  HKEY key = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  RegOpenKeyExW(root, keyPath, 0, WRITE_DAC, &key);
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr);
  RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  RegCloseKey(key);
}

void ClearProductRegistry() {
  SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Bluecrane");
  SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Bluecrane");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Directory\\shell\\Bluecrane.Trimlet");
  SHDeleteKeyW(HKEY_CLASSES_ROOT, L"Drive\\shell\\Bluecrane.Trimlet");
}

}  // namespace

RegistrySandbox::RegistrySandbox() { ClearProductRegistry(); }
RegistrySandbox::~RegistrySandbox() { ClearProductRegistry(); }

std::wstring RawValue::Text() const {
  const std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2);
  return text.substr(0, text.find(L'\0'));
}

DWORD RawValue::Number() const {
  return data.size() == sizeof(DWORD) ? *reinterpret_cast<const DWORD*>(data.data()) : 0;
}

RawValue ReadRawValue(HKEY root, const wchar_t* keyPath, const wchar_t* name) {
  RawValue value;
  DWORD size = 8192;
  value.data.resize(size);
  // A text without its terminator comes back with one.
  const bool exists = RegGetValueW(root, keyPath, name, RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                                   value.data.data(), &size) == ERROR_SUCCESS;
  value.data.resize(exists ? size : 0);
  return value;
}

void WriteTextValue(HKEY root, const wchar_t* keyPath, const wchar_t* name,
                    const std::wstring& text) {
  RegSetKeyValueW(root, keyPath, name, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void WriteNumberValue(HKEY root, const wchar_t* keyPath, const wchar_t* name, DWORD value) {
  RegSetKeyValueW(root, keyPath, name, REG_DWORD, &value, sizeof(value));
}

bool KeyExists(HKEY root, const wchar_t* keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

DeniedKey::DeniedKey(HKEY root, const wchar_t* keyPath, REGSAM denied)
    : root_(root), path_(keyPath) {
  HKEY key = nullptr;
  RegCreateKeyExW(root, keyPath, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key, nullptr);
  RegCloseKey(key);
  wchar_t sddl[64];
  std::swprintf(sddl, 64, L"D:(D;;0x%lx;;;WD)(A;;KA;;;WD)", static_cast<unsigned long>(denied));
  SetKeySecurity(root, keyPath, sddl);
}

DeniedKey::~DeniedKey() { SetKeySecurity(root_, path_.c_str(), L"D:(A;;KA;;;WD)"); }
