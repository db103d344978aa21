#include "paint/ShadowGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kq::paint {

std::ostream& operator<<(std::ostream& out, const Box& b);

namespace {

// Where the shadow window lies around a form at 96 DPI and scaled with the DPI, each kind
// by its own reach.
TEST(ShadowGeometry, TheShadowReachesOutOfTheFormByItsScaledReach) {
  const ShadowSlicing slicing{{10, 6, 10, 14}, 12, 4};
  const struct {
    int dpi;
    Box expected;
  } cases[] = {
      {96, {90, 194, 310, 514}},
      {144, {85, 191, 315, 521}},  // 1.5 times: 15, 9, 15, 21
      {120, {88, 193, 312, 517}},  // 1.25 times, rounded down: 12, 7, 12, 17
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShadowBounds({100, 200, 300, 500}, slicing, c.dpi), c.expected) << c.dpi;
  }
  // The active shadow reaches further than the inactive on every side.
  const Box form{0, 0, 400, 300};
  const Box active = ShadowBounds(form, SlicingOf(ShadowKind::kActive), 96);
  const Box inactive = ShadowBounds(form, SlicingOf(ShadowKind::kInactive), 96);
  EXPECT_LT(active.left, inactive.left);
  EXPECT_LT(active.top, inactive.top);
  EXPECT_GT(active.right, inactive.right);
  EXPECT_GT(active.bottom, inactive.bottom);
}

// The image is cut inside the form's edges; the eight pieces around the middle fill the
// shadow window exactly, the middle (under the form) is left out, and the corners keep
// their size at 96 DPI and grow with the DPI.
TEST(ShadowGeometry, PiecesCoverTheShadowWindowAroundTheForm) {
  const ShadowSlicing slicing{{10, 6, 10, 14}, 12, 4};  // image 48 x 48
  ASSERT_EQ(slicing.Width(), 48);
  ASSERT_EQ(slicing.Height(), 48);
  EXPECT_EQ(slicing.Cuts(), (Margins{22, 18, 22, 26}));
  EXPECT_EQ(slicing.Form(), (Box{10, 6, 38, 34}));

  for (int dpi : {96, 144}) {
    SCOPED_TRACE(dpi);
    const int formW = 200, formH = 120;
    const Box window = ShadowBounds({0, 0, formW, formH}, slicing, dpi);
    const std::vector<Piece> pieces = ShadowPieces(slicing, dpi, formW, formH);
    ASSERT_EQ(pieces.size(), 8u);
    const int scale = dpi / 48;  // 2 at 96, 3 at 144
    const int cornerW = 22 * scale / 2, cornerH = 18 * scale / 2;
    EXPECT_EQ(pieces.front().source, (Box{0, 0, 22, 18}));
    EXPECT_EQ(pieces.front().target, (Box{0, 0, cornerW, cornerH}));
    EXPECT_EQ(pieces.back().source, (Box{26, 22, 48, 48}));
    EXPECT_EQ(pieces.back().target.right, window.Width());
    EXPECT_EQ(pieces.back().target.bottom, window.Height());
    // Each pixel of the window is in one piece, except the middle's.
    long area = 0;
    for (const Piece& p : pieces) area += long{p.target.Width()} * p.target.Height();
    const Margins cuts{cornerW, cornerH, (10 + 12) * scale / 2, (14 + 12) * scale / 2};
    const long middle =
        long{window.Width() - cuts.left - cuts.right} * (window.Height() - cuts.top - cuts.bottom);
    EXPECT_EQ(area, long{window.Width()} * window.Height() - middle);
    for (const Piece& p : pieces) {
      EXPECT_FALSE(p.target.left >= cuts.left && p.target.right <= window.Width() - cuts.right &&
                   p.target.top >= cuts.top && p.target.bottom <= window.Height() - cuts.bottom)
          << "the middle is drawn at " << p.target;
    }
  }
}

}  // namespace
}  // namespace kq::paint
