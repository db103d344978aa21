#include "SkinGenerator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

namespace kq::skingen {

namespace fs = std::filesystem;

namespace {

// Versions the skin engine loads without any notice: 7.45 to 9.99, in hundredths.
constexpr int kLowestVersion = 745;
constexpr int kHighestVersion = 999;
// The contrast every text keeps over its background (the usual rule for body text).
constexpr double kMinContrast = 4.5;

// What each area is called in messages, and where its pair goes in the option file.
struct AreaInfo {
  const char* label;    // in messages
  const char* section;  // in Options.dat
  std::string_view image;
  int border;  // the image's frame in pixels, kept unstretched
};
constexpr std::array<AreaInfo, kAreaCount> kAreas{{
    {"window", "FORM", "", 0},
    {"caption", "CAPTION", kCaptionImage, 0},
    {"button", "BUTTON", kButtonImage, 1},
    {"edit", "EDIT", "", 0},
    {"selection", "SELECTION", "", 0},
}};

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

std::string Hex(Rgb c) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (std::uint8_t v : {c.r, c.g, c.b}) {
    s += kDigits[v >> 4];
    s += kDigits[v & 15];
  }
  return s;
}

// a moved f/256 of the way to b.
Rgb Mix(Rgb a, Rgb b, int f) {
  const auto m = [f](int x, int y) {
    return static_cast<std::uint8_t>((x * (256 - f) + y * f + 128) / 256);
  };
  return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

double Luminance(Rgb c) {
  const auto channel = [](std::uint8_t v) {
    const double x = v / 255.0;
    return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
}

class LineParser {
 public:
  LineParser(const fs::path& source, int line) : source_(source), line_(line) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw CatalogueError(source_.string() + ":" + std::to_string(line_) + ": " + what);
  }

  CatalogueSkin Parse(std::string_view text) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
      const std::size_t bar = text.find('|', start);
      fields.push_back(Trim(text.substr(start, bar - start)));
      if (bar == std::string_view::npos) break;
      start = bar + 1;
    }
    if (fields.size() != 3) Fail("expected 'name | version | colours'");
    CatalogueSkin skin;
    skin.line = line_;
    skin.name = Name(fields[0]);
    skin.version = Version(fields[1]);
    Colors(fields[2], skin);
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
      // The text must read over the whole gradient: the background and its shade.
      for (const Rgb back : {pair.back, ShadeAwayFromText(pair)}) {
        const double contrast = Contrast(back, pair.text);
        if (contrast >= kMinContrast) continue;
        char ratio[16];
        std::snprintf(ratio, sizeof ratio, "%.2f", contrast);
        Fail(std::string("the ") + kAreas[i].label + " text " + Hex(pair.text) + " on " +
             Hex(back) + " has a contrast of " + ratio + ":1, below 4.5:1");
      }
    }
  }

  const fs::path& source_;
  int line_;
};

// A 24-bit bottom-up BMP file; rows[y][x] with y = 0 the top row.
Bytes Bitmap(const std::vector<std::vector<Rgb>>& rows) {
  const auto height = static_cast<std::uint32_t>(rows.size());
  const auto width = static_cast<std::uint32_t>(rows.front().size());
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * height;
  Bytes out{'B', 'M'};
  ByteWriter w(out);
  w.U32(54 + imageSize);
  w.U32(0);   // reserved
  w.U32(54);  // offset of the pixels
  w.U32(40);  // BITMAPINFOHEADER
  w.U32(width);
  w.U32(height);
  w.U16(1);   // planes
  w.U16(24);  // bits per pixel
  w.U32(0);   // BI_RGB
  w.U32(imageSize);
  w.U32(2835);  // 72 DPI
  w.U32(2835);
  w.U32(0);  // colours used, important
  w.U32(0);
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    for (Rgb c : *row) out.insert(out.end(), {c.b, c.g, c.r});
    out.resize(out.size() + stride - width * 3);
  }
  return out;
}

// Top to bottom, from the lighter end of the pair's gradient to the darker.
std::vector<Rgb> Gradient(const ColorPair& pair, int height) {
  Rgb top = pair.back, bottom = ShadeAwayFromText(pair);
  if (Luminance(bottom) > Luminance(top)) std::swap(top, bottom);
  std::vector<Rgb> column;
  for (int y = 0; y < height; ++y) column.push_back(Mix(top, bottom, y * 256 / (height - 1)));
  return column;
}

std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb ShadeAwayFromText(const ColorPair& pair) {
  const bool lightText = Luminance(pair.text) > Luminance(pair.back);
  const Rgb away = Mix(pair.back, lightText ? Rgb{0, 0, 0} : Rgb{255, 255, 255}, 64);
  if (away != pair.back) return away;
  // Black under a light text (or white under a dark one) cannot go further: a little
  // toward the text instead, which the catalogue's contrast check then covers.
  return Mix(pair.back, pair.text, 24);
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
    skins.push_back(std::move(skin));
  }
  if (skins.empty()) LineParser(source, 1).Fail("the catalogue lists no skin");
  return skins;
}

std::string OptionFile(const CatalogueSkin& skin) {
  std::string ini = "[GLOBALINFO]\r\nVERSION=" + skin.version +
                    "\r\nAUTHOR=KQMiniLauncher skin generator\r\nDESCRIPTION=" + skin.name + "\r\n";
  for (std::size_t i = 0; i < kAreaCount; ++i) {
    const AreaInfo& area = kAreas[i];
    ini += std::string("\r\n[") + area.section + "]\r\n";
    ini += "COLOR=" + std::to_string(skin.colors[i].back.ColorRef()) + "\r\n";
    ini += "FONTCOLOR=" + std::to_string(skin.colors[i].text.ColorRef()) + "\r\n";
    if (!area.image.empty()) ini += "IMAGE=" + std::string(area.image) + "\r\n";
    if (area.border) ini += "BORDER=" + std::to_string(area.border) + "\r\n";
  }
  return ini;
}

Bytes CaptionBitmap(const CatalogueSkin& skin) {
  constexpr int kWidth = 4, kHeight = 24;
  std::vector<std::vector<Rgb>> rows;
  for (Rgb c : Gradient(skin[Area::Caption], kHeight)) rows.emplace_back(kWidth, c);
  return Bitmap(rows);
}

Bytes ButtonBitmap(const CatalogueSkin& skin) {
  constexpr int kWidth = 8, kHeight = 24;
  const int border = kAreas[static_cast<std::size_t>(Area::Button)].border;
  const ColorPair& pair = skin[Area::Button];
  // The frame sits between the face and its text, so it shows on either kind of face.
  const Rgb frame = Mix(pair.back, pair.text, 96);
  const std::vector<Rgb> face = Gradient(pair, kHeight);
  std::vector<std::vector<Rgb>> rows;
  for (int y = 0; y < kHeight; ++y) {
    std::vector<Rgb>& row = rows.emplace_back(kWidth, face[y]);
    for (int x = 0; x < kWidth; ++x) {
      if (std::min({x, y, kWidth - 1 - x, kHeight - 1 - y}) < border) row[x] = frame;
    }
  }
  return Bitmap(rows);
}

std::vector<skinpack::PackEntry> SkinEntries(const CatalogueSkin& skin) {
  const std::string ini = OptionFile(skin);
  return {
      {std::string(kSkinOptionFileName), Bytes(ini.begin(), ini.end())},
      {std::string(kCaptionImage), CaptionBitmap(skin)},
      {std::string(kButtonImage), ButtonBitmap(skin)},
  };
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
  std::ifstream in(catalogue, std::ios::binary);
  if (!in) throw CatalogueError(catalogue.string() + ": cannot open");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<CatalogueSkin> skins = ParseCatalogue(text, catalogue);
  fs::create_directories(outDir);
  for (const CatalogueSkin& skin : skins) {
    skinpack::WriteBytes(outDir / PackageFileName(skin), BuildSkinPackage(skin));
  }
  // The fragment last and whole: the build takes its date as the date of the whole output.
  const std::string fragment = CatalogueFragment(skins);
  const fs::path temp = outDir / (std::string(kFragmentFileName) + ".tmp");
  skinpack::WriteBytes(temp, AsBytes(fragment));
  fs::rename(temp, outDir / kFragmentFileName);
}

}  // namespace kq::skingen
