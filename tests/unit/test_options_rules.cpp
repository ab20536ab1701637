#include "tests/support/wide_text.h"
#include "ui/label_ids.h"
#include "ui/options_rules.h"

TEST_CASE("a typed number snaps into its range; anything but digits reads as the minimum") {
  const struct {
    const wchar_t* text;
    uint32_t minimum, maximum, held;
  } cases[] = {{L"12", 96, 99999, 96},       {L"0", 1, 99999, 1},
               {L"96", 96, 99999, 96},       {L"99999", 1, 99999, 99999},
               {L"100000", 1, 99999, 99999}, {L"99999999999999999999", 1, 99999, 99999},
               {L"", 96, 99999, 96},         {L"-5", 1, 99999, 1}};
  for (const auto& c : cases) {
    CAPTURE(Narrow(c.text));
    CHECK(ClampTypedNumber(c.text, c.minimum, c.maximum) == c.held);
  }
}

TEST_CASE("a destination must be given and absolute, and no file's path") {
  for (const wchar_t* absolute :
       {L"C:\\", L"d:\\Crops", L"C:/Crops", L"\\\\server\\share", L"\\\\server\\share\\crops"}) {
    CAPTURE(Narrow(absolute));
    CHECK(DestinationFolderFault(absolute, false) == -1);
  }
  for (const wchar_t* relative : {L"photos\\out", L"C:photos", L"\\photos", L"\\\\server",
                                  L"\\\\server\\", L"\\\\\\share", L"1:\\x", L"C"}) {
    CAPTURE(Narrow(relative));
    CHECK(DestinationFolderFault(relative, false) == LBL_OPT_DEST_NOT_ABSOLUTE);
  }
  CHECK(DestinationFolderFault(L"", false) == LBL_OPT_DEST_NOT_SET);
  CHECK(DestinationFolderFault(L"C:\\file.txt", true) == LBL_OPT_DEST_IS_FILE);
}

// Regression: OK with nothing edited reloaded the folder, and the selection
// made there was lost.
TEST_CASE("OK with nothing edited changes nothing") {
  const Options options = {};
  CHECK_FALSE(OptionsChanged(options, options, L"Open", L"Open"));
  CHECK(OptionsChanged(options, options, L"Open", L"open"));
}
