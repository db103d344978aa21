#include "skins/PreviewBuffer.h"

#include "common/Error.h"
#include "common/TextFile.h"
#include "skins/SkinOptionFile.h"

#include <algorithm>
#include <string>

namespace kq {
namespace {

// A field's text: its bytes up to the first zero, of those that were sent.
std::u16string FieldText(ByteView data, PreviewField field, const AnsiCodec& codec) {
  ByteReader reader(data);
  reader.Seek(std::min(field.offset, data.size()));
  const ByteView bytes = reader.Span(std::min(field.size, reader.Remaining()));
  const auto zero = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return codec.FromAnsi(AsChars(bytes.first(static_cast<std::size_t>(zero - bytes.begin()))));
}

// A text keeps a terminating zero in its field, so that a receiver reading up to the first
// zero stops inside the field.
void PutField(Bytes& buffer, PreviewField field, std::string_view text, std::u16string_view what,
              std::u16string_view limit) {
  if (text.size() >= field.size) {
    throw Error(std::u16string(what) + u" is too long for a preview (" + std::u16string(limit) +
                u" bytes at most)");
  }
  if (text.find('\0') != std::string_view::npos) {
    throw Error(std::u16string(what) + u" holds a zero byte");
  }
  std::copy(text.begin(), text.end(), buffer.begin() + static_cast<std::ptrdiff_t>(field.offset));
}

}  // namespace

std::optional<SkinPreview> ParsePreviewBuffer(ByteView data, const AnsiCodec& codec) {
  ByteReader reader(data);
  if (reader.U32() != kPreviewMagic || !reader.Ok()) return std::nullopt;
  return SkinPreview{FieldText(data, kPreviewName, codec),
                     FieldText(data, kPreviewDirectory, codec),
                     FieldText(data, kPreviewOptionText, codec)};
}

Bytes BuildPreviewBuffer(std::u16string_view name, std::u16string_view directory,
                         ByteView optionFile, const AnsiCodec& codec) {
  Bytes buffer;
  ByteWriter(buffer).U32(kPreviewMagic);
  buffer.resize(kPreviewBufferSize);
  PutField(buffer, kPreviewName, codec.ToAnsi(name), u"The skin name", u"127");
  PutField(buffer, kPreviewDirectory, codec.ToAnsi(directory), u"The skin directory", u"511");
  // An ANSI file goes byte for byte; one with a byte-order mark is turned into the code page.
  const bool ansi = ReadByteOrderMark(optionFile).encoding == TextEncoding::kAnsi;
  PutField(buffer, kPreviewOptionText,
           ansi ? std::string(AsChars(optionFile)) : codec.ToAnsi(OptionFileText(optionFile, codec)),
           u"The option file", u"30000");
  return buffer;
}

bool PreviewReceiver::Offer(std::intptr_t result, std::uintptr_t tag, const std::uint8_t* data,
                            std::size_t size) {
  if (result != 0 || pending_ || data == nullptr || tag != kPreviewCopyDataTag) return false;
  const ByteView sent(data, size);
  ByteReader magic(sent);
  if (magic.U32() != kPreviewMagic || !magic.Ok()) return false;
  buffer_.assign(kPreviewBufferSize, 0);
  const ByteView taken = sent.first(std::min(size, kPreviewBufferSize));
  std::copy(taken.begin(), taken.end(), buffer_.begin());
  pending_ = true;
  return true;
}

std::optional<SkinPreview> PreviewReceiver::Take(const AnsiCodec& codec) {
  if (!pending_) return std::nullopt;
  pending_ = false;
  Bytes buffer = std::move(buffer_);
  buffer_.clear();
  return ParsePreviewBuffer(buffer, codec);
}

}  // namespace kq
