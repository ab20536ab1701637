#include "base/text.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

std::size_t TextLength(const wchar_t* text, std::size_t capacity) {
  std::size_t length = 0;
  while (length < capacity && text[length] != L'\0') ++length;
  return length;
}

bool CopyText(wchar_t* dest, std::size_t capacity, const wchar_t* source) {
  if (capacity == 0) return false;
  const std::size_t length = TextLength(source, capacity);
  if (length >= capacity) {
    dest[0] = L'\0';
    return false;
  }
  std::memmove(dest, source, length * sizeof(wchar_t));
  dest[length] = L'\0';
  return true;
}

bool AppendText(wchar_t* dest, std::size_t capacity, const wchar_t* source) {
  const std::size_t used = TextLength(dest, capacity);
  if (used >= capacity) {
    if (capacity > 0) dest[0] = L'\0';
    return false;
  }
  if (!CopyText(dest + used, capacity - used, source)) {
    dest[0] = L'\0';
    return false;
  }
  return true;
}

bool CopyPathWithFallback(wchar_t* dest, const wchar_t* source, const wchar_t* fallback) {
  const bool fits = TextLength(source, PATH_CAPACITY) < PATH_CAPACITY;
  if (dest != nullptr) CopyText(dest, PATH_CAPACITY, fits ? source : fallback);
  return fits;
}

void ReplaceAll(const wchar_t* placeholder, const wchar_t* text, const wchar_t* replacement,
                wchar_t* dest, std::size_t capacity) {
  if (capacity == 0) return;
  const std::size_t placeholderLength = std::wcslen(placeholder);
  if (placeholderLength == 0 || text[0] == L'\0') {
    CopyText(dest, capacity, text);
    return;
  }
  // `dest` may be `text`, so the template is scanned from a copy.
  const std::size_t textLength = std::wcslen(text);
  std::unique_ptr<wchar_t[]> original(new (std::nothrow) wchar_t[textLength + 1]);
  std::unique_ptr<wchar_t[]> work(new (std::nothrow) wchar_t[capacity]());
  if (!original || !work) {
    CopyText(dest, capacity, text);
    return;
  }
  std::memcpy(original.get(), text, (textLength + 1) * sizeof(wchar_t));

  const std::size_t replacementLength = std::wcslen(replacement);
  const std::size_t room = capacity - 1;
  std::size_t used = 0;
  for (std::size_t at = 0; at < textLength;) {
    const bool match = std::wcsncmp(original.get() + at, placeholder, placeholderLength) == 0;
    const wchar_t* piece = match ? replacement : original.get() + at;
    const std::size_t pieceLength = match ? replacementLength : 1;
    if (pieceLength > room - used) {
      CopyText(dest, capacity, original.get());
      return;
    }
    std::memcpy(work.get() + used, piece, pieceLength * sizeof(wchar_t));
    used += pieceLength;
    at += match ? placeholderLength : 1;
  }
  std::memcpy(dest, work.get(), (used + 1) * sizeof(wchar_t));
}

void TrimBlanks(wchar_t* text) {
  std::size_t end = std::wcslen(text);
  while (end > 0 && text[end - 1] == L' ') --end;
  std::size_t start = 0;
  while (start < end && text[start] == L' ') ++start;
  std::memmove(text, text + start, (end - start) * sizeof(wchar_t));
  text[end - start] = L'\0';
}

static wchar_t FoldAscii(wchar_t c) {
  return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool StartsWithIgnoreAsciiCase(const wchar_t* text, const wchar_t* prefix) {
  for (; *prefix != L'\0'; ++text, ++prefix) {
    if (FoldAscii(*text) != FoldAscii(*prefix)) return false;
  }
  return true;
}

bool EqualsIgnoreAsciiCase(const wchar_t* a, const wchar_t* b) {
  return std::wcslen(a) == std::wcslen(b) && StartsWithIgnoreAsciiCase(a, b);
}

void UnquoteText(wchar_t* text) {
  const std::size_t length = std::wcslen(text);
  if (length == 0 || text[0] != L'"' || text[length - 1] != L'"') return;
  // A lone quote is both the opening and the closing one.
  const std::size_t inner = length >= 2 ? length - 2 : 0;
  std::memmove(text, text + 1, inner * sizeof(wchar_t));
  text[inner] = L'\0';
}

void FormatDecimal(wchar_t* dest, unsigned value, int width) {
  wchar_t digits[10];
  int count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  int out = 0;
  for (int pad = width - count; pad > 0 && out + count < 11; --pad) dest[out++] = L'0';
  while (count > 0) dest[out++] = digits[--count];
  dest[out] = L'\0';
}
