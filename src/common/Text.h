// Small text rules of the portable core: letter case without regard to the locale.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kq {

template <class Char>
constexpr Char AsciiUpper(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

// True when the texts differ at most in the case of ASCII letters (names in form streams,
// package entries, switches, file extensions).
template <class Char>
bool SameIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  return std::ranges::equal(a, b, [](Char x, Char y) { return AsciiUpper(x) == AsciiUpper(y); });
}
inline bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  return SameIgnoringAsciiCase<char16_t>(a, b);
}
inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return SameIgnoringAsciiCase<char>(a, b);
}

// Simple case folding to lower case for ASCII and the basic Cyrillic capitals (Ѐ-Џ, А-Я):
// the letters of the names in the game's files and of its players' code page.
constexpr char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

// A message of a library (what() of a standard exception, zlib's texts), byte for byte: they
// are ASCII.
inline std::u16string WidenAscii(const char* text) {
  std::u16string out;
  for (; text && *text; ++text) out.push_back(static_cast<unsigned char>(*text));
  return out;
}

}  // namespace kq
