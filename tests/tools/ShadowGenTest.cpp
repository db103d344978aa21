#include "shadowgen/ShadowArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace kq::shadowgen {
namespace {

using paint::ShadowKind;

int Alpha(const Image& image, int x, int y) {
  return image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4 + 3];
}

int MaxAlpha(const Image& image) {
  int most = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) most = std::max(most, Alpha(image, x, y));
  return most;
}

// Each image is of its slicing's size, black, clear under the form and all but clear at its
// outer edge; and it is cut where the window cuts it: between the corners every row (and
// column) is the same along the form's side, and the corner pieces meet the stretched edges
// without a seam, so that stretching shows no step.
TEST(ShadowGenerator, ImagesAreCutWhereTheirSlicingSays) {
  for (ShadowKind kind : {ShadowKind::kActive, ShadowKind::kInactive}) {
    SCOPED_TRACE(kind == ShadowKind::kActive ? "active" : "inactive");
    const paint::ShadowSlicing& s = paint::SlicingOf(kind);
    const Image image = DrawShadow(kind);
    ASSERT_EQ(image.width, s.Width());
    ASSERT_EQ(image.height, s.Height());
    ASSERT_EQ(image.rgba.size(), static_cast<std::size_t>(image.width * image.height * 4));
    for (std::size_t i = 0; i < image.rgba.size(); i += 4) {
      ASSERT_EQ(image.rgba[i] | image.rgba[i + 1] | image.rgba[i + 2], 0)
          << "not black at " << i / 4;
    }
    const paint::Box form = s.Form();
    for (int y = form.top; y < form.bottom; ++y)
      for (int x = form.left; x < form.right; ++x)
        ASSERT_EQ(Alpha(image, x, y), 0) << x << "," << y;
    for (int x = 0; x < image.width; ++x) {
      EXPECT_LE(Alpha(image, x, 0), 3) << x;
      EXPECT_LE(Alpha(image, x, image.height - 1), 3) << x;
    }
    for (int y = 0; y < image.height; ++y) {
      EXPECT_LE(Alpha(image, 0, y), 3) << y;
      EXPECT_LE(Alpha(image, image.width - 1, y), 3) << y;
    }

    const paint::Margins cuts = s.Cuts();
    // Rows through the stretched top and bottom edges: one value from the last column of
    // the left corners to the first of the right ones.
    for (int y = 0; y < image.height; ++y) {
      if (y >= form.top && y < form.bottom) continue;
      const int edge = Alpha(image, cuts.left, y);
      for (int x = cuts.left - 1; x <= image.width - cuts.right; ++x)
        ASSERT_LE(std::abs(Alpha(image, x, y) - edge), 1) << x << "," << y;
    }
    for (int x = 0; x < image.width; ++x) {
      if (x >= form.left && x < form.right) continue;
      const int edge = Alpha(image, x, cuts.top);
      for (int y = cuts.top - 1; y <= image.height - cuts.bottom; ++y)
        ASSERT_LE(std::abs(Alpha(image, x, y) - edge), 1) << x << "," << y;
    }
  }
}

// The active window's shadow is darker than the inactive's; both are cast downwards, darker
// under the form than over it; and both encode as PNG.
TEST(ShadowGenerator, TheActiveShadowIsDarkerAndBothFallDownwards) {
  const Image active = DrawShadow(ShadowKind::kActive);
  const Image inactive = DrawShadow(ShadowKind::kInactive);
  EXPECT_GT(MaxAlpha(active), MaxAlpha(inactive) + 30);
  EXPECT_GT(MaxAlpha(inactive), 40);
  for (const Image* image : {&active, &inactive}) {
    const paint::Box form =
        paint::SlicingOf(image == &active ? ShadowKind::kActive : ShadowKind::kInactive).Form();
    const int x = image->width / 2;
    EXPECT_GT(Alpha(*image, x, form.bottom), Alpha(*image, x, form.top - 1));
    const auto png = EncodePng(*image);
    ASSERT_TRUE(png);
    ASSERT_GT(png->size(), 8u);
    EXPECT_EQ((*png)[1], 'P');
  }
}

}  // namespace
}  // namespace kq::shadowgen
