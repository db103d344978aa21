#include "common/IniSyntax.h"

#include "TestText.h"
#include "common/IniDocument.h"
#include "common/SkinIni.h"

#include <gtest/gtest.h>

#include <optional>

namespace kq {
namespace {

using test::U8;

const char* KindName(IniLineKind kind) {
  switch (kind) {
    case IniLineKind::kSection:
      return "section";
    case IniLineKind::kKey:
      return "key";
    case IniLineKind::kOther:
      break;
  }
  return "other";
}

// One line under both syntaxes: they differ only in what makes a header.
TEST(IniSyntax, ReadsALineByItsSyntax) {
  struct Read {
    const char* kind;
    std::string name, value;
  };
  const struct {
    std::u16string_view line;
    Read profile, skin;
  } cases[] = {
      {u"  [ Main ]  ", {"section", "Main", ""}, {"section", "Main", ""}},
      {u"[Main", {"section", "Main", ""}, {"other", "", ""}},
      {u"[Main] trailing", {"section", "Main", ""}, {"other", "", ""}},
      {u"[a]b]", {"section", "a", ""}, {"section", "a]b", ""}},
      {u"[x=1", {"section", "x=1", ""}, {"key", "[x", "1"}},
      {u"[", {"section", "", ""}, {"other", "", ""}},
      {u"[]", {"section", "", ""}, {"section", "", ""}},
      {u" \tKey \t=\t value = more ",
       {"key", "Key", "value = more"},
       {"key", "Key", "value = more"}},
      {u"=no name", {"key", "", "no name"}, {"key", "", "no name"}},
      {u"Empty=", {"key", "Empty", ""}, {"key", "Empty", ""}},
      {u"; Key=commented", {"other", "", ""}, {"other", "", ""}},
      {u"  ;[Section]", {"other", "", ""}, {"other", "", ""}},
      {u"no equals sign", {"other", "", ""}, {"other", "", ""}},
      {u" \t ", {"other", "", ""}, {"other", "", ""}},
  };
  for (const auto& c : cases) {
    for (const auto& [syntax, want] :
         {std::pair{kProfileSyntax, c.profile}, {kSkinSyntax, c.skin}}) {
      const IniLine got = ReadIniLine(c.line, syntax);
      const std::string what = U8(c.line) + (syntax.closedHeaders ? " (skin)" : " (profile)");
      EXPECT_STREQ(KindName(got.kind), want.kind) << what;
      EXPECT_EQ(U8(got.name), want.name) << what;
      EXPECT_EQ(U8(got.value), want.value) << what;
    }
  }
}

TEST(IniSyntax, NamesMatchByCaseOption) {
  const IniSyntax exact{.matchCase = true};
  EXPECT_TRUE(SameIniName(u"Skin", u"SKIN", kProfileSyntax));
  EXPECT_TRUE(SameIniName(u"Шкура", u"ШКУРА", kProfileSyntax));
  EXPECT_FALSE(SameIniName(u"Skin", u"Skins", kProfileSyntax));
  EXPECT_FALSE(SameIniName(u"Skin", u"SKIN", exact));
  EXPECT_TRUE(SameIniName(u"Skin", u"Skin", exact));
}

// The same text, with a section named in two cases and a key named twice, read by both
// stores under every combination of the two name options: they must agree.
TEST(IniSyntax, BothStoresHonourCaseAndWhichValueWins) {
  const std::u16string_view text =
      u"[Section]\r\n"
      u"Key=first\r\n"
      u"KEY=upper\r\n"
      u"Key=last\r\n"
      u"[SECTION]\r\n"
      u"Other=x\r\n";
  const struct {
    IniSyntax syntax;
    std::optional<std::string> key, other;
  } cases[] = {
      // Names folded: "KEY" is a third "Key", and [SECTION] is [Section].
      {{.matchCase = false, .lastValueWins = false}, "first", "x"},
      {{.matchCase = false, .lastValueWins = true}, "last", "x"},
      {{.matchCase = true, .lastValueWins = false}, "first", std::nullopt},
      {{.matchCase = true, .lastValueWins = true}, "last", std::nullopt},
  };
  const Cp1251Codec codec;
  for (const auto& c : cases) {
    const std::string what = std::string(c.syntax.matchCase ? "case" : "no case") +
                             (c.syntax.lastValueWins ? ", last wins" : ", first wins");
    const SkinIni ini = SkinIni::Parse(text, c.syntax);
    const Bytes bytes = Utf16ToUtf8(text);
    const IniDocument doc = IniDocument::Parse(bytes, codec, c.syntax);
    EXPECT_EQ(U8(ini.Get(u"Section", u"Key")), c.key) << what;
    EXPECT_EQ(U8(doc.Get(u"Section", u"Key")), c.key) << what;
    const std::optional<std::string> upper = c.syntax.matchCase ? "upper" : c.key;
    EXPECT_EQ(U8(ini.Get(u"Section", u"KEY")), upper) << what;
    EXPECT_EQ(U8(doc.Get(u"Section", u"KEY")), upper) << what;
    EXPECT_EQ(U8(ini.Get(u"section", u"Key")), c.syntax.matchCase ? std::nullopt : c.key) << what;
    // Only the skin store merges a section named twice; with exact names there are two.
    EXPECT_EQ(U8(ini.Get(u"Section", u"Other")), c.other) << what;
    EXPECT_EQ(ini.Sections().size(), c.syntax.matchCase ? 2u : 1u) << what;
  }
}

// Set edits the key a read finds: with lastValueWins the last of the two.
TEST(IniSyntax, SetEditsTheValueThatCounts) {
  const Cp1251Codec codec;
  const Bytes bytes = test::B("[S]\r\nKey=1\r\nKey=2\r\n");
  IniDocument first = IniDocument::Parse(bytes, codec);
  first.Set(u"S", u"Key", u"x");
  EXPECT_EQ(first.Serialize(), test::B("[S]\r\nKey=x\r\nKey=2\r\n"));
  IniDocument last = IniDocument::Parse(bytes, codec, {.lastValueWins = true});
  last.Set(u"S", u"Key", u"x");
  EXPECT_EQ(last.Serialize(), test::B("[S]\r\nKey=1\r\nKey=x\r\n"));
  EXPECT_EQ(U8(last.Get(u"S", u"Key")), "x");
}

}  // namespace
}  // namespace kq
