// Text routines shared by every module. Pure: no platform headers, so they
// are also built natively with sanitizers.
#pragma once

#include <cstddef>

// Paths live in buffers of this many UTF-16 units (at most 259 characters).
constexpr std::size_t PATH_CAPACITY = 260;
// Labels and other texts live in buffers of this many units.
constexpr std::size_t TEXT_CAPACITY = 1024;

using PathBuffer = wchar_t[PATH_CAPACITY];
using TextBuffer = wchar_t[TEXT_CAPACITY];

// Length of a text, never reading past `capacity` units; a text that has no
// terminator within the capacity counts as `capacity` long.
std::size_t TextLength(const wchar_t* text, std::size_t capacity);

// Copies `source` into `dest` of `capacity` units. A source that does not fit
// leaves `dest` empty and returns false; the caller carries on.
bool CopyText(wchar_t* dest, std::size_t capacity, const wchar_t* source);

template <std::size_t N>
bool CopyText(wchar_t (&dest)[N], const wchar_t* source) {
  return CopyText(dest, N, source);
}

// Appends `source` to the text in `dest`; on overflow `dest` becomes empty and
// the result is false, as for CopyText.
bool AppendText(wchar_t* dest, std::size_t capacity, const wchar_t* source);

template <std::size_t N>
bool AppendText(wchar_t (&dest)[N], const wchar_t* source) {
  return AppendText(dest, N, source);
}

// Copies `source` when it has fewer than PATH_CAPACITY characters and returns
// true; otherwise copies `fallback` and returns false. `dest` may be null, and
// otherwise holds PATH_CAPACITY units.
bool CopyPathWithFallback(wchar_t* dest, const wchar_t* source, const wchar_t* fallback);

// Writes `text` with every `placeholder` replaced into `dest` of `capacity`
// units. `dest` may be `text` itself. When the result would not fit (or memory
// runs out), `dest` receives the template unchanged.
void ReplaceAll(const wchar_t* placeholder, const wchar_t* text, const wchar_t* replacement,
                wchar_t* dest, std::size_t capacity);

// Removes U+0020 blanks at both ends, in place. Tabs stay.
void TrimBlanks(wchar_t* text);

// Compares two texts, folding only the ASCII letters. Enough for fixed
// keywords such as "<default>" and "/EXPLORE".
bool EqualsIgnoreAsciiCase(const wchar_t* a, const wchar_t* b);
bool StartsWithIgnoreAsciiCase(const wchar_t* text, const wchar_t* prefix);

// Removes one pair of enclosing double quotes, in place.
void UnquoteText(wchar_t* text);

// Writes `value` in decimal, padded on the left with '0' to `width` digits.
// `dest` must hold at least 12 units; the result never exceeds 11 digits.
void FormatDecimal(wchar_t* dest, unsigned value, int width);
