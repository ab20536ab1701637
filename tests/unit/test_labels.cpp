#include <string>

#include "tests/support/wide_text.h"
#include "ui/english_labels.h"
#include "ui/labels.h"
#include "base/text.h"

namespace {

// The table as the loader leaves it when English is chosen.
void FillEnglish() {
  for (int id = 0; id < LABEL_COUNT; ++id) {
    CopyText(LabelEntry(id), TEXT_CAPACITY, EnglishDefault(id));
  }
}

std::wstring Key(int id) {
  wchar_t key[12];
  LabelKey(id, key);
  return key;
}

}  // namespace

TEST_SUITE("labels") {
  TEST_CASE("label keys are four digits") {
    CHECK(Key(0) == L"0000");
    CHECK(Key(9) == L"0009");
    CHECK(Key(42) == L"0042");
    CHECK(Key(117) == L"0117");
  }

  TEST_CASE("ids outside the table give the empty text") {
    FillEnglish();
    for (int id : {-1, static_cast<int>(LABEL_COUNT), static_cast<int>(4294967295u), -100000}) {
      CAPTURE(id);
      CHECK_TEXT(LabelText(id), L"");
      CHECK_TEXT(EnglishDefault(id), L"");
      CHECK(LabelEntry(id) == nullptr);
    }
    CHECK_TEXT(LabelText(LBL_OK), L"OK");
    CHECK_TEXT(LabelText(LBL_VERSION), L"Version %1");
    CHECK(std::wstring(LabelText(6)).find(L"Trimlet") != std::wstring::npos);
  }

  TEST_CASE("the SETUP keys are in the order they are written") {
    CHECK_TEXT(kSetupTexts[0].key, L"DesktopIcon");
    CHECK_TEXT(kSetupTexts[SETUP_TEXT_COUNT - 1].key, L"UserManualComment");
    CHECK_TEXT(kSetupTexts[SETUP_TEXT_COUNT - 1].text, L"Read the user's manual.");
  }

  TEST_CASE("a message gets its argument") {
    FillEnglish();
    CHECK_TEXT(FormatMessageLabel(18, L"C:\\a.ini"), L"Error creating file \"C:\\a.ini\".");
    // Messages take "%1" only.
    CHECK_TEXT(FormatMessageLabel(58, L"D:\\Out"),
               L"Folder \"D:\\Out\" does not exist.%2Would you like to create it?");
  }

  TEST_CASE("a question gets its argument and its line feed") {
    FillEnglish();
    CHECK_TEXT(FormatLabelWithArgument(58, L"D:\\Out"),
               L"Folder \"D:\\Out\" does not exist.\nWould you like to create it?");
    // The second pass runs over the inserted argument too.
    CHECK_TEXT(FormatLabelWithArgument(58, L"a%2b"),
               L"Folder \"a\nb\" does not exist.\nWould you like to create it?");
    CHECK_TEXT(FormatLabelWithArgument(-1, L"x"), L"");
  }

  TEST_CASE("an argument too long for the prompt leaves the label unformatted") {
    FillEnglish();
    const std::wstring huge(PROMPT_CAPACITY, L'x');
    // The first pass keeps the template; the second still breaks the line.
    CHECK_TEXT(FormatLabelWithArgument(58, huge.c_str()),
               L"Folder \"%1\" does not exist.\nWould you like to create it?");
    const std::wstring big(MESSAGE_CAPACITY, L'y');
    CHECK_TEXT(FormatMessageLabel(18, big.c_str()), L"Error creating file \"%1\".");
  }

  TEST_CASE("a translated label replaces the English one") {
    FillEnglish();
    CopyText(LabelEntry(LBL_OK), TEXT_CAPACITY, L"D'accord");
    CHECK_TEXT(LabelText(LBL_OK), L"D'accord");
    FillEnglish();
  }
}
