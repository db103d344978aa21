// Colours and a small RGBA canvas for drawing the internal skins' images: shapes given by
// their signed distance (so edges are anti-aliased and straight edges on pixel lines stay
// crisp), gradients, and tileable procedural textures with fixed seeds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kq::skingen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// "#RRGGBB", as the option file writes colours.
std::string HexColor(Rgb c);
// a moved the fraction t (0 to 1) of the way to b.
Rgb Mix(Rgb a, Rgb b, double t);
// Lighter (t > 0, toward white) or darker (t < 0, toward black) by |t|.
Rgb Shade(Rgb c, double t);
double Luminance(Rgb c);
// The contrast ratio of two colours (1 to 21), by their relative luminance.
double Contrast(Rgb a, Rgb b);

struct Rgba {
  std::uint8_t r = 0, g = 0, b = 0, a = 0;
  bool operator==(const Rgba&) const = default;
};

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  Rgba At(int x, int y) const { return pixels_[Index(x, y)]; }
  // RGBA bytes, rows top to bottom, straight alpha.
  std::vector<std::uint8_t> Bytes() const;

  // A shape: its signed distance in pixels at a point (negative inside).
  using Shape = std::function<double(double x, double y)>;
  // A paint: the colour at a pixel.
  using Paint = std::function<Rgb(int x, int y)>;
  // Composites the paint over the pixels the shape covers, with the given opacity.
  void Fill(const Shape& shape, const Paint& paint, double opacity = 1.0);
  void Fill(const Shape& shape, Rgb colour, double opacity = 1.0);
  // A one-pixel line just inside the shape's edge.
  void Outline(const Shape& shape, Rgb colour, double opacity = 1.0);

  // The canvases side by side, left to right: the frames of one image.
  static Canvas Join(const std::vector<Canvas>& frames);

 private:
  std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
  void Blend(int x, int y, Rgb c, double alpha);

  int width_, height_;
  std::vector<Rgba> pixels_;
};

// Shapes. Rectangles are [x0, x1) x [y0, y1) in pixel edges.
Canvas::Shape RoundRect(double x0, double y0, double x1, double y1, double radius);
Canvas::Shape Circle(double cx, double cy, double radius);
// A stroke of the given width from a to b, with round ends.
Canvas::Shape Segment(double ax, double ay, double bx, double by, double width);
Canvas::Shape Union(Canvas::Shape a, Canvas::Shape b);

// A vertical gradient from top to bottom over rows y0 to y1 (inclusive).
Canvas::Paint VerticalGradient(Rgb top, Rgb bottom, int y0, int y1);

// Tileable value noise in 0..1: `cells` lattice cells across the period in x and y, smoothly
// interpolated, wrapping at the period so the tile repeats without a seam.
class TileNoise {
 public:
  TileNoise(int cellsX, int cellsY, std::uint32_t seed);
  // x in 0..1 of the period, y likewise.
  double At(double x, double y) const;

 private:
  double Lattice(int i, int j) const;
  int cellsX_, cellsY_;
  std::vector<double> values_;
};

// A small deterministic generator (splitmix), so the images are the same on every build.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }  // 0..1
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_;
};

}  // namespace kq::skingen
