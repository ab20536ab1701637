// Colours the program draws with in more than one place.
#pragma once

#include <cstdint>

// The dim grey behind pictures: the editor's background and the thumbnail
// tiles.
constexpr uint8_t DIM_GREY_LEVEL = 105;
constexpr uint32_t DIM_GREY_ARGB = 0xFF000000u | DIM_GREY_LEVEL * 0x010101u;

// Links: navy, blue while the mouse is over them or they have the focus; as
// COLORREF values (0x00BBGGRR).
constexpr uint32_t LINK_COLORREF = 0x800000;
constexpr uint32_t LINK_HOT_COLORREF = 0xFF0000;
