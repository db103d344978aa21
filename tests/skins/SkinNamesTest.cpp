#include "skins/SkinNames.h"

#include "TestText.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using test::U8;

TEST(SkinNames, SkinDirectoryResolvesAgainstTheProgramFolder) {
  const std::u16string_view game = u"C:\\Games\\KQ\\";
  const struct {
    std::u16string_view programDir, text, full;
  } cases[] = {
      {game, u"c:\\Skins", u"c:\\Skins"},  // the launcher's own: a drive, unchanged
      {game, u"D:Skins", u"D:Skins"},
      {game, u"\\\\server\\skins", u"\\\\server\\skins"},
      {game, u"Skins", u"C:\\Games\\KQ\\Skins"},
      {game, u"Sub\\Skins\\", u"C:\\Games\\KQ\\Sub\\Skins\\"},  // no separator taken or added
      {game, u"/Skins", u"C:\\Games\\KQ\\/Skins"},              // no ":" nor "\\": relative
      {game, u".Skins", u"C:\\Games\\KQ\\.Skins"},
      {game, u"", u"C:\\Games\\KQ\\"},
      {game, u".", u"C:\\Games\\KQ\\"},
      {game, u".\\Skins", u"C:\\Games\\KQ\\Skins"},
      {game, u"./Skins", u"C:\\Games\\KQ\\Skins"},
      {game, u".\\", u"C:\\Games\\KQ\\"},
      {game, u"..\\Skins", u"C:\\Games\\Skins"},
      {game, u"../Skins", u"C:\\Games\\Skins"},
      {game, u"..\\", u"C:\\Games\\"},
      {game, u"..", u"C:\\Games\\"},
      {game, u"..\\..\\Skins", u"C:\\Games\\..\\Skins"},  // one level is taken, the rest stays
      {game, u"..\\c:\\x", u"C:\\Games\\c:\\x"},          // ".." is looked at first
      {u"C:/Games/KQ/", u"../Skins", u"C:/Games/Skins"},
      {u"C:\\Games/KQ\\", u"..\\Skins", u"C:\\Games/Skins"},
      // At a drive's root the root stands for its parent.
      {u"C:\\", u"..\\Skins", u"C:\\Skins"},
      {u"\\\\srv\\share\\KQ\\", u"..\\Skins", u"\\\\srv\\share\\Skins"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(U8(ResolveSkinDirectory(c.programDir, c.text)), U8(c.full))
        << U8(c.programDir) << " + " << U8(c.text);
  }
}

TEST(SkinNames, PackageExtensionIsStrippedOnlyFromLongerNames) {
  const struct {
    std::u16string_view in, out;
  } cases[] = {
      {u"Foo.asz", u"Foo"},
      {u"Foo.ASZ", u"Foo"},
      {u"Foo.aSz", u"Foo"},
      {u"x.asz", u"x"},
      {u".asz", u".asz"},  // not longer than the extension
      {u"asz", u"asz"},
      {u"Foo.asz.asz", u"Foo.asz"},
      {u"Fooasz", u"Fooasz"},
      {u"Foo.azs", u"Foo.azs"},
      {u"Foo.asz ", u"Foo.asz "},
      {u"FM (internal)", u"FM (internal)"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(StripPackageExtension(c.in)), U8(c.out)) << U8(c.in);
}

TEST(SkinNames, PackagePathAddsOneSeparator) {
  EXPECT_EQ(U8(SkinPackagePath(u"c:\\Skins", u"Foo")), "c:\\Skins\\Foo.asz");
  EXPECT_EQ(U8(SkinPackagePath(u"C:\\Games\\KQ\\", u"Foo")), "C:\\Games\\KQ\\Foo.asz");
  EXPECT_EQ(U8(SkinPackagePath(u"C:/Games/", u"my skin")), "C:/Games/\\my skin.asz");
}

TEST(SkinNames, DefaultComparisonIgnoresLetterCase) {
  const struct {
    std::u16string_view a, b;
    int sign;
  } cases[] = {
      {u"abc", u"ABC", 0},   {u"abc", u"abd", -1}, {u"a", u"B", -1},      {u"Zed", u"abc", 1},
      {u"ab", u"abc", -1},   {u"", u"", 0},        {u"Ёлка", u"ёлка", 0}, {u"Б", u"а", 1},
      {u"Тема", u"тема", 0}, {u"a_b", u"aZb", -1},  // "_" sorts before letters, as after folding to
                                                    // lower case
  };
  for (const auto& c : cases) {
    const int r = CompareSkinNames(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << U8(c.a) << " vs " << U8(c.b);
    const int back = CompareSkinNames(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << U8(c.b) << " vs " << U8(c.a);
  }
}

TEST(SkinNames, ListingTakesTheCatalogueThenTheSkinsOfTheKindAskedFor) {
  const std::vector<std::u16string> catalogue = {u"Air (internal)", u"FM (internal)",
                                                 u"Zest (internal)"};
  // In the order a directory listing gives them.
  const std::vector<SkinDirectoryEntry> entries = {
      {u".", true, false},
      {u"..", true, false},
      {u"Zed", true, true},
      {u"NoOptions", true, false},  // a folder without an option file is no skin
      {u".hidden", true, true},
      {u"Dup", true, true},
      {u"Folder.asz", true, true},  // a folder keeps its whole name
      {u"abc.asz", false, false},
      {u"my.skin.asz", false, false},
      {u"Caps.ASZ", false, false},  // the extension must match exactly
      {u".asz", false, false},
      {u".dot.asz", false, false},
      {u"dup.asz", false, false},
      {u"readme.txt", false, false},
      {u"asz", false, false},
      {u"old.asz.bak", false, false},
      {u"FM (internal).asz", false, false},
  };
  const struct {
    const char* what;
    std::vector<std::u16string> catalogue;
    TacSkinTypes type;
    std::vector<std::string> names;
    std::string first;
  } cases[] = {
      {"all",
       catalogue,
       TacSkinTypes::stAllSkins,
       {"abc", "Air (internal)", "Dup", "dup", "FM (internal)", "FM (internal)", "Folder.asz", "my",
        "Zed", "Zest (internal)"},
       "Air (internal)"},
      {"packages",
       catalogue,
       TacSkinTypes::stPacked,
       {"abc", "Air (internal)", "dup", "FM (internal)", "FM (internal)", "my", "Zest (internal)"},
       "Air (internal)"},
      {"folders",
       catalogue,
       TacSkinTypes::stUnpacked,
       {"Air (internal)", "Dup", "FM (internal)", "Folder.asz", "Zed", "Zest (internal)"},
       "Air (internal)"},
      // Without a catalogue the first name found is the directory's first skin, which is not
      // the first one sorted.
      {"external only",
       {},
       TacSkinTypes::stAllSkins,
       {"abc", "Dup", "dup", "FM (internal)", "Folder.asz", "my", "Zed"},
       "Zed"},
      {"external packages only",
       {},
       TacSkinTypes::stPacked,
       {"abc", "dup", "FM (internal)", "my"},
       "abc"},
  };
  for (const auto& c : cases) {
    const SkinListing listing = ListSkinNames(c.catalogue, entries, c.type);
    EXPECT_EQ(U8(listing.names), c.names) << c.what;
    EXPECT_EQ(U8(listing.first), c.first) << c.what;
  }

  const SkinListing none = ListSkinNames({}, {{u"x.txt", false, false}}, TacSkinTypes::stAllSkins);
  EXPECT_TRUE(none.names.empty());
  EXPECT_EQ(none.first, u"");
}

TEST(SkinNames, ListingSortsWithTheGivenComparison) {
  const auto reversed = [](std::u16string_view a, std::u16string_view b) {
    return CompareSkinNames(b, a);
  };
  const SkinListing listing = ListSkinNames({u"Zest (internal)", u"Air (internal)"},
                                            {{u"abc.asz", false, false}, {u"Zed", true, true}},
                                            TacSkinTypes::stAllSkins, reversed);
  EXPECT_EQ(U8(listing.names),
            (std::vector<std::string>{"Zest (internal)", "Zed", "Air (internal)", "abc"}));
  EXPECT_EQ(U8(listing.first), "Zest (internal)");
}

}  // namespace
}  // namespace kq
