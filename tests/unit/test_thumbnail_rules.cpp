#include "files/thumbnail_rules.h"
#include "tests/support/rect_text.h"
#include "tests/support/wide_text.h"

#include <string>

TEST_SUITE("thumbnail_rules") {
  TEST_CASE("a thumbnail fills the 94-pixel box along its long side and is centred") {
    const struct {
      uint32_t width;
      uint32_t height;
      Rect expected;
    } rows[] = {
        // 70.5 rounds down to 70; (96 - 70) / 2 = 13.
        {640, 480, {1, 13, 94, 70}},
        {480, 640, {13, 1, 70, 94}},
        {500, 500, {1, 1, 94, 94}},
        {96, 96, {1, 1, 94, 94}},
        // 71 leaves 25 pixels: the position 12.5 rounds down to 12.
        {940, 710, {1, 12, 94, 71}},
        {710, 940, {12, 1, 71, 94}},
        // 70.6 rounds up.
        {4700, 3530, {1, 12, 94, 71}},
        // A far smaller picture is enlarged to the box like any other.
        {2, 1, {1, 24, 94, 47}},
        // Sides too thin for a pixel: an empty thumbnail in the middle.
        {100000, 1, {1, 48, 94, 0}},
        {1, 100000, {48, 1, 0, 94}},
        {4294967295u, 4294967294u, {1, 1, 94, 94}},
    };
    for (const auto& row : rows) {
      CAPTURE(row.width);
      CAPTURE(row.height);
      CHECK(PlaceThumbnail(row.width, row.height) == row.expected);
    }
  }

  TEST_CASE("the scaled side is rounded from a single-precision value") {
    // 99062 / 262305 * 94 is 35.5000019 in double precision, exactly 35.5 in
    // single precision: the half rounds down. A double would give 36.
    CHECK(PlaceThumbnail(262305, 99062) == Rect{1, 30, 94, 35});
    CHECK(PlaceThumbnail(99062, 262305) == Rect{30, 1, 35, 94});
  }

  TEST_CASE("pictures are .bmp, .jpg and .gif in any letter case, by the last extension") {
    for (const wchar_t* name : {L"a.gif", L"b.JPG", L"c.bmp", L"f.Gif", L"x.bMp", L"a.b.jpg",
                                L"my photo.jpg", L".jpg", L"..gif"}) {
      CAPTURE(Narrow(name));
      CHECK(IsPictureFileName(name));
    }
    for (const wchar_t* name :
         {L"d.jpeg", L"e.png", L"jpg", L"noextension", L"archive.jpg.txt", L"photo.jpg ",
          L"photo.jpg copy", L"photo.", L"photo.jp", L"photo.jpgg", L"folder.jpg\\file", L"",
          L"photo.g\u0130f", L"photo.\uFF4A\uFF50\uFF47"}) {
      CAPTURE(Narrow(name));
      CHECK_FALSE(IsPictureFileName(name));
    }
    CHECK_FALSE(IsPictureFileName(nullptr));
  }
}
