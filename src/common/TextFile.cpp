#include "common/TextFile.h"

#include "common/Utf8.h"

#include <string_view>

namespace kq {

ByteOrderMark ReadByteOrderMark(ByteView bytes) {
  constexpr std::string_view kUtf16Bom = "\xFF\xFE";
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  const std::string_view chars = AsChars(bytes);
  if (chars.starts_with(kUtf16Bom)) return {TextEncoding::kUtf16Le, kUtf16Bom.size()};
  if (chars.starts_with(kUtf8Bom)) return {TextEncoding::kUtf8, kUtf8Bom.size()};
  return {};
}

std::u16string DecodeText(ByteView bytes, TextEncoding encoding, const AnsiCodec& codec) {
  switch (encoding) {
    case TextEncoding::kAnsi:
      return codec.FromAnsi(AsChars(bytes));
    case TextEncoding::kUtf8:
      return Utf8ToUtf16(bytes);
    case TextEncoding::kUtf16Le:
      break;
  }
  std::u16string out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return out;
}

}  // namespace kq
