#include "common/SkinIni.h"

#include "TestText.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <optional>

namespace kq {
namespace {

using test::U8;

// The line of the first key of that name in the section, 0 when there is none.
int LineOf(const SkinIni& ini, std::u16string_view section, std::u16string_view key) {
  const int at = ini.SectionIndex(section);
  if (at < 0) return 0;
  for (const SkinIni::Key& k : ini.Sections()[static_cast<std::size_t>(at)].keys) {
    if (k.name == key) return k.line;
  }
  return 0;
}

TEST(SkinIni, NamesMatchExactlyAndKeysKeepTheirLines) {
  const SkinIni ini = SkinIni::Parse(
      u"VERSION=before any section\r\n"    // 1
      u"[GLOBALINFO]\r\n"                  // 2
      u"VERSION=9.01\r\n"                  // 3
      u"Version=lower\r\n"                 // 4
      u"  AUTHOR  =  \t Some One \t \r\n"  // 5
      u"; VERSION=commented\r\n"           // 6
      u"no equals sign\r\n"                // 7
      u"\r\n"                              // 8
      u"EMPTY=\r\n"                        // 9
      u"VERSION=second\r\n"                // 10
      u"[GlobalInfo]\n"                    // 11
      u"VERSION=other section\n"           // 12
      u"\n"                                // 13
      u"[ FORM ]\r"                        // 14
      u"TOP=1\r"                           // 15
      u"\r"                                // 16
      u"=no name\r\n"                      // 17
      u"[GLOBALINFO]\r\n"                  // 18
      u"LATER=merged\r\n"                  // 19
      u"[EMPTYSECTION]\r\n"                // 20
      u"KEY=a=b\r\n"                       // 21
      u"[BAD\r\n"                          // 22
      u"INBAD=still EMPTYSECTION\r\n"      // 23
      u"[]\r\n"                            // 24
      u"NONAME=x");                        // 25
  const struct {
    std::u16string_view section, key;
    std::optional<std::string> value;
    int line;
  } cases[] = {
      {u"GLOBALINFO", u"VERSION", "9.01", 3},
      {u"GLOBALINFO", u"Version", "lower", 4},
      {u"GLOBALINFO", u"version", std::nullopt, 0},
      {u"globalinfo", u"VERSION", std::nullopt, 0},
      {u"GlobalInfo", u"VERSION", "other section", 12},
      {u"GLOBALINFO", u"AUTHOR", "Some One", 5},
      {u"GLOBALINFO", u"EMPTY", "", 9},
      {u"GLOBALINFO", u"LATER", "merged", 19},
      {u"FORM", u"TOP", "1", 15},  // lone CR ends lines too; the header's blanks go
      {u"FORM", u"", "no name", 17},
      {u"EMPTYSECTION", u"KEY", "a=b", 21},
      {u"EMPTYSECTION", u"INBAD", "still EMPTYSECTION", 23},
      {u"", u"NONAME", "x", 25},
      {u"", u"VERSION", std::nullopt, 0},  // keys before the first section belong to none
      {u"ABSENT", u"VERSION", std::nullopt, 0},
  };
  for (const auto& c : cases) {
    const std::string what = U8(c.section) + "/" + U8(c.key);
    EXPECT_EQ(U8(ini.Get(c.section, c.key)), c.value) << what;
    EXPECT_EQ(LineOf(ini, c.section, c.key), c.line) << what;
  }
  const struct {
    std::u16string_view name;
    int index, line;
  } sections[] = {
      {u"GLOBALINFO", 0, 2},    {u"GlobalInfo", 1, 11}, {u"FORM", 2, 14},
      {u"EMPTYSECTION", 3, 20}, {u"", 4, 24},
  };
  ASSERT_EQ(ini.Sections().size(), std::size(sections));
  for (const auto& s : sections) {
    EXPECT_EQ(ini.SectionIndex(s.name), s.index) << U8(s.name);
    EXPECT_EQ(ini.Sections()[static_cast<std::size_t>(s.index)].line, s.line) << U8(s.name);
  }
  EXPECT_EQ(ini.SectionIndex(u"form"), -1);
  // The merged section's keys stay in the order read, each with its own line.
  std::vector<int> lines;
  for (const SkinIni::Key& k : ini.Sections()[0].keys) lines.push_back(k.line);
  EXPECT_EQ(lines, (std::vector<int>{3, 4, 5, 9, 10, 19}));
}

}  // namespace
}  // namespace kq
