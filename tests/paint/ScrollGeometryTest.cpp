#include "paint/ScrollGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kq::paint {

std::ostream& operator<<(std::ostream& out, const Box& b);  // GeometryTest.cpp

namespace {

// A bar 16 wide and 116 high: arrows of 16, a track of 84 from 16 to 100.
constexpr Box kBar{0, 0, 16, 116};
constexpr int kMinThumb = 10;

TEST(ScrollGeometry, ThumbFollowsTheRangeAndPage) {
  const struct {
    const char* what;
    Box bar;
    ScrollRange range;
    Box thumb;
  } cases[] = {
      // 100 positions, 10 shown: the proportional 8 pixels grow to the minimum.
      {"top", kBar, {0, 99, 10, 0}, {0, 16, 16, 26}},
      {"middle", kBar, {0, 99, 10, 45}, {0, 53, 16, 63}},
      {"end", kBar, {0, 99, 10, 90}, {0, 90, 16, 100}},
      {"past the end: held at the end", kBar, {0, 99, 10, 99}, {0, 90, 16, 100}},
      {"before the start", kBar, {0, 99, 10, -5}, {0, 16, 16, 26}},
      {"half the range shown: half the track", kBar, {0, 19, 10, 0}, {0, 16, 16, 58}},
      {"a range not from 0", kBar, {10, 29, 10, 20}, {0, 58, 16, 100}},
      {"no page: a square thumb", kBar, {0, 99, 0, 0}, {0, 16, 16, 32}},
      {"a page larger than the range", kBar, {0, 9, 20, 0}, {}},
      {"a page exactly the range", kBar, {0, 9, 10, 0}, {}},
      {"a tiny track the thumb does not fit", {0, 0, 16, 40}, {0, 99, 10, 0}, {}},
      {"a thumb as long as the track", {0, 0, 16, 42}, {0, 99, 10, 0}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const ScrollBarLayout l = LayoutScrollBar(c.bar, c.range, kMinThumb);
    EXPECT_EQ(l.thumb, c.thumb);
    EXPECT_EQ(l.up, (Box{c.bar.left, c.bar.top, c.bar.right, c.bar.top + 16}));
    EXPECT_EQ(l.down, (Box{c.bar.left, c.bar.bottom - 16, c.bar.right, c.bar.bottom}));
    EXPECT_EQ(l.track, (Box{c.bar.left, c.bar.top + 16, c.bar.right, c.bar.bottom - 16}));
    if (!l.thumb.Empty()) {
      EXPECT_GE(l.thumb.top, l.track.top);
      EXPECT_LE(l.thumb.bottom, l.track.bottom);
    }
  }
}

TEST(ScrollGeometry, ShortBarsHalveTheArrows) {
  const ScrollBarLayout l = LayoutScrollBar({4, 10, 20, 30}, {0, 99, 10, 0}, kMinThumb);
  EXPECT_EQ(l.up, (Box{4, 10, 20, 20}));
  EXPECT_EQ(l.down, (Box{4, 20, 20, 30}));
  EXPECT_TRUE(l.track.Empty());
  EXPECT_TRUE(l.thumb.Empty());
}

TEST(ScrollGeometry, HitTestingFindsEachPiece) {
  const ScrollBarLayout middle = LayoutScrollBar(kBar, {0, 99, 10, 45}, kMinThumb);
  const ScrollBarLayout flat = LayoutScrollBar(kBar, {0, 9, 20, 0}, kMinThumb);
  const struct {
    const char* what;
    const ScrollBarLayout& layout;
    int x, y;
    ScrollPart part;
  } cases[] = {
      {"up arrow", middle, 8, 0, ScrollPart::kUpArrow},
      {"up arrow's last row", middle, 8, 15, ScrollPart::kUpArrow},
      {"above the thumb", middle, 8, 16, ScrollPart::kPageUp},
      {"thumb's first row", middle, 8, 53, ScrollPart::kThumb},
      {"thumb's last row", middle, 15, 62, ScrollPart::kThumb},
      {"below the thumb", middle, 0, 63, ScrollPart::kPageDown},
      {"down arrow", middle, 8, 100, ScrollPart::kDownArrow},
      {"below the bar", middle, 8, 116, ScrollPart::kNone},
      {"right of the bar", middle, 16, 50, ScrollPart::kNone},
      {"left of the bar", middle, -1, 50, ScrollPart::kNone},
      {"no thumb: the track pages nothing", flat, 8, 50, ScrollPart::kNone},
      {"no thumb: the arrows stay", flat, 8, 105, ScrollPart::kDownArrow},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HitScrollBar(c.layout, c.x, c.y), c.part) << c.what;
  }
}

TEST(ScrollGeometry, ADraggedThumbGivesThePositionItShows) {
  // 21 positions, 10 shown: the thumb (40) moves 4 pixels a position, so every position
  // dragged to comes back as itself.
  const ScrollRange range{0, 20, 10, 0};
  const ScrollBarLayout l = LayoutScrollBar(kBar, range, kMinThumb);
  for (int pos = 0; pos <= LastScrollPosition(range); ++pos) {
    const ScrollBarLayout at = LayoutScrollBar(kBar, {0, 20, 10, pos}, kMinThumb);
    EXPECT_EQ(ThumbPosition(l, range, at.thumb.top), pos);
    EXPECT_EQ(ThumbPosition(l, range, at.thumb.top + 1), pos) << "a pixel past rounds back";
  }
  // More positions than pixels; past both ends of the track.
  const ScrollRange many{0, 99, 10, 45};
  const ScrollBarLayout m = LayoutScrollBar(kBar, many, kMinThumb);
  EXPECT_EQ(ThumbPosition(m, many, m.thumb.top), 45);
  EXPECT_EQ(ThumbPosition(m, many, -50), 0);
  EXPECT_EQ(ThumbPosition(m, many, 500), 90);
  const ScrollRange shifted{10, 29, 10, 10};
  EXPECT_EQ(ThumbPosition(LayoutScrollBar(kBar, shifted, kMinThumb), shifted, 100), 20);
  // Without a thumb nothing moves.
  EXPECT_EQ(ThumbPosition(LayoutScrollBar(kBar, {0, 9, 20, 0}, kMinThumb), many, 60), 0);
}

TEST(ScrollGeometry, EachPieceShowsItsState) {
  using P = ScrollPart;
  const struct {
    P part, hot, pressed;
    bool enabled;
    State state;
  } cases[] = {
      {P::kThumb, P::kNone, P::kNone, true, State::kNormal},
      {P::kThumb, P::kThumb, P::kNone, true, State::kHot},
      {P::kThumb, P::kThumb, P::kThumb, true, State::kPressed},
      {P::kThumb, P::kDownArrow, P::kThumb, true, State::kPressed},  // dragged off it
      {P::kDownArrow, P::kDownArrow, P::kThumb, true, State::kNormal},  // another held
      {P::kUpArrow, P::kUpArrow, P::kNone, false, State::kDisabled},
      {P::kDownArrow, P::kNone, P::kDownArrow, false, State::kDisabled},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrollPartState(c.part, c.hot, c.pressed, c.enabled), c.state)
        << static_cast<int>(c.part) << " hot " << static_cast<int>(c.hot) << " pressed "
        << static_cast<int>(c.pressed);
  }
}

TEST(ScrollGeometry, CanScrollOnlyWhenThePageDoesNotShowEverything) {
  const struct {
    ScrollRange range;
    int last;
    bool can;
  } cases[] = {
      {{0, 99, 10, 0}, 90, true}, {{0, 9, 10, 0}, 0, false}, {{0, 9, 11, 0}, 0, false},
      {{0, 0, 0, 0}, 0, false},   {{0, 5, 0, 0}, 5, true},    {{5, 3, 0, 0}, 5, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LastScrollPosition(c.range), c.last) << c.range.max << "/" << c.range.page;
    EXPECT_EQ(CanScroll(c.range), c.can) << c.range.max << "/" << c.range.page;
  }
}

}  // namespace
}  // namespace kq::paint
