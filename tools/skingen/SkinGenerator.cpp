#include "SkinGenerator.h"

#include "PngWriter.h"
#include "SkinArt.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace kq::skingen {

namespace fs = std::filesystem;

namespace {

// Versions the skin engine loads without any notice: 7.45 to 9.99, in hundredths.
constexpr int kLowestVersion = 745;
constexpr int kHighestVersion = 999;
// The contrast every text keeps over what it is drawn on (the usual rule for body text).
constexpr double kMinContrast = 4.5;
// Colours the generator derives aim a little higher, so that rounding never drops them below.
constexpr double kDerivedContrast = 4.6;

constexpr const char* kAreaLabels[kAreaCount] = {"window", "caption", "button", "edit",
                                                 "selection"};

template <typename T>
struct Word {
  std::string_view word;
  T value;
};
constexpr Word<Face> kFaces[] = {
    {"flat", Face::Flat}, {"soft", Face::Soft}, {"gloss", Face::Gloss}, {"bevel", Face::Bevel}};
constexpr Word<Texture> kTextures[] = {
    {"none", Texture::None},       {"wood", Texture::Wood},       {"leather", Texture::Leather},
    {"glass", Texture::Glass},     {"brushed", Texture::Brushed}, {"matrix", Texture::Matrix},
    {"grain", Texture::Grain},     {"gauze", Texture::Gauze},     {"carbon", Texture::Carbon},
    {"rhombus", Texture::Rhombus}, {"scan", Texture::Scanlines},  {"stars", Texture::Stars},
    {"snow", Texture::Snow},       {"stripes", Texture::Stripes}, {"linen", Texture::Linen}};
constexpr Word<CaptionButtons> kButtons[] = {{"plain", CaptionButtons::Plain},
                                             {"square", CaptionButtons::Square},
                                             {"round", CaptionButtons::Round},
                                             {"circle", CaptionButtons::Circle},
                                             {"traffic", CaptionButtons::Traffic}};
constexpr Word<bool> kAligns[] = {{"left", false}, {"center", true}};

template <typename T, std::size_t N>
std::string WordList(const Word<T> (&words)[N]) {
  std::string list;
  for (std::size_t i = 0; i < N; ++i) {
    list += i == 0 ? "" : i + 1 == N ? " or " : ", ";
    list += words[i].word;
  }
  return list;
}

// A file name the package and the build folder can both carry.
bool IsFileNameChar(char c) {
  return c >= 0x20 && c < 0x7F && std::string_view("\\/:*?\"<>|").find(c) == std::string::npos;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitWords(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Ratio(double contrast) {
  char text[16];
  std::snprintf(text, sizeof text, "%.2f", contrast);
  return text;
}

std::string Where(const std::string& source, int line) {
  return source + ":" + std::to_string(line) + ": ";
}

class LineParser {
 public:
  LineParser(const fs::path& source, int line) : source_(source.string()), line_(line) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw CatalogueError(Where(source_, line_) + what);
  }

  CatalogueSkin Parse(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
      const std::size_t bar = text.find('|', start);
      fields.push_back(Trim(text.substr(start, bar - start)));
      if (bar == std::string_view::npos) break;
      start = bar + 1;
    }
    if (fields.size() != 4) Fail("expected 'name | version | colours | style'");
    CatalogueSkin skin;
    skin.source = source_;
    skin.line = line_;
    skin.name = Name(fields[0]);
    skin.version = Version(fields[1]);
    Colors(fields[2], skin);
    skin.style = ParseStyle(fields[3]);
    return skin;
  }

 private:
  std::string Name(std::string_view name) {
    if (name.empty()) Fail("the skin has no name");
    if (!std::ranges::all_of(name, IsFileNameChar)) {
      Fail("the name '" + std::string(name) + "' holds a character a file name cannot hold");
    }
    return std::string(name);
  }

  // Digits with up to two decimals; written back without trailing zeros.
  std::string Version(std::string_view v) {
    const std::size_t dot = v.find('.');
    const std::string_view whole = v.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? "" : v.substr(dot + 1);
    const auto digits = [](std::string_view s) {
      return std::ranges::all_of(s, [](char c) { return c >= '0' && c <= '9'; });
    };
    if (whole.empty() || whole.size() > 3 || !digits(whole) || fraction.size() > 2 ||
        !digits(fraction) || (dot != std::string_view::npos && fraction.empty())) {
      Fail("'" + std::string(v) + "' is not a version (such as 8, 8.5 or 9.01)");
    }
    int hundredths = std::stoi(std::string(whole)) * 100;
    if (!fraction.empty()) {
      hundredths += std::stoi(std::string(fraction)) * (fraction.size() == 1 ? 10 : 1);
    }
    if (hundredths < kLowestVersion || hundredths > kHighestVersion) {
      Fail("version " + std::string(v) + " is outside 7.45 to 9.99, where skins load silently");
    }
    std::string text = std::to_string(hundredths / 100);
    if (const int cents = hundredths % 100) {
      text += '.';
      text += static_cast<char>('0' + cents / 10);
      if (cents % 10) text += static_cast<char>('0' + cents % 10);
    }
    return text;
  }

  Rgb Color(std::string_view word) {
    if (word.size() != 6 || !std::ranges::all_of(word, [](char c) {
          return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        })) {
      Fail("'" + std::string(word) + "' is not a colour RRGGBB");
    }
    const unsigned long v = std::stoul(std::string(word), nullptr, 16);
    return {static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
  }

  void Colors(std::string_view field, CatalogueSkin& skin) {
    const std::vector<std::string_view> words = SplitWords(field);
    if (words.size() != 2 * kAreaCount) {
      Fail("expected " + std::to_string(2 * kAreaCount) + " colours, found " +
           std::to_string(words.size()));
    }
    for (std::size_t i = 0; i < kAreaCount; ++i) {
      ColorPair& pair = skin.colors[i];
      pair.back = Color(words[2 * i]);
      pair.text = Color(words[2 * i + 1]);
      // The plain colours first; the drawn images are checked once they exist.
      const double contrast = Contrast(pair.back, pair.text);
      if (contrast < kMinContrast) {
        Fail(std::string("the ") + kAreaLabels[i] + " text " + HexColor(pair.text) + " on " +
             HexColor(pair.back) + " has a contrast of " + Ratio(contrast) + ":1, below 4.5:1");
      }
    }
  }

  template <typename T, std::size_t N>
  T Choice(std::string_view word, const Word<T> (&words)[N], const char* what) {
    for (const Word<T>& w : words) {
      if (w.word == word) return w.value;
    }
    Fail("'" + std::string(word) + "' is not " + what + " (" + WordList(words) + ")");
  }

  int Number(std::string_view word, int highest, const char* what) {
    if (word.empty() || word.size() > 2 ||
        !std::ranges::all_of(word, [](char c) { return c >= '0' && c <= '9'; }) ||
        std::stoi(std::string(word)) > highest) {
      Fail(std::string(what) + " '" + std::string(word) + "' is not 0 to " +
           std::to_string(highest));
    }
    return std::stoi(std::string(word));
  }

  // face radius gradient texture buttons align
  Style ParseStyle(std::string_view field) {
    const std::vector<std::string_view> words = SplitWords(field);
    if (words.size() != 6) {
      Fail("expected 6 style words (face radius gradient texture buttons align), found " +
           std::to_string(words.size()));
    }
    Style style;
    style.face = Choice(words[0], kFaces, "a face");
    style.radius = Number(words[1], 6, "the radius");
    style.gradient = Number(words[2], 50, "the gradient");
    style.texture = Choice(words[3], kTextures, "a texture");
    style.buttons = Choice(words[4], kButtons, "a caption button style");
    style.centred = Choice(words[5], kAligns, "a title alignment");
    return style;
  }

  std::string source_;
  int line_;
};

double Distance(Rgb a, Rgb b) {
  return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b);
}

// Two skins a player could not tell apart: the same style and nearly the same colours.
bool LookAlike(const CatalogueSkin& a, const CatalogueSkin& b) {
  const Style &x = a.style, &y = b.style;
  if (x.face != y.face || x.texture != y.texture || x.buttons != y.buttons ||
      x.centred != y.centred || std::abs(x.radius - y.radius) > 1) {
    return false;
  }
  for (std::size_t i = 0; i < kAreaCount; ++i) {
    if (Distance(a.colors[i].back, b.colors[i].back) > 40) return false;
  }
  return true;
}

// ---- Colours the generator derives -------------------------------------------------------

double MinContrast(Rgb text, const std::vector<Rgb>& backs) {
  double lowest = 21;
  for (Rgb b : backs) lowest = std::min(lowest, Contrast(text, b));
  return lowest;
}

Rgb Average(const std::vector<Rgb>& colours) {
  double r = 0, g = 0, b = 0;
  for (Rgb c : colours) r += c.r, g += c.g, b += c.b;
  const double n = static_cast<double>(colours.size());
  return {static_cast<std::uint8_t>(std::lround(r / n)),
          static_cast<std::uint8_t>(std::lround(g / n)),
          static_cast<std::uint8_t>(std::lround(b / n))};
}

// The largest amount up to `want`, in tenths of it, for which `ok` holds (0 if none does).
double Largest(double want, const std::function<bool(double)>& ok) {
  for (int step = 10; step > 0; --step) {
    if (ok(want * step / 10)) return want * step / 10;
  }
  return 0;
}

// The text as wanted if it reads over every background, else moved toward black or white,
// whichever reaches the contrast first.
Rgb Legible(Rgb wanted, const std::vector<Rgb>& backs) {
  for (int step = 0; step <= 20; ++step) {
    for (Rgb end : {Rgb{0, 0, 0}, Rgb{255, 255, 255}}) {
      const Rgb c = Mix(wanted, end, step / 20.0);
      if (MinContrast(c, backs) >= kDerivedContrast) return c;
    }
  }
  return wanted;
}

// A disabled or inactive text: moved toward its background as far as it stays readable.
Rgb Dimmed(Rgb text, const std::vector<Rgb>& backs, double most = 0.6) {
  const Rgb average = Average(backs);
  const double t = Largest(most, [&](double amount) {
    return MinContrast(Mix(text, average, amount), backs) >= kDerivedContrast;
  });
  return Mix(text, average, t);
}

// The opaque colours of a region of a frame; translucent pixels over `under`.
std::vector<Rgb> Pixels(const Canvas& c, int x0, int y0, int x1, int y1, Rgb under) {
  std::set<std::uint32_t> seen;
  std::vector<Rgb> out;
  for (int y = std::max(y0, 0); y < std::min(y1, c.Height()); ++y) {
    for (int x = std::max(x0, 0); x < std::min(x1, c.Width()); ++x) {
      const Rgba p = c.At(x, y);
      const Rgb rgb = Mix(under, {p.r, p.g, p.b}, p.a / 255.0);
      if (seen.insert(static_cast<std::uint32_t>(rgb.r << 16 | rgb.g << 8 | rgb.b)).second) {
        out.push_back(rgb);
      }
    }
  }
  return out;
}

std::vector<Rgb> AllPixels(const Canvas& c, Rgb under) {
  return Pixels(c, 0, 0, c.Width(), c.Height(), under);
}

std::uint32_t Seed(std::string_view name) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (char c : name) h = (h ^ static_cast<std::uint8_t>(c)) * 16777619u;
  return h;
}

// ---- The option file's sections ----------------------------------------------------------

class SectionWriter {
 public:
  explicit SectionWriter(DrawnSkin& skin, std::string name) : skin_(skin) {
    skin_.sections.push_back({std::move(name), {}});
  }
  SectionWriter& Key(std::string name, std::string value) {
    skin_.sections.back().keys.push_back({std::move(name), std::move(value)});
    return *this;
  }
  SectionWriter& Key(std::string name, int value) {
    return Key(std::move(name), std::to_string(value));
  }
  SectionWriter& Key(std::string name, Rgb value) { return Key(std::move(name), HexColor(value)); }

 private:
  DrawnSkin& skin_;
};

// MARGINS with the same margin on every side.
std::string Margins(int m) {
  const std::string side = std::to_string(m);
  return side + "," + side + "," + side + "," + side;
}

// Everything the generator derives from a catalogue line, then draws.
class SkinPainter {
 public:
  explicit SkinPainter(const CatalogueSkin& skin)
      : skin_(skin),
        style_(skin.style),
        window_(skin[Area::Window]),
        caption_(skin[Area::Caption]),
        button_(skin[Area::Button]),
        edit_(skin[Area::Edit]),
        selection_(skin[Area::Selection]),
        accent_(selection_.back) {}

  DrawnSkin Draw() {
    SectionWriter(out_, "GLOBALINFO")
        .Key("VERSION", skin_.version)
        .Key("AUTHOR", "KQMiniLauncher skin generator")
        .Key("DESCRIPTION", skin_.name);
    Form();
    Caption();
    Buttons();
    Fields();
    Boxes();
    Rest();
    return std::move(out_);
  }

 private:
  void AddImage(std::string file, Canvas canvas) {
    out_.images.push_back({std::move(file), std::move(canvas)});
  }

  bool DarkWindow() const { return Luminance(window_.back) < Luminance(window_.text); }

  // ---- window
  void Form() {
    SectionWriter form(out_, "FORM");
    form.Key("COLOR", window_.back).Key("FONTCOLOR", window_.text);
    formPixels_ = {window_.back};
    if (style_.texture != Texture::None) {
      Canvas tile = WindowTexture(style_.texture, window_.back, window_.text, Seed(skin_.name));
      formPixels_ = AllPixels(tile, window_.back);
      AddImage("Form.png", std::move(tile));
    }
    labelOff_ = Dimmed(window_.text, formPixels_);
    form.Key("FONTCOLOR.DISABLED", labelOff_);
    if (style_.texture != Texture::None) form.Key("IMAGE", "Form.png").Key("MODE", "TILE");
  }

  // ---- caption, frame, caption buttons
  int CaptionHeight() const {
    switch (style_.face) {
      case Face::Flat:
        return 30;
      case Face::Soft:
        return 28;
      case Face::Gloss:
        return 26;
      case Face::Bevel:
        return 22;
    }
    return 24;
  }
  int BorderWidth() const {
    switch (style_.face) {
      case Face::Flat:
        return 1;
      case Face::Soft:
        return 3;
      case Face::Gloss:
      case Face::Bevel:
        return 4;
    }
    return 4;
  }

  void Caption() {
    constexpr int kWidth = 6, kMargin = 2;
    const int height = CaptionHeight();
    const auto inner = [&](const Canvas& c) {
      return Pixels(c, kMargin, kMargin, kWidth - kMargin, height - kMargin, caption_.back);
    };
    const Ramp active = FaceRamp(caption_, style_.gradient);
    Canvas normal = CaptionBar(style_.face, active, kWidth, height);
    // The inactive caption fades toward the window colour as far as its text stays readable.
    const auto inactiveBar = [&](double t) {
      const ColorPair faded{Mix(caption_.back, window_.back, t), caption_.text};
      return CaptionBar(style_.face, FaceRamp(faded, style_.gradient / 2), kWidth, height);
    };
    const double fade = Largest(0.6, [&](double t) {
      return MinContrast(caption_.text, inner(inactiveBar(t))) >= kDerivedContrast + 0.4;
    });
    Canvas inactive = inactiveBar(fade);
    const Rgb inactiveBack = Mix(caption_.back, window_.back, fade);
    const Rgb inactiveText = Dimmed(caption_.text, inner(inactive), 0.45);
    AddImage("Caption.png", Canvas::Join({normal, inactive}));

    SectionWriter(out_, "CAPTION")
        .Key("COLOR", caption_.back)
        .Key("FONTCOLOR", caption_.text)
        .Key("COLOR.INACTIVE", inactiveBack)
        .Key("FONTCOLOR.INACTIVE", inactiveText)
        .Key("IMAGE", "Caption.png")
        .Key("STATES", "NORMAL,INACTIVE")
        .Key("MARGINS", Margins(kMargin))
        .Key("MODE", "NINE")
        .Key("HEIGHT", height)
        .Key("ALIGN", style_.centred ? "CENTER" : "LEFT")
        .Key("BOLD", style_.face == Face::Bevel || style_.face == Face::Gloss ? 1 : 0);

    // The frame continues the caption's lower colour, with a dark outer line.
    const int width = BorderWidth();
    const Rgb outerLine = Shade(active.bottom, Luminance(active.bottom) < 0.05 ? 0.25 : -0.35);
    const Rgb outerInactive = Mix(outerLine, window_.back, fade);
    const Rgb fill = style_.face == Face::Flat ? caption_.back : active.bottom;
    AddImage("Border.png", Canvas::Join({BorderFrame(style_.face, outerLine, fill, width),
                                         BorderFrame(style_.face, outerInactive,
                                                     Mix(fill, window_.back, fade), width)}));
    SectionWriter(out_, "BORDER")
        .Key("COLOR", fill)
        .Key("COLOR.INACTIVE", Mix(fill, window_.back, fade))
        .Key("IMAGE", "Border.png")
        .Key("STATES", "NORMAL,INACTIVE")
        .Key("MARGINS", Margins(width))
        .Key("WIDTH", width);

    const int size = style_.buttons == CaptionButtons::Traffic ? 16
                     : style_.face == Face::Flat               ? height - 4
                                                               : std::min(height - 6, 22);
    const CaptionButtonColors colors{caption_.back, caption_.text, inactiveText};
    for (const auto& [section, file, symbol] :
         {std::tuple{"CLOSEBUTTON", "Close.png", Symbol::Close},
          std::tuple{"MINBUTTON", "Minimise.png", Symbol::Minimise}}) {
      std::vector<Canvas> frames;
      for (GlyphState state :
           {GlyphState::Normal, GlyphState::Hot, GlyphState::Pressed, GlyphState::Inactive}) {
        frames.push_back(CaptionButton(style_.buttons, symbol, state, size, style_.radius, colors));
      }
      AddImage(file, Canvas::Join(frames));
      SectionWriter(out_, section)
          .Key("COLOR", caption_.back)
          .Key("FONTCOLOR", caption_.text)
          .Key("GLYPH", file)
          .Key("GLYPHSTATES", "NORMAL,HOT,PRESSED,INACTIVE")
          .Key("SIZE", size);
    }
  }

  // ---- push buttons and the combo box's drop button
  struct FaceFrame {
    const char* state;
    Canvas canvas;
    Rgb text;
  };

  void Buttons() {
    const int radius = style_.face == Face::Bevel ? std::min(style_.radius, 2) : style_.radius;
    const int margin = std::max(radius, 2) + 1;
    const int width = std::max(16, 2 * margin + 4), height = 22;
    const auto inner = [&](const Canvas& c) {
      return Pixels(c, margin, margin, width - margin, height - margin, window_.back);
    };
    const auto face = [&](Rgb back, int strength, Rgb border, std::optional<Rgb> focus,
                          bool sunken) {
      return ButtonFace(style_.face, radius, width, height,
                        {FaceRamp({back, button_.text}, strength), border, focus, sunken});
    };
    const bool darkFace = Luminance(button_.back) < Luminance(button_.text);
    const Rgb border = Shade(button_.back, darkFace ? 0.28 : -0.38);
    const Rgb accentBorder = Contrast(accent_, button_.back) >= 1.6 ? accent_ : border;

    // Hot and pressed faces lean toward the accent as far as the text stays readable.
    const auto leaning = [&](double most, double shade, int strength, bool sunken) {
      const double t = Largest(most, [&](double amount) {
        const Rgb back = Shade(Mix(button_.back, accent_, amount), shade);
        return MinContrast(button_.text, inner(face(back, strength, accentBorder, {}, sunken))) >=
               kDerivedContrast;
      });
      return Shade(Mix(button_.back, accent_, t), shade);
    };
    const Rgb hot = leaning(style_.face == Face::Flat ? 0.3 : 0.16, darkFace ? 0.06 : 0.04,
                            style_.gradient, false);
    const Rgb pressed =
        leaning(style_.face == Face::Flat ? 0.45 : 0.26, -0.06, style_.gradient, true);
    const Rgb disabled = Mix(button_.back, window_.back, 0.5);

    std::vector<FaceFrame> frames;
    frames.push_back(
        {"NORMAL", face(button_.back, style_.gradient, border, {}, false), button_.text});
    frames.push_back({"HOT", face(hot, style_.gradient, accentBorder, {}, false), button_.text});
    frames.push_back({"PRESSED",
                      face(pressed, style_.gradient, Shade(accentBorder, -0.15), {}, true),
                      button_.text});
    frames.push_back({"FOCUSED", face(button_.back, style_.gradient, accentBorder, accent_, false),
                      button_.text});
    Canvas off = face(disabled, style_.gradient / 3, Mix(border, window_.back, 0.5), {}, false);
    const Rgb offText = Dimmed(button_.text, inner(off));
    frames.push_back({"DISABLED", std::move(off), offText});

    std::vector<Canvas> canvases;
    std::string states;
    for (const FaceFrame& f : frames) {
      canvases.push_back(f.canvas);
      states += (states.empty() ? "" : ",") + std::string(f.state);
    }
    AddImage("Button.png", Canvas::Join(canvases));

    for (const char* name : {"BUTTON", "COMBOBUTTON"}) {
      SectionWriter section(out_, name);
      section.Key("COLOR", button_.back)
          .Key("FONTCOLOR", button_.text)
          .Key("COLOR.HOT", hot)
          .Key("COLOR.PRESSED", pressed)
          .Key("COLOR.DISABLED", disabled)
          .Key("FONTCOLOR.DISABLED", offText)
          .Key("BORDERCOLOR", border)
          .Key("BORDERCOLOR.HOT", accentBorder)
          .Key("BORDERCOLOR.FOCUSED", accentBorder)
          .Key("IMAGE", "Button.png")
          .Key("STATES", states)
          .Key("MARGINS", Margins(margin))
          .Key("MODE", "NINE")
          .Key("RADIUS", radius);
      if (std::string_view(name) == "COMBOBUTTON") {
        section.Key("GLYPH", "Arrow.png").Key("GLYPHSTATES", "NORMAL,HOT,PRESSED,DISABLED");
      }
    }
    constexpr int kArrow = 9;
    AddImage("Arrow.png", Canvas::Join({ComboArrow(style_.face, kArrow, button_.text),
                                        ComboArrow(style_.face, kArrow, button_.text),
                                        ComboArrow(style_.face, kArrow, button_.text),
                                        ComboArrow(style_.face, kArrow, offText)}));
  }

  // ---- edits, lists, selection, menus
  Rgb FieldBorder() const {
    return Mix(edit_.back, edit_.text, Luminance(edit_.back) > 0.5 ? 0.4 : 0.3);
  }

  void Fields() {
    const Rgb border = FieldBorder();
    const Rgb hotBorder = Mix(border, accent_, 0.5);
    const Rgb disabledBack = Mix(edit_.back, window_.back, 0.5);
    const Rgb disabledText = Dimmed(edit_.text, {disabledBack});
    const int radius = style_.face == Face::Bevel ? 0 : std::min(style_.radius, 4);
    for (const char* name : {"EDIT", "LISTBOX", "COMBOBOX", "COMBOLIST"}) {
      SectionWriter section(out_, name);
      section.Key("COLOR", edit_.back)
          .Key("FONTCOLOR", edit_.text)
          .Key("COLOR.DISABLED", disabledBack)
          .Key("FONTCOLOR.DISABLED", disabledText)
          .Key("BORDERCOLOR", std::string_view(name) == "COMBOLIST" ? accent_ : border);
      if (std::string_view(name) != "COMBOLIST") {
        section.Key("BORDERCOLOR.HOT", hotBorder).Key("BORDERCOLOR.FOCUSED", accent_);
      }
      section.Key("RADIUS", std::string_view(name) == "COMBOLIST" ? 0 : radius);
    }

    // Without the focus the selection is a quieter tint of the focused one.
    const double quiet = Largest(0.55, [&](double t) {
      return Contrast(selection_.text, Mix(selection_.back, edit_.back, t)) >= kDerivedContrast;
    });
    const Rgb unfocused = Mix(selection_.back, edit_.back, quiet);
    SectionWriter(out_, "SELECTION")
        .Key("COLOR", unfocused)
        .Key("FONTCOLOR", selection_.text)
        .Key("COLOR.FOCUSED", selection_.back);

    SectionWriter(out_, "MENU")
        .Key("COLOR", edit_.back)
        .Key("FONTCOLOR", edit_.text)
        .Key("COLOR.HOT", selection_.back)
        .Key("FONTCOLOR.HOT", selection_.text)
        .Key("FONTCOLOR.DISABLED", Dimmed(edit_.text, {edit_.back}))
        .Key("BORDERCOLOR", border)
        .Key("RADIUS", style_.face == Face::Flat || style_.face == Face::Bevel ? 0 : 3);
  }

  // ---- check boxes and radio buttons
  void Boxes() {
    constexpr int kSize = 13;
    const bool filled = style_.face == Face::Flat || style_.face == Face::Gloss;
    const Rgb border = FieldBorder();
    // The mark in the accent where it shows on the box, else in the box's text.
    const Rgb mark = filled || Contrast(accent_, edit_.back) >= 3 ? accent_ : edit_.text;
    // Filled boxes carry their mark in the selection's text colour; empty ones keep the
    // field's colours.
    const auto lookOf = [&](std::string_view state, Mark m) {
      const bool hot = state == "HOT", off = state == "DISABLED";
      BoxLook look{edit_.back, border, mark, filled && m != Mark::None};
      if (look.filled) look.fill = selection_.text;
      if (hot) {
        look.border = Mix(border, accent_, 0.7);
        if (!look.filled) look.fill = Mix(edit_.back, accent_, 0.08);
      }
      if (off) {
        look.fill = Mix(look.fill, window_.back, look.filled ? 0.3 : 0.5);
        look.border = Mix(border, window_.back, 0.5);
        look.mark = Mix(mark, window_.back, 0.5);
      }
      return look;
    };

    for (const bool radio : {false, true}) {
      std::vector<Canvas> frames;
      std::string states;
      for (const char* state : {"", "HOT", "DISABLED"}) {
        for (const auto& [check, m] : {std::pair{"UNCHECKED", Mark::None},
                                       std::pair{"CHECKED", radio ? Mark::Dot : Mark::Check},
                                       std::pair{"MIXED", Mark::Mixed}}) {
          if (radio && m == Mark::Mixed) continue;
          const BoxLook look = lookOf(state, m);
          frames.push_back(
              radio ? RadioButton(kSize, m, look)
                    : CheckBox(kSize, style_.face == Face::Bevel ? 0 : style_.radius, m, look));
          states += (states.empty() ? "" : ",") + std::string(check) +
                    (*state ? "." + std::string(state) : "");
        }
      }
      const char* file = radio ? "Radio.png" : "Check.png";
      AddImage(file, Canvas::Join(frames));
      SectionWriter(out_, radio ? "RADIOBUTTON" : "CHECKBOX")
          .Key("FONTCOLOR", window_.text)
          .Key("FONTCOLOR.DISABLED", labelOff_)
          .Key("GLYPH", file)
          .Key("GLYPHSTATES", states)
          .Key("SIZE", kSize);
    }
  }

  // ---- texts on the window, panels, scroll bars
  void Rest() {
    const Rgb frame = Mix(window_.back, window_.text, DarkWindow() ? 0.3 : 0.25);
    // Group captions in the accent where it reads on the window.
    const Rgb groupText =
        MinContrast(accent_, formPixels_) >= kDerivedContrast ? accent_ : window_.text;
    SectionWriter(out_, "GROUPBOX")
        .Key("FONTCOLOR", groupText)
        .Key("FONTCOLOR.DISABLED", Dimmed(groupText, formPixels_))
        .Key("BORDERCOLOR", frame)
        .Key("RADIUS", style_.face == Face::Bevel ? 0 : std::min(style_.radius, 4));
    SectionWriter(out_, "PANEL")
        .Key("COLOR", window_.back)
        .Key("FONTCOLOR", window_.text)
        .Key("FONTCOLOR.DISABLED", labelOff_)
        .Key("BORDERCOLOR", Shade(window_.back, DarkWindow() ? 0.18 : 0.6))
        .Key("SHADOWCOLOR", Shade(window_.back, DarkWindow() ? -0.4 : -0.25));
    SectionWriter(out_, "LABEL")
        .Key("FONTCOLOR", window_.text)
        .Key("FONTCOLOR.DISABLED", labelOff_);
    // The link: the accent made readable on the window; under the mouse it moves toward the
    // window's text.
    const Rgb link = Legible(accent_, formPixels_);
    const Rgb linkHot = Legible(Mix(link, window_.text, 0.5), formPixels_);
    SectionWriter(out_, "WEBLABEL")
        .Key("FONTCOLOR", link)
        .Key("FONTCOLOR.HOT", linkHot == link ? window_.text : linkHot)
        .Key("FONTCOLOR.DISABLED", labelOff_);

    const Rgb track = Mix(window_.back, edit_.back, 0.5);
    const Rgb thumb = Mix(track, window_.text, 0.28);
    const Rgb thumbBorder = Mix(track, window_.text, 0.4);
    constexpr int kWidth = 12, kHeight = 20, kMargin = 5;
    const int radius = style_.face == Face::Bevel ? 0 : style_.radius;
    AddImage(
        "Scroll.png",
        Canvas::Join({ScrollThumb(radius, kWidth, kHeight, thumb, thumbBorder),
                      ScrollThumb(radius, kWidth, kHeight, Mix(thumb, accent_, 0.45), thumbBorder),
                      ScrollThumb(radius, kWidth, kHeight, Mix(thumb, accent_, 0.7),
                                  Shade(thumbBorder, -0.1))}));
    SectionWriter(out_, "SCROLLBAR")
        .Key("COLOR", track)
        .Key("BORDERCOLOR", thumbBorder)
        .Key("IMAGE", "Scroll.png")
        .Key("STATES", "NORMAL,HOT,PRESSED")
        .Key("MARGINS", Margins(kMargin))
        .Key("MODE", "NINE");
  }

  const CatalogueSkin& skin_;
  const Style& style_;
  const ColorPair window_, caption_, button_, edit_, selection_;
  const Rgb accent_;
  std::vector<Rgb> formPixels_;
  Rgb labelOff_;
  DrawnSkin out_;
};

// ---- The contrast check, on the written option file --------------------------------------

// The states in which each section's text is drawn.
struct DrawnStates {
  std::string_view section;
  std::vector<std::string_view> states;
};
const DrawnStates kDrawnStates[] = {
    {"FORM", {"NORMAL", "DISABLED"}},
    {"CAPTION", {"NORMAL", "INACTIVE"}},
    {"CLOSEBUTTON", {"NORMAL", "HOT", "PRESSED", "INACTIVE"}},
    {"MINBUTTON", {"NORMAL", "HOT", "PRESSED", "INACTIVE"}},
    {"BUTTON", {"NORMAL", "HOT", "PRESSED", "FOCUSED", "DISABLED"}},
    {"COMBOBUTTON", {"NORMAL", "HOT", "PRESSED", "FOCUSED", "DISABLED"}},
    {"EDIT", {"NORMAL", "HOT", "FOCUSED", "DISABLED"}},
    {"LISTBOX", {"NORMAL", "HOT", "FOCUSED", "DISABLED"}},
    {"COMBOBOX", {"NORMAL", "HOT", "FOCUSED", "DISABLED"}},
    {"COMBOLIST", {"NORMAL", "HOT"}},
    {"SELECTION", {"NORMAL", "FOCUSED"}},
    {"MENU", {"NORMAL", "HOT", "DISABLED"}},
    {"CHECKBOX", {"NORMAL", "HOT", "DISABLED"}},
    {"RADIOBUTTON", {"NORMAL", "HOT", "DISABLED"}},
    {"GROUPBOX", {"NORMAL", "DISABLED"}},
    {"PANEL", {"NORMAL", "DISABLED"}},
    {"LABEL", {"NORMAL", "DISABLED"}},
    {"WEBLABEL", {"NORMAL", "HOT", "DISABLED"}},
};

// The authors' fallbacks: a state left out takes this one's value.
std::string_view Fallback(std::string_view state) {
  if (state == "PRESSED") return "HOT";
  return "NORMAL";
}

// Sections whose texts are drawn on the window itself.
constexpr std::string_view kOnWindow[] = {"FORM",     "LABEL",       "WEBLABEL",
                                          "CHECKBOX", "RADIOBUTTON", "GROUPBOX"};

std::optional<Rgb> ParseColor(const std::string& value) {
  if (value.size() != 7 || value[0] != '#') return std::nullopt;
  const unsigned long v = std::stoul(value.substr(1), nullptr, 16);
  return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
             static_cast<std::uint8_t>(v)};
}

// KEY.STATE, following the fallbacks down to KEY: the key found and its value.
std::optional<OptionKey> Resolve(const OptionSection& section, std::string_view key,
                                 std::string_view state) {
  for (;;) {
    const std::string name =
        state == "NORMAL" ? std::string(key) : std::string(key) + "." + std::string(state);
    if (const std::string* v = section.Find(name)) return OptionKey{name, *v};
    if (state == "NORMAL") return std::nullopt;
    state = Fallback(state);
  }
}

std::vector<int> ReadMargins(const std::string& text) {
  std::vector<int> m;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    m.push_back(std::stoi(text.substr(start, comma - start)));
    start = comma + 1;
  }
  return m;
}

// What a section's text in a state is drawn on, and how to name it in a message.
struct Surface {
  std::vector<Rgb> pixels;
  std::string where;
};

}  // namespace

const std::string* OptionSection::Find(std::string_view key) const {
  for (const OptionKey& k : keys) {
    if (k.name == key) return &k.value;
  }
  return nullptr;
}

const OptionSection* DrawnSkin::Section(std::string_view name) const {
  for (const OptionSection& s : sections) {
    if (s.name == name) return &s;
  }
  return nullptr;
}

const SkinImage* DrawnSkin::Image(std::string_view file) const {
  for (const SkinImage& i : images) {
    if (i.file == file) return &i;
  }
  return nullptr;
}

DrawnSkin DrawSkin(const CatalogueSkin& skin) {
  return SkinPainter(skin).Draw();
}

void CheckContrast(const DrawnSkin& drawn, const CatalogueSkin& skin) {
  const OptionSection* form = drawn.Section("FORM");
  const Rgb windowBack = form && form->Find("COLOR")
                             ? ParseColor(*form->Find("COLOR")).value_or(Rgb{240, 240, 240})
                             : Rgb{240, 240, 240};
  const auto surfaceOf = [&](const OptionSection& section,
                             std::string_view state) -> std::optional<Surface> {
    const std::string* image = section.Find("IMAGE");
    if (image && drawn.Image(*image)) {
      const Canvas& canvas = drawn.Image(*image)->canvas;
      if (section.name == "FORM") return Surface{AllPixels(canvas, windowBack), *image};
      // The frame of the state (or of its fallback), inside the margins.
      std::vector<std::string> states{"NORMAL"};
      if (const std::string* list = section.Find("STATES")) {
        states.clear();
        for (std::size_t s = 0; s <= list->size();) {
          const std::size_t comma = std::min(list->find(',', s), list->size());
          states.push_back(list->substr(s, comma - s));
          s = comma + 1;
        }
      }
      std::string_view want = state;
      for (;;) {
        const auto it = std::ranges::find(states, want);
        if (it != states.end()) {
          const int frames = static_cast<int>(states.size());
          const int width = canvas.Width() / frames;
          const int left = static_cast<int>(it - states.begin()) * width;
          std::vector<int> m{0, 0, 0, 0};
          if (const std::string* margins = section.Find("MARGINS")) m = ReadMargins(*margins);
          return Surface{Pixels(canvas, left + m[0], m[1], left + width - m[2],
                                canvas.Height() - m[3], windowBack),
                         *image + ", frame " + std::string(want)};
        }
        if (want == "NORMAL") break;
        want = Fallback(want);
      }
    }
    if (const auto colour = Resolve(section, "COLOR", state)) {
      return Surface{{ParseColor(colour->value).value_or(windowBack)},
                     section.name + " " + colour->name};
    }
    return std::nullopt;
  };

  std::optional<Surface> windowSurface;
  if (form) windowSurface = surfaceOf(*form, "NORMAL");
  if (!windowSurface) windowSurface = Surface{{windowBack}, "the window colour"};

  for (const OptionSection& section : drawn.sections) {
    const auto drawnStates = std::ranges::find(kDrawnStates, section.name, &DrawnStates::section);
    if (!section.Find("FONTCOLOR") || drawnStates == std::end(kDrawnStates)) continue;
    const bool onWindow = std::ranges::find(kOnWindow, section.name) != std::end(kOnWindow);
    for (std::string_view state : drawnStates->states) {
      std::optional<Surface> surface =
          onWindow && section.name != "FORM" ? windowSurface : surfaceOf(section, state);
      if (!surface) continue;
      if (surface->pixels.empty()) {
        // Margins that leave nothing between them: no place for the text at all.
        throw CatalogueError(Where(skin.source, skin.line) + skin.name + ": " + section.name +
                             " (" + surface->where + ") has no pixels inside its margins");
      }
      const OptionKey font = *Resolve(section, "FONTCOLOR", state);
      Rgb text = ParseColor(font.value).value_or(Rgb{});
      std::string key = font.name;
      if (state == "DISABLED" && key != "FONTCOLOR.DISABLED") {
        // Without its own disabled colour a text is drawn half-way to its background.
        text = Mix(text, Average(surface->pixels), 0.5);
        key = "FONTCOLOR (disabled: half-way to the background)";
      }
      for (Rgb back : surface->pixels) {
        const double contrast = Contrast(text, back);
        if (contrast >= kMinContrast) continue;
        throw CatalogueError(Where(skin.source, skin.line) + skin.name + ": " + section.name + " " +
                             key + " " + HexColor(text) + " on " + HexColor(back) + " (" +
                             surface->where + ") has a contrast of " + Ratio(contrast) +
                             ":1, below 4.5:1");
      }
    }
  }
}

std::vector<CatalogueSkin> ParseCatalogue(std::string_view text, const fs::path& source) {
  std::vector<CatalogueSkin> skins;
  std::map<std::string, int> lineOf;
  int line = 0;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view content = Trim(text.substr(start, end - start));
    start = end + 1;
    ++line;
    if (content.empty() || content.front() == '#') continue;
    LineParser parser(source, line);
    CatalogueSkin skin = parser.Parse(content);
    if (const auto [it, added] = lineOf.emplace(skin.name, line); !added) {
      parser.Fail("the name '" + skin.name + "' is already on line " + std::to_string(it->second));
    }
    for (const CatalogueSkin& other : skins) {
      if (LookAlike(skin, other)) {
        parser.Fail("'" + skin.name + "' looks like '" + other.name + "' on line " +
                    std::to_string(other.line) + ": give it other colours or another style");
      }
    }
    skins.push_back(std::move(skin));
  }
  if (skins.empty()) LineParser(source, 1).Fail("the catalogue lists no skin");
  return skins;
}

namespace {

// What the example skin's option file tells its reader before each section.
struct SectionNote {
  std::string_view section;
  std::string_view note;
};
constexpr SectionNote kNotes[] = {
    {"GLOBALINFO",
     "The skin's version (7.45 to 9.99 load without a notice), author and description."},
    {"FORM",
     "The window: its colour and text, and a pattern tiled over it (MODE=TILE or STRETCH).\n"
     "Colours are #RRGGBB (a decimal number with red in the low byte is read too)."},
    {"CAPTION",
     "The title bar. IMAGE holds one frame per state of STATES, side by side, equal widths;\n"
     "MARGINS left,top,right,bottom are the nine-slice corners kept unstretched (MODE=NINE).\n"
     "INACTIVE is the look when the window is not the active one. HEIGHT 16 to 64,\n"
     "ALIGN LEFT, CENTER or RIGHT, BOLD 0 or 1."},
    {"BORDER", "The window's frame, WIDTH pixels (1 to 16), drawn nine-slice from its image."},
    {"CLOSEBUTTON",
     "The caption's buttons: GLYPH is drawn unstretched, one frame per GLYPHSTATES name;\n"
     "SIZE 12 to 48 is the button's square."},
    {"MINBUTTON", ""},
    {"BUTTON",
     "Push buttons. A key with .STATE after it is that state's value (HOT: under the mouse,\n"
     "PRESSED, FOCUSED, DISABLED); a state left out falls back (PRESSED to HOT, the others to\n"
     "NORMAL). RADIUS 0 to 16 rounds the corners when a section is drawn flat."},
    {"COMBOBUTTON", "The combo box's drop button; its GLYPH is the arrow."},
    {"EDIT",
     "Edit boxes: drawn flat, a one-pixel BORDERCOLOR; BORDERCOLOR.FOCUSED marks the focus."},
    {"LISTBOX", "List boxes (the world list's background and frame)."},
    {"COMBOBOX", "The combo box's field."},
    {"COMBOLIST", "The combo box's dropped-down list."},
    {"SELECTION", "The selected item of a list: COLOR.FOCUSED while the list has the focus."},
    {"MENU",
     "Popup menus: .HOT is the item under the mouse; BORDERCOLOR the frame and separators."},
    {"CHECKBOX",
     "Check boxes: the GLYPH frames are named check state (UNCHECKED, CHECKED, MIXED), then\n"
     ".STATE; SIZE 9 to 32 is the box. The text is drawn on the window."},
    {"RADIOBUTTON", "The choices of a radio group, like check boxes (no MIXED)."},
    {"GROUPBOX",
     "Group boxes and radio groups: FONTCOLOR is their caption, BORDERCOLOR the frame."},
    {"PANEL", "Panels: BORDERCOLOR the light edge of a bevel, SHADOWCOLOR the dark edge."},
    {"LABEL", "Labels, drawn transparently on the window."},
    {"WEBLABEL", "The link label: FONTCOLOR, and FONTCOLOR.HOT under the mouse."},
    {"SCROLLBAR", "Scroll bars: COLOR the track, the image the thumb in its states."},
};

void Comment(std::string& out, std::string_view text) {
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out += "; " + std::string(text.substr(start, end - start)) + "\r\n";
    start = end + 1;
  }
}

std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

std::string ReadCatalogueFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw CatalogueError(path.string() + ": cannot open");
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

std::string OptionFile(const DrawnSkin& drawn, bool commented) {
  std::string ini;
  if (commented) {
    Comment(ini,
            "An example skin for KQMiniLauncher, made by skingen. doc/skin-authors/README.md\n"
            "describes every section and key; a section or key left out takes its default.");
  }
  for (const OptionSection& section : drawn.sections) {
    if (!ini.empty()) ini += "\r\n";
    if (commented) {
      for (const SectionNote& note : kNotes) {
        if (note.section == section.name && !note.note.empty()) Comment(ini, note.note);
      }
    }
    ini += "[" + section.name + "]\r\n";
    for (const OptionKey& key : section.keys) ini += key.name + "=" + key.value + "\r\n";
  }
  return ini;
}

std::vector<skinpack::PackEntry> SkinEntries(const CatalogueSkin& skin, bool commented) {
  const DrawnSkin drawn = DrawSkin(skin);
  CheckContrast(drawn, skin);
  const std::string ini = OptionFile(drawn, commented);
  std::vector<skinpack::PackEntry> entries{
      {std::string(kSkinOptionFileName), Bytes(ini.begin(), ini.end())}};
  for (const SkinImage& image : drawn.images) {
    auto png = png::EncodePng(image.canvas.Width(), image.canvas.Height(), image.canvas.Bytes());
    if (!png) throw CatalogueError(Where(skin.source, skin.line) + "cannot encode " + image.file);
    entries.push_back({image.file, std::move(*png)});
  }
  return entries;
}

Bytes BuildSkinPackage(const CatalogueSkin& skin) {
  return skinpack::BuildPackage(SkinEntries(skin));
}

std::string PackageFileName(const CatalogueSkin& skin) {
  return skin.name + ".asz";
}

std::string CatalogueFragment(std::span<const CatalogueSkin> skins) {
  std::string out =
      "// Made by skingen from the skin catalogue; not to be edited. The value of the skin\n"
      "// manager's InternalSkins: one item per skin, in catalogue order.\n<";
  for (const CatalogueSkin& skin : skins) {
    out += "\n  item\n    Name = " + Quoted(skin.name) +
           "\n    Shadow1Color = clBlack\n    Shadow1Offset = 0\n    Shadow1Transparency = 0"
           "\n    Data = @" +
           Quoted(PackageFileName(skin)) + "\n  end";
  }
  return out + ">\n";
}

void GenerateCatalogue(const fs::path& catalogue, const fs::path& outDir) {
  const std::vector<CatalogueSkin> skins = ParseCatalogue(ReadCatalogueFile(catalogue), catalogue);
  std::vector<Bytes> packages;
  for (const CatalogueSkin& skin : skins) packages.push_back(BuildSkinPackage(skin));
  fs::create_directories(outDir);
  for (std::size_t i = 0; i < skins.size(); ++i) {
    skinpack::WriteBytes(outDir / PackageFileName(skins[i]), packages[i]);
  }
  // The fragment last and whole: the build takes its date as the date of the whole output.
  const std::string fragment = CatalogueFragment(skins);
  const fs::path temp = outDir / (std::string(kFragmentFileName) + ".tmp");
  skinpack::WriteBytes(temp, AsBytes(fragment));
  fs::rename(temp, outDir / kFragmentFileName);
}

void WriteExampleSkin(const fs::path& folder) {
  const std::vector<CatalogueSkin> skins = ParseCatalogue(kExampleLine, "example");
  fs::create_directories(folder);
  for (const skinpack::PackEntry& entry : SkinEntries(skins.front(), true)) {
    skinpack::WriteBytes(folder / entry.name, entry.data);
  }
}

}  // namespace kq::skingen
