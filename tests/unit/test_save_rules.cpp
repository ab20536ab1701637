#include <cstring>
#include <string>

#include "base/product.h"
#include "files/save_rules.h"
#include "tests/support/wide_text.h"

TEST_SUITE("save_rules") {
  TEST_CASE("the format follows the extension; only JPEG and GIF get quality 100") {
    struct Row {
      const wchar_t* extension;
      const wchar_t* mime;
      bool quality;
    };
    const Row rows[] = {
        {L".jpg", L"image/jpeg", true},
        {L".JPG", L"image/jpeg", true},
        {L".gif", L"image/gif", true},
        {L".Gif", L"image/gif", true},
        {L".bmp", L"image/bmp", false},
        {L".BMP", L"image/bmp", false},
        // A jpeg extension, like any other, falls to the bitmap format.
        {L".jpeg", L"image/bmp", false},
        {L".png", L"image/bmp", false},
        {L"", L"image/bmp", false},
        {L".jpgx", L"image/bmp", false},
    };
    for (const Row& row : rows) {
      CAPTURE(Narrow(row.extension));
      const SaveFormat format = SaveFormatFor(row.extension);
      CHECK_TEXT(format.mime, row.mime);
      REQUIRE((format.quality != nullptr) == row.quality);
      if (format.quality != nullptr) {
        // EncoderQuality: one value of type long, 100.
        CHECK(format.quality->valueType == 4);
        CHECK(format.quality->count == 1);
        CHECK(format.quality->value == 100);
      }
    }
  }

  TEST_CASE("a missing encoder is named by the extension without its dot, in capitals") {
    TextBuffer name;
    EncoderFormatName(L".gif", name);
    CHECK_TEXT(name, L"GIF");
    EncoderFormatName(L".Jpg", name);
    CHECK_TEXT(name, L"JPG");
    EncoderFormatName(L".b2p", name);
    CHECK_TEXT(name, L"B2P");
    EncoderFormatName(L"", name);
    CHECK_TEXT(name, L"");
  }

  TEST_CASE("the Software item is the product's 8-bit text with its NUL counted") {
    SoftwareText software;
    REQUIRE(MakeSoftwareText(software));
    const std::string expected = "Bluecrane Trimlet (http://" + Narrow(MAKER_WEB_HOST) + ")";
    CHECK(software.length == expected.size() + 1);
    // c_str() holds the NUL too.
    CHECK(std::memcmp(software.bytes, expected.c_str(), expected.size() + 1) == 0);
  }

  TEST_CASE("the source's items are carried in order, its software field replaced by ours") {
    SoftwareText software;
    REQUIRE(MakeSoftwareText(software));
    const char make[] = "Maker";
    const char otherSoftware[] = "Other editor 2.0";
    const unsigned char thumbnail[4] = {0xFF, 0xD8, 0xFF, 0xD9};
    const uint16_t width = 4000;
    const PropertyItemData source[] = {
        {0x010F, sizeof make, 2, make},
        {0x0131, sizeof otherSoftware, 2, otherSoftware},
        {0x501B, sizeof thumbnail, 1, thumbnail},
        {0xA002, sizeof width, 3, &width},
    };
    PropertyItemData carried[5];
    REQUIRE(PropertyItemsToCarry(source, 4, software, carried) == 4);
    // Copied unchanged, even those that describe the larger source.
    CHECK(carried[0].id == 0x010F);
    CHECK(carried[0].value == make);
    CHECK(carried[1].id == 0x501B);
    CHECK(carried[1].length == sizeof thumbnail);
    CHECK(carried[1].value == thumbnail);
    CHECK(carried[2].id == 0xA002);
    CHECK(carried[2].type == 3);
    CHECK(carried[2].value == &width);
    CHECK(carried[3].id == 0x0131);
    CHECK(carried[3].type == 2);
    CHECK(carried[3].length == software.length);
    CHECK(carried[3].value == software.bytes);

    // A source without items still gets ours; a text that could not be made
    // is left out rather than written empty.
    REQUIRE(PropertyItemsToCarry(source, 0, software, carried) == 1);
    CHECK(carried[0].id == 0x0131);
    SoftwareText unmade = {};
    REQUIRE(PropertyItemsToCarry(source, 2, unmade, carried) == 1);
    CHECK(carried[0].id == 0x010F);
  }
}
