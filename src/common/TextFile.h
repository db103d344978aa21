// The encodings of the text files the program reads (INI files, skin option files): a byte
// order mark picks UTF-8 or UTF-16LE, no mark means the ANSI code page.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"

#include <cstddef>
#include <string>

namespace kq {

enum class TextEncoding { kAnsi, kUtf8, kUtf16Le };

struct ByteOrderMark {
  TextEncoding encoding = TextEncoding::kAnsi;
  std::size_t size = 0;  // bytes the mark takes at the start
};
ByteOrderMark ReadByteOrderMark(ByteView bytes);

// Text in that encoding (without its mark); a trailing odd byte of UTF-16LE is dropped.
std::u16string DecodeText(ByteView bytes, TextEncoding encoding, const AnsiCodec& codec);

}  // namespace kq
