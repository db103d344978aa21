// A skin's images decoded by the system's imaging component (WIC) into 32-bit bitmaps with
// premultiplied alpha, ready for AlphaBlend. Every size is checked against the skin's
// bounds before a pixel is decoded.
#pragma once

#include "common/Bytes.h"
#include "paint/SkinModel.h"
#include "paint/SkinResources.h"
#include "win/Handles.h"
#include "win/Win.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kq::paint {

struct SkinBitmap {
  win::GdiObject bitmap;  // a top-down 32-bit DIB section, premultiplied
  int width = 0;
  int height = 0;
};

class SkinImages final : public SkinResources {
 public:
  // Finds an image's bytes by file name; none when the skin has no such file.
  using Source = std::function<std::optional<Bytes>(const std::u16string& file)>;

  // Decodes every image the model names. Throws kq::Error naming the file when one is
  // missing, cannot be decoded or breaks its bounds.
  static std::unique_ptr<SkinImages> Load(const SkinModel& model, const Source& source);

  // Null when the model names no such image.
  const SkinBitmap* Find(const std::u16string& file) const;
  // The bytes the decoded bitmaps hold.
  std::size_t MemoryBytes() const;

 private:
  std::map<std::u16string, SkinBitmap> images_;
};

// Decodes one image (PNG, BMP or anything the system decodes) within the bounds: none of
// its sides above kMaxImageSide, at most kMaxImagePixels. Throws kq::Error.
SkinBitmap DecodeImage(ByteView bytes, const std::u16string& name);

}  // namespace kq::paint
