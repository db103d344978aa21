// libFuzzer target: the skin preview buffer as another program sends it. Whatever the bytes
// and however short, no text is longer than its field, a text holds no zero, and the
// application window's receiver shows exactly the parse of the bytes. Bytes that hold the
// magic's four parse as the same bytes padded with zeros to the full size; fewer are never
// a preview, even when zeros would complete the magic.
#include "skins/PreviewBuffer.h"

#include <cstdlib>

namespace {

const kq::Cp1251Codec kCodec;

bool Fits(const std::u16string& text, kq::PreviewField field) {
  return text.size() <= field.size && text.find(u'\0') == std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kq::ByteView sent(data, size);
  const auto parsed = kq::ParsePreviewBuffer(sent, kCodec);

  kq::Bytes padded(sent.begin(), sent.end());
  if (padded.size() < kq::kPreviewBufferSize) padded.resize(kq::kPreviewBufferSize, 0);
  const auto full = kq::ParsePreviewBuffer(kq::ByteView(padded).first(kq::kPreviewBufferSize),
                                           kCodec);
  if (size < 4 ? parsed.has_value() : parsed.has_value() != full.has_value()) std::abort();

  kq::PreviewReceiver receiver;
  if (receiver.Offer(0, kq::kPreviewCopyDataTag, data, size) != parsed.has_value()) std::abort();
  const auto shown = receiver.Take(kCodec);
  if (!parsed) return 0;
  if (!shown || parsed->name != full->name || parsed->directory != full->directory ||
      parsed->optionText != full->optionText || shown->name != parsed->name ||
      shown->directory != parsed->directory || shown->optionText != parsed->optionText) {
    std::abort();
  }
  if (!Fits(parsed->name, kq::kPreviewName) || !Fits(parsed->directory, kq::kPreviewDirectory) ||
      !Fits(parsed->optionText, kq::kPreviewOptionText)) {
    std::abort();
  }
  return 0;
}
