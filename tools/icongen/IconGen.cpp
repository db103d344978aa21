#include "IconGen.h"

#include "PngWriter.h"

#include <algorithm>
#include <cmath>

namespace kq::icongen {
namespace {

struct Rgba {
  float r, g, b, a;
};

// Signed distance (in units of the icon's side) to a rounded square centred at 0.5.
float RoundedSquare(float x, float y, float half, float radius) {
  const float qx = std::fabs(x - 0.5f) - (half - radius);
  const float qy = std::fabs(y - 0.5f) - (half - radius);
  const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Signed distance to the triangle pointing right, its centre of mass at (cx, cy).
float Triangle(float x, float y, float cx, float cy, float r) {
  // Three half-planes; the largest of their distances is the convex shape's distance
  // (exact inside, close enough outside for a one-pixel edge).
  const float pi = 3.14159265f;
  float d = -1e9f;
  for (int k = 0; k < 3; ++k) {
    const float angle = pi + k * 2.0f * pi / 3.0f;  // normals at 180, 300, 60 degrees
    const float nx = std::cos(angle), ny = std::sin(angle);
    d = std::max(d, (x - cx) * nx + (y - cy) * ny - r * 0.5f);
  }
  return d;
}

Rgba Over(Rgba top, Rgba under) {
  const float a = top.a + under.a * (1 - top.a);
  if (a <= 0) return {0, 0, 0, 0};
  return {(top.r * top.a + under.r * under.a * (1 - top.a)) / a,
          (top.g * top.a + under.g * under.a * (1 - top.a)) / a,
          (top.b * top.a + under.b * under.a * (1 - top.a)) / a, a};
}

// Coverage of a shape at distance d, with an edge `pixel` wide.
float Cover(float d, float pixel) {
  return std::clamp(0.5f - d / pixel, 0.0f, 1.0f);
}

Rgba Sample(float x, float y, int size) {
  const float px = 1.0f / size;
  // Small icons get relatively thicker strokes, or the ring would vanish at 16 pixels.
  const float ring = std::max(0.055f, 1.6f * px);
  Rgba out{0, 0, 0, 0};

  const float tile = RoundedSquare(x, y, 0.47f, 0.16f);
  const float t = std::clamp((x + y) * 0.5f, 0.0f, 1.0f);  // diagonal gradient
  Rgba back{0.07f + 0.02f * t, 0.12f + 0.30f * t, 0.29f + 0.20f * t, Cover(tile, px)};
  // A soft light along the top edge.
  const float light = std::clamp(1.0f - y * 2.6f, 0.0f, 1.0f) * 0.22f;
  back.r += light, back.g += light, back.b += light;
  out = Over(back, out);

  const float dx = x - 0.5f, dy = y - 0.5f;
  const float radius = std::sqrt(dx * dx + dy * dy);
  const float ringDist = std::fabs(radius - 0.30f) - ring * 0.5f;
  const float shine = std::clamp(0.5f - dy * 1.4f, 0.0f, 1.0f);
  out = Over({0.91f, 0.66f + 0.16f * shine, 0.24f + 0.12f * shine, Cover(ringDist, px)}, out);

  out = Over({1, 1, 1, Cover(Triangle(x, y, 0.52f, 0.5f, 0.21f), px)}, out);
  return out;
}

std::uint8_t Byte(float v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// A 32-bit DIB as an ICO entry holds it: the header with the doubled height, the colours
// bottom-up in BGRA, then the 1-bit AND mask (set where the icon is fully transparent).
std::vector<std::uint8_t> Dib(const Image& image) {
  const int n = image.size;
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(n));
  Put32(out, static_cast<std::uint32_t>(2 * n));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int row = n - 1; row >= 0; --row) {
    for (int col = 0; col < n; ++col) {
      const std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(row) * n + col) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  const int stride = (n + 31) / 32 * 4;
  for (int row = n - 1; row >= 0; --row) {
    std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride), 0);
    for (int col = 0; col < n; ++col) {
      if (image.rgba[(static_cast<std::size_t>(row) * n + col) * 4 + 3] == 0) {
        bits[static_cast<std::size_t>(col / 8)] |= static_cast<std::uint8_t>(0x80 >> (col % 8));
      }
    }
    out.insert(out.end(), bits.begin(), bits.end());
  }
  return out;
}

}  // namespace

Image DrawIcon(int size) {
  Image image{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
  constexpr int kSub = 4;  // 4x4 samples per pixel
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      float r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSub; ++sy) {
        for (int sx = 0; sx < kSub; ++sx) {
          const Rgba s = Sample((x + (sx + 0.5f) / kSub) / size, (y + (sy + 0.5f) / kSub) / size,
                                size);
          r += s.r * s.a, g += s.g * s.a, b += s.b * s.a, a += s.a;
        }
      }
      std::uint8_t* p = &image.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      const float alpha = a / (kSub * kSub);
      p[0] = a > 0 ? Byte(r / a) : 0;
      p[1] = a > 0 ? Byte(g / a) : 0;
      p[2] = a > 0 ? Byte(b / a) : 0;
      p[3] = Byte(alpha);
      if (p[3] == 0) p[0] = p[1] = p[2] = 0;
    }
  }
  return image;
}

std::optional<std::vector<std::uint8_t>> EncodePng(const Image& image) {
  return png::EncodePng(image.size, image.size, image.rgba);
}

std::optional<std::vector<std::uint8_t>> BuildIco(const std::vector<Image>& images) {
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const Image& image : images) {
    if (image.size >= 256) {
      auto png = EncodePng(image);
      if (!png) return std::nullopt;
      bodies.push_back(std::move(*png));
    } else {
      bodies.push_back(Dib(image));
    }
  }
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, static_cast<unsigned>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto side = static_cast<std::uint8_t>(images[i].size >= 256 ? 0 : images[i].size);
    out.insert(out.end(), {side, side, 0, 0});
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(bodies[i].size());
  }
  for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
  return out;
}

}  // namespace kq::icongen
