#include "paint/Geometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kq::paint {

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}
std::ostream& operator<<(std::ostream& out, const Piece& p) {
  return out << p.source << "->" << p.target;
}

namespace {

TEST(Geometry, FrameBoxCutsTheStrip) {
  const struct {
    int width, height, frames, index;
    Box box;
  } cases[] = {
      {40, 10, 4, 0, {0, 0, 10, 10}},  {40, 10, 4, 3, {30, 0, 40, 10}},
      {40, 10, 4, 4, {0, 0, 10, 10}},  // out of range: the first frame
      {40, 10, 4, -1, {0, 0, 10, 10}}, {40, 10, 1, 0, {0, 0, 40, 10}},
      {40, 10, 0, 0, {0, 0, 40, 10}},   // no frames count as one
      {42, 10, 4, 3, {30, 0, 40, 10}},  // a remainder is never part of a frame
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FrameBox(c.width, c.height, c.frames, c.index), c.box)
        << c.width << " " << c.frames << " " << c.index;
  }
}

TEST(Geometry, NineSliceKeepsCornersAndStretchesTheRest) {
  // A frame at (10,0) of 12 x 12 with margins 4; a 100 x 30 target at (5,5).
  const auto pieces = NineSlice({10, 0, 22, 12}, {5, 5, 105, 35}, {4, 4, 4, 4});
  const std::vector<Piece> expected = {
      {{10, 0, 14, 4}, {5, 5, 9, 9}},        {{14, 0, 18, 4}, {9, 5, 101, 9}},
      {{18, 0, 22, 4}, {101, 5, 105, 9}},    {{10, 4, 14, 8}, {5, 9, 9, 31}},
      {{14, 4, 18, 8}, {9, 9, 101, 31}},     {{18, 4, 22, 8}, {101, 9, 105, 31}},
      {{10, 8, 14, 12}, {5, 31, 9, 35}},     {{14, 8, 18, 12}, {9, 31, 101, 35}},
      {{18, 8, 22, 12}, {101, 31, 105, 35}},
  };
  EXPECT_EQ(pieces, expected);
}

TEST(Geometry, NineSliceShrinksMarginsInProportionForSmallTargets) {
  const struct {
    const char* what;
    Box source, target;
    Margins margins;
    std::vector<Piece> pieces;
  } cases[] = {
      {"narrower than both margins: the centre column goes",
       {0, 0, 12, 12},
       {0, 0, 6, 20},
       {4, 4, 4, 4},
       {{{0, 0, 4, 4}, {0, 0, 3, 4}},
        {{8, 0, 12, 4}, {3, 0, 6, 4}},
        {{0, 4, 4, 8}, {0, 4, 3, 16}},
        {{8, 4, 12, 8}, {3, 4, 6, 16}},
        {{0, 8, 4, 12}, {0, 16, 3, 20}},
        {{8, 8, 12, 12}, {3, 16, 6, 20}}}},
      {"unequal margins keep their ratio",
       {0, 0, 10, 2},
       {0, 0, 4, 2},
       {6, 0, 2, 0},
       {{{0, 0, 6, 2}, {0, 0, 3, 2}}, {{8, 0, 10, 2}, {3, 0, 4, 2}}}},
      {"one pixel high: the rounding goes to the bottom margin",
       {0, 0, 3, 3},
       {0, 0, 3, 1},
       {0, 1, 0, 1},
       {{{0, 2, 3, 3}, {0, 0, 3, 1}}}},
      {"no margins: one stretched piece",
       {0, 0, 4, 4},
       {0, 0, 50, 60},
       {},
       {{{0, 0, 4, 4}, {0, 0, 50, 60}}}},
      {"margins as wide as the frame: nothing to stretch in the middle",
       {0, 0, 4, 4},
       {0, 0, 10, 4},
       {2, 0, 2, 0},
       {{{0, 0, 2, 4}, {0, 0, 2, 4}}, {{2, 0, 4, 4}, {8, 0, 10, 4}}}},
      {"empty target", {0, 0, 4, 4}, {5, 5, 5, 9}, {1, 1, 1, 1}, {}},
      {"empty source", {0, 0, 0, 4}, {0, 0, 9, 9}, {1, 1, 1, 1}, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NineSlice(c.source, c.target, c.margins), c.pieces) << c.what;
}

// Whatever the sizes, the pieces cover the target exactly once and stay inside the source.
TEST(Geometry, NineSlicePiecesTileTheTarget) {
  for (int width = 1; width <= 24; ++width) {
    for (int height : {1, 2, 5, 9, 30}) {
      for (const Margins m :
           {Margins{3, 3, 3, 3}, Margins{5, 1, 0, 7}, Margins{7, 7, 8, 8}, Margins{0, 15, 15, 0}}) {
        const Box source{16, 0, 32, 16}, target{2, 3, 2 + width, 3 + height};
        std::vector<int> covered(static_cast<std::size_t>(width * height));
        for (const Piece& p : NineSlice(source, target, m)) {
          EXPECT_TRUE(p.source.left >= source.left && p.source.right <= source.right &&
                      p.source.top >= source.top && p.source.bottom <= source.bottom);
          for (int y = p.target.top; y < p.target.bottom; ++y) {
            for (int x = p.target.left; x < p.target.right; ++x) {
              ASSERT_TRUE(x >= target.left && x < target.right && y >= target.top &&
                          y < target.bottom);
              ++covered[static_cast<std::size_t>((y - 3) * width + (x - 2))];
            }
          }
        }
        EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), width * height)
            << width << "x" << height << " margins " << m.left << "," << m.top << "," << m.right
            << "," << m.bottom;
      }
    }
  }
}

TEST(Geometry, TileRepeatsFromTheTopLeftAndCutsTheLastRowAndColumn) {
  const auto pieces = Tile({20, 0, 30, 10}, {5, 5, 30, 17});
  const std::vector<Piece> expected = {
      {{20, 0, 30, 10}, {5, 5, 15, 15}},  {{20, 0, 30, 10}, {15, 5, 25, 15}},
      {{20, 0, 25, 10}, {25, 5, 30, 15}}, {{20, 0, 30, 2}, {5, 15, 15, 17}},
      {{20, 0, 30, 2}, {15, 15, 25, 17}}, {{20, 0, 25, 2}, {25, 15, 30, 17}},
  };
  EXPECT_EQ(pieces, expected);
  EXPECT_EQ(Tile({0, 0, 10, 10}, {0, 0, 4, 4}), (std::vector<Piece>{{{0, 0, 4, 4}, {0, 0, 4, 4}}}));
  EXPECT_TRUE(Tile({0, 0, 0, 10}, {0, 0, 40, 40}).empty());
  EXPECT_TRUE(Tile({0, 0, 10, 10}, {0, 0, 0, 40}).empty());
}

// At 150 % the corners are half as big again in both directions, and the tiles too; at
// 100 % nothing changes.
TEST(Geometry, ImagesScaleWithTheScreensDpi) {
  EXPECT_EQ(ScaleToDpi(4, 96), 4);
  EXPECT_EQ(ScaleToDpi(4, 144), 6);
  EXPECT_EQ(ScaleToDpi(5, 120), 6);  // 6.25
  EXPECT_EQ(ScaleToDpi(3, 144), 5);  // 4.5 rounds up
  EXPECT_EQ(ScaleToDpi(7, 0), 7);    // no DPI known: as stored

  const auto nine = NineSlice({0, 0, 12, 12}, {0, 0, 100, 30}, {4, 4, 4, 4}, 144);
  ASSERT_EQ(nine.size(), 9u);
  EXPECT_EQ(nine[0], (Piece{{0, 0, 4, 4}, {0, 0, 6, 6}}));          // top left corner
  EXPECT_EQ(nine[2], (Piece{{8, 0, 12, 4}, {94, 0, 100, 6}}));      // top right
  EXPECT_EQ(nine[4], (Piece{{4, 4, 8, 8}, {6, 6, 94, 24}}));        // the middle
  EXPECT_EQ(nine[8], (Piece{{8, 8, 12, 12}, {94, 24, 100, 30}}));   // bottom right
  // Scaled corners still give way in a target too small for them.
  const auto small = NineSlice({0, 0, 12, 12}, {0, 0, 10, 10}, {4, 4, 4, 4}, 192);
  EXPECT_EQ(small.front(), (Piece{{0, 0, 4, 4}, {0, 0, 5, 5}}));
  EXPECT_EQ(small.back(), (Piece{{8, 8, 12, 12}, {5, 5, 10, 10}}));

  // 10 x 10 tiles at 200 %: 20 x 20 copies; the cut ones take their share of the source.
  const auto tiles = Tile({0, 0, 10, 10}, {0, 0, 50, 20}, 192);
  const std::vector<Piece> expected = {
      {{0, 0, 10, 10}, {0, 0, 20, 20}},
      {{0, 0, 10, 10}, {20, 0, 40, 20}},
      {{0, 0, 5, 10}, {40, 0, 50, 20}},
  };
  EXPECT_EQ(tiles, expected);
  EXPECT_EQ(Tile({0, 0, 10, 10}, {0, 0, 30, 12}), Tile({0, 0, 10, 10}, {0, 0, 30, 12}, 96));
}

}  // namespace
}  // namespace kq::paint
