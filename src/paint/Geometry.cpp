#include "paint/Geometry.h"

#include <algorithm>
#include <cstdint>

namespace kq::paint {
namespace {

// The four edges of a span cut by two margins; margins wider than the span together shrink in
// proportion to fill it.
std::array<int, 4> Cuts(int start, int size, int first, int second) {
  if (first + second > size) {
    const std::int64_t shrunk = std::int64_t{size} * first / (first + second);
    first = static_cast<int>(shrunk);
    second = size - first;
  }
  return {start, start + first, start + size - second, start + size};
}

}  // namespace

Box FrameBox(int width, int height, int frames, int index) {
  frames = std::max(frames, 1);
  if (index < 0 || index >= frames) index = 0;
  const int frameWidth = width / frames;
  return {index * frameWidth, 0, (index + 1) * frameWidth, height};
}

std::vector<Piece> NineSlice(const Box& source, const Box& target, const Margins& margins) {
  return NineSlice(source, margins, target, margins);
}

std::vector<Piece> NineSlice(const Box& source, const Margins& sourceMargins, const Box& target,
                             const Margins& targetMargins) {
  std::vector<Piece> pieces;
  if (source.Empty() || target.Empty()) return pieces;
  const auto sx = Cuts(source.left, source.Width(), sourceMargins.left, sourceMargins.right);
  const auto sy = Cuts(source.top, source.Height(), sourceMargins.top, sourceMargins.bottom);
  const auto tx = Cuts(target.left, target.Width(), targetMargins.left, targetMargins.right);
  const auto ty = Cuts(target.top, target.Height(), targetMargins.top, targetMargins.bottom);
  for (std::size_t row = 0; row < 3; ++row) {
    for (std::size_t col = 0; col < 3; ++col) {
      const Piece piece{{sx[col], sy[row], sx[col + 1], sy[row + 1]},
                        {tx[col], ty[row], tx[col + 1], ty[row + 1]}};
      if (!piece.source.Empty() && !piece.target.Empty()) pieces.push_back(piece);
    }
  }
  return pieces;
}

std::vector<Piece> Tile(const Box& source, const Box& target) {
  std::vector<Piece> pieces;
  if (source.Empty() || target.Empty()) return pieces;
  for (int y = target.top; y < target.bottom; y += source.Height()) {
    const int height = std::min(source.Height(), target.bottom - y);
    for (int x = target.left; x < target.right; x += source.Width()) {
      const int width = std::min(source.Width(), target.right - x);
      pieces.push_back({{source.left, source.top, source.left + width, source.top + height},
                        {x, y, x + width, y + height}});
    }
  }
  return pieces;
}

}  // namespace kq::paint
