#include <string>
#include <tuple>

#include "base/product.h"
#include "files/save_rules.h"
#include "files/thumbnail_rules.h"
#include "tests/support/rect_text.h"
#include "tests/support/wide_text.h"
#include "ui/english_labels.h"
#include "ui/labels.h"

TEST_CASE("a saved crop: the format by the extension, quality 100, the source's items") {
  // Each JPEG name is JPEG; TIFF is compressed with LZW; BMP and PNG take no parameter.
  const std::tuple<const wchar_t*, const wchar_t*, const EncoderValue*> formats[] = {
      {L".JPG", L"image/jpeg", &SAVE_QUALITY}, {L".jfif", L"image/jpeg", &SAVE_QUALITY},
      {L".gif", L"image/gif", &SAVE_QUALITY},  {L".TIFF", L"image/tiff", &TIFF_LZW},
      {L".png", L"image/png", nullptr},        {L".jpegx", L"image/bmp", nullptr},
      {L".Jpe", L"image/jpeg", &SAVE_QUALITY}, {L"", L"image/bmp", nullptr}};
  for (const auto& [extension, mime, parameter] : formats) {
    CHECK_TEXT(SaveFormatFor(extension).mime, mime);
    CHECK(SaveFormatFor(extension).parameter == parameter);
  }
  // What Wine's encoders ignore, and so only here: quality 100 as a long, LZW.
  CHECK((SAVE_QUALITY.value == 100 && SAVE_QUALITY.valueType == 4 && TIFF_LZW.value == 2));
  TextBuffer name;
  EncoderFormatName(L".Jp2", name);  // named without the dot, in capitals
  CHECK_TEXT(name, L"JP2");
  // A crop carries the source's items in order, its software field replaced by ours.
  SoftwareText software;
  REQUIRE(MakeSoftwareText(software));
  const std::string text = "Bluecrane Trimlet (http://" + Narrow(MAKER_WEB_HOST) + ")";
  CHECK(std::string(software.bytes, software.length) == text + '\0');  // 8-bit, NUL counted
  const char make[] = "Maker", other[] = "Other editor 2.0";
  const uint16_t sideways = 6;
  const PropertyItemData source[] = {
      {0x010F, 6, 2, make}, {0x0131, 17, 2, other}, {0x0112, 2, 3, &sideways},
      {0x501B, 6, 1, make}, {0x5013, 2, 3, &sideways}, {0x501A, 6, 7, make}};
  PropertyItemData items[7];
  // The thumbnail's items go: it would stand for the crop in a viewer.
  REQUIRE(PropertyItemsToCarry(source, 6, software, false, items) == 4);
  CHECK(items[2].id == 0x501A);
  items[2] = items[3];
  CHECK((items[0].id == 0x010F && items[0].length == 6 && items[0].value == make));
  CHECK(items[1].value == &sideways);  // a picture left as stored keeps its tag
  CHECK((items[2].id == 0x0131 && items[2].type == 2 && items[2].value == software.bytes));
  CHECK(items[2].length == software.length);
  // A crop of a picture turned upright says so; Wine's GDI+ stores no
  // property items, so this data is all that can be seen of it here.
  REQUIRE(PropertyItemsToCarry(source, 3, software, true, items) == 3);
  CHECK((items[1].id == 0x0112 && items[1].type == 3 && items[1].length == 2));
  CHECK(*static_cast<const uint16_t*>(items[1].value) == 1);
  // A text that could not be made is left out rather than written empty.
  CHECK((PropertyItemsToCarry(source, 1, SoftwareText{}, false, items) == 1 &&
         items[0].value == make));
}

TEST_CASE("a thumbnail fills the 94-pixel box along its long side, centred in its tile") {
  CHECK(PlaceThumbnail(640, 480) == Rect{1, 13, 94, 70});  // 70.5 rounds down
  CHECK(PlaceThumbnail(710, 940) == Rect{12, 1, 71, 94});  // 12.5 rounds down
  CHECK(PlaceThumbnail(100000, 1) == Rect{1, 48, 94, 0});  // too thin for a pixel
  // 99062 / 262305 * 94 is 35.5000019 in double precision, exactly 35.5 in
  // single precision: the half rounds down.
  CHECK(PlaceThumbnail(262305, 99062) == Rect{1, 30, 94, 35});
  // The Windows tier compares the extension rule with the shell's; these
  // cases are beyond it.
  CHECK(IsPictureFileName(L"a.b.Gif"));
  CHECK_FALSE(IsPictureFileName(L"folder.jpg\\file"));
  CHECK_FALSE(IsPictureFileName(L"photo.g\u0130f"));  // only ASCII letters fold
  CHECK_FALSE(IsPictureFileName(nullptr));
}

TEST_CASE("the more formats are listed only with their option; an empty list says what it left "
          "out") {
  for (const wchar_t* name : {L"a.PNG", L"b.tif", L"c.Tiff", L"d.jpeg", L"e.JPE", L"f.jfif"})
    CHECK((!IsPictureFileName(name) && IsPictureFileName(name, true)));
  CHECK_FALSE((IsPictureFileName(L"a.webp", true) || IsPictureFileName(L"a.png x", true)));
  LeftOut leftOut;
  const auto describe = [&leftOut] {
    TextBuffer text;
    DescribeLeftOut(leftOut, L"one: %2", L"%1: %2.", L"%1 small", text);
    return std::wstring(text);
  };
  CHECK(describe().empty());
  leftOut.belowMinimum = 1;
  CHECK(describe() == L"one: %1 small");  // a text put in is not read again
  leftOut.byFormat[static_cast<int>(MoreFormatOf(L"x.JPE")) - 1] = 10;
  leftOut.byFormat[static_cast<int>(MoreFormatOf(L"y.png")) - 1] = 2;
  CHECK(describe() == L"13: PNG, JPEG, %1 small.");
}

TEST_CASE("labels: ids outside the table give nothing; a message its argument, in its buffer") {
  for (int id = 0; id < LABEL_COUNT; ++id) {
    CopyText(LabelEntry(id), TEXT_CAPACITY, EnglishDefault(id));
  }
  for (int id : {-1, static_cast<int>(LABEL_COUNT)}) {
    CHECK_TEXT(LabelText(id), L"");
    CHECK_TEXT(EnglishDefault(id), L"");
    CHECK(LabelEntry(id) == nullptr);
  }
  wchar_t key[12];
  LabelKey(LABEL_COUNT - 1, key);
  CHECK_TEXT(key, L"0128");
  CHECK_TEXT(FormatMessageLabel(LBL_ASK_CREATE_FOLDER, L"a%2b"),
             L"Folder \"a%2b\" does not exist.%2Would you like to create it?");
  // A question also gets its line feed; a "%2" in the name stays as it is.
  CHECK_TEXT(FormatLabelWithArgument(LBL_ASK_CREATE_FOLDER, L"a%2b"),
             L"Folder \"a%2b\" does not exist.\nWould you like to create it?");
  // 23 + 2024 characters fill the message buffer's 2047; one more does not fit.
  const std::wstring y(2024, L'y');
  CHECK_TEXT(FormatMessageLabel(LBL_FILE_CREATE_ERROR, y.c_str()),
             L"Error creating file \"" + y + L"\".");
  CHECK_TEXT(FormatMessageLabel(LBL_FILE_CREATE_ERROR, (y + L"y").c_str()),
             L"Error creating file \"%1\".");
  CHECK_TEXT(FormatLabelWithArgument(LBL_ASK_CREATE_FOLDER, std::wstring(3018, L'x').c_str()),
             L"Folder \"%1\" does not exist.\nWould you like to create it?");
}
