#include "IconGen.h"

#include <png.h>

#include <gtest/gtest.h>

namespace kq::icongen {
namespace {

unsigned U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | b.at(at + 1) << 8;
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return U16(b, at) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

const std::uint8_t* Pixel(const Image& image, int x, int y) {
  return &image.rgba[(static_cast<std::size_t>(y) * image.size + x) * 4];
}

TEST(IconGen, TheDesignIsOpaqueInsideAndClearAtTheCorners) {
  for (int size : kIconSizes) {
    const Image image = DrawIcon(size);
    ASSERT_EQ(image.rgba.size(), static_cast<std::size_t>(size) * size * 4);
    EXPECT_EQ(Pixel(image, 0, 0)[3], 0) << size;            // rounded corner
    EXPECT_EQ(Pixel(image, size - 1, size - 1)[3], 0) << size;
    const std::uint8_t* middle = Pixel(image, size / 2, size / 2);  // the white triangle
    EXPECT_EQ(middle[3], 255) << size;
    EXPECT_GT(middle[0], 230) << size;
    const std::uint8_t* tile = Pixel(image, size / 5, size * 4 / 5);  // blue tile, outside the ring
    EXPECT_EQ(tile[3], 255) << size;
    EXPECT_GT(tile[2], tile[0]) << size;
  }
}

TEST(IconGen, TheIcoHoldsEverySizeWithDibsBelow256AndPngAt256) {
  std::vector<Image> images;
  for (int size : kIconSizes) images.push_back(DrawIcon(size));
  const auto ico = BuildIco(images);
  ASSERT_TRUE(ico);
  ASSERT_EQ(U16(*ico, 0), 0u);
  ASSERT_EQ(U16(*ico, 2), 1u);
  ASSERT_EQ(U16(*ico, 4), images.size());

  std::size_t expectedOffset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE(images[i].size);
    const std::size_t entry = 6 + 16 * i;
    const int side = images[i].size;
    EXPECT_EQ((*ico)[entry], side == 256 ? 0 : side);
    EXPECT_EQ((*ico)[entry + 1], side == 256 ? 0 : side);
    EXPECT_EQ(U16(*ico, entry + 6), 32u);
    const std::uint32_t bytes = U32(*ico, entry + 8), offset = U32(*ico, entry + 12);
    ASSERT_EQ(offset, expectedOffset);  // images follow each other, nothing overlaps
    ASSERT_LE(offset + bytes, ico->size());
    expectedOffset += bytes;

    if (side == 256) {
      // The PNG reads back to exactly the drawn pixels.
      png_image png{};
      png.version = PNG_IMAGE_VERSION;
      ASSERT_TRUE(png_image_begin_read_from_memory(&png, ico->data() + offset, bytes));
      png.format = PNG_FORMAT_RGBA;
      std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(png));
      ASSERT_TRUE(png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr));
      EXPECT_EQ(png.width, 256u);
      EXPECT_EQ(pixels, images[i].rgba);
      continue;
    }
    // A DIB: doubled height, 32 bits, bottom-up BGRA, then the mask set where alpha is 0.
    EXPECT_EQ(U32(*ico, offset), 40u);
    EXPECT_EQ(U32(*ico, offset + 4), static_cast<std::uint32_t>(side));
    EXPECT_EQ(U32(*ico, offset + 8), static_cast<std::uint32_t>(2 * side));
    EXPECT_EQ(U16(*ico, offset + 14), 32u);
    const std::size_t stride = (side + 31) / 32 * 4;
    ASSERT_EQ(bytes, 40 + 4u * side * side + stride * side);
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const std::uint8_t* want = Pixel(images[i], x, y);
        const std::size_t at = offset + 40 + (static_cast<std::size_t>(side - 1 - y) * side + x) * 4;
        ASSERT_EQ((*ico)[at], want[2]) << x << "," << y;
        ASSERT_EQ((*ico)[at + 2], want[0]) << x << "," << y;
        ASSERT_EQ((*ico)[at + 3], want[3]) << x << "," << y;
        const std::size_t maskAt = offset + 40 + 4u * side * side + (side - 1 - y) * stride + x / 8;
        const bool masked = ((*ico)[maskAt] >> (7 - x % 8)) & 1;
        ASSERT_EQ(masked, want[3] == 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(expectedOffset, ico->size());
}

}  // namespace
}  // namespace kq::icongen
