// The skin generator: the catalogue source, the skins it draws (read back through the
// launcher's package reader and option-file parser, the images through libpng), the
// contrast rule it enforces, and the fragment the layout includes.
#include "SkinGenerator.h"

#include "FormText.h"
#include "common/Error.h"
#include "common/Utf8.h"
#include "skins/SkinOptionFile.h"
#include "skins/SkinPackage.h"
#include "skins/StoredSkins.h"

#include <png.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>

#include <unistd.h>

namespace kq::skingen {
namespace {

namespace fs = std::filesystem;

const Cp1251Codec kCodec;

std::string ReadText(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  EXPECT_TRUE(f) << path;
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

std::vector<CatalogueSkin> RealCatalogue() {
  return ParseCatalogue(ReadText(KQ_SKIN_CATALOGUE), KQ_SKIN_CATALOGUE);
}

std::unique_ptr<TacSkinConvertor> Unpack(const Bytes& package) {
  auto skin = std::make_unique<TacSkinConvertor>();
  skin->PackedData = PackedBytes::Lent(package);
  ExtractPackedData(skin, kCodec);
  skin->PackedData = {};
  return skin;
}

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgba;
};

// A PNG file as libpng reads it, as straight RGBA.
std::optional<Decoded> DecodePng(ByteView file) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, file.data(), file.size())) return std::nullopt;
  png.format = PNG_FORMAT_RGBA;
  Decoded out{static_cast<int>(png.width), static_cast<int>(png.height), {}};
  out.rgba.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, out.rgba.data(), 0, nullptr)) return std::nullopt;
  return out;
}

std::vector<std::string> Split(const std::u16string& list) {
  std::vector<std::string> out;
  const std::string text = Utf16ToUtf8String(list);
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    out.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return out;
}

int Number(const SkinIni& ini, std::u16string_view section, std::u16string_view key) {
  const auto v = ini.Get(section, key);
  EXPECT_TRUE(v) << Utf16ToUtf8String(section) << " " << Utf16ToUtf8String(key);
  return v ? std::stoi(Utf16ToUtf8String(*v)) : -1;
}

// Every package the catalogue gives, read as the launcher reads it: the option file first,
// parsed by the skin load's own parser, in the authors' format (every section, colours as
// #RRGGBB, numbers in their bounds), naming only images the package holds and holding no
// image it does not name; every image a PNG that decodes to its frames, with alpha where
// glyphs have round edges. Drawing twice gives the same bytes.
TEST(SkinGenerator, EveryCatalogueSkinIsAValidPackageInTheAuthorsFormat) {
  const std::vector<CatalogueSkin> skins = RealCatalogue();
  ASSERT_EQ(skins.size(), 74u);
  EXPECT_EQ(skins.front().name, "Air (internal)");
  static const char16_t* const kSections[] = {
      u"FORM",        u"CAPTION",  u"BORDER",   u"CLOSEBUTTON", u"MINBUTTON",
      u"BUTTON",      u"EDIT",     u"LISTBOX",  u"SELECTION",   u"CHECKBOX",
      u"RADIOBUTTON", u"GROUPBOX", u"PANEL",    u"COMBOBOX",    u"COMBOBUTTON",
      u"COMBOLIST",   u"LABEL",    u"WEBLABEL", u"SCROLLBAR",   u"MENU"};
  // Glyph sections: SIZE is the width of one frame; its bounds; whether the glyph's corner
  // shows what is under it (round shapes and symbols; a square box may fill its corner).
  struct GlyphSize {
    const char16_t* section;
    int lowest, highest;
    bool clearCorner;
  };
  const GlyphSize glyphSizes[] = {{u"CLOSEBUTTON", 12, 48, true},
                                  {u"MINBUTTON", 12, 48, true},
                                  {u"CHECKBOX", 9, 32, false},
                                  {u"RADIOBUTTON", 9, 32, true}};
  for (const CatalogueSkin& skin : skins) {
    SCOPED_TRACE(skin.name);
    const Bytes package = BuildSkinPackage(skin);
    EXPECT_EQ(BuildSkinPackage(skin), package);
    const auto unpacked = Unpack(package);
    ASSERT_TRUE(unpacked->Options.has_value());
    const SkinIni ini = SkinIni::Parse(OptionFileText(*unpacked->Options, kCodec));
    EXPECT_EQ(ReadSkinVersion(ini), std::stod(skin.version));
    EXPECT_EQ(ini.Get(u"GLOBALINFO", u"DESCRIPTION"), Utf8ToUtf16(AsBytes(skin.name)));
    for (const char16_t* section : kSections) {
      EXPECT_GE(ini.SectionIndex(section), 0) << Utf16ToUtf8String(section);
    }

    std::map<std::string, Decoded> images;
    for (const TacImageItem& item : unpacked->Images()) {
      const auto decoded = DecodePng(item.FileStream);
      ASSERT_TRUE(decoded) << Utf16ToUtf8String(item.FileName);
      images[Utf16ToUtf8String(item.FileName)] = *decoded;
    }
    std::set<std::string> named;
    for (const SkinIni::Section& section : ini.Sections()) {
      const std::string name = Utf16ToUtf8String(section.name);
      for (const SkinIni::Key& key : section.keys) {
        const std::string k = Utf16ToUtf8String(key.name), v = Utf16ToUtf8String(key.value);
        SCOPED_TRACE(name + " " + k + "=" + v);
        if (k.starts_with("COLOR") || k.starts_with("FONTCOLOR") || k.starts_with("BORDERCOLOR") ||
            k == "SHADOWCOLOR") {
          EXPECT_TRUE(v.size() == 7 && v[0] == '#' &&
                      v.find_first_not_of("0123456789ABCDEF", 1) == std::string::npos);
        }
        if (k == "RADIUS") {
          EXPECT_TRUE(std::stoi(v) >= 0 && std::stoi(v) <= 16);
        }
        if (k != "IMAGE" && k != "GLYPH") continue;
        named.insert(v);
        ASSERT_TRUE(images.contains(v)) << "the package holds no " << v;
        const Decoded& image = images.at(v);
        const auto list = ini.Get(section.name, k == "IMAGE" ? u"STATES" : u"GLYPHSTATES");
        const std::size_t frames = list ? Split(*list).size() : 1;
        ASSERT_GT(frames, 0u);
        EXPECT_LE(frames, 18u);
        EXPECT_EQ(image.width % frames, 0u) << "frames of equal width";
        const int frameWidth = image.width / static_cast<int>(frames);
        if (const auto margins = ini.Get(section.name, u"MARGINS"); margins && k == "IMAGE") {
          const auto m = Split(*margins);
          ASSERT_EQ(m.size(), 4u);
          EXPECT_LT(std::stoi(m[0]) + std::stoi(m[2]), frameWidth);
          EXPECT_LT(std::stoi(m[1]) + std::stoi(m[3]), image.height);
        }
        for (const GlyphSize& g : glyphSizes) {
          if (k != "GLYPH" || section.name != g.section) continue;
          const int size = Number(ini, g.section, u"SIZE");
          EXPECT_TRUE(size >= g.lowest && size <= g.highest);
          EXPECT_EQ(frameWidth, size);
          EXPECT_EQ(image.height, size);
          if (g.clearCorner) {
            EXPECT_EQ(image.rgba[3], 0) << "the glyph's corner is transparent";
          }
        }
      }
    }
    for (const auto& [file, image] : images) EXPECT_TRUE(named.contains(file)) << file;

    const int height = Number(ini, u"CAPTION", u"HEIGHT");
    EXPECT_TRUE(height >= 16 && height <= 64);
    EXPECT_EQ(images.at("Caption.png").height, height);
    const int width = Number(ini, u"BORDER", u"WIDTH");
    EXPECT_TRUE(width >= 1 && width <= 16);
    const std::string w = std::to_string(width);
    EXPECT_EQ(ini.Get(u"BORDER", u"MARGINS"),
              Utf8ToUtf16(AsBytes(w + "," + w + "," + w + "," + w)));
    // Textures where the name asks for one, tiled on the window.
    for (const char* word : {"Wood", "Leather", "Glass", "Metal", "Matrix"}) {
      if (skin.name.find(word) == std::string::npos) continue;
      EXPECT_EQ(ini.Get(u"FORM", u"IMAGE"), u"Form.png") << word;
      EXPECT_EQ(ini.Get(u"FORM", u"MODE"), u"TILE");
      EXPECT_LE(images.at("Form.png").width, 128);
      EXPECT_LE(images.at("Form.png").height, 128);
    }
  }
}

// No two skins share a caption, a button face or a window pattern: each is its own look.
TEST(SkinGenerator, EverySkinDrawsItsOwnImages) {
  std::map<std::string, std::string> seen;  // image bytes -> skin and file
  for (const CatalogueSkin& skin : RealCatalogue()) {
    const DrawnSkin drawn = DrawSkin(skin);
    for (const char* file : {"Caption.png", "Button.png", "Form.png"}) {
      const SkinImage* image = drawn.Image(file);
      if (!image) continue;
      const std::vector<std::uint8_t> bytes = image->canvas.Bytes();
      const auto [it, added] =
          seen.emplace(std::string(bytes.begin(), bytes.end()), skin.name + " " + file);
      EXPECT_TRUE(added) << skin.name << " " << file << " is the same as " << it->second;
    }
  }
}

TEST(SkinGenerator, DarkSkinsAreDarkAndLightSkinsLight) {
  const std::pair<const char*, bool> cases[] = {{"Black Box (internal)", true},
                                                {"Matrix (internal)", true},
                                                {"iOS dark (internal)", true},
                                                {"Air (internal)", false},
                                                {"iOS4 (internal)", false}};
  const std::vector<CatalogueSkin> skins = RealCatalogue();
  for (const auto& [name, dark] : cases) {
    const auto skin = std::ranges::find(skins, std::string(name), &CatalogueSkin::name);
    ASSERT_NE(skin, skins.end()) << name;
    const DrawnSkin drawn = DrawSkin(*skin);
    EXPECT_EQ(Luminance(skin->colors[0].back) < 0.2, dark) << name << " window";
    // The button's normal frame, averaged.
    {
      const char* file = "Button.png";
      const Canvas& c = drawn.Image(file)->canvas;
      double sum = 0;
      int count = 0;
      for (int y = 0; y < c.Height(); ++y) {
        for (int x = 0; x < c.Width() / 5; ++x) {
          const Rgba p = c.At(x, y);
          if (p.a < 255) continue;
          sum += Luminance({p.r, p.g, p.b});
          ++count;
        }
      }
      EXPECT_EQ(sum / count < 0.2, dark) << name << " " << file << " " << sum / count;
    }
  }
}

// The contrast rule over what the text is drawn on, as the authors' format resolves it: the
// frame of the state (or of its fallback) inside the margins, the state's flat colour, the
// window's pattern for texts drawn on the window, and the half-way rule for a disabled text
// without its own colour.
TEST(SkinGenerator, ContrastIsCheckedOverThePixelsTheTextIsDrawnOn) {
  const CatalogueSkin skin = ParseCatalogue(
      "A | 9 | FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 000080 FFFFFF | flat 0 0 "
      "none plain left",
      "cat.txt")[0];
  // A 3-frame image, 6 x 6 per frame, white but for one pixel per frame set below.
  const auto frames = [](std::vector<std::pair<int, Rgb>> spots) {
    Canvas c(18, 6);
    c.Fill(RoundRect(0, 0, 18, 6, 0), Rgb{255, 255, 255});
    for (const auto& [x, colour] : spots) c.Fill(RoundRect(x, 3, x + 1, 4, 0), colour);
    return c;
  };
  const Rgb grey{0x90, 0x90, 0x90};
  struct Case {
    const char* what;
    std::vector<OptionSection> sections;
    std::vector<std::pair<int, Rgb>> spots;  // in Faces.png
    const char* error;                       // nullptr: passes
  };
  const Case cases[] = {
      {"black on white frames",
       {{"BUTTON",
         {{"FONTCOLOR", "#000000"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"STATES", "NORMAL,HOT,PRESSED"},
          {"MARGINS", "1,1,1,1"}}}},
       {},
       nullptr},
      {"a grey spot in the HOT frame fails the HOT state",
       {{"BUTTON",
         {{"FONTCOLOR", "#000000"},
          {"FONTCOLOR.HOT", "#606060"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"STATES", "NORMAL,HOT,PRESSED"},
          {"MARGINS", "1,1,1,1"}}}},
       {{9, grey}},
       "cat.txt:1: A: BUTTON FONTCOLOR.HOT #606060 on #909090 (Faces.png, frame HOT) has a "
       "contrast of 1.97:1, below 4.5:1"},
      {"a spot inside the margins does not count",
       {{"BUTTON",
         {{"FONTCOLOR", "#606060"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"STATES", "NORMAL,HOT,PRESSED"},
          {"MARGINS", "2,2,2,2"}}}},
       {{1, grey}},
       nullptr},
      {"margins that cover the frame leave no place for the text",
       {{"BUTTON",
         {{"FONTCOLOR", "#000000"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"STATES", "NORMAL,HOT,PRESSED"},
          {"MARGINS", "3,1,3,1"}}}},
       {},
       "cat.txt:1: A: BUTTON (Faces.png, frame NORMAL) has no pixels inside its margins"},
      {"PRESSED without a frame falls back to the HOT frame",
       {{"BUTTON",
         {{"FONTCOLOR", "#000000"},
          {"FONTCOLOR.PRESSED", "#707070"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"STATES", "NORMAL,HOT,FOCUSED"},
          {"MARGINS", "1,1,1,1"}}}},
       {{9, grey}},
       "cat.txt:1: A: BUTTON FONTCOLOR.PRESSED #707070 on #909090 (Faces.png, frame HOT) has a "
       "contrast of 1.55:1, below 4.5:1"},
      {"a disabled text without its colour is half-way to its background",
       {{"EDIT", {{"COLOR", "#FFFFFF"}, {"FONTCOLOR", "#000000"}}}},
       {},
       "cat.txt:1: A: EDIT FONTCOLOR (disabled: half-way to the background) #808080 on #FFFFFF "
       "(EDIT COLOR) has a contrast of 3.95:1, below 4.5:1"},
      {"the state's flat colour",
       {{"SELECTION",
         {{"COLOR", "#FFFFFF"}, {"FONTCOLOR", "#000000"}, {"COLOR.FOCUSED", "#202020"}}}},
       {},
       "cat.txt:1: A: SELECTION FONTCOLOR #000000 on #202020 (SELECTION COLOR.FOCUSED) has a "
       "contrast of 1.29:1, below 4.5:1"},
      {"labels over the window's pattern",
       {{"FORM",
         {{"COLOR", "#FFFFFF"},
          {"FONTCOLOR", "#000000"},
          {"FONTCOLOR.DISABLED", "#000000"},
          {"IMAGE", "Faces.png"},
          {"MODE", "TILE"}}},
        {"LABEL", {{"FONTCOLOR", "#5A5A5A"}, {"FONTCOLOR.DISABLED", "#000000"}}}},
       {{16, grey}},
       "cat.txt:1: A: LABEL FONTCOLOR #5A5A5A on #909090 (Faces.png) has a contrast of 2.16:1, "
       "below 4.5:1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DrawnSkin drawn;
    drawn.sections = c.sections;
    drawn.images.push_back({"Faces.png", frames(c.spots)});
    try {
      CheckContrast(drawn, skin);
      EXPECT_EQ(c.error, nullptr) << "no error";
    } catch (const CatalogueError& e) {
      ASSERT_NE(c.error, nullptr) << e.what();
      EXPECT_STREQ(e.what(), c.error);
    }
  }
}

// A catalogue line whose texts read on their plain colours but not over the gradient the
// style draws under them stops the build at its line.
TEST(SkinGenerator, AGradientThatMakesATextUnreadableStopsTheBuild) {
  const std::string colours =
      "F0F0F0 000000  2F6FB0 FFFFFF  E0E0E0 000000  FFFFFF 000000  2F6FB0 FFFFFF";
  // Flat, the caption's white text reads on 2F6FB0 (5.1:1); a strong gloss lightens the top.
  const CatalogueSkin flat =
      ParseCatalogue("A | 9 | " + colours + " | gloss 3 0 none plain left", "cat.txt")[0];
  EXPECT_NO_THROW(SkinEntries(flat));
  const CatalogueSkin glossy = ParseCatalogue(
      "# a comment\nA | 9 | " + colours + " | gloss 3 50 none plain left", "cat.txt")[0];
  try {
    SkinEntries(glossy);
    ADD_FAILURE() << "no error";
  } catch (const CatalogueError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("cat.txt:2: A: CAPTION FONTCOLOR #FFFFFF on #"))
        << e.what();
    EXPECT_NE(std::string(e.what()).find("(Caption.png, frame NORMAL) has a contrast of"),
              std::string::npos)
        << e.what();
  }
}

TEST(SkinGenerator, VersionsAreWrittenWithoutTrailingZeros) {
  const std::pair<const char*, const char*> cases[] = {
      {"8", "8"},       {"8.0", "8"},     {"8.50", "8.5"},
      {"9.01", "9.01"}, {"7.45", "7.45"}, {"9.99", "9.99"},
  };
  for (const auto& [written, stored] : cases) {
    const std::string line = std::string("A | ") + written +
                             " | FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 "
                             "FFFFFF 000000 | flat 0 0 none plain left\n";
    EXPECT_EQ(ParseCatalogue(line, "cat.txt").at(0).version, stored) << written;
  }
}

TEST(SkinGenerator, MalformedCatalogueLinesNameTheFileAndLine) {
  const std::string colours =
      "FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000";
  const std::string style = " | soft 3 20 none round left";
  const std::string good = "A | 9 | " + colours + style;
  // Line 1 is a comment and line 2 blank, so the faulty line is line 3 (4 after `good`).
  struct Case {
    std::string line;
    const char* message;
  };
  const Case cases[] = {
      {"A | 9 | " + colours, "cat.txt:3: expected 'name | version | colours | style'"},
      {good + " | x", "cat.txt:3: expected 'name | version | colours | style'"},
      {" | 9 | " + colours + style, "cat.txt:3: the skin has no name"},
      {"A/B | 9 | " + colours + style,
       "cat.txt:3: the name 'A/B' holds a character a file name cannot hold"},
      {"A | nine | " + colours + style,
       "cat.txt:3: 'nine' is not a version (such as 8, 8.5 or 9.01)"},
      {"A | 9. | " + colours + style, "cat.txt:3: '9.' is not a version (such as 8, 8.5 or 9.01)"},
      {"A | 7.44 | " + colours + style,
       "cat.txt:3: version 7.44 is outside 7.45 to 9.99, where skins load silently"},
      {"A | 9 | FFFFFF 000000" + style, "cat.txt:3: expected 10 colours, found 2"},
      {"A | 9 | FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 00000G" + style,
       "cat.txt:3: '00000G' is not a colour RRGGBB"},
      {"A | 9 | FFFFFF 000000 808080 777777 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000" + style,
       "cat.txt:3: the caption text #777777 on #808080 has a contrast of 1.13:1, below 4.5:1"},
      {"A | 9 | " + colours + " | soft 3 20 none round",
       "cat.txt:3: expected 6 style words (face radius gradient texture buttons align), found 5"},
      {"A | 9 | " + colours + " | shiny 3 20 none round left",
       "cat.txt:3: 'shiny' is not a face (flat, soft, gloss or bevel)"},
      {"A | 9 | " + colours + " | soft 7 20 none round left",
       "cat.txt:3: the radius '7' is not 0 to 6"},
      {"A | 9 | " + colours + " | soft 3 -1 none round left",
       "cat.txt:3: the gradient '-1' is not 0 to 50"},
      {"A | 9 | " + colours + " | soft 3 20 marble round left",
       "cat.txt:3: 'marble' is not a texture (none, wood, leather, glass, brushed, matrix, "
       "grain, gauze, carbon, rhombus, scan, stars, snow, stripes or linen)"},
      {"A | 9 | " + colours + " | soft 3 20 none oval left",
       "cat.txt:3: 'oval' is not a caption button style (plain, square, round, circle or "
       "traffic)"},
      {"A | 9 | " + colours + " | soft 3 20 none round right",
       "cat.txt:3: 'right' is not a title alignment (left or center)"},
      {good + "\nA | 8 | " + colours + " | flat 0 0 wood plain left",
       "cat.txt:4: the name 'A' is already on line 3"},
      // Nearly the same colours and the same style: a player could not tell them apart.
      {good + "\nB | 8 | F8F8F8 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 F0F0F0 000000 | "
              "soft 4 30 none round left",
       "cat.txt:4: 'B' looks like 'A' on line 3: give it other colours or another style"},
      {"# only a comment", "cat.txt:1: the catalogue lists no skin"},
  };
  for (const Case& c : cases) {
    try {
      ParseCatalogue("# the catalogue\r\n\r\n" + c.line + "\r\n", "cat.txt");
      ADD_FAILURE() << c.line << ": no error";
    } catch (const CatalogueError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.line;
    }
  }
  // The same colours in another style are another skin.
  EXPECT_EQ(
      ParseCatalogue(good + "\nB | 8 | " + colours + " | soft 3 20 wood round left", "cat.txt")
          .size(),
      2u);
}

class SkinGeneratorFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("kq-skingen-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  void WriteCatalogue(const std::string& text) {
    std::ofstream(root_ / "catalogue.txt", std::ios::binary) << text;
  }
  fs::path root_;
};

// The files the build makes, read the way the layout compiler and the launcher read them:
// names that need quoting in the layout come back unchanged, Data is the package file.
TEST_F(SkinGeneratorFiles, TheFragmentGivesEverySkinWithItsPackageFile) {
  WriteCatalogue(
      "It's Mine (internal) | 8 | F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 "
      "000080 FFFFFF | soft 3 10 none round left\n"
      "Second | 9.01 | 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF FFFFFF 000000 | "
      "flat 0 0 none plain left\n");
  GenerateCatalogue(root_ / "catalogue.txt", root_ / "out" / "skins");
  const forms::Component form = forms::ParseFormText(
      "object M: TsSkinManager\n  InternalSkins = include 'skins/InternalSkins.inc'\nend\n",
      root_ / "main.form", {.spliceDirs = {root_ / "out"}});
  const TsStoredSkins skins = StoredSkinsOf(form);
  ASSERT_EQ(skins.Count(), 2u);
  EXPECT_EQ(skins[0].Name, u"It's Mine (internal)");
  EXPECT_EQ(skins[1].Name, u"Second");
  for (std::size_t i = 0; i < skins.Count(); ++i) {
    const std::string file = i == 0 ? "It's Mine (internal).asz" : "Second.asz";
    const std::string bytes = ReadText(root_ / "out" / "skins" / file);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(std::string(AsChars(skins[i].PackedData)), bytes) << file;
  }
  EXPECT_EQ(skins.IndexOf(u"Second"), 1);
}

TEST_F(SkinGeneratorFiles, AFaultyCatalogueLeavesTheFragmentAsItWas) {
  const std::string good =
      "A | 8 | F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 000080 FFFFFF | soft 3 "
      "10 none round left\n";
  WriteCatalogue(good);
  GenerateCatalogue(root_ / "catalogue.txt", root_ / "out");
  const std::string before = ReadText(root_ / "out" / "InternalSkins.inc");
  const std::string package = ReadText(root_ / "out" / "A.asz");
  // The second skin parses but its caption gradient fails: nothing is written at all.
  WriteCatalogue(good +
                 "B | 8 | F0F0F0 000000 2F6FB0 FFFFFF F0F0F0 000000 F0F0F0 000000 000080 FFFFFF | "
                 "gloss 3 50 none round left\n");
  try {
    GenerateCatalogue(root_ / "catalogue.txt", root_ / "out");
    ADD_FAILURE() << "no error";
  } catch (const CatalogueError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with((root_ / "catalogue.txt").string() + ":2: B: "))
        << e.what();
  }
  EXPECT_EQ(ReadText(root_ / "out" / "InternalSkins.inc"), before);
  EXPECT_FALSE(fs::exists(root_ / "out" / "B.asz"));
  EXPECT_THROW(GenerateCatalogue(root_ / "missing.txt", root_ / "out"), CatalogueError);
}

// The example skin checked in for authors is what the generator writes today, and its
// option file explains itself and uses every section.
TEST_F(SkinGeneratorFiles, TheCheckedInExampleSkinIsCurrent) {
  WriteExampleSkin(root_ / "Example");
  std::set<std::string> written, checkedIn;
  for (const auto& f : fs::directory_iterator(root_ / "Example")) {
    written.insert(f.path().filename().string());
  }
  for (const auto& f : fs::directory_iterator(KQ_SKIN_EXAMPLE_DIR)) {
    if (f.path().extension() != ".md") checkedIn.insert(f.path().filename().string());
  }
  EXPECT_EQ(written, checkedIn) << "run: skingen example doc/skin-authors/Example";
  for (const std::string& file : written) {
    EXPECT_EQ(ReadText(root_ / "Example" / file), ReadText(fs::path(KQ_SKIN_EXAMPLE_DIR) / file))
        << file << " differs; run: skingen example doc/skin-authors/Example";
  }
  const std::string options = ReadText(root_ / "Example" / "Options.dat");
  const SkinIni ini = SkinIni::Parse(OptionFileText(AsBytes(options), kCodec));
  EXPECT_EQ(ini.Sections().size(), 21u);  // GLOBALINFO and the twenty drawn sections
  EXPECT_NE(options.find("\r\n; "), std::string::npos) << "commented";
}

}  // namespace
}  // namespace kq::skingen
