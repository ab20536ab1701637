// Registry helpers for tests: a known starting state, raw values, and keys
// whose security refuses chosen kinds of access.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Removes every key the program may write (its keys under the user's and the
// machine's software, and its Explorer verbs) on construction and again on
// destruction, so that each test starts from nothing and leaves nothing.
class RegistrySandbox {
 public:
  RegistrySandbox();
  ~RegistrySandbox();
};

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;

  std::wstring Text() const;
  DWORD Number() const;
};

RawValue ReadRawValue(HKEY root, const wchar_t* keyPath, const wchar_t* name);
void WriteTextValue(HKEY root, const wchar_t* keyPath, const wchar_t* name,
                    const std::wstring& text);
void WriteNumberValue(HKEY root, const wchar_t* keyPath, const wchar_t* name, DWORD value);
bool KeyExists(HKEY root, const wchar_t* keyPath);

// Creates the key (if needed) and denies everybody the given access to it
// until destroyed; the owner can always put the security back.
class DeniedKey {
 public:
  DeniedKey(HKEY root, const wchar_t* keyPath, REGSAM denied);
  ~DeniedKey();
  DeniedKey(const DeniedKey&) = delete;
  DeniedKey& operator=(const DeniedKey&) = delete;

 private:
  HKEY root_;
  std::wstring path_;
};
