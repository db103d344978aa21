// Conversion between UTF-16 text and UTF-8 bytes.
#pragma once

#include "common/Bytes.h"

#include <string>
#include <string_view>

namespace kq {

// Malformed input (a stray continuation byte, an overlong form, a cut sequence, a lone
// surrogate) becomes U+FFFD instead of being dropped, so the rest of the text survives.
std::u16string Utf8ToUtf16(ByteView in);
Bytes Utf16ToUtf8(std::u16string_view in);

// True when the bytes are well-formed UTF-8 throughout: for readers that must reject
// damaged text rather than repair it (form streams).
bool IsValidUtf8(ByteView in);

inline std::string Utf16ToUtf8String(std::u16string_view in) {
  const Bytes b = Utf16ToUtf8(in);
  return std::string(AsChars(b));
}

}  // namespace kq
