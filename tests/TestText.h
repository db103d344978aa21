// Texts and bytes in the tests' own terms: UTF-8 literals for the core's UTF-16 texts, and
// byte strings from literals.
#pragma once

#include "common/Bytes.h"
#include "common/Utf8.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq::test {

inline Bytes B(std::string_view s) {
  const ByteView v = AsBytes(s);
  return Bytes(v.begin(), v.end());
}

inline std::string U8(std::u16string_view s) {
  return Utf16ToUtf8String(s);
}
inline std::string U8(const std::u16string& s) {
  return Utf16ToUtf8String(s);
}
inline std::string U8(const char16_t* s) {
  return Utf16ToUtf8String(s);
}

inline std::vector<std::string> U8(const std::vector<std::u16string>& v) {
  std::vector<std::string> out;
  for (const auto& s : v) out.push_back(U8(s));
  return out;
}

inline std::optional<std::string> U8(const std::optional<std::u16string>& s) {
  if (!s) return std::nullopt;
  return Utf16ToUtf8String(*s);
}

}  // namespace kq::test
