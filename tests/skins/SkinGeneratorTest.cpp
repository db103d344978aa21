// The skin generator: the catalogue source, the packages it makes (read back through the
// launcher's package reader) and the fragment the layout includes.
#include "SkinGenerator.h"

#include "FormText.h"
#include "common/Error.h"
#include "skins/SkinPackage.h"
#include "skins/StoredSkins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

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

// The option file as the skin load reads it: sections and keys match with their letter case.
using Ini = std::map<std::string, std::map<std::string, std::string>>;
Ini ParseIni(std::string_view text) {
  Ini ini;
  std::string section;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string_view::npos) << "every line ends in CR LF";
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 2;
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      section = std::string(line.substr(1, line.size() - 2));
      EXPECT_FALSE(ini.contains(section)) << section;
      ini[section];
      continue;
    }
    const std::size_t eq = line.find('=');
    EXPECT_NE(eq, std::string_view::npos) << line;
    ini[section][std::string(line.substr(0, eq))] = std::string(line.substr(eq + 1));
  }
  return ini;
}

Rgb FromColorRef(const std::string& decimal) {
  const unsigned long v = std::stoul(decimal);
  EXPECT_LE(v, 0xFFFFFFu) << decimal;
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v >> 16)};
}

// A 24-bit uncompressed BMP file as a viewer reads it; rows[y][x], y = 0 the top row.
std::vector<std::vector<Rgb>> ReadBmp(ByteView file) {
  ByteReader r(file);
  EXPECT_EQ(r.U16(), 0x4D42);  // "BM"
  EXPECT_EQ(r.U32(), file.size());
  r.Skip(4);
  const std::uint32_t pixels = r.U32();
  EXPECT_EQ(r.U32(), 40u);
  const auto width = static_cast<std::int32_t>(r.U32());
  const auto height = static_cast<std::int32_t>(r.U32());
  EXPECT_EQ(r.U16(), 1);
  EXPECT_EQ(r.U16(), 24);
  EXPECT_EQ(r.U32(), 0u);  // BI_RGB
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);  // bottom-up
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  EXPECT_EQ(file.size(), pixels + stride * height);
  std::vector<std::vector<Rgb>> rows(height);
  r.Seek(pixels);
  for (int y = height - 1; y >= 0; --y) {
    const ByteView row = r.Span(stride);
    for (int x = 0; x < width && r.Ok(); ++x) {
      rows[y].push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
    }
  }
  EXPECT_TRUE(r.Ok());
  return rows;
}

std::unique_ptr<TacSkinConvertor> Unpack(const Bytes& package) {
  auto skin = std::make_unique<TacSkinConvertor>();
  skin->PackedData = PackedBytes::Lent(package);
  ExtractPackedData(skin, kCodec);
  skin->PackedData = {};
  return skin;
}

const TacImageItem* Image(const TacSkinConvertor& skin, std::u16string_view name) {
  for (const TacImageItem& item : skin.Images()) {
    if (item.FileName == name) return &item;
  }
  return nullptr;
}

// What every generated package must give the skin load: the option file first, with the
// catalogue's version and look under the documented names, and images that a painter can
// use without making the catalogue's texts unreadable.
TEST(SkinGenerator, EveryCatalogueLineGivesAPackageTheReaderUnpacks) {
  const std::vector<CatalogueSkin> skins = RealCatalogue();
  ASSERT_EQ(skins.size(), 74u);
  struct Section {
    const char* name;
    Area area;
    const char* image;
  };
  const Section sections[] = {
      {"FORM", Area::Window, nullptr},         {"CAPTION", Area::Caption, "Caption.bmp"},
      {"BUTTON", Area::Button, "Button.bmp"},  {"EDIT", Area::Edit, nullptr},
      {"SELECTION", Area::Selection, nullptr},
  };
  for (const CatalogueSkin& skin : skins) {
    SCOPED_TRACE(skin.name);
    const Bytes package = BuildSkinPackage(skin);
    // The option file is the first entry: name length 11, then its name.
    ASSERT_GT(package.size(), 19u);
    EXPECT_EQ(std::string(package.begin() + 8, package.begin() + 19),
              std::string("\x0B\0\0\0Options", 11));
    const auto unpacked = Unpack(package);
    ASSERT_TRUE(unpacked->Options.has_value());
    ASSERT_EQ(unpacked->ImageCount, 2);

    const Ini ini = ParseIni(AsChars(*unpacked->Options));
    ASSERT_TRUE(ini.contains("GLOBALINFO"));
    EXPECT_EQ(ini.at("GLOBALINFO").at("VERSION"), skin.version);
    EXPECT_EQ(ini.at("GLOBALINFO").at("DESCRIPTION"), skin.name);
    for (const Section& s : sections) {
      SCOPED_TRACE(s.name);
      ASSERT_TRUE(ini.contains(s.name));
      const auto& keys = ini.at(s.name);
      EXPECT_EQ(FromColorRef(keys.at("COLOR")), skin[s.area].back);
      EXPECT_EQ(FromColorRef(keys.at("FONTCOLOR")), skin[s.area].text);
      if (s.image) {
        EXPECT_EQ(keys.at("IMAGE"), s.image);
        EXPECT_NE(Image(*unpacked, std::u16string(s.image, s.image + std::strlen(s.image))),
                  nullptr);
      } else {
        EXPECT_FALSE(keys.contains("IMAGE"));
      }
    }

    // The caption gradient runs from the caption colour itself to a shade, and the caption
    // text stays readable over every pixel.
    const TacImageItem* caption = Image(*unpacked, u"Caption.bmp");
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->IsBitmap);
    const auto captionRows = ReadBmp(caption->FileStream);
    ASSERT_FALSE(captionRows.empty());
    EXPECT_TRUE(captionRows.front().front() == skin[Area::Caption].back ||
                captionRows.back().front() == skin[Area::Caption].back);
    EXPECT_NE(captionRows.front().front(), captionRows.back().front());
    for (const auto& row : captionRows) {
      for (Rgb c : row) EXPECT_GE(Contrast(c, skin[Area::Caption].text), 4.5);
    }

    // The button face inside its frame (BORDER pixels) keeps the button text readable.
    const TacImageItem* button = Image(*unpacked, u"Button.bmp");
    ASSERT_NE(button, nullptr);
    const auto buttonRows = ReadBmp(button->FileStream);
    const int border = std::stoi(ini.at("BUTTON").at("BORDER"));
    ASSERT_GT(buttonRows.size(), 2u * border);
    for (std::size_t y = border; y + border < buttonRows.size(); ++y) {
      const auto& row = buttonRows[y];
      for (std::size_t x = border; x + border < row.size(); ++x) {
        EXPECT_GE(Contrast(row[x], skin[Area::Button].text), 4.5);
      }
      EXPECT_NE(row.front(), row[border]);  // the frame shows against the face
    }
  }
}

TEST(SkinGenerator, OptionFileSpellsTheLookAsDocumented) {
  // A hand-computed line: colours are decimal numbers with red in the low byte.
  const auto skins = ParseCatalogue(
      "Matrix (internal) | 8.50 | 000000 00E040  001A00 33FF66  0A2A0A 33FF66  000000 00E040  "
      "00A030 000000\n",
      "cat.txt");
  ASSERT_EQ(skins.size(), 1u);
  EXPECT_EQ(OptionFile(skins[0]),
            "[GLOBALINFO]\r\nVERSION=8.5\r\nAUTHOR=KQMiniLauncher skin generator\r\n"
            "DESCRIPTION=Matrix (internal)\r\n"
            "\r\n[FORM]\r\nCOLOR=0\r\nFONTCOLOR=4251648\r\n"
            "\r\n[CAPTION]\r\nCOLOR=6656\r\nFONTCOLOR=6750003\r\nIMAGE=Caption.bmp\r\n"
            "\r\n[BUTTON]\r\nCOLOR=666122\r\nFONTCOLOR=6750003\r\nIMAGE=Button.bmp\r\nBORDER=1\r\n"
            "\r\n[EDIT]\r\nCOLOR=0\r\nFONTCOLOR=4251648\r\n"
            "\r\n[SELECTION]\r\nCOLOR=3186688\r\nFONTCOLOR=0\r\n");
}

TEST(SkinGenerator, CatalogueVersionsSpreadFromEightToNineOhOne) {
  double lowest = 100, highest = 0;
  for (const CatalogueSkin& skin : RealCatalogue()) {
    const double v = std::stod(skin.version);
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  EXPECT_EQ(lowest, 8.0);
  EXPECT_EQ(highest, 9.01);
}

TEST(SkinGenerator, VersionsAreWrittenWithoutTrailingZeros) {
  const std::pair<const char*, const char*> cases[] = {
      {"8", "8"},       {"8.0", "8"},     {"8.50", "8.5"},
      {"9.01", "9.01"}, {"7.45", "7.45"}, {"9.99", "9.99"},
  };
  for (const auto& [written, stored] : cases) {
    const std::string line = std::string("A | ") + written +
                             " | FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 "
                             "FFFFFF 000000\n";
    EXPECT_EQ(ParseCatalogue(line, "cat.txt").at(0).version, stored) << written;
  }
}

TEST(SkinGenerator, MalformedCatalogueLinesNameTheFileAndLine) {
  const std::string colours =
      "FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000";
  // Line 1 is a comment and line 2 blank, so the faulty line is line 3 (4 for a repeat).
  struct Case {
    std::string line;
    const char* message;
  };
  const Case cases[] = {
      {"A | 9", "cat.txt:3: expected 'name | version | colours'"},
      {"A | 9 | " + colours + " | x", "cat.txt:3: expected 'name | version | colours'"},
      {" | 9 | " + colours, "cat.txt:3: the skin has no name"},
      {"A/B | 9 | " + colours,
       "cat.txt:3: the name 'A/B' holds a character a file name cannot hold"},
      {"A | nine | " + colours, "cat.txt:3: 'nine' is not a version (such as 8, 8.5 or 9.01)"},
      {"A | 9.001 | " + colours, "cat.txt:3: '9.001' is not a version (such as 8, 8.5 or 9.01)"},
      {"A | 9. | " + colours, "cat.txt:3: '9.' is not a version (such as 8, 8.5 or 9.01)"},
      {"A | 7.44 | " + colours,
       "cat.txt:3: version 7.44 is outside 7.45 to 9.99, where skins load silently"},
      {"A | 10 | " + colours,
       "cat.txt:3: version 10 is outside 7.45 to 9.99, where skins load silently"},
      {"A | 9 | FFFFFF 000000", "cat.txt:3: expected 10 colours, found 2"},
      {"A | 9 | FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 00000G",
       "cat.txt:3: '00000G' is not a colour RRGGBB"},
      {"A | 9 | FFFFFF 000000 808080 777777 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000",
       "cat.txt:3: the caption text 777777 on 808080 has a contrast of 1.13:1, below 4.5:1"},
      // Readable on black, but not on the shade a gradient adds to it.
      {"A | 9 | FFFFFF 000000 000000 767676 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000",
       "cat.txt:3: the caption text 767676 on 0B0B0B has a contrast of 4.33:1, below 4.5:1"},
      {"A | 9 | " + colours + "\nA | 8 | " + colours,
       "cat.txt:4: the name 'A' is already on line 3"},
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
}

TEST(SkinGenerator, ContrastIsTheLuminanceRatio) {
  EXPECT_DOUBLE_EQ(Contrast({0, 0, 0}, {255, 255, 255}), 21.0);
  EXPECT_DOUBLE_EQ(Contrast({255, 255, 255}, {0, 0, 0}), 21.0);
  EXPECT_DOUBLE_EQ(Contrast({0x12, 0x34, 0x56}, {0x12, 0x34, 0x56}), 1.0);
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
      "000080 FFFFFF\n"
      "Second | 9.01 | 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF 000000 FFFFFF FFFFFF 000000\n");
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
      "A | 8 | F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 F0F0F0 000000 000080 FFFFFF\n";
  WriteCatalogue(good);
  GenerateCatalogue(root_ / "catalogue.txt", root_ / "out");
  const std::string before = ReadText(root_ / "out" / "InternalSkins.inc");
  WriteCatalogue(good + "B | 8 | F0F0F0\n");
  try {
    GenerateCatalogue(root_ / "catalogue.txt", root_ / "out");
    ADD_FAILURE() << "no error";
  } catch (const CatalogueError& e) {
    EXPECT_EQ(e.what(), (root_ / "catalogue.txt").string() + ":2: expected 10 colours, found 1");
  }
  EXPECT_EQ(ReadText(root_ / "out" / "InternalSkins.inc"), before);
  EXPECT_THROW(GenerateCatalogue(root_ / "missing.txt", root_ / "out"), CatalogueError);
}

}  // namespace
}  // namespace kq::skingen
