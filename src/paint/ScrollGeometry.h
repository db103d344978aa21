// Where the pieces of a vertical scroll bar go: its two arrow buttons, the track between
// them and the thumb in it, from the window's scroll range; which piece a point is on; the
// position a dragged thumb stands for; and the state each piece shows.
#pragma once

#include "paint/Geometry.h"
#include "paint/SkinModel.h"

#include <cstdint>

namespace kq::paint {

// A bar's range as the window system keeps it: positions min to max, `page` of them shown.
struct ScrollRange {
  int min = 0, max = 0, page = 0, pos = 0;
};

// The highest position the top of the page reaches.
int LastScrollPosition(const ScrollRange& range);
// Whether there is anything to scroll: the page does not show the whole range.
bool CanScroll(const ScrollRange& range);

enum class ScrollPart : std::uint8_t { kNone, kUpArrow, kPageUp, kThumb, kPageDown, kDownArrow };

struct ScrollBarLayout {
  Box up, down;  // the arrow buttons, square where the bar is long enough
  Box track;     // between them
  Box thumb;     // empty when the bar cannot scroll or the thumb does not fit
};

// The pieces of a vertical bar in `bar`; the thumb is at least `minThumb` long and in
// proportion to the page, or as long as the bar is wide when the range has no page.
ScrollBarLayout LayoutScrollBar(const Box& bar, const ScrollRange& range, int minThumb);
// The piece under the point; the track without a thumb is no piece (nothing to page).
ScrollPart HitScrollBar(const ScrollBarLayout& layout, int x, int y);
// The position a thumb whose top is dragged to `thumbTop` stands for, in the range.
int ThumbPosition(const ScrollBarLayout& layout, const ScrollRange& range, int thumbTop);
// The state a piece shows: disabled with the bar, pressed while held, hot under the
// mouse unless another piece is held.
State ScrollPartState(ScrollPart part, ScrollPart hot, ScrollPart pressed, bool enabled);

}  // namespace kq::paint
