// The launcher's application icon, drawn at build time: a rounded tile in the game's night
// blue, a golden ring and a white "start" triangle, rendered per size (not scaled down
// from the large one, so the small sizes stay crisp) and packed into one ICO file.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kq::icongen {

// Straight (not premultiplied) RGBA, rows top to bottom.
struct Image {
  int size = 0;
  std::vector<std::uint8_t> rgba;
};

// The sizes the launcher ships: the small ones for captions and lists, 256 for Explorer.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 256};

Image DrawIcon(int size);

// PNG bytes of an image; nullopt if libpng refuses.
std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image);

// An ICO file of the images, in their order: sizes below 256 as 32-bit DIBs with their
// AND mask, 256 as PNG (as Windows Vista and later read it). nullopt if a PNG fails.
std::optional<std::vector<std::uint8_t>> BuildIco(const std::vector<Image>& images);

}  // namespace kq::icongen
