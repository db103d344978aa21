// The window shadows' images, drawn at build time: a soft shadow around a form, a blurred
// rounded rectangle fading to transparent, cut as paint/ShadowGeometry.h says.
#pragma once

#include "paint/ShadowGeometry.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kq::shadowgen {

// Straight (not premultiplied) RGBA, rows top to bottom.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// The image of a shadow kind, of the size its slicing gives.
Image DrawShadow(paint::ShadowKind kind);

// PNG bytes of an image; nullopt if libpng refuses.
std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image);

}  // namespace kq::shadowgen
