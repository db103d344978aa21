#include "paint/ShadowGeometry.h"

#include <cstdint>

namespace kq::paint {
namespace {

int Scale(int length, int dpi) {
  return static_cast<int>(std::int64_t{length} * dpi / 96);
}

Margins Scale(const Margins& m, int dpi) {
  return {Scale(m.left, dpi), Scale(m.top, dpi), Scale(m.right, dpi), Scale(m.bottom, dpi)};
}

}  // namespace

const ShadowSlicing& SlicingOf(ShadowKind kind) {
  return kind == ShadowKind::kActive ? kActiveShadow : kInactiveShadow;
}

Box ShadowBounds(const Box& form, const ShadowSlicing& slicing, int dpi) {
  const Margins reach = Scale(slicing.reach, dpi);
  return {form.left - reach.left, form.top - reach.top, form.right + reach.right,
          form.bottom + reach.bottom};
}

std::vector<Piece> ShadowPieces(const ShadowSlicing& slicing, int dpi, int formWidth,
                                int formHeight) {
  const Margins reach = Scale(slicing.reach, dpi);
  const int inset = Scale(slicing.inset, dpi);
  // The cuts keep the form's edge where the reach puts it, whatever the rounding.
  const Margins cuts{reach.left + inset, reach.top + inset, reach.right + inset,
                     reach.bottom + inset};
  const Box target{0, 0, reach.left + formWidth + reach.right,
                   reach.top + formHeight + reach.bottom};
  std::vector<Piece> pieces =
      NineSlice({0, 0, slicing.Width(), slicing.Height()}, slicing.Cuts(), target, cuts);
  const Box middle{cuts.left, cuts.top, target.right - cuts.right, target.bottom - cuts.bottom};
  std::erase_if(pieces, [&middle](const Piece& p) { return p.target == middle; });
  return pieces;
}

}  // namespace kq::paint
