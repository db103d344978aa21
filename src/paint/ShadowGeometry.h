// Where a form's shadow lies and how its image is cut. The shadow images are drawn at build
// time (tools/shadowgen) by these very numbers, and the shadow window stretches them by
// them: this header is the one place they are kept.
#pragma once

#include "paint/Geometry.h"
#include "paint/SkinModel.h"

#include <vector>

namespace kq::paint {

enum class ShadowKind { kActive, kInactive };

// One shadow image, at 96 DPI. The image is a form of span x span pixels with its shadow
// around it:
//
//   | reach.left | inset | span | inset | reach.right |
//
// (the same downwards with reach.top and reach.bottom). The nine-slice cuts lie `inset`
// pixels inside the form's edges, so each corner piece holds all of the shadow's rounding
// and blur at that corner, and the edges between the corners are uniform along the form's
// side and may be stretched. The part under the form is clear.
struct ShadowSlicing {
  Margins reach;  // how far the shadow reaches out of the form on each side
  int inset = 0;  // how far the corner pieces reach in under the form
  int span = 0;   // the stretched middle
  int Width() const { return reach.left + 2 * inset + span + reach.right; }
  int Height() const { return reach.top + 2 * inset + span + reach.bottom; }
  // The nine-slice margins of the image.
  Margins Cuts() const {
    return {reach.left + inset, reach.top + inset, reach.right + inset, reach.bottom + inset};
  }
  // The form's place in the image.
  Box Form() const {
    return {reach.left, reach.top, Width() - reach.right, Height() - reach.bottom};
  }
};

// The active window's shadow is darker and wider, cast a little further down.
inline constexpr ShadowSlicing kActiveShadow{{14, 10, 14, 18}, 22, 4};
inline constexpr ShadowSlicing kInactiveShadow{{8, 6, 8, 11}, 14, 4};

const ShadowSlicing& SlicingOf(ShadowKind kind);

// The shadow window's rectangle (screen coordinates) around a form's window rectangle.
Box ShadowBounds(const Box& form, const ShadowSlicing& slicing, int dpi);

// The pieces of the image that make the shadow of a form of that window size, in the
// shadow window's coordinates. The middle piece lies under the form and is left out.
std::vector<Piece> ShadowPieces(const ShadowSlicing& slicing, int dpi, int formWidth,
                                int formHeight);

}  // namespace kq::paint
