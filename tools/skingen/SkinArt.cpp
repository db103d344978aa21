#include "SkinArt.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace kq::skingen {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool LightText(const ColorPair& pair) {
  return Luminance(pair.text) > Luminance(pair.back);
}

Canvas Solid(int width, int height, const Canvas::Paint& paint) {
  Canvas c(width, height);
  c.Fill(RoundRect(0, 0, width, height, 0), paint);
  return c;
}

// The glossy fill: the upper half from a light sheen down to the top colour, the lower half
// from the bottom colour back up toward the top.
Canvas::Paint Gloss(Ramp ramp, int y0, int y1) {
  const int middle = (y0 + y1 + 1) / 2;
  return [=](int x, int y) {
    if (y < middle) return VerticalGradient(ramp.sheen, ramp.top, y0, middle - 1)(x, y);
    return VerticalGradient(ramp.bottom, Mix(ramp.bottom, ramp.top, 0.5), middle, y1)(x, y);
  };
}

Canvas::Paint FacePaint(Face face, Ramp ramp, int y0, int y1) {
  switch (face) {
    case Face::Flat:
      return [c = Mix(ramp.top, ramp.bottom, 0.5)](int, int) { return c; };
    case Face::Gloss:
      return Gloss(ramp, y0, y1);
    case Face::Soft:
    case Face::Bevel:
      break;
  }
  return VerticalGradient(ramp.top, ramp.bottom, y0, y1);
}

}  // namespace

Ramp FaceRamp(const ColorPair& pair, int strength) {
  const double s = strength / 100.0;
  if (LightText(pair)) {
    return {Shade(pair.back, s / 4), Shade(pair.back, -s), Shade(pair.back, s / 3)};
  }
  return {Shade(pair.back, s / 2), Shade(pair.back, -s / 3), Shade(pair.back, s)};
}

Canvas CaptionBar(Face face, Ramp ramp, int width, int height) {
  Canvas c = Solid(width, height, FacePaint(face, ramp, 0, height - 1));
  if (face == Face::Flat) return c;
  // A light first row and a dark last one set the bar off from the window.
  c.Fill(RoundRect(0, 0, width, 1, 0), {255, 255, 255}, face == Face::Bevel ? 0.45 : 0.25);
  c.Fill(RoundRect(0, height - 1, width, height, 0), {0, 0, 0}, 0.3);
  return c;
}

Canvas BorderFrame(Face face, Rgb outer, Rgb fill, int width) {
  const int side = 2 * width + 2;
  Canvas c(side, side);
  const auto ring = [side](int inset, int thickness) {
    const Canvas::Shape out = RoundRect(inset, inset, side - inset, side - inset, 0);
    const Canvas::Shape in = RoundRect(inset + thickness, inset + thickness,
                                       side - inset - thickness, side - inset - thickness, 0);
    return [out, in](double x, double y) { return std::max(out(x, y), -in(x, y)); };
  };
  c.Fill(ring(0, width), fill);
  c.Fill(ring(0, 1), outer);
  if (face == Face::Bevel && width >= 3) c.Fill(ring(1, 1), {255, 255, 255}, 0.35);
  if (face != Face::Flat && width >= 2) c.Fill(ring(width - 1, 1), {0, 0, 0}, 0.25);
  return c;
}

Canvas ButtonFace(Face face, int radius, int width, int height, const FaceLook& look) {
  Canvas c(width, height);
  const Ramp ramp = look.sunken ? Ramp{Shade(look.ramp.bottom, -0.04), look.ramp.top,
                                       Shade(look.ramp.bottom, -0.04)}
                                : look.ramp;
  const double r = face == Face::Bevel ? std::min(radius, 2) : radius;
  const Canvas::Shape body = RoundRect(0, 0, width, height, r);
  c.Fill(body, FacePaint(face, ramp, 0, height - 1));
  if (face == Face::Bevel) {
    // Light from the top left: a light line inside the top and left edges, a dark one inside
    // the bottom and right (swapped when pressed).
    const Rgb first = look.sunken ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    const Rgb second = look.sunken ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    c.Fill(RoundRect(1, 1, width - 1, 2, 0), first, 0.5);
    c.Fill(RoundRect(1, 1, 2, height - 1, 0), first, 0.5);
    c.Fill(RoundRect(1, height - 2, width - 1, height - 1, 0), second, 0.25);
    c.Fill(RoundRect(width - 2, 1, width - 1, height - 1, 0), second, 0.25);
  } else if (face != Face::Flat && !look.sunken) {
    c.Outline(RoundRect(1, 1, width - 1, height - 1, std::max(r - 1, 0.0)), {255, 255, 255}, 0.22);
  }
  if (look.focus)
    c.Outline(RoundRect(1, 1, width - 1, height - 1, std::max(r - 1, 0.0)), *look.focus, 0.8);
  c.Outline(body, look.border);
  return c;
}

namespace {

Canvas::Shape SymbolShape(Symbol symbol, double size) {
  const double c = size / 2, arm = std::round(size * 0.17) + 0.5;
  const double stroke = size >= 20 ? 1.7 : 1.4;
  if (symbol == Symbol::Close) {
    return Union(Segment(c - arm, c - arm, c + arm, c + arm, stroke),
                 Segment(c - arm, c + arm, c + arm, c - arm, stroke));
  }
  const double y = std::floor(c + arm * 0.6) + 0.5;
  return Segment(c - arm, y, c + arm, y, stroke);
}

}  // namespace

Canvas CaptionButton(CaptionButtons style, Symbol symbol, GlyphState state, int size, int radius,
                     const CaptionButtonColors& colors) {
  Canvas c(size, size);
  const bool close = symbol == Symbol::Close;
  const bool hot = state == GlyphState::Hot, pressed = state == GlyphState::Pressed;
  const bool inactive = state == GlyphState::Inactive;
  const Rgb danger{0xD9, 0x2B, 0x2B};
  const Rgb white{255, 255, 255};
  // What is behind the symbol under the mouse: red for close, the text's tint otherwise.
  const Rgb hotBack = close ? danger : colors.symbol;
  const double hotAlpha = close ? 1.0 : 0.2;
  Rgb symbolColor = inactive ? colors.inactive : colors.symbol;
  if ((hot || pressed) && close) symbolColor = white;

  switch (style) {
    case CaptionButtons::Plain: {
      if (hot || pressed) {
        c.Fill(RoundRect(0, 0, size, size, std::min(radius, 3)),
               pressed ? Shade(hotBack, close ? -0.2 : 0) : hotBack,
               pressed && !close ? 0.32 : hotAlpha);
      }
      break;
    }
    case CaptionButtons::Square:
    case CaptionButtons::Round: {
      const double r = style == CaptionButtons::Round ? size / 4.0 : 1;
      const Canvas::Shape body = RoundRect(1, 1, size - 1, size - 1, r);
      Rgb top = Shade(colors.caption, 0.2), bottom = Shade(colors.caption, -0.12);
      if (close && (hot || pressed))
        top = Shade(danger, 0.25), bottom = Shade(danger, -0.1);
      else if (hot)
        top = Shade(top, 0.15), bottom = Shade(bottom, 0.1);
      if (pressed) std::swap(top, bottom);
      c.Fill(body, VerticalGradient(top, bottom, 1, size - 2), inactive ? 0.45 : 1.0);
      c.Outline(body, Shade(close && (hot || pressed) ? danger : colors.caption, -0.45),
                inactive ? 0.5 : 1.0);
      if (!(close && (hot || pressed))) {
        // The symbol keeps the caption text's contrast on the button's own face.
        symbolColor = Contrast(symbolColor, top) >= 3 ? symbolColor
                      : Luminance(top) > 0.4          ? Rgb{0x20, 0x20, 0x20}
                                                      : white;
        if (inactive) symbolColor = Mix(symbolColor, top, 0.35);
      }
      break;
    }
    case CaptionButtons::Circle: {
      const Canvas::Shape body = Circle(size / 2.0, size / 2.0, size / 2.0 - 1);
      if (hot || pressed) {
        c.Fill(body, pressed ? Shade(hotBack, close ? -0.2 : 0) : hotBack,
               pressed && !close ? 0.34 : hotAlpha);
      } else {
        c.Outline(body, inactive ? colors.inactive : colors.symbol, 0.5);
      }
      break;
    }
    case CaptionButtons::Traffic: {
      // Coloured lights; their symbols show under the mouse, as on the desktop they recall.
      const Rgb light = close ? Rgb{0xFF, 0x5F, 0x57} : Rgb{0xFE, 0xBC, 0x2E};
      const Rgb grey = Mix(colors.caption, Rgb{0x9A, 0x9A, 0x9A}, 0.6);
      const Rgb face = inactive ? grey : pressed ? Shade(light, -0.18) : light;
      const double radiusPx = std::min(size / 2.0 - 2, 6.5);
      const Canvas::Shape body = Circle(size / 2.0, size / 2.0, radiusPx);
      c.Fill(body, face);
      c.Outline(body, Shade(face, -0.2));
      if (!(hot || pressed)) return c;
      symbolColor = Shade(light, -0.65);
      c.Fill(SymbolShape(symbol, size * 0.8), symbolColor);
      return c;
    }
  }
  c.Fill(SymbolShape(symbol, size), symbolColor);
  return c;
}

namespace {

Canvas::Shape Tick(double size) {
  const double s = size / 13.0;
  return Union(Segment(3.2 * s, 6.6 * s, 5.4 * s, 9.0 * s, 1.9 * s),
               Segment(5.4 * s, 9.0 * s, 9.9 * s, 3.8 * s, 1.9 * s));
}

void DrawMark(Canvas& c, Mark mark, int size, Rgb colour) {
  const double s = size / 13.0;
  switch (mark) {
    case Mark::None:
      return;
    case Mark::Check:
      c.Fill(Tick(size), colour);
      return;
    case Mark::Mixed:
      c.Fill(RoundRect(3 * s, 5 * s, size - 3 * s, size - 5 * s, 0.5), colour);
      return;
    case Mark::Dot:
      c.Fill(Circle(size / 2.0, size / 2.0, size * 0.2), colour);
      return;
  }
}

}  // namespace

Canvas CheckBox(int size, int radius, Mark mark, const BoxLook& look) {
  Canvas c(size, size);
  const Canvas::Shape box = RoundRect(0, 0, size, size, std::min(radius, 3));
  const bool filled = look.filled && mark != Mark::None;
  c.Fill(box, filled ? look.mark : look.fill);
  c.Outline(box, filled ? Shade(look.mark, -0.2) : look.border);
  DrawMark(c, mark, size, filled ? look.fill : look.mark);
  return c;
}

Canvas RadioButton(int size, Mark mark, const BoxLook& look) {
  Canvas c(size, size);
  const Canvas::Shape circle = Circle(size / 2.0, size / 2.0, size / 2.0);
  const bool filled = look.filled && mark != Mark::None;
  c.Fill(circle, filled ? look.mark : look.fill);
  c.Outline(circle, filled ? Shade(look.mark, -0.2) : look.border);
  DrawMark(c, mark, size, filled ? look.fill : look.mark);
  return c;
}

Canvas ComboArrow(Face face, int size, Rgb colour) {
  Canvas c(size, size);
  const double m = size / 2.0, w = size * 0.34, top = size * 0.36, bottom = size * 0.66;
  if (face == Face::Bevel || face == Face::Gloss) {
    c.Fill(
        [=](double x, double y) {
          // A triangle pointing down: inside both slanted edges and below the top line.
          const double edge = (std::fabs(x - m) - w * (bottom - y) / (bottom - top)) * 0.8;
          return std::max({top - y, y - bottom, edge});
        },
        colour);
  } else {
    c.Fill(Union(Segment(m - w, top, m, bottom, 1.5), Segment(m, bottom, m + w, top, 1.5)), colour);
  }
  return c;
}

Canvas ScrollThumb(int radius, int width, int height, Rgb fill, Rgb border) {
  Canvas c(width, height);
  const Canvas::Shape body = RoundRect(1, 1, width - 1, height - 1, std::min(radius, 4));
  c.Fill(body, fill);
  c.Outline(body, border);
  return c;
}

namespace {

// A texture as a field of values 0..1 (0.5 is the window colour itself) with the reach of
// its light and dark, quantised to a few levels so that the tile compresses well.
struct Field {
  int width, height;
  double reach;
  std::function<double(int x, int y)> value;
};

// Small glyphs for the falling code: 3 x 5 bit patterns, one row per 3 bits.
constexpr std::uint16_t kGlyphs[] = {0x7B6F, 0x2C97, 0x73E7, 0x79E7, 0x5BC9, 0x79CF, 0x4F6F,
                                     0x7249, 0x7BEF, 0x7BC9, 0x2BED, 0x1D5C, 0x5D75, 0x3AD7};

Field MakeField(Texture kind, std::uint32_t seed) {
  switch (kind) {
    case Texture::Wood: {
      auto rings = std::make_shared<TileNoise>(3, 4, seed);
      auto fibre = std::make_shared<TileNoise>(8, 32, seed + 1);
      return {128, 64, 0.16, [=](int x, int y) {
                const double u = x / 128.0, v = y / 64.0;
                const double wave = std::sin(2 * kPi * (v * 5 + rings->At(u, v) * 1.6));
                return 0.5 + 0.32 * wave + 0.28 * (fibre->At(u, v) - 0.5);
              }};
    }
    case Texture::Leather: {
      auto coarse = std::make_shared<TileNoise>(10, 10, seed);
      auto fine = std::make_shared<TileNoise>(24, 24, seed + 1);
      return {64, 64, 0.12, [=](int x, int y) {
                const double u = x / 64.0, v = y / 64.0;
                const double pebble = std::fabs(coarse->At(u, v) - 0.5) * 2;
                return 0.35 + 0.45 * pebble + 0.35 * (fine->At(u, v) - 0.5);
              }};
    }
    case Texture::Glass: {
      auto soft = std::make_shared<TileNoise>(4, 4, seed);
      return {64, 64, 0.07, [=](int x, int y) {
                const double band = std::sin(2 * kPi * (x + y) / 64.0);
                return 0.5 + 0.35 * band + 0.3 * (soft->At(x / 64.0, y / 64.0) - 0.5);
              }};
    }
    case Texture::Brushed: {
      auto streaks = std::make_shared<TileNoise>(3, 64, seed);
      auto fine = std::make_shared<TileNoise>(16, 64, seed + 1);
      return {128, 64, 0.07, [=](int x, int y) {
                const double u = x / 128.0, v = y / 64.0;
                return 0.5 + 0.7 * (streaks->At(u, v) - 0.5) + 0.4 * (fine->At(u, v) - 0.5);
              }};
    }
    case Texture::Matrix: {
      // Columns of small glyphs, each column a falling trail brightest at its head.
      auto random = std::make_shared<Random>(seed);
      constexpr int kColumns = 8, kRows = 16;
      auto glyph = std::make_shared<std::vector<int>>();
      auto head = std::make_shared<std::vector<int>>();
      for (int i = 0; i < kColumns * kRows; ++i) glyph->push_back(random->Below(15));
      for (int i = 0; i < kColumns; ++i) head->push_back(random->Below(kRows));
      return {kColumns * 8, kRows * 8, 1.0, [=](int x, int y) {
                const int col = x / 8, row = y / 8, gx = x % 8 - 2, gy = y % 8 - 1;
                const int g = (*glyph)[static_cast<std::size_t>(row * kColumns + col)];
                if (g >= 14 || gx < 0 || gx > 2 || gy < 0 || gy > 4) return 0.5;
                if (!((kGlyphs[g] >> (14 - (gy * 3 + gx))) & 1)) return 0.5;
                const int behind = ((*head)[static_cast<std::size_t>(col)] - row + kRows) % kRows;
                return 0.5 + 0.5 * std::max(0.0, 1.0 - behind / 9.0);
              }};
    }
    case Texture::Grain: {
      auto random = std::make_shared<Random>(seed);
      auto values = std::make_shared<std::vector<double>>();
      for (int i = 0; i < 64 * 64; ++i) values->push_back(random->Unit());
      return {64, 64, 0.06,
              [=](int x, int y) { return (*values)[static_cast<std::size_t>(y * 64 + x)]; }};
    }
    case Texture::Gauze:
      return {8, 8, 0.08, [](int x, int y) {
                const bool warp = x % 4 == 0, weft = y % 4 == 0;
                return warp && weft ? 0.0 : warp || weft ? 0.25 : 0.6;
              }};
    case Texture::Carbon:
      return {8, 8, 0.1, [](int x, int y) {
                const int cell = ((x / 4) + (y / 4)) % 2;
                const int along = cell ? x % 4 : y % 4;
                return 0.2 + 0.2 * along + (cell ? 0.0 : 0.1);
              }};
    case Texture::Rhombus:
      return {24, 24, 0.1, [](int x, int y) {
                const int d = (std::abs(x - 12) + std::abs(y - 12)) % 12;
                return d == 0 ? 0.0 : d == 1 ? 0.35 : 0.55;
              }};
    case Texture::Scanlines:
      return {4, 4, 0.12, [](int, int y) { return y % 2 ? 0.0 : 0.5; }};
    case Texture::Stars:
    case Texture::Snow: {
      auto random = std::make_shared<Random>(seed);
      const int side = kind == Texture::Stars ? 128 : 64;
      auto sky = std::make_shared<std::vector<double>>(static_cast<std::size_t>(side * side), 0.5);
      const int count = kind == Texture::Stars ? 70 : 40;
      for (int i = 0; i < count; ++i) {
        const int x = random->Below(side), y = random->Below(side);
        const double bright = 0.65 + 0.35 * random->Unit();
        (*sky)[static_cast<std::size_t>(y * side + x)] = 0.5 + 0.5 * bright;
        if (kind == Texture::Snow || bright > 0.9) {
          // A soft cross around the brighter points and every flake.
          for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            double& v = (*sky)[static_cast<std::size_t>(((y + dy + side) % side) * side +
                                                        (x + dx + side) % side)];
            v = std::max(v, 0.5 + 0.22 * bright);
          }
        }
      }
      return {side, side, kind == Texture::Stars ? 0.2 : 0.1,
              [=](int x, int y) { return (*sky)[static_cast<std::size_t>(y * side + x)]; }};
    }
    case Texture::Stripes:
      return {16, 16, 0.05, [](int x, int y) { return (x + y) % 16 < 8 ? 0.2 : 0.7; }};
    case Texture::Linen: {
      auto warp = std::make_shared<TileNoise>(32, 4, seed);
      auto weft = std::make_shared<TileNoise>(4, 32, seed + 1);
      return {32, 32, 0.07, [=](int x, int y) {
                const double u = x / 32.0, v = y / 32.0;
                return 0.5 + 0.6 * (warp->At(u, v) - 0.5) + 0.6 * (weft->At(u, v) - 0.5) -
                       (x % 2 == y % 2 ? 0.1 : 0);
              }};
    }
    case Texture::None:
      break;
  }
  return {1, 1, 0, [](int, int) { return 0.5; }};
}

}  // namespace

Canvas WindowTexture(Texture kind, Rgb back, Rgb text, std::uint32_t seed) {
  const Field field = MakeField(kind, seed);
  // The falling code is drawn in a dim tint of the text; every other pattern moves the
  // window colour lighter and darker.
  const bool tinted = kind == Texture::Matrix;
  // Points of light vanish on a light window: there they are drawn as soft shadows.
  const bool inverted =
      (kind == Texture::Snow || kind == Texture::Stars) && Luminance(back) > 0.5;
  return Solid(field.width, field.height, [&](int x, int y) {
    double v = std::round(std::clamp(field.value(x, y), 0.0, 1.0) * 15) / 15;
    if (inverted) v = 1 - v;
    if (tinted) return Mix(back, text, (v - 0.5) * 0.5);
    return Shade(back, (v - 0.5) * 2 * field.reach);
  });
}

}  // namespace kq::skingen
