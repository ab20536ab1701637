// Small registry layer: texts and 32-bit numbers, key tests and deletions.
// Texts are REG_SZ written without their terminator; a value of another type,
// or a text of more than 1023 characters, reads as absent.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/text.h"

// Key of the options, under both HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
constexpr const wchar_t* OPTIONS_KEY = L"Software\\Bluecrane\\Trimlet\\Options";
// Key of the window layout, under HKEY_CURRENT_USER.
constexpr const wchar_t* LAYOUT_KEY = L"Software\\Bluecrane\\Trimlet\\Layout";

bool ReadRegistryText(HKEY root, const wchar_t* keyPath, const wchar_t* valueName,
                      TextBuffer& text);
bool WriteRegistryText(HKEY root, const wchar_t* keyPath, const wchar_t* valueName,
                       const wchar_t* text);

// Numbers live under HKEY_CURRENT_USER. When the value is absent `value`
// takes `fallback` and the result is false.
bool ReadRegistryNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t fallback,
                        uint32_t& value);
bool WriteRegistryNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t value);

bool RegistryKeyExists(HKEY root, const wchar_t* keyPath);

// Deletes a key with everything under it; the platform's error code.
LSTATUS DeleteRegistryTree(HKEY root, const wchar_t* keyPath);
// Deletes a key only when it has no subkeys and no values; the platform's
// error code.
LSTATUS DeleteEmptyRegistryKey(HKEY root, const wchar_t* keyPath);
