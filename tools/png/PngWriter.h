// PNG files from straight (not premultiplied) RGBA pixels, for the build-time tools that
// draw images. Written as small as libpng makes them: zlib level 9, and the narrowest colour
// type that holds the pixels exactly (a palette for up to 256 colours, RGB when opaque).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kq::png {

// rgba: width * height * 4 bytes, rows top to bottom. nullopt if libpng refuses.
std::optional<std::vector<std::uint8_t>> EncodePng(int width, int height,
                                                   std::span<const std::uint8_t> rgba);

// Writes a tool's output file whole; false when it cannot.
bool WriteFile(const char* path, std::span<const std::uint8_t> bytes);

}  // namespace kq::png
