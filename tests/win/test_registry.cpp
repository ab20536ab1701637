#include <string>

#include "settings/registry.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/wide_text.h"

namespace {
constexpr const wchar_t* KEY = L"Software\\Bluecrane\\Trimlet\\Options";
}

TEST_SUITE("registry") {
  TEST_CASE("texts are REG_SZ and read with or without a terminator") {
    RegistrySandbox sandbox;
    // The byte count handed over leaves the terminator out; the system adds it
    // back when the next character in memory is one, so the stored size
    // cannot show it.
    CHECK(WriteRegistryText(HKEY_CURRENT_USER, KEY, L"Name", L"abc"));
    const RawValue raw = ReadRawValue(HKEY_CURRENT_USER, KEY, L"Name");
    CHECK(raw.type == REG_SZ);
    CHECK(raw.Text() == L"abc");

    TextBuffer text;
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Name", text));
    CHECK_TEXT(text, L"abc");
    WriteTextValue(HKEY_CURRENT_USER, KEY, L"Name", L"with terminator");
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Name", text));
    CHECK_TEXT(text, L"with terminator");
    // An odd byte count keeps the whole characters only.
    WriteRawValue(HKEY_CURRENT_USER, KEY, L"Name", REG_SZ, L"xy", 3);
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Name", text));
    CHECK_TEXT(text, L"x");
    CHECK(WriteRegistryText(HKEY_CURRENT_USER, KEY, L"Empty", L""));
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Empty", text));
    CHECK_TEXT(text, L"");
  }

  TEST_CASE("a text of more than 1023 characters reads as absent") {
    RegistrySandbox sandbox;
    const std::wstring fits(1023, L'a');
    const std::wstring tooLong(1024, L'b');
    TextBuffer text;
    CHECK(WriteRegistryText(HKEY_CURRENT_USER, KEY, L"Fits", fits.c_str()));
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Fits", text));
    CHECK(std::wstring(text) == fits);
    WriteTextValue(HKEY_CURRENT_USER, KEY, L"FitsWithTerminator", fits);
    CHECK(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"FitsWithTerminator", text));
    CHECK(std::wstring(text) == fits);
    // Without its terminator 1024 characters fill the buffer exactly.
    CHECK(WriteRegistryText(HKEY_CURRENT_USER, KEY, L"Long", tooLong.c_str()));
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Long", text));
    CHECK_TEXT(text, L"");
    WriteTextValue(HKEY_CURRENT_USER, KEY, L"LongWithTerminator", tooLong);
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"LongWithTerminator", text));
  }

  TEST_CASE("values of the wrong type or size read as absent") {
    RegistrySandbox sandbox;
    TextBuffer text;
    WriteRawValue(HKEY_CURRENT_USER, KEY, L"Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Expand", text));
    WriteNumberValue(HKEY_CURRENT_USER, KEY, L"Number", 5);
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Number", text));
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, KEY, L"Missing", text));
    CHECK_FALSE(ReadRegistryText(HKEY_CURRENT_USER, L"Software\\Bluecrane\\None", L"X", text));

    uint32_t value = 0;
    CHECK(ReadRegistryNumber(KEY, L"Number", 9, value));
    CHECK(value == 5);
    WriteTextValue(HKEY_CURRENT_USER, KEY, L"Text", L"5");
    CHECK_FALSE(ReadRegistryNumber(KEY, L"Text", 9, value));
    CHECK(value == 9);
    const unsigned long long wide = 5;
    WriteRawValue(HKEY_CURRENT_USER, KEY, L"Qword", REG_QWORD, &wide, sizeof(wide));
    CHECK_FALSE(ReadRegistryNumber(KEY, L"Qword", 9, value));
    const DWORD number = 5;
    WriteRawValue(HKEY_CURRENT_USER, KEY, L"Short", REG_DWORD, &number, 2);
    CHECK_FALSE(ReadRegistryNumber(KEY, L"Short", 9, value));
    WriteRawValue(HKEY_CURRENT_USER, KEY, L"Binary", REG_BINARY, &number, sizeof(number));
    CHECK_FALSE(ReadRegistryNumber(KEY, L"Binary", 9, value));
    CHECK(value == 9);
  }

  TEST_CASE("writes to a key that refuses them fail") {
    RegistrySandbox sandbox;
    DeniedKey denied(HKEY_CURRENT_USER, KEY, KEY_SET_VALUE);
    CHECK_FALSE(WriteRegistryText(HKEY_CURRENT_USER, KEY, L"Name", L"abc"));
    CHECK_FALSE(WriteRegistryNumber(KEY, L"Number", 1));
    CHECK_FALSE(ReadRawValue(HKEY_CURRENT_USER, KEY, L"Name").exists);
    // Reading is still allowed.
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, KEY));
  }

  TEST_CASE("key tests and deletions") {
    RegistrySandbox sandbox;
    CHECK_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, KEY));
    CHECK(WriteRegistryNumber(KEY, L"Number", 1));
    CHECK(RegistryKeyExists(HKEY_CURRENT_USER, KEY));
    CHECK(DeleteEmptyRegistryKey(HKEY_CURRENT_USER, L"Software\\Bluecrane") != ERROR_SUCCESS);
    CHECK(DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Bluecrane\\Trimlet") == ERROR_SUCCESS);
    CHECK_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, KEY));
    CHECK(DeleteEmptyRegistryKey(HKEY_CURRENT_USER, L"Software\\Bluecrane") == ERROR_SUCCESS);
    CHECK_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Software\\Bluecrane"));
  }
}
