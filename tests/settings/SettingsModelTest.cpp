#include "settings/SettingsModel.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

namespace kq {

void PrintTo(const SettingsView& v, std::ostream* os) {
  using testing::PrintToString;
  *os << "{levels " << v.RgTextures << " " << v.RgDynLight << " " << v.RgGlow << " " << v.RgShadows
      << ", checks " << v.CbMusic << v.CbEff << v.CbMouseAcc << v.CbTextureDet << v.CbFullScr
      << ", gamma " << PrintToString(v.CbGamma) << ", text " << PrintToString(v.CbResolution)
      << ", mode " << v.ScreenXSize << " " << v.ScreenYSize << " " << v.RenderBits << "}";
}

namespace {

const Cp1251Codec kCodec;

// OK's writes applied to a document, as the accessor applies them to the file.
struct DocumentWriter final : EngineSettingsWriter {
  explicit DocumentWriter(IniDocument& d) : doc(d) {}
  void WriteText(std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) override {
    doc.Set(section, key, value);
  }
  IniDocument& doc;
};

// What a showing with no file displays.
SettingsView Defaults() {
  return {.RgTextures = 0,
          .RgDynLight = 0,
          .RgGlow = 0,
          .RgShadows = 0,
          .CbMusic = true,
          .CbEff = true,
          .CbMouseAcc = true,
          .CbTextureDet = true,
          .CbFullScr = true,
          .CbGamma = u"1.2",
          .CbResolution = u"800x600x16",
          .ScreenXSize = 800,
          .ScreenYSize = 600,
          .RenderBits = 16};
}

template <class Change>
SettingsView DefaultsWith(Change change) {
  SettingsView v = Defaults();
  change(v);
  return v;
}

constexpr std::string_view kGameFile =
    "; N4Engine \xED\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n"  // "настройки" in cp1251
    "; written by the game client\r\n"
    "\r\n"
    "[Engine]\r\n"
    "Version=1.0.3.12\r\n"
    "Gamma=2.2\r\n"
    "LogLevel = 2\r\n"
    "\r\n"
    "[RenderState]\r\n"
    ";ScreenXSize=1920\r\n"
    "TextureDetail=2\r\n"
    "DynamicLight=1\r\n"
    "BboShasi=1\r\n"
    "ShadowDetail=3\r\n"
    "bMouseAccelation=TRUE\r\n"
    "bDetailTexture=FALSE\r\n"
    "bFullScreen=TRUE\r\n"
    "Gamma=1.4\r\n"
    "ScreenXSize=1024\r\n"
    "ScreenYSize=768\r\n"
    "RenderBits=32\r\n"
    "FarClip   =  12000.0\r\n"
    "; fog\r\n"
    "FogEnable=TRUE\r\n"
    "\r\n"
    "[Sound]\r\n"
    "Music=TRUE\r\n"
    "Sound=FALSE\r\n"
    "MusicVolume = 80\r\n"
    "EffectVolume\t=\t100\r\n"
    "\r\n"
    "[Camera]\r\n"
    "Distance=35\r\n";

constexpr std::string_view kNewFile =
    "[RenderState]\r\n"
    "TextureDetail=0\r\n"
    "DynamicLight=0\r\n"
    "BboShasi=0\r\n"
    "ShadowDetail=0\r\n"
    "bMouseAccelation=TRUE\r\n"
    "bDetailTexture=TRUE\r\n"
    "bFullScreen=FALSE\r\n"
    "Gamma=1.2\r\n"
    "ScreenXSize=800\r\n"
    "ScreenYSize=600\r\n"
    "RenderBits=16\r\n"
    "[Sound]\r\n"
    "Music=TRUE\r\n"
    "Sound=TRUE\r\n";

struct Fixture {
  const char* name;
  std::string_view file;  // "" stands for no file: both read as nothing
  SettingsView shown;     // what FormShow puts into the controls
  std::string_view after_ok;
};

std::vector<Fixture> Fixtures() {
  return {
      {"no file: defaults, and OK creates RenderState then Sound", "", Defaults(), kNewFile},
      {"the game's own file, already in written form: OK changes no byte",
       kGameFile,
       {.RgTextures = 2,
        .RgDynLight = 1,
        .RgGlow = 1,
        .RgShadows = 3,
        .CbMusic = true,
        .CbEff = false,
        .CbMouseAcc = true,
        .CbTextureDet = false,
        .CbFullScr = false,
        .CbGamma = u"1.4",
        .CbResolution = u"1024x768x32",
        .ScreenXSize = 1024,
        .ScreenYSize = 768,
        .RenderBits = 32},
       kGameFile},
      {"names in other case, odd values: normalised on their own lines",
       "; N4Engine.ini\r\n"
       "\r\n"
       "[renderstate]\r\n"
       "TextureDetail = 7\r\n"
       "dynamiclight=-3\r\n"
       "BboShasi=3\r\n"
       "ShadowDetail=-1\r\n"
       "  bMouseAccelation=true\r\n"
       "bDetailTexture=\"TRUE\"\r\n"
       "bFullScreen=\r\n"
       "GAMMA = '1,3' \r\n"
       "ScreenXSize=0x400\r\n"
       "ScreenYSize=0768\r\n"
       "RenderBits=+32\r\n"
       "FarClip   =  12000.0\r\n"
       "\r\n"
       "[SOUND]\r\n"
       "music=True\r\n"
       "sound=  TRUE   \r\n"
       "MusicVolume = 80\r\n",
       {.RgTextures = 3,
        .RgDynLight = -1,
        .RgGlow = 2,
        .RgShadows = -1,
        .CbMusic = false,
        .CbEff = true,
        .CbMouseAcc = false,
        .CbTextureDet = true,
        .CbFullScr = true,
        .CbGamma = u"1,3",
        .CbResolution = u"1024x768x32",
        .ScreenXSize = 1024,
        .ScreenYSize = 768,
        .RenderBits = 32},
       "; N4Engine.ini\r\n"
       "\r\n"
       "[renderstate]\r\n"
       "TextureDetail = 3\r\n"
       "dynamiclight=-1\r\n"
       "BboShasi=2\r\n"
       "ShadowDetail=-1\r\n"
       "  bMouseAccelation=FALSE\r\n"
       "bDetailTexture=TRUE\r\n"
       "bFullScreen=FALSE\r\n"
       "GAMMA = 1,3\r\n"
       "ScreenXSize=1024\r\n"
       "ScreenYSize=768\r\n"
       "RenderBits=32\r\n"
       "FarClip   =  12000.0\r\n"
       "\r\n"
       "[SOUND]\r\n"
       "music=FALSE\r\n"
       "sound=  TRUE\r\n"
       "MusicVolume = 80\r\n"},
      {"a mode not in the list, hex and malformed levels, missing flags appended",
       "[RenderState]\r\n"
       "TextureDetail=0x1\r\n"
       "DynamicLight=abc\r\n"
       "BboShasi=\r\n"
       "ShadowDetail=4\r\n"
       "ScreenXSize=1366\r\n"
       "ScreenYSize=768\r\n"
       "RenderBits=32\r\n"
       "Gamma=1.8\r\n"
       "bFullScreen=TRUE\r\n"
       "[Sound]\r\n"
       "Music=FALSE\r\n"
       "Sound=FALSE\r\n",
       DefaultsWith([](SettingsView& v) {
         v.RgTextures = 1;
         v.RgShadows = 3;
         v.CbMusic = v.CbEff = v.CbFullScr = false;
         v.CbGamma = u"1.8";
         v.CbResolution = u"1366x768x32";
         v.ScreenXSize = 1366;
         v.ScreenYSize = 768;
         v.RenderBits = 32;
       }),
       "[RenderState]\r\n"
       "TextureDetail=1\r\n"
       "DynamicLight=0\r\n"
       "BboShasi=0\r\n"
       "ShadowDetail=3\r\n"
       "ScreenXSize=1366\r\n"
       "ScreenYSize=768\r\n"
       "RenderBits=32\r\n"
       "Gamma=1.8\r\n"
       "bFullScreen=TRUE\r\n"
       "bMouseAccelation=TRUE\r\n"
       "bDetailTexture=TRUE\r\n"
       "[Sound]\r\n"
       "Music=FALSE\r\n"
       "Sound=FALSE\r\n"},
      {"LF line ends: added keys go before the blank line, Sound at the end",
       "[RenderState]\n"
       "Gamma=1.0\n"
       "\n"
       "[Other]\n"
       "x=1\n",
       DefaultsWith([](SettingsView& v) { v.CbGamma = u"1.0"; }),
       "[RenderState]\n"
       "Gamma=1.0\n"
       "TextureDetail=0\n"
       "DynamicLight=0\n"
       "BboShasi=0\n"
       "ShadowDetail=0\n"
       "bMouseAccelation=TRUE\n"
       "bDetailTexture=TRUE\n"
       "bFullScreen=FALSE\n"
       "ScreenXSize=800\n"
       "ScreenYSize=600\n"
       "RenderBits=16\n"
       "\n"
       "[Other]\n"
       "x=1\n"
       "[Sound]\n"
       "Music=TRUE\n"
       "Sound=TRUE\n"},
      {"Sound first, last line without an end: the order of the sections stays",
       "[Sound]\r\nMusic=FALSE", DefaultsWith([](SettingsView& v) { v.CbMusic = false; }),
       "[Sound]\r\n"
       "Music=FALSE\r\n"
       "Sound=TRUE\r\n"
       "[RenderState]\r\n"
       "TextureDetail=0\r\n"
       "DynamicLight=0\r\n"
       "BboShasi=0\r\n"
       "ShadowDetail=0\r\n"
       "bMouseAccelation=TRUE\r\n"
       "bDetailTexture=TRUE\r\n"
       "bFullScreen=FALSE\r\n"
       "Gamma=1.2\r\n"
       "ScreenXSize=800\r\n"
       "ScreenYSize=600\r\n"
       "RenderBits=16\r\n"},
      {"quoted and blank-padded values, present empty gamma",
       "[RenderState]\r\n"
       "Gamma=\r\n"
       "ScreenXSize = \"1280\"\r\n"
       "ScreenYSize='720'\r\n"
       "RenderBits=\t16\t\r\n"
       "bFullScreen=\"FALSE\"\r\n"
       "bMouseAccelation= TRUE \r\n"
       "[Sound]\r\n"
       "Music=\"true\"\r\n"
       "Sound='TRUE'\r\n",
       DefaultsWith([](SettingsView& v) {
         v.CbMusic = false;
         v.CbGamma = u"";
         v.CbResolution = u"1280x720x16";
         v.ScreenXSize = 1280;
         v.ScreenYSize = 720;
       }),
       "[RenderState]\r\n"
       "Gamma=\r\n"
       "ScreenXSize = 1280\r\n"
       "ScreenYSize=720\r\n"
       "RenderBits=\t16\r\n"
       "bFullScreen=FALSE\r\n"
       "bMouseAccelation= TRUE\r\n"
       "TextureDetail=0\r\n"
       "DynamicLight=0\r\n"
       "BboShasi=0\r\n"
       "ShadowDetail=0\r\n"
       "bDetailTexture=TRUE\r\n"
       "[Sound]\r\n"
       "Music=FALSE\r\n"
       "Sound=TRUE\r\n"},
  };
}

TEST(SettingsModel, ShowingLoadsEveryControlAndOkKeepsEverythingElseByteForByte) {
  for (const Fixture& f : Fixtures()) {
    SCOPED_TRACE(f.name);
    IniDocument doc = IniDocument::Parse(AsBytes(f.file), kCodec);
    const SettingsView view = LoadSettingsView(doc);
    EXPECT_EQ(view, f.shown);
    DocumentWriter writer(doc);
    SaveSettingsView(view, writer);
    EXPECT_EQ(AsChars(doc.Serialize()), f.after_ok);
    // Showing again reads back what OK wrote.
    EXPECT_EQ(LoadSettingsView(doc), view);
  }
}

// Records the writes and refuses the one at `refuse_at`, as a read-only file would.
struct RefusingWriter final : EngineSettingsWriter {
  explicit RefusingWriter(std::size_t at) : refuse_at(at) {}
  void WriteText(std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) override {
    if (writes.size() == refuse_at) throw WriteRefused(u"C:\\Games\\DO Rizura\\N4Engine.ini");
    writes.push_back(std::u16string(section) + u"/" + std::u16string(key) + u"=" +
                     std::u16string(value));
  }
  std::size_t refuse_at;
  std::vector<std::u16string> writes;
};

TEST(SettingsModel, OkWritesInTheFilesOrderAndStopsAtARefusedKey) {
  const SettingsView view{.RgTextures = 1,
                          .RgDynLight = 2,
                          .RgGlow = -1,
                          .RgShadows = 3,
                          .CbMusic = false,
                          .CbEff = true,
                          .CbMouseAcc = true,
                          .CbTextureDet = false,
                          .CbFullScr = false,
                          .CbGamma = u"0.8",
                          // Only the mode is written, never the text field.
                          .CbResolution =
                              u"1920\u0445"
                              u"1080x32",
                          .ScreenXSize = 1440,
                          .ScreenYSize = 900,
                          .RenderBits = 32};
  const std::vector<std::u16string> all = {
      u"RenderState/TextureDetail=1",
      u"RenderState/DynamicLight=2",
      u"RenderState/BboShasi=-1",
      u"RenderState/ShadowDetail=3",
      u"Sound/Music=FALSE",
      u"Sound/Sound=TRUE",
      u"RenderState/bMouseAccelation=TRUE",
      u"RenderState/bDetailTexture=FALSE",
      u"RenderState/bFullScreen=TRUE",
      u"RenderState/Gamma=0.8",
      u"RenderState/ScreenXSize=1440",
      u"RenderState/ScreenYSize=900",
      u"RenderState/RenderBits=32",
  };
  for (std::size_t refuse_at = 0; refuse_at <= all.size(); ++refuse_at) {
    SCOPED_TRACE(refuse_at);
    RefusingWriter writer(refuse_at);
    if (refuse_at < all.size()) {
      try {
        SaveSettingsView(view, writer);
        ADD_FAILURE() << "the refusal did not come through";
      } catch (const Error& e) {
        EXPECT_EQ(WriteRefusedBoxText(e),
                  u"Unable to write to C:\\Games\\DO Rizura\\N4Engine.ini.");
      }
    } else {
      SaveSettingsView(view, writer);
    }
    EXPECT_EQ(writer.writes, std::vector<std::u16string>(all.begin(), all.begin() + refuse_at));
  }
}

TEST(SettingsModel, PickingAnEntrySetsTheWholeModeFromItsRow) {
  const IniDocument doc = IniDocument::Parse(
      AsBytes("[RenderState]\r\nScreenXSize=1366\r\nScreenYSize=768\r\nRenderBits=32\r\n"), kCodec);
  const SettingsView shown = LoadSettingsView(doc);
  ASSERT_EQ(shown.CbResolution, u"1366x768x32");

  const struct {
    int index;
    bool changes;
    std::int32_t width, height, depth;
    std::u16string_view text;
  } cases[] = {
      {-1, false, 0, 0, 0, {}},
      {-2, false, 0, 0, 0, {}},
      {26, false, 0, 0, 0, {}},
      {INT_MIN, false, 0, 0, 0, {}},
      {INT_MAX, false, 0, 0, 0, {}},
      {0, true, 800, 600, 16, u"800x600x16"},
      {4, true, 1152, 854, 16, u"1152x854x16"},
      {9, true, 1220, 1024, 16, u"1220x1024x16"},
      {10, true, 832, 634, 16, u"832x634x16"},
      {11, true, 800, 600, 32, u"800x600x32"},
      {25, true, 1920, 1080, 32,
       u"1920\u0445"
       u"1080x32"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    SettingsView view = shown;
    PickResolution(view, c.index);
    if (!c.changes) {
      EXPECT_EQ(view, shown);
      continue;
    }
    SettingsView expected = shown;
    expected.ScreenXSize = c.width;
    expected.ScreenYSize = c.height;
    expected.RenderBits = c.depth;
    expected.CbResolution = c.text;
    EXPECT_EQ(view, expected);
    // OK writes the picked row.
    RefusingWriter writer(SIZE_MAX);
    SaveSettingsView(view, writer);
    ASSERT_GE(writer.writes.size(), 3u);
    EXPECT_EQ(std::vector<std::u16string>(writer.writes.end() - 3, writer.writes.end()),
              (std::vector<std::u16string>{u"RenderState/ScreenXSize=" + DecimalText(c.width),
                                           u"RenderState/ScreenYSize=" + DecimalText(c.height),
                                           u"RenderState/RenderBits=" + DecimalText(c.depth)}));
  }
}

TEST(SettingsModel, ResolutionTableTextsAgreeWithTheirRows) {
  ASSERT_EQ(std::size(kResolutionTable), 26u);
  for (std::size_t i = 0; i < std::size(kResolutionTable); ++i) {
    SCOPED_TRACE(i);
    const ResolutionEntry& e = kResolutionTable[i];
    EXPECT_EQ(e.depth, i <= 10 ? 16 : 32);
    if (i == 25) {
      // The first separator is the Cyrillic х, U+0445, as the players have always seen it.
      EXPECT_EQ(e.text, std::u16string_view(u"1920\u0445"
                                            u"1080x32"));
    } else {
      EXPECT_EQ(e.text, ScreenModeText(e.width, e.height, e.depth));
    }
  }
  EXPECT_EQ(ScreenModeText(-5, 0, 2147483647), u"-5x0x2147483647");
}

}  // namespace
}  // namespace kq
