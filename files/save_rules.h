// What a saved crop is made of, decided before GDI+ is asked: the format by
// the target's extension, the encoder parameter, and the property items the
// picture carries. Pure, so that the data handed to GDI+ can be checked
// natively; GDI+ types stay in files/crop_save.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"

// An encoder parameter as the encoder receives it: which one (its GUID is
// files/crop_save.cpp's), and one value of type long (4).
enum class EncoderSetting { Quality, Compression };
struct EncoderValue {
  EncoderSetting setting;
  uint32_t valueType;
  uint32_t count;
  uint32_t value;
};

// The JPEG and GIF encoders' quality; the TIFF encoder's LZW compression
// (EncoderValueCompressionLZW).
inline constexpr EncoderValue SAVE_QUALITY = {EncoderSetting::Quality, 4, 1, 100};
inline constexpr EncoderValue TIFF_LZW = {EncoderSetting::Compression, 4, 1, 2};

struct SaveFormat {
  const wchar_t* mime;
  const EncoderValue* parameter;  // null: saved without parameters
};

// The format for a target's extension, dot included ("" when there is none),
// ignoring ASCII case: ".jpg", ".jpeg", ".jpe" and ".jfif" are JPEG, ".gif"
// GIF, ".png" PNG, ".tif" and ".tiff" TIFF, anything else a bitmap.
SaveFormat SaveFormatFor(const wchar_t* extension);

// The format as the message for a missing encoder names it: the extension
// without its dot, in capitals ("GIF").
void EncoderFormatName(const wchar_t* extension, TextBuffer& name);

constexpr uint32_t PROPERTY_SOFTWARE = 0x0131;
constexpr uint16_t PROPERTY_TYPE_ASCII = 2;
constexpr uint32_t PROPERTY_ORIENTATION = 0x0112;
constexpr uint16_t PROPERTY_TYPE_SHORT = 3;

// One property item, as GDI+ lists it.
struct PropertyItemData {
  uint32_t id;
  uint32_t length;  // bytes at `value`
  uint16_t type;
  const void* value;
};

// "Bluecrane Trimlet (http://<web host>)" as 8-bit text; `length` counts the
// terminating NUL.
struct SoftwareText {
  char bytes[TEXT_CAPACITY];
  uint32_t length;
};

// False (and an empty text) when the text does not fit or does not convert.
// With `nameOnly`, the product's name alone ("Trimlet"), for a field too
// short for the whole text.
bool MakeSoftwareText(SoftwareText& text, bool nameOnly = false);

// The items a saved crop carries, in the order they are set: the source's
// `count` items less its own software field and its thumbnail, then ours (last; left out when
// its text could not be made). A crop of a picture turned `upright` has an
// orientation item saying 1 in place of the source's. `out` holds `count` + 1
// items; returns how many were written.
std::size_t PropertyItemsToCarry(const PropertyItemData* source, std::size_t count,
                                 const SoftwareText& software, bool upright, PropertyItemData* out);
