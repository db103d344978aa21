#include "paint/SkinModel.h"

#include "TestText.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace kq::paint {
namespace {

using test::U8;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return r | g << 8 | b << 16;
}

ModelResult Build(std::u16string_view text) {
  return BuildSkinModel(SkinIni::Parse(text));
}

std::vector<int> Lines(const std::vector<Diagnostic>& diagnostics) {
  std::vector<int> lines;
  for (const Diagnostic& d : diagnostics) lines.push_back(d.line);
  return lines;
}

std::string Texts(const std::vector<Diagnostic>& diagnostics) {
  std::string out;
  for (const Diagnostic& d : diagnostics) out += std::to_string(d.line) + ": " + U8(d.text) + "\n";
  return out;
}

// The text with its second line emptied: the same file without the key under test.
std::u16string WithoutSecondLine(std::u16string_view text) {
  const std::size_t first = text.find(u'\n');
  const std::size_t second = text.find(u'\n', first + 1);
  return std::u16string(text.substr(0, first + 1)) +
         (second == std::u16string_view::npos ? u"" : std::u16string(text.substr(second)));
}

TEST(SkinModel, ValuesInTheirFormsAndBounds) {
  using Read = std::function<long long(const SkinModel&)>;
  const auto color = [](SectionId id) -> Read {
    return [id](const SkinModel& m) { return m[id].In(State::kNormal).color; };
  };
  const auto size = [](SectionId id) -> Read {
    return [id](const SkinModel& m) { return m[id].size; };
  };
  const Read buttonMargins = [](const SkinModel& m) {
    const Margins& g = m[SectionId::kButton].image.margins;
    return g.left * 1000000000LL + g.top * 1000000LL + g.right * 1000LL + g.bottom;
  };
  const Read formMode = [](const SkinModel& m) {
    return static_cast<long long>(m[SectionId::kForm].image.mode);
  };
  const struct {
    std::u16string_view text;
    Read read;
    long long value;
  } cases[] = {
      {u"[FORM]\nCOLOR=#FF8000", color(SectionId::kForm), Rgb(0xFF, 0x80, 0)},
      {u"[FORM]\nCOLOR=#ff8000", color(SectionId::kForm), Rgb(0xFF, 0x80, 0)},
      {u"[FORM]\nCOLOR=255", color(SectionId::kForm), Rgb(0xFF, 0, 0)},  // red in the low byte
      {u"[FORM]\nCOLOR=16777215", color(SectionId::kForm), 0xFFFFFF},
      {u"[FORM]\nCOLOR = 0 ", color(SectionId::kForm), 0},
      {u"[BUTTON]\nCOLOR=0000000000065280", color(SectionId::kButton), Rgb(0, 0xFF, 0)},
      {u"[CAPTION]\nHEIGHT=16", size(SectionId::kCaption), 16},
      {u"[CAPTION]\nHEIGHT=64", size(SectionId::kCaption), 64},
      {u"[BORDER]\nWIDTH=1", size(SectionId::kBorder), 1},
      {u"[BORDER]\nWIDTH=16", size(SectionId::kBorder), 16},
      {u"[CLOSEBUTTON]\nSIZE=12", size(SectionId::kCloseButton), 12},
      {u"[MINBUTTON]\nSIZE=48", size(SectionId::kMinButton), 48},
      {u"[CHECKBOX]\nSIZE=9", size(SectionId::kCheckBox), 9},
      {u"[RADIOBUTTON]\nSIZE=32", size(SectionId::kRadioButton), 32},
      {u"[BUTTON]\nRADIUS=16", [](const SkinModel& m) { return m[SectionId::kButton].radius; }, 16},
      {u"[CAPTION]\nALIGN=CENTER",
       [](const SkinModel& m) { return static_cast<long long>(m[SectionId::kCaption].align); },
       static_cast<long long>(Align::kCenter)},
      {u"[CAPTION]\nBOLD=1", [](const SkinModel& m) { return m[SectionId::kCaption].bold; }, 1},
      {u"[PANEL]\nSHADOWCOLOR=#010203",
       [](const SkinModel& m) { return m[SectionId::kPanel].shadowColor; }, Rgb(1, 2, 3)},
      {u"[BUTTON]\nMARGINS= 255, 0 ,1,2\nIMAGE=Face.PNG", buttonMargins, 255000001002LL},
      {u"[FORM]\nMODE=TILE\nIMAGE=Back.bmp", formMode, static_cast<long long>(DrawMode::kTile)},
      {u"[FORM]\nMODE=STRETCH\nIMAGE=Back.bmp", formMode,
       static_cast<long long>(DrawMode::kStretch)},
      {u"[BUTTON]\nSTATES=NORMAL, HOT,PRESSED,FOCUSED,DISABLED,INACTIVE\nIMAGE=a.png",
       [](const SkinModel& m) { return m[SectionId::kButton].image.frames; }, 6},
      {u"[CHECKBOX]\nGLYPHSTATES=UNCHECKED,UNCHECKED.HOT,UNCHECKED.PRESSED,UNCHECKED.FOCUSED,"
       u"UNCHECKED.DISABLED,UNCHECKED.INACTIVE,CHECKED,CHECKED.HOT,CHECKED.PRESSED,"
       u"CHECKED.FOCUSED,CHECKED.DISABLED,CHECKED.INACTIVE,MIXED.NORMAL,MIXED.HOT,MIXED.PRESSED,"
       u"MIXED.FOCUSED,MIXED.DISABLED,MIXED.INACTIVE\nGLYPH=Box.png",
       [](const SkinModel& m) { return m[SectionId::kCheckBox].glyph.frames; }, 18},
  };
  for (const auto& c : cases) {
    const ModelResult r = Build(c.text);
    EXPECT_EQ(Texts(r.errors), "") << U8(c.text);
    EXPECT_EQ(c.read(r.model), c.value) << U8(c.text);
  }
}

// A value of the wrong form or out of bounds is an error on its line, and the model is the
// one without that key.
TEST(SkinModel, RefusedValuesAreErrorsOnTheirLineAndTakeTheDefault) {
  const std::string longName(125, 'a');
  const std::u16string tooLongImage =
      u"[BUTTON]\nIMAGE=" + std::u16string(longName.begin(), longName.end()) + u".png";
  const struct {
    std::u16string_view text;
    std::string message;  // the start of the error's text
  } cases[] = {
      {u"[FORM]\nCOLOR=#FF800", "[FORM] COLOR: \"#FF800\" is not a colour"},
      {u"[FORM]\nCOLOR=#GG0000", "[FORM] COLOR: \"#GG0000\" is not a colour"},
      {u"[FORM]\nCOLOR=#FF8000FF", "[FORM] COLOR: \"#FF8000FF\" is not a colour"},
      {u"[FORM]\nCOLOR=16777216", "[FORM] COLOR: \"16777216\" is not a colour"},
      {u"[FORM]\nCOLOR=-1", "[FORM] COLOR: \"-1\" is not a colour"},
      {u"[FORM]\nCOLOR=0x10", "[FORM] COLOR: \"0x10\" is not a colour"},
      {u"[FORM]\nCOLOR=red", "[FORM] COLOR: \"red\" is not a colour"},
      {u"[FORM]\nCOLOR=", "[FORM] COLOR: \"\" is not a colour"},
      {u"[FORM]\nCOLOR=１２", "[FORM] COLOR: \"１２\" is not a colour"},
      {u"[BUTTON]\nFONTCOLOR.HOT=blue", "[BUTTON] FONTCOLOR.HOT: \"blue\" is not a colour"},
      {u"[PANEL]\nSHADOWCOLOR=grey", "[PANEL] SHADOWCOLOR: \"grey\" is not a colour"},
      {u"[CAPTION]\nHEIGHT=15", "[CAPTION] HEIGHT: \"15\" is not a whole number from 16 to 64"},
      {u"[CAPTION]\nHEIGHT=65", "[CAPTION] HEIGHT: \"65\" is not a whole number from 16 to 64"},
      {u"[CAPTION]\nHEIGHT=24px", "[CAPTION] HEIGHT: \"24px\" is not a whole number"},
      {u"[CAPTION]\nHEIGHT=+24", "[CAPTION] HEIGHT: \"+24\" is not a whole number"},
      {u"[CAPTION]\nHEIGHT=99999999999999999999", "[CAPTION] HEIGHT: \"9999"},
      {u"[BORDER]\nWIDTH=0", "[BORDER] WIDTH: \"0\" is not a whole number from 1 to 16"},
      {u"[BORDER]\nWIDTH=17", "[BORDER] WIDTH: \"17\" is not a whole number from 1 to 16"},
      {u"[CLOSEBUTTON]\nSIZE=11", "[CLOSEBUTTON] SIZE: \"11\" is not a whole number from 12 to 48"},
      {u"[MINBUTTON]\nSIZE=49", "[MINBUTTON] SIZE: \"49\" is not a whole number from 12 to 48"},
      {u"[CHECKBOX]\nSIZE=8", "[CHECKBOX] SIZE: \"8\" is not a whole number from 9 to 32"},
      {u"[RADIOBUTTON]\nSIZE=33", "[RADIOBUTTON] SIZE: \"33\" is not a whole number from 9 to 32"},
      {u"[BUTTON]\nRADIUS=17", "[BUTTON] RADIUS: \"17\" is not a whole number from 0 to 16"},
      {u"[CAPTION]\nALIGN=MIDDLE", "[CAPTION] ALIGN: \"MIDDLE\" is none of LEFT, CENTER, RIGHT"},
      {u"[CAPTION]\nALIGN=center", "[CAPTION] ALIGN: \"center\" is none of"},
      {u"[CAPTION]\nBOLD=2", "[CAPTION] BOLD: \"2\" is neither 0 nor 1"},
      {u"[BUTTON]\nMARGINS=1,2,3\nIMAGE=a.png", "[BUTTON] MARGINS: \"1,2,3\" is not four margins"},
      {u"[BUTTON]\nMARGINS=1,2,3,4,5\nIMAGE=a.png", "[BUTTON] MARGINS: \"1,2,3,4,5\" is not four"},
      {u"[BUTTON]\nMARGINS=256,0,0,0\nIMAGE=a.png", "[BUTTON] MARGINS: \"256,0,0,0\" is not four"},
      {u"[BUTTON]\nMARGINS=-1,0,0,0\nIMAGE=a.png", "[BUTTON] MARGINS: \"-1,0,0,0\" is not four"},
      {u"[BUTTON]\nMARGINS=1,,2,3\nIMAGE=a.png", "[BUTTON] MARGINS: \"1,,2,3\" is not four"},
      {u"[FORM]\nMODE=tile\nIMAGE=a.png", "[FORM] MODE: \"tile\" is none of NINE, TILE, STRETCH"},
      {u"[FORM]\nMODE=NINESLICE\nIMAGE=a.png", "[FORM] MODE: \"NINESLICE\" is none of"},
      {u"[BUTTON]\nIMAGE=..\\x.png", "[BUTTON] IMAGE: \"..\\x.png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=sub/x.png", "[BUTTON] IMAGE: \"sub/x.png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=sub\\x.png", "[BUTTON] IMAGE: \"sub\\x.png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=C:x.png", "[BUTTON] IMAGE: \"C:x.png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=x.gif", "[BUTTON] IMAGE: \"x.gif\" is not an image file"},
      {u"[BUTTON]\nIMAGE=.png", "[BUTTON] IMAGE: \".png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=a..png", "[BUTTON] IMAGE: \"a..png\" is not an image file"},
      {u"[BUTTON]\nIMAGE=x<1>.png", "[BUTTON] IMAGE: \"x<1>.png\" is not an image file"},
      {tooLongImage, "[BUTTON] IMAGE: \"aaaa"},
      {u"[EDIT]\nGLYPH=arrow", "[EDIT] GLYPH: \"arrow\" is not an image file"},
      {u"[BUTTON]\nSTATES=NORMAL,HOT,HOT\nIMAGE=a.png",
       "[BUTTON] STATES: \"NORMAL,HOT,HOT\" names \"HOT\" twice"},
      {u"[BUTTON]\nSTATES=HOT,PRESSED\nIMAGE=a.png",
       "[BUTTON] STATES: \"HOT,PRESSED\" names no NORMAL frame"},
      {u"[BUTTON]\nSTATES=NORMAL,ACTIVE\nIMAGE=a.png",
       "[BUTTON] STATES: \"NORMAL,ACTIVE\" names \"ACTIVE\", which is not a state: NORMAL, HOT, "
       "PRESSED, "
       "FOCUSED, DISABLED or INACTIVE"},
      {u"[BUTTON]\nSTATES=NORMAL,,HOT\nIMAGE=a.png",
       "[BUTTON] STATES: \"NORMAL,,HOT\" names \"\", which is not"},
      {u"[BUTTON]\nSTATES=normal\nIMAGE=a.png",
       "[BUTTON] STATES: \"normal\" names \"normal\", which is not"},
      {u"[BUTTON]\nSTATES=UNCHECKED\nIMAGE=a.png",
       "[BUTTON] STATES: \"UNCHECKED\" names \"UNCHECKED\", "
       "which is not a state"},
      {u"[CHECKBOX]\nGLYPHSTATES=CHECKED\nGLYPH=a.png",
       "[CHECKBOX] GLYPHSTATES: \"CHECKED\" names no UNCHECKED frame"},
      {u"[CHECKBOX]\nGLYPHSTATES=UNCHECKED,CHECKED.FOO\nGLYPH=a.png",
       "[CHECKBOX] GLYPHSTATES: \"UNCHECKED,CHECKED.FOO\" names \"CHECKED.FOO\", which is not a "
       "state"},
      {u"[RADIOBUTTON]\nGLYPHSTATES=NORMAL\nGLYPH=a.png",
       "[RADIOBUTTON] GLYPHSTATES: \"NORMAL\" names \"NORMAL\", which is not a check state: "
       "UNCHECKED, CHECKED or MIXED, each with an optional .STATE"},
      {u"[CLOSEBUTTON]\nGLYPHSTATES=NORMAL,CHECKED\nGLYPH=a.png",
       "[CLOSEBUTTON] GLYPHSTATES: \"NORMAL,CHECKED\" names \"CHECKED\", which is not a state"},
      {u"[BUTTON]\nSTATES=NORMAL,HOT,PRESSED,FOCUSED,DISABLED,INACTIVE,NORMAL,HOT,PRESSED,"
       u"FOCUSED,DISABLED,INACTIVE,NORMAL,HOT,PRESSED,FOCUSED,DISABLED,INACTIVE,NORMAL\n"
       u"IMAGE=a.png",
       "[BUTTON] STATES: \"NORMAL,HOT,PRESSED,FOCUSED,DISABLED,INAC...\" names 19 frames, "
       "more than 18"},
  };
  for (const auto& c : cases) {
    const ModelResult r = Build(c.text);
    ASSERT_EQ(r.errors.size(), 1u) << U8(c.text) << "\n" << Texts(r.errors);
    EXPECT_EQ(r.errors[0].line, 2) << U8(c.text);
    EXPECT_EQ(U8(r.errors[0].text).substr(0, c.message.size()), c.message) << U8(c.text);
    const ModelResult without = Build(WithoutSecondLine(c.text));
    EXPECT_TRUE(without.errors.empty()) << U8(c.text);
    EXPECT_EQ(r.model, without.model) << U8(c.text);
  }
}

TEST(SkinModel, UnknownSectionsAndKeysAreWarnings) {
  const ModelResult r = Build(
      u"[GLOBALINFO]\r\n"          // 1
      u"VERSION=9\r\n"             // 2
      u"EDITOR=x\r\n"              // 3: a key this format does not know
      u"[FUTURE]\r\n"              // 4: a section it does not know
      u"KEY=1\r\n"                 // 5
      u"[BUTTON]\r\n"              // 6
      u"GLOW=1\r\n"                // 7
      u"COLOR.ACTIVE=#000000\r\n"  // 8: no such state
      u"IMAGE.HOT=a.png\r\n"       // 9: IMAGE has no states
      u"HEIGHT=20\r\n"             // 10: CAPTION's key
      u"COLOR=#010101\r\n"         // 11
      u"COLOR.NORMAL=#020202\r\n"  // 12: the same slot again
      u"STATES=NORMAL\r\n"         // 13: no IMAGE
      u"GLYPHSTATES=NORMAL\r\n"    // 14: no GLYPH
      u"color=#030303\r\n"         // 15: names match exactly
      u"SHADOWCOLOR=#000000\r\n"   // 16: PANEL's key
      u"[button]\r\n"              // 17
      u"COLOR=bad\r\n");           // 18: in no known section, so no error
  EXPECT_EQ(Texts(r.errors), "");
  EXPECT_EQ(Lines(r.warnings), (std::vector<int>{3, 4, 7, 8, 9, 10, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(r.model[SectionId::kButton].In(State::kNormal).color, Rgb(1, 1, 1));
  EXPECT_FALSE(r.model[SectionId::kButton].image.Present());
  const std::map<int, std::string> texts = {
      {3, "[GLOBALINFO] EDITOR is not a key of [GLOBALINFO]; it is ignored"},
      {4, "[FUTURE] is not a section of a skin; it is ignored"},
      {10, "[BUTTON] HEIGHT is not a key of [BUTTON]; it is ignored"},
      {12, "[BUTTON] COLOR.NORMAL is given again; the value of line 11 is used"},
      {13, "[BUTTON] STATES without IMAGE in this section is ignored"},
      {14, "[BUTTON] GLYPHSTATES without GLYPH in this section is ignored"},
  };
  for (const Diagnostic& w : r.warnings) {
    if (texts.contains(w.line)) {
      EXPECT_EQ(U8(w.text), texts.at(w.line));
    }
  }
}

TEST(SkinModel, ErrorsNameTheirLinesInFileOrder) {
  const ModelResult r = Build(
      u"; a comment\r\n"                                                     // 1
      u"[FORM]\r\n"                                                          // 2
      u"COLOR=#12345\r\n"                                                    // 3
      u"\r\n"                                                                // 4
      u"[CAPTION]\r\n"                                                       // 5
      u"HEIGHT=99\r\n"                                                       // 6
      u"[FORM]\r\n"                                                          // 7: FORM again
      u"FONTCOLOR=black\r\n"                                                 // 8
      u"BORDERCOLOR=xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n"  // 9
  );
  EXPECT_EQ(Texts(r.errors),
            "3: [FORM] COLOR: \"#12345\" is not a colour: #RRGGBB, or a decimal number from 0 "
            "to 16777215\n"
            "6: [CAPTION] HEIGHT: \"99\" is not a whole number from 16 to 64\n"
            "8: [FORM] FONTCOLOR: \"black\" is not a colour: #RRGGBB, or a decimal number from 0 "
            "to 16777215\n"
            "9: [FORM] BORDERCOLOR: \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is not a "
            "colour: #RRGGBB, or a decimal number from 0 to 16777215\n");
  // Every value stays complete: the faulty ones took their defaults.
  EXPECT_EQ(r.model[SectionId::kForm].In(State::kNormal).color, Rgb(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(r.model[SectionId::kCaption].size, 24);
}

struct Expected {
  SectionId id;
  Color color, font, border;
};

void ExpectNormalColors(const SkinModel& model, std::initializer_list<Expected> table) {
  for (const Expected& e : table) {
    const StateColors& c = model[e.id].In(State::kNormal);
    EXPECT_EQ(c.color, e.color) << U8(SectionName(e.id));
    EXPECT_EQ(c.fontColor, e.font) << U8(SectionName(e.id));
    EXPECT_EQ(c.borderColor, e.border) << U8(SectionName(e.id));
  }
}

TEST(SkinModel, ASkinOfOnlyAFormSectionDrawsEverything) {
  const ModelResult r = Build(u"[FORM]\r\nCOLOR=#202020\r\nFONTCOLOR=#E0E0E0\r\n");
  ASSERT_TRUE(r.errors.empty());
  const Color back = Rgb(0x20, 0x20, 0x20), text = Rgb(0xE0, 0xE0, 0xE0);
  const Color grey = Rgb(0x80, 0x80, 0x80);  // half-way, for borders and disabled texts
  const Color blue = Rgb(0x33, 0x66, 0xCC), white = Rgb(255, 255, 255);
  using S = SectionId;
  ExpectNormalColors(r.model, {
                                  {S::kForm, back, text, grey},
                                  {S::kCaption, back, text, grey},
                                  {S::kBorder, back, text, grey},
                                  {S::kCloseButton, back, text, grey},
                                  {S::kMinButton, back, text, grey},
                                  {S::kButton, back, text, grey},
                                  {S::kEdit, white, 0, grey},
                                  {S::kListBox, white, 0, grey},
                                  {S::kSelection, blue, white, Rgb(0x99, 0xB3, 0xE6)},
                                  {S::kCheckBox, back, text, grey},
                                  {S::kRadioButton, back, text, grey},
                                  {S::kGroupBox, back, text, grey},
                                  {S::kPanel, back, text, Rgb(0x90, 0x90, 0x90)},
                                  {S::kComboBox, white, 0, grey},
                                  {S::kComboButton, back, text, grey},
                                  {S::kComboList, white, 0, grey},
                                  {S::kLabel, back, text, grey},
                                  {S::kWebLabel, back, text, grey},
                                  {S::kScrollBar, back, text, grey},
                                  {S::kMenu, white, 0, grey},
                              });
  const SkinModel& m = r.model;
  EXPECT_EQ(m[S::kPanel].shadowColor, Rgb(0x10, 0x10, 0x10));
  EXPECT_EQ(m[S::kForm].In(State::kDisabled).fontColor, grey);
  EXPECT_EQ(m[S::kEdit].In(State::kDisabled).fontColor, grey);
  for (State s : {State::kHot, State::kPressed}) {
    EXPECT_EQ(m[S::kMenu].In(s).color, blue);
    EXPECT_EQ(m[S::kMenu].In(s).fontColor, white);
    EXPECT_EQ(m[S::kWebLabel].In(s).fontColor, blue);
    EXPECT_EQ(m[S::kButton].In(s), m[S::kButton].In(State::kNormal));
  }
  const std::map<S, int> sizes = {{S::kCaption, 24},   {S::kBorder, 4},    {S::kCloseButton, 18},
                                  {S::kMinButton, 18}, {S::kCheckBox, 13}, {S::kRadioButton, 13}};
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const SectionLook& look = m.sections[i];
    const auto id = static_cast<S>(i);
    EXPECT_EQ(look.declared, id == S::kForm) << i;
    EXPECT_EQ(look.size, sizes.contains(id) ? sizes.at(id) : 0) << i;
    EXPECT_FALSE(look.image.Present() || look.glyph.Present()) << i;
    for (std::size_t s = 0; s < kStateCount; ++s) {
      EXPECT_EQ(look.ImageFrame(static_cast<State>(s)), -1) << i;
      EXPECT_EQ(look.GlyphFrame(Check::kChecked, static_cast<State>(s)), -1) << i;
    }
  }
  EXPECT_TRUE(m.ImageFiles().empty());

  // Without any section, the window is the light grey of the defaults.
  ExpectNormalColors(Build(u"").model,
                     {{S::kForm, Rgb(0xF0, 0xF0, 0xF0), 0, Rgb(0x78, 0x78, 0x78)}});
}

TEST(SkinModel, StatesFallBackWithinTheSectionThenToTheDefault) {
  using St = State;
  const struct {
    const char* what;
    std::u16string_view text;
    SectionId id;
    // color, fontColor, borderColor for NORMAL, HOT, PRESSED, FOCUSED, DISABLED, INACTIVE
    std::array<StateColors, kStateCount> states;
  } cases[] = {
      {"fallbacks in the section",
       u"[BUTTON]\nCOLOR=#102030\nCOLOR.HOT=#405060\nFONTCOLOR=#F0F0F0\nBORDERCOLOR.PRESSED=#"
       u"FF0000",
       SectionId::kButton,
       {{{Rgb(0x10, 0x20, 0x30), Rgb(0xF0, 0xF0, 0xF0), Rgb(0x80, 0x88, 0x90)},
         {Rgb(0x40, 0x50, 0x60), Rgb(0xF0, 0xF0, 0xF0), Rgb(0x98, 0xA0, 0xA8)},
         {Rgb(0x40, 0x50, 0x60), Rgb(0xF0, 0xF0, 0xF0), Rgb(0xFF, 0, 0)},
         {Rgb(0x10, 0x20, 0x30), Rgb(0xF0, 0xF0, 0xF0), Rgb(0x80, 0x88, 0x90)},
         // the disabled text half-way to the background; the border half-way between them
         {Rgb(0x10, 0x20, 0x30), Rgb(0x80, 0x88, 0x90), Rgb(0x48, 0x54, 0x60)},
         {Rgb(0x10, 0x20, 0x30), Rgb(0xF0, 0xF0, 0xF0), Rgb(0x80, 0x88, 0x90)}}}},
      {"a state given alone; the others are the default's",
       u"[BUTTON]\nCOLOR.HOT=#FF0000",
       SectionId::kButton,
       {{{Rgb(0xF0, 0xF0, 0xF0), 0, Rgb(0x78, 0x78, 0x78)},
         {Rgb(0xFF, 0, 0), 0, Rgb(0x80, 0, 0)},
         {Rgb(0xFF, 0, 0), 0, Rgb(0x80, 0, 0)},
         {Rgb(0xF0, 0xF0, 0xF0), 0, Rgb(0x78, 0x78, 0x78)},
         {Rgb(0xF0, 0xF0, 0xF0), Rgb(0x78, 0x78, 0x78), Rgb(0xB4, 0xB4, 0xB4)},
         {Rgb(0xF0, 0xF0, 0xF0), 0, Rgb(0x78, 0x78, 0x78)}}}},
      {"every state given",
       u"[CAPTION]\nFONTCOLOR=1\nFONTCOLOR.HOT=2\nFONTCOLOR.PRESSED=3\nFONTCOLOR.FOCUSED=4\n"
       u"FONTCOLOR.DISABLED=5\nFONTCOLOR.INACTIVE=6\nCOLOR=0\nBORDERCOLOR=0",
       SectionId::kCaption,
       {{{0, 1, 0}, {0, 2, 0}, {0, 3, 0}, {0, 4, 0}, {0, 5, 0}, {0, 6, 0}}}},
      {"a section inherits the other section's states",
       u"[EDIT]\nCOLOR=#000000\nCOLOR.FOCUSED=#0000FF\nFONTCOLOR=#FFFFFF\nBORDERCOLOR=#00FF00",
       SectionId::kComboList,
       {{{0, Rgb(255, 255, 255), Rgb(0, 255, 0)},
         {0, Rgb(255, 255, 255), Rgb(0, 255, 0)},
         {0, Rgb(255, 255, 255), Rgb(0, 255, 0)},
         {Rgb(0, 0, 255), Rgb(255, 255, 255), Rgb(0, 255, 0)},
         {0, Rgb(0x80, 0x80, 0x80), Rgb(0, 255, 0)},
         {0, Rgb(255, 255, 255), Rgb(0, 255, 0)}}}},
      {"the menu's hot item takes the selection ahead of its own normal colours",
       u"[MENU]\nCOLOR=#123456\nFONTCOLOR.DISABLED=#654321\n[SELECTION]\nCOLOR=#00FF00",
       SectionId::kMenu,
       {{{Rgb(0x12, 0x34, 0x56), 0, Rgb(0x80, 0x80, 0x80)},  // the frame is the edit's
         {Rgb(0, 255, 0), Rgb(255, 255, 255), Rgb(0x80, 0x80, 0x80)},
         {Rgb(0, 255, 0), Rgb(255, 255, 255), Rgb(0x80, 0x80, 0x80)},
         {Rgb(0x12, 0x34, 0x56), 0, Rgb(0x80, 0x80, 0x80)},
         {Rgb(0x12, 0x34, 0x56), Rgb(0x65, 0x43, 0x21), Rgb(0xC0, 0xC0, 0xC0)},
         {Rgb(0x12, 0x34, 0x56), 0, Rgb(0x80, 0x80, 0x80)}}}},
  };
  for (const auto& c : cases) {
    const ModelResult r = Build(c.text);
    ASSERT_TRUE(r.errors.empty()) << c.what << "\n" << Texts(r.errors);
    for (std::size_t s = 0; s < kStateCount; ++s) {
      const StateColors& got = r.model[c.id].In(static_cast<St>(s));
      EXPECT_EQ(got.color, c.states[s].color) << c.what << ", state " << s;
      EXPECT_EQ(got.fontColor, c.states[s].fontColor) << c.what << ", state " << s;
      EXPECT_EQ(got.borderColor, c.states[s].borderColor) << c.what << ", state " << s;
    }
  }
}

TEST(SkinModel, SectionsTakeTheImagesOfTheSectionTheyDefaultTo) {
  const ModelResult r = Build(
      u"[CAPTION]\r\n"                           // 1
      u"IMAGE=Caption.bmp\r\n"                   // 2
      u"[BUTTON]\r\n"                            // 3
      u"IMAGE=Button.png\r\n"                    // 4
      u"STATES=NORMAL,HOT,PRESSED,DISABLED\r\n"  // 5
      u"MARGINS=3,3,3,3\r\n"                     // 6
      u"RADIUS=4\r\n"                            // 7
      u"[EDIT]\r\n"                              // 8
      u"IMAGE=Edit.png\r\n"                      // 9
      u"GLYPH=Arrow.png\r\n"                     // 10
      u"[COMBOBOX]\r\n"                          // 11
      u"COLOR=#FF0000\r\n"                       // 12
      u"[COMBOBUTTON]\r\n"                       // 13
      u"GLYPH=Down.png\r\n");                    // 14
  ASSERT_TRUE(r.errors.empty()) << Texts(r.errors);
  const SkinModel& m = r.model;
  using S = SectionId;
  const auto undeclared = [](SectionLook look) {
    look.declared = true;
    return look;
  };
  EXPECT_EQ(undeclared(m[S::kListBox]), m[S::kEdit]);
  EXPECT_EQ(undeclared(m[S::kComboList]), m[S::kEdit]);
  EXPECT_EQ(m[S::kListBox].image, (ImageSpec{.file = u"Edit.png", .line = 9}));
  EXPECT_EQ(m[S::kListBox].glyph, (ImageSpec{.file = u"Arrow.png", .line = 10}));

  EXPECT_EQ(m[S::kComboBox].In(State::kNormal).color, Rgb(255, 0, 0));
  EXPECT_EQ(m[S::kComboBox].image.file, u"Edit.png");

  const SectionLook& button = m[S::kComboButton];
  EXPECT_EQ(button.image, m[S::kButton].image);
  EXPECT_EQ(button.image.frames, 4);
  EXPECT_EQ(button.image.margins, (Margins{3, 3, 3, 3}));
  EXPECT_EQ(button.imageFrame, m[S::kButton].imageFrame);
  EXPECT_EQ(button.radius, 4);
  EXPECT_EQ(button.glyph.file, u"Down.png");
  EXPECT_EQ(button.states, m[S::kButton].states);

  // The scroll bar's thumb is the button's; its track is the window's colour.
  EXPECT_EQ(m[S::kScrollBar].image, m[S::kButton].image);
  EXPECT_EQ(m[S::kScrollBar].In(State::kNormal).color, m[S::kForm].In(State::kNormal).color);
  // Sections that take only colours take no image.
  EXPECT_FALSE(m[S::kBorder].image.Present());
  EXPECT_FALSE(m[S::kMenu].image.Present());
  EXPECT_EQ(m[S::kMenu].ImageFrame(State::kNormal), -1);

  EXPECT_EQ(U8(m.ImageFiles()), (std::vector<std::string>{"Caption.bmp", "Button.png", "Edit.png",
                                                          "Arrow.png", "Down.png"}));
}

TEST(SkinModel, FrameMapsFollowTheStateFallbacks) {
  using St = State;
  constexpr std::array<St, kStateCount> kAll = {St::kNormal,  St::kHot,      St::kPressed,
                                                St::kFocused, St::kDisabled, St::kInactive};
  const struct {
    std::u16string_view states;  // STATES of a BUTTON; empty: none
    int frames;
    std::array<int, kStateCount> frame;  // NORMAL, HOT, PRESSED, FOCUSED, DISABLED, INACTIVE
  } faces[] = {
      {u"", 1, {0, 0, 0, 0, 0, 0}},
      {u"NORMAL,HOT,PRESSED,DISABLED", 4, {0, 1, 2, 0, 3, 0}},
      {u"NORMAL,HOT", 2, {0, 1, 1, 0, 0, 0}},
      {u"HOT,NORMAL", 2, {1, 0, 0, 1, 1, 1}},
      {u"NORMAL,PRESSED", 2, {0, 0, 1, 0, 0, 0}},
      {u"INACTIVE,FOCUSED,NORMAL", 3, {2, 2, 2, 1, 2, 0}},
  };
  for (const auto& f : faces) {
    std::u16string text = u"[BUTTON]\nIMAGE=b.png\n";
    if (!f.states.empty()) text += u"STATES=" + std::u16string(f.states) + u"\n";
    const ModelResult r = Build(text);
    ASSERT_TRUE(r.errors.empty()) << U8(f.states);
    EXPECT_EQ(r.model[SectionId::kButton].image.frames, f.frames) << U8(f.states);
    for (std::size_t s = 0; s < kStateCount; ++s) {
      EXPECT_EQ(r.model[SectionId::kButton].ImageFrame(kAll[s]), f.frame[s])
          << U8(f.states) << ", state " << s;
    }
  }

  // Glyphs of check boxes: the state's fallback within the check state, then UNCHECKED.
  const struct {
    SectionId id;
    std::u16string_view states;
    // Per check state (UNCHECKED, CHECKED, MIXED), the frame of each state.
    std::array<std::array<int, kStateCount>, kCheckCount> frame;
  } glyphs[] = {
      {SectionId::kCheckBox,
       u"UNCHECKED,CHECKED,MIXED,UNCHECKED.HOT,CHECKED.HOT,CHECKED.DISABLED",
       {{{0, 3, 3, 0, 0, 0}, {1, 4, 4, 1, 5, 1}, {2, 2, 2, 2, 2, 2}}}},
      {SectionId::kRadioButton,
       u"UNCHECKED.NORMAL,UNCHECKED.HOT,CHECKED.PRESSED",
       {{{0, 1, 1, 0, 0, 0}, {0, 1, 2, 0, 0, 0}, {0, 1, 1, 0, 0, 0}}}},
      {SectionId::kRadioButton,
       u"",
       {{{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}}},
      // Other sections name states alone; every check state reads the same.
      {SectionId::kCloseButton,
       u"NORMAL,HOT,PRESSED,INACTIVE",
       {{{0, 1, 2, 0, 0, 3}, {0, 1, 2, 0, 0, 3}, {0, 1, 2, 0, 0, 3}}}},
  };
  for (const auto& g : glyphs) {
    std::u16string text = u"[" + std::u16string(SectionName(g.id)) + u"]\nGLYPH=g.png\n";
    if (!g.states.empty()) text += u"GLYPHSTATES=" + std::u16string(g.states) + u"\n";
    const ModelResult r = Build(text);
    ASSERT_TRUE(r.errors.empty()) << U8(g.states) << Texts(r.errors);
    for (std::size_t c = 0; c < kCheckCount; ++c) {
      for (std::size_t s = 0; s < kStateCount; ++s) {
        EXPECT_EQ(r.model[g.id].GlyphFrame(static_cast<Check>(c), kAll[s]), g.frame[c][s])
            << U8(g.states) << ", check " << c << ", state " << s;
      }
    }
    EXPECT_EQ(r.model[g.id].ImageFrame(State::kNormal), -1);
  }
}

TEST(SkinModel, ImageSizeHoldsItsFramesAndMargins) {
  const struct {
    int frames;
    Margins margins;
    int width, height;
    std::string fault;  // empty: fits
  } cases[] = {
      {4, {}, 40, 10, ""},
      {4, {}, 41, 10, "b.png is 41 pixels wide, which is not 4 frames of equal width"},
      {18, {}, 17, 10, "b.png is 17 pixels wide, which is not 18 frames of equal width"},
      {2, {4, 0, 5, 0}, 20, 10, ""},
      // the margins leave a pixel between them to stretch
      {2,
       {5, 0, 5, 0},
       20,
       10,
       "b.png: MARGINS 5,0,5,0 leave nothing to stretch in a frame of 10 x 10"},
      {1, {0, 4, 0, 5}, 10, 10, ""},
      {1, {0, 5, 0, 6}, 10, 10, "b.png: MARGINS 0,5,0,6 leave nothing to stretch"},
      {1, {}, 2048, 2048, ""},
      {1,
       {},
       2049,
       1,
       "b.png is 2049 x 1 pixels; an image may have at most 2048 x 2048 and 4194304"},
      {1, {}, 1, 2049, "b.png is 1 x 2049 pixels; an image may have"},
      {1, {}, 0, 10, "b.png is empty (0 x 10 pixels)"},
      {1, {}, 10, 0, "b.png is empty (10 x 0 pixels)"},
  };
  for (const auto& c : cases) {
    const ImageSpec spec{.file = u"b.png", .frames = c.frames, .margins = c.margins};
    const auto fault = CheckImageSize(spec, c.width, c.height);
    const std::string got = fault ? U8(*fault) : "";
    EXPECT_EQ(got.substr(0, c.fault.size()), c.fault) << c.width << "x" << c.height;
    EXPECT_EQ(got.empty(), c.fault.empty()) << c.width << "x" << c.height;
  }
}

TEST(SkinModel, CheckImagesProbesEachFileOnceAndNamesTheLines) {
  const ModelResult r = Build(
      u"[BUTTON]\r\n"                   // 1
      u"IMAGE=Button.png\r\n"           // 2
      u"STATES=NORMAL,HOT,PRESSED\r\n"  // 3
      u"[EDIT]\r\n"                     // 4
      u"IMAGE=Button.png\r\n"           // 5: the same file as one frame
      u"GLYPH=Missing.png\r\n"          // 6
      u"[CAPTION]\r\n"                  // 7
      u"IMAGE=Caption.png\r\n");        // 8
  ASSERT_TRUE(r.errors.empty());
  std::map<std::u16string, int> probes;
  const auto faults = CheckImages(
      r.model, [&](const std::u16string& file) -> std::variant<ImageSize, std::u16string> {
        ++probes[file];
        if (file == u"Button.png") return ImageSize{40, 20};
        if (file == u"Caption.png") return ImageSize{8, 24};
        return file + u" is missing";
      });
  // Button.png holds 40 / 3 frames for BUTTON (and for the sections that take its image, once),
  // one frame for EDIT.
  EXPECT_EQ(Texts(faults),
            "2: Button.png is 40 pixels wide, which is not 3 frames of equal width\n"
            "6: Missing.png is missing\n");
  EXPECT_EQ(probes, (std::map<std::u16string, int>{
                        {u"Button.png", 1}, {u"Missing.png", 1}, {u"Caption.png", 1}}));
}

TEST(SkinModel, SectionNamesRoundTrip) {
  for (std::size_t i = 0; i < kSectionCount; ++i) {
    const auto id = static_cast<SectionId>(i);
    EXPECT_EQ(FindSection(SectionName(id)), id) << i;
  }
  EXPECT_EQ(SectionName(SectionId::kForm), u"FORM");
  EXPECT_EQ(SectionName(SectionId::kMenu), u"MENU");
  EXPECT_EQ(FindSection(u"form"), std::nullopt);
  EXPECT_EQ(FindSection(u"GLOBALINFO"), std::nullopt);
}

}  // namespace
}  // namespace kq::paint
