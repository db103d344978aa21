#include "PngWriter.h"

#include <png.h>

#include <gtest/gtest.h>

#include <functional>

namespace kq::png {
namespace {

// Every image comes back from libpng exactly, in the narrowest colour type that holds it.
TEST(PngWriter, WritesTheNarrowestExactColourType) {
  struct Case {
    const char* what;
    int width, height;
    std::function<std::array<std::uint8_t, 4>(int x, int y)> pixel;
    int colourType;     // IHDR
    bool transparency;  // a tRNS chunk
  };
  const Case cases[] = {
      {"opaque, three colours", 7, 5,
       [](int x, int) -> std::array<std::uint8_t, 4> {
         return {std::uint8_t(x % 3 * 80), 10, 20, 255};
       },
       PNG_COLOR_TYPE_PALETTE, false},
      {"translucent, few colours", 9, 9,
       [](int x, int y) -> std::array<std::uint8_t, 4> {
         return {200, 100, 50, std::uint8_t(x == y ? 0 : x < y ? 128 : 255)};
       },
       PNG_COLOR_TYPE_PALETTE, true},
      {"opaque, more than 256 colours", 32, 16,
       [](int x, int y) -> std::array<std::uint8_t, 4> {
         return {std::uint8_t(x * 8), std::uint8_t(y * 16), std::uint8_t(x ^ y), 255};
       },
       PNG_COLOR_TYPE_RGB, false},
      {"translucent, more than 256 colours", 32, 16,
       [](int x, int y) -> std::array<std::uint8_t, 4> {
         return {std::uint8_t(x * 8), std::uint8_t(y * 16), 7, std::uint8_t(x * 8 + 3)};
       },
       PNG_COLOR_TYPE_RGB_ALPHA, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        const auto p = c.pixel(x, y);
        rgba.insert(rgba.end(), p.begin(), p.end());
      }
    }
    const auto file = EncodePng(c.width, c.height, rgba);
    ASSERT_TRUE(file);
    ASSERT_GT(file->size(), 33u);
    EXPECT_EQ((*file)[24], 8) << "bit depth";
    EXPECT_EQ((*file)[25], c.colourType);
    const std::string bytes(file->begin(), file->end());
    EXPECT_EQ(bytes.find("tRNS") != std::string::npos, c.transparency);

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&png, file->data(), file->size()));
    png.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> back(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, back.data(), 0, nullptr));
    EXPECT_EQ(static_cast<int>(png.width), c.width);
    EXPECT_EQ(static_cast<int>(png.height), c.height);
    EXPECT_EQ(back, rgba);
  }
}

TEST(PngWriter, RefusesPixelsThatDoNotMatchTheSize) {
  const std::vector<std::uint8_t> four(4 * 4, 255);
  EXPECT_TRUE(EncodePng(2, 2, four));
  EXPECT_FALSE(EncodePng(3, 2, four));
  EXPECT_FALSE(EncodePng(0, 0, {}));
}

}  // namespace
}  // namespace kq::png
