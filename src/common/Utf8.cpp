#include "common/Utf8.h"

namespace kq {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

std::u16string Utf8ToUtf16(ByteView in) {
  std::u16string out;
  std::size_t i = 0;
  while (i < in.size()) {
    const std::uint8_t b = in[i];
    std::size_t extra = 0;
    char32_t cp = b;
    char32_t min = 0;
    // Lead byte: how many continuation bytes follow, its payload bits, the least value
    // that needs this many bytes (anything less is an overlong form).
    if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
      min = 0x10000;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
      min = 0x800;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
      min = 0x80;
    } else if (b >= 0x80) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    std::size_t n = 0;
    while (n < extra && i + 1 + n < in.size() && (in[i + 1 + n] & 0xC0) == 0x80) {
      cp = (cp << 6) | (in[i + 1 + n] & 0x3F);
      ++n;
    }
    i += 1 + n;
    if (n < extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(kReplacement);
    } else if (cp >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

bool IsValidUtf8(ByteView in) {
  // Whatever the decoder would have to replace makes the text invalid; a U+FFFD that is
  // really there does not.
  std::size_t i = 0;
  while (i < in.size()) {
    const std::uint8_t b = in[i];
    std::size_t extra = 0;
    char32_t cp = b;
    char32_t min = 0;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, cp = b & 0x1F, min = 0x80;
    } else {
      return false;
    }
    if (in.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      if ((in[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (in[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

Bytes Utf16ToUtf8(std::u16string_view in) {
  Bytes out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<std::uint8_t>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<std::uint8_t>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<std::uint8_t>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<std::uint8_t>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<std::uint8_t>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace kq
