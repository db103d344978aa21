// The preview message another program sends to show a skin live (a skin editor, or the
// KQSkinPreview tool): its fixed buffer, read and written, and the rules by which the
// application window takes one.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "skins/SkinSelection.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace kq {

inline constexpr std::uint32_t kPreviewMagic = 0xA400;
inline constexpr std::uintptr_t kPreviewCopyDataTag = 7;  // the copy-data message's wParam
// Posted to the application window once a buffer was taken; its wParam's high word.
inline constexpr unsigned kPreviewPostedMessage = 0xA100;
inline constexpr unsigned kPreviewPostedTag = 0x47;

struct PreviewField {
  std::size_t offset;
  std::size_t size;
};
inline constexpr PreviewField kPreviewName{4, 128};
inline constexpr PreviewField kPreviewDirectory{132, 512};
inline constexpr PreviewField kPreviewOptionText{644, 30001};
inline constexpr std::size_t kPreviewBufferSize = 30645;
static_assert(kPreviewOptionText.offset + kPreviewOptionText.size == kPreviewBufferSize);

// The preview in a buffer: none when it holds less than the magic or another magic. Each
// text ends at its first zero byte or its field's end; a buffer shorter than the layout
// reads as if the missing bytes were zeros.
std::optional<SkinPreview> ParsePreviewBuffer(ByteView data, const AnsiCodec& codec);

// The whole buffer for a skin: name and directory in the ANSI code page, the option file's
// bytes as the launcher reads them (UTF-8 and UTF-16 files turned into the ANSI code page).
// Throws kq::Error when a text does not fit its field with its terminating zero, or holds
// a zero byte of its own.
Bytes BuildPreviewBuffer(std::u16string_view name, std::u16string_view directory,
                         ByteView optionFile, const AnsiCodec& codec);

// The application window's side of the message: which copy-data messages it takes, and the
// one buffer it holds between taking a message and showing it.
class PreviewReceiver {
 public:
  // A copy-data message whose result is so far `result`. Taken only when the result is
  // still 0, no preview is pending, the data are set, the tag is 7 and the data begin with
  // the magic; then at most the buffer's size is copied, the rest of the buffer zeroed.
  bool Offer(std::intptr_t result, std::uintptr_t tag, const std::uint8_t* data,
             std::size_t size);
  bool Pending() const { return pending_; }
  // The pending preview, parsed; none when nothing is pending. Either way nothing is
  // pending afterwards.
  std::optional<SkinPreview> Take(const AnsiCodec& codec);

 private:
  bool pending_ = false;
  Bytes buffer_;
};

}  // namespace kq
