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

int ScaleToDpi(int length, int dpi) {
  if (dpi <= 0) dpi = 96;
  return static_cast<int>((std::int64_t{length} * dpi + 48) / 96);
}

std::vector<Piece> NineSlice(const Box& source, const Box& target, const Margins& margins,
                             int dpi) {
  const Margins scaled{ScaleToDpi(margins.left, dpi), ScaleToDpi(margins.top, dpi),
                       ScaleToDpi(margins.right, dpi), ScaleToDpi(margins.bottom, dpi)};
  return NineSlice(source, margins, target, scaled);
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

std::vector<Piece> Tile(const Box& source, const Box& target, int dpi) {
  std::vector<Piece> pieces;
  if (source.Empty() || target.Empty()) return pieces;
  const int stepX = std::max(1, ScaleToDpi(source.Width(), dpi));
  const int stepY = std::max(1, ScaleToDpi(source.Height(), dpi));
  // A cut copy takes the same share of the source as of the step.
  const auto share = [](int part, int step, int whole) {
    return part == step ? whole
                        : std::max(1, static_cast<int>(std::int64_t{part} * whole / step));
  };
  for (int y = target.top; y < target.bottom; y += stepY) {
    const int height = std::min(stepY, target.bottom - y);
    const int sourceHeight = share(height, stepY, source.Height());
    for (int x = target.left; x < target.right; x += stepX) {
      const int width = std::min(stepX, target.right - x);
      const int sourceWidth = share(width, stepX, source.Width());
      pieces.push_back(
          {{source.left, source.top, source.left + sourceWidth, source.top + sourceHeight},
           {x, y, x + width, y + height}});
    }
  }
  return pieces;
}

}  // namespace kq::paint
