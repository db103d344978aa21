// Where the pieces of a skin image go: frames cut from a strip, nine-slice, tiling.
#pragma once

#include "paint/SkinModel.h"

#include <array>
#include <vector>

namespace kq::paint {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const Box&) const = default;
};

// Frame `index` of an image of that size cut into `frames` frames side by side; an index
// out of range gives frame 0.
Box FrameBox(int width, int height, int frames, int index);

struct Piece {
  Box source;
  Box target;
  bool operator==(const Piece&) const = default;
};

// A skin image's length (stored for 96 DPI) on a screen of `dpi`, rounded.
int ScaleToDpi(int length, int dpi);

// The nine pieces of a frame drawn into `target`, the corners kept at their size (at the
// screen's DPI: scaled as a whole, never stretched one way). When the target is smaller than
// the margins, the margins shrink in proportion so that nothing overlaps; empty pieces are
// left out.
std::vector<Piece> NineSlice(const Box& source, const Box& target, const Margins& margins,
                             int dpi = 96);
// The same with the target's margins of their own.
std::vector<Piece> NineSlice(const Box& source, const Margins& sourceMargins, const Box& target,
                             const Margins& targetMargins);

// The copies of `source` (each at the screen's DPI) that tile `target` from its top left, the
// last row and column cut.
std::vector<Piece> Tile(const Box& source, const Box& target, int dpi = 96);

}  // namespace kq::paint
