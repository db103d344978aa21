#include "ShadowArt.h"

#include "PngWriter.h"

#include <algorithm>
#include <cmath>

namespace kq::shadowgen {
namespace {

// How a shadow looks; where its image is cut is the slicing's (paint/ShadowGeometry.h).
// The blur and the rounding must die out within the slicing's inset of a corner, or the
// stretched edges would carry a piece of a corner: the generator's test checks it.
struct ShadowLook {
  paint::ShadowKind kind;
  float opacity;  // at the darkest, under the form's edges
  float blur;     // the Gaussian's sigma, in pixels
  float radius;   // the rounding of the shape that casts the shadow
  float spread;   // how much larger than the form that shape is
  float drop;     // how far down it is moved
};

constexpr ShadowLook kLooks[] = {
    {paint::ShadowKind::kActive, 0.50f, 4.5f, 6.0f, 1.0f, 3.0f},
    {paint::ShadowKind::kInactive, 0.30f, 2.5f, 4.0f, 0.5f, 1.5f},
};

// Signed distance to a rounded rectangle given by its centre and half sizes.
float RoundedBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
  const float qx = std::fabs(x - cx) - (hw - radius);
  const float qy = std::fabs(y - cy) - (hh - radius);
  const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

const ShadowLook& LookOf(paint::ShadowKind kind) {
  return *std::find_if(std::begin(kLooks), std::end(kLooks),
                       [kind](const ShadowLook& l) { return l.kind == kind; });
}

}  // namespace

Image DrawShadow(paint::ShadowKind kind) {
  const paint::ShadowSlicing& slicing = paint::SlicingOf(kind);
  const ShadowLook& look = LookOf(kind);
  const paint::Box form = slicing.Form();
  Image image{slicing.Width(), slicing.Height(), {}};
  image.rgba.assign(static_cast<std::size_t>(image.width) * image.height * 4, 0);
  const float cx = (form.left + form.right) * 0.5f;
  const float cy = (form.top + form.bottom) * 0.5f + look.drop;
  const float hw = form.Width() * 0.5f + look.spread;
  const float hh = form.Height() * 0.5f + look.spread;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      // The form hides what lies under it; leaving it clear keeps a translucent form clean.
      if (x >= form.left && x < form.right && y >= form.top && y < form.bottom) continue;
      // A blurred edge: the Gaussian's integral across the distance to the shape.
      const float d = RoundedBox(x + 0.5f, y + 0.5f, cx, cy, hw, hh, look.radius);
      const float cover = 0.5f * std::erfc(d / (look.blur * std::sqrt(2.0f)));
      const auto alpha = static_cast<std::uint8_t>(std::lround(255.0f * look.opacity * cover));
      image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4 + 3] = alpha;
    }
  }
  return image;
}

std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image) {
  return png::EncodePng(image.width, image.height, image.rgba);
}

}  // namespace kq::shadowgen
