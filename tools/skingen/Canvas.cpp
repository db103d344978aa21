#include "Canvas.h"

#include <algorithm>
#include <cmath>

namespace kq::skingen {

std::string HexColor(Rgb c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s = "#";
  for (std::uint8_t v : {c.r, c.g, c.b}) {
    s += kDigits[v >> 4];
    s += kDigits[v & 15];
  }
  return s;
}

Rgb Mix(Rgb a, Rgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  const auto m = [t](int x, int y) {
    return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Rgb Shade(Rgb c, double t) {
  return t >= 0 ? Mix(c, {255, 255, 255}, t) : Mix(c, {0, 0, 0}, -t);
}

double Luminance(Rgb c) {
  const auto channel = [](std::uint8_t v) {
    const double x = v / 255.0;
    return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height) {}

std::vector<std::uint8_t> Canvas::Bytes() const {
  std::vector<std::uint8_t> out;
  out.reserve(pixels_.size() * 4);
  for (const Rgba& p : pixels_) out.insert(out.end(), {p.r, p.g, p.b, p.a});
  return out;
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (alpha <= 0) return;
  Rgba& p = pixels_[Index(x, y)];
  const double under = p.a / 255.0;
  const double out = alpha + under * (1 - alpha);
  const auto channel = [&](std::uint8_t top, std::uint8_t bottom) {
    return static_cast<std::uint8_t>(
        std::lround((top * alpha + bottom * under * (1 - alpha)) / out));
  };
  p = {channel(c.r, p.r), channel(c.g, p.g), channel(c.b, p.b),
       static_cast<std::uint8_t>(std::lround(out * 255))};
}

void Canvas::Fill(const Shape& shape, const Paint& paint, double opacity) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const double cover = std::clamp(0.5 - shape(x + 0.5, y + 0.5), 0.0, 1.0);
      if (cover > 0) Blend(x, y, paint(x, y), cover * opacity);
    }
  }
}

void Canvas::Fill(const Shape& shape, Rgb colour, double opacity) {
  Fill(
      shape, [colour](int, int) { return colour; }, opacity);
}

void Canvas::Outline(const Shape& shape, Rgb colour, double opacity) {
  Fill([shape](double x, double y) { return std::fabs(shape(x, y) + 0.5) - 0.5; }, colour, opacity);
}

Canvas Canvas::Join(const std::vector<Canvas>& frames) {
  int width = 0;
  for (const Canvas& f : frames) width += f.width_;
  Canvas out(width, frames.front().height_);
  int left = 0;
  for (const Canvas& f : frames) {
    for (int y = 0; y < f.height_; ++y) {
      for (int x = 0; x < f.width_; ++x) out.pixels_[out.Index(left + x, y)] = f.At(x, y);
    }
    left += f.width_;
  }
  return out;
}

Canvas::Shape RoundRect(double x0, double y0, double x1, double y1, double radius) {
  const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  return [=](double x, double y) {
    const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
  };
}

Canvas::Shape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - radius; };
}

Canvas::Shape Segment(double ax, double ay, double bx, double by, double width) {
  return [=](double x, double y) {
    const double dx = bx - ax, dy = by - ay;
    const double h = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - ax - dx * h, y - ay - dy * h) - width / 2;
  };
}

Canvas::Shape Union(Canvas::Shape a, Canvas::Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::min(a(x, y), b(x, y));
  };
}

Canvas::Paint VerticalGradient(Rgb top, Rgb bottom, int y0, int y1) {
  return [=](int, int y) {
    return y1 <= y0 ? top : Mix(top, bottom, static_cast<double>(y - y0) / (y1 - y0));
  };
}

std::uint64_t Random::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

TileNoise::TileNoise(int cellsX, int cellsY, std::uint32_t seed)
    : cellsX_(cellsX), cellsY_(cellsY) {
  Random random(seed);
  for (int i = 0; i < cellsX * cellsY; ++i) values_.push_back(random.Unit());
}

double TileNoise::Lattice(int i, int j) const {
  i = ((i % cellsX_) + cellsX_) % cellsX_;
  j = ((j % cellsY_) + cellsY_) % cellsY_;
  return values_[static_cast<std::size_t>(j) * cellsX_ + i];
}

double TileNoise::At(double x, double y) const {
  const double fx = x * cellsX_, fy = y * cellsY_;
  const int i = static_cast<int>(std::floor(fx)), j = static_cast<int>(std::floor(fy));
  const auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  const double tx = smooth(fx - i), ty = smooth(fy - j);
  const double top = Lattice(i, j) + (Lattice(i + 1, j) - Lattice(i, j)) * tx;
  const double bottom = Lattice(i, j + 1) + (Lattice(i + 1, j + 1) - Lattice(i, j + 1)) * tx;
  return top + (bottom - top) * ty;
}

}  // namespace kq::skingen
