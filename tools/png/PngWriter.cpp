#include "PngWriter.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <map>

namespace kq::png {
namespace {

void Append(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

void Flush(png_structp) {}

// The pixels as libpng takes them for the chosen colour type.
struct Layout {
  int colorType = PNG_COLOR_TYPE_RGBA;
  int channels = 4;
  std::vector<png_color> palette;
  std::vector<png_byte> alphas;  // tRNS: the palette's alphas, opaque ones left off the end
  std::vector<std::uint8_t> pixels;
};

Layout Choose(int width, int height, std::span<const std::uint8_t> rgba) {
  const std::size_t count = static_cast<std::size_t>(width) * height;
  const auto rgbaAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(rgba[4 * i]) << 24 | rgba[4 * i + 1] << 16 |
           rgba[4 * i + 2] << 8 | rgba[4 * i + 3];
  };
  std::map<std::uint32_t, int> colours;
  for (std::size_t i = 0; i < count && colours.size() <= 256; ++i) colours.emplace(rgbaAt(i), 0);

  Layout layout;
  if (colours.size() <= 256) {
    // Translucent entries first, so that tRNS can stop at the last of them.
    std::vector<std::uint32_t> order;
    for (const auto& [c, index] : colours) order.push_back(c);
    std::stable_partition(order.begin(), order.end(),
                          [](std::uint32_t c) { return (c & 0xFF) != 0xFF; });
    for (std::size_t i = 0; i < order.size(); ++i) {
      const std::uint32_t c = order[i];
      colours[c] = static_cast<int>(i);
      layout.palette.push_back({static_cast<png_byte>(c >> 24), static_cast<png_byte>(c >> 16),
                                static_cast<png_byte>(c >> 8)});
      if ((c & 0xFF) != 0xFF) layout.alphas.push_back(static_cast<png_byte>(c));
    }
    layout.colorType = PNG_COLOR_TYPE_PALETTE;
    layout.channels = 1;
    for (std::size_t i = 0; i < count; ++i) {
      layout.pixels.push_back(static_cast<std::uint8_t>(colours[rgbaAt(i)]));
    }
    return layout;
  }
  bool opaque = true;
  for (std::size_t i = 0; i < count; ++i) opaque = opaque && rgba[4 * i + 3] == 255;
  if (!opaque) {
    layout.pixels.assign(rgba.begin(), rgba.end());
    return layout;
  }
  layout.colorType = PNG_COLOR_TYPE_RGB;
  layout.channels = 3;
  for (std::size_t i = 0; i < count; ++i) {
    layout.pixels.insert(layout.pixels.end(), rgba.begin() + 4 * i, rgba.begin() + 4 * i + 3);
  }
  return layout;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> EncodePng(int width, int height,
                                                   std::span<const std::uint8_t> rgba) {
  if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4) {
    return std::nullopt;
  }
  Layout layout = Choose(width, height, rgba);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return std::nullopt;
  png_infop info = png_create_info_struct(png);
  std::vector<std::uint8_t> out;
  std::vector<png_bytep> rows;
  const std::size_t stride = static_cast<std::size_t>(width) * layout.channels;
  for (int y = 0; y < height; ++y) rows.push_back(layout.pixels.data() + y * stride);
  // libpng reports its errors by longjmp: nothing with a destructor is made below this line.
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return std::nullopt;
  }
  png_set_write_fn(png, &out, Append, Flush);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               layout.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (layout.colorType == PNG_COLOR_TYPE_PALETTE) {
    png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.alphas.empty()) {
      png_set_tRNS(png, info, layout.alphas.data(), static_cast<int>(layout.alphas.size()),
                   nullptr);
    }
  }
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

bool WriteFile(const char* path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace kq::png
