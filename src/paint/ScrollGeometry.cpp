#include "paint/ScrollGeometry.h"

#include <algorithm>
#include <cstdint>

namespace kq::paint {

int LastScrollPosition(const ScrollRange& range) {
  return std::max(range.min, range.max - std::max(range.page - 1, 0));
}

bool CanScroll(const ScrollRange& range) {
  return LastScrollPosition(range) > range.min;
}

ScrollBarLayout LayoutScrollBar(const Box& bar, const ScrollRange& range, int minThumb) {
  ScrollBarLayout l;
  // Square arrows; a bar too short for two halves them.
  const int arrow = std::min(bar.Width(), bar.Height() / 2);
  l.up = {bar.left, bar.top, bar.right, bar.top + arrow};
  l.down = {bar.left, bar.bottom - arrow, bar.right, bar.bottom};
  l.track = {bar.left, l.up.bottom, bar.right, l.down.top};
  if (!CanScroll(range)) return l;
  const int length = l.track.Height();
  const std::int64_t span = std::int64_t{range.max} - range.min + 1;
  int thumb = range.page > 0 ? static_cast<int>(std::int64_t{length} * range.page / span)
                             : bar.Width();
  thumb = std::max(thumb, minThumb);
  if (thumb >= length) return l;  // no room to move: no thumb
  const int last = LastScrollPosition(range);
  const int pos = std::clamp(range.pos, range.min, last);
  const int top = l.track.top + static_cast<int>(std::int64_t{length - thumb} *
                                                 (pos - range.min) / (last - range.min));
  l.thumb = {bar.left, top, bar.right, top + thumb};
  return l;
}

namespace {

bool Inside(const Box& b, int x, int y) {
  return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

}  // namespace

ScrollPart HitScrollBar(const ScrollBarLayout& l, int x, int y) {
  if (Inside(l.up, x, y)) return ScrollPart::kUpArrow;
  if (Inside(l.down, x, y)) return ScrollPart::kDownArrow;
  if (l.thumb.Empty() || !Inside(l.track, x, y)) return ScrollPart::kNone;
  if (y < l.thumb.top) return ScrollPart::kPageUp;
  if (y >= l.thumb.bottom) return ScrollPart::kPageDown;
  return ScrollPart::kThumb;
}

int ThumbPosition(const ScrollBarLayout& l, const ScrollRange& range, int thumbTop) {
  const int room = l.track.Height() - l.thumb.Height();
  if (l.thumb.Empty() || room <= 0) return range.min;
  const int offset = std::clamp(thumbTop - l.track.top, 0, room);
  const std::int64_t steps = LastScrollPosition(range) - range.min;
  // Rounded to the nearest position, so that the thumb follows the mouse both ways.
  return range.min + static_cast<int>((steps * offset + room / 2) / room);
}

State ScrollPartState(ScrollPart part, ScrollPart hot, ScrollPart pressed, bool enabled) {
  if (!enabled) return State::kDisabled;
  if (pressed != ScrollPart::kNone) return pressed == part ? State::kPressed : State::kNormal;
  return hot == part ? State::kHot : State::kNormal;
}

}  // namespace kq::paint
