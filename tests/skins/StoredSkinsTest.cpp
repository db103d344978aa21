// The internal skin catalogue as the stored skin manager gives it.
#include "skins/StoredSkins.h"

#include "FormText.h"
#include "common/Error.h"
#include "common/Utf8.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

// The catalogue of a manager written in the layout source's text form.
TsStoredSkins Read(const std::string& internalSkins) {
  const forms::Component manager = forms::ParseFormText(
      "object sSkinManager1: TsSkinManager\n  InternalSkins = " + internalSkins + "\nend\n",
      "manager.form");
  return StoredSkinsOf(manager);
}

TEST(StoredSkins, ItemsKeepWhatIsStoredAndDefaultsForTheRest) {
  const TsStoredSkins skins = Read(
      "<item\n"
      "  Name = 'Air (internal)'\n"
      "  Shadow1Color = clBlack\n"
      "  Shadow1Offset = 0\n"
      "  Shadow1Transparency = 0\n"
      "  Data = {41537A6600000000 00}\n"
      "end\n"
      "item\n"
      "  name = 'Full'\n"  // names match whatever their letter case
      "  MasterBitmap.Data = {0102}\n"
      "  Shadow1Color = $00804020\n"
      "  Shadow1Offset = -3\n"
      "  Shadow1Blur = 6\n"
      "  Shadow1Transparency = 40\n"
      "  BorderColor = clRed\n"
      "  Version = 9.01\n"
      "  Author = 'Автор'\n"
      "  Description = 'About'\n"
      "end\n"
      "item\n"
      "  Version = 8\n"
      "end>");
  ASSERT_EQ(skins.Count(), 3u);

  const TsStoredSkin& air = skins[0];
  EXPECT_EQ(air.Name, u"Air (internal)");
  EXPECT_EQ(air.Shadow1Color, forms::FormColor{0});
  EXPECT_EQ(air.Shadow1Offset, 0);
  EXPECT_EQ(air.Shadow1Blur, -1);
  EXPECT_EQ(air.Shadow1Transparency, 0);
  EXPECT_EQ(air.BorderColor, forms::FormColor{0xFF00FF});
  EXPECT_EQ(air.Version, 0);
  EXPECT_EQ(air.Author, u"");
  EXPECT_EQ(air.Description, u"");
  EXPECT_TRUE(air.MasterBitmap.empty());
  EXPECT_EQ(air.PackedData, (Bytes{'A', 'S', 'z', 'f', 0, 0, 0, 0, 0}));

  const TsStoredSkin& full = skins[1];
  EXPECT_EQ(full.Name, u"Full");
  EXPECT_EQ(full.MasterBitmap, (Bytes{1, 2}));
  EXPECT_EQ(full.Shadow1Color, forms::FormColor{0x804020});
  EXPECT_EQ(full.Shadow1Offset, -3);
  EXPECT_EQ(full.Shadow1Blur, 6);
  EXPECT_EQ(full.Shadow1Transparency, 40);
  EXPECT_EQ(full.BorderColor, forms::FormColor{0x0000FF});
  EXPECT_EQ(full.Version, 9.01);
  EXPECT_EQ(full.Author, u"Автор");
  EXPECT_EQ(full.Description, u"About");
  EXPECT_TRUE(full.PackedData.empty());  // no package: the load must fail on it

  EXPECT_EQ(skins[2].Name, u"");
  EXPECT_EQ(skins[2].Version, 8.0);  // a whole number is a version too
}

TEST(StoredSkins, PackagesAreTheItemsOwnBytes) {
  // Every byte value, and more than a short length field could give.
  Bytes data(70000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 131);
  TsStoredSkins skins;
  {
    forms::FormValue stored;
    stored.type = forms::ValueType::Collection;
    stored.items.push_back({std::nullopt,
                            {{u"Name", {.type = forms::ValueType::String, .text = u"Big"}},
                             {u"Data", {.type = forms::ValueType::Binary, .binary = data}}}});
    skins = ReadStoredSkins(&stored);
  }  // the stored value is gone; the item keeps its package
  ASSERT_EQ(skins.Count(), 1u);
  EXPECT_EQ(skins[0].PackedData, data);
}

TEST(StoredSkins, NoCatalogueStoredGivesAnEmptyOne) {
  const forms::Component manager =
      forms::ParseFormText("object M: TsSkinManager\n  SkinName = 'x'\nend\n", "m.form");
  EXPECT_EQ(StoredSkinsOf(manager).Count(), 0u);
  EXPECT_EQ(Read("<>").Count(), 0u);
  EXPECT_EQ(Read("<>").IndexOf(u""), -1);
}

TEST(StoredSkins, ValuesOfTheWrongKindAreRefused) {
  struct Case {
    const char* value;
    const char16_t* message;
  };
  const Case cases[] = {
      {"'not a collection'", u"Invalid property value: InternalSkins"},
      {"<item Name = 5 end>", u"Invalid property value: Name"},
      {"<item Name = Air end>", u"Invalid property value: Name"},  // an identifier
      {"<item Shadow1Offset = 'a' end>", u"Invalid property value: Shadow1Offset"},
      {"<item Shadow1Blur = 5000000000 end>", u"Invalid property value: Shadow1Blur"},
      {"<item Shadow1Color = clNoSuchColour end>", u"Invalid property value: Shadow1Color"},
      {"<item Version = 'nine' end>", u"Invalid property value: Version"},
      {"<item Data = 'ASzf' end>", u"Invalid property value: Data"},
      {"<item MasterBitmap.Data = 1 end>", u"Invalid property value: MasterBitmap.Data"},
      {"<item Name = 'A' end item Skin = 'B' end>", u"Property Skin does not exist"},
  };
  for (const Case& c : cases) {
    try {
      Read(c.value);
      ADD_FAILURE() << c.value << ": no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), c.message) << c.value;
    }
  }
}

TEST(StoredSkins, IndexOfMatchesTheWholeNameWithItsLetterCase) {
  const TsStoredSkins skins = Read(
      "<item Name = 'Air (internal)' end item Name = 'FM (internal)' end "
      "item Name = 'FM (internal)' end item Name = '' end>");
  const std::pair<const char16_t*, int> cases[] = {
      {u"Air (internal)", 0},
      {u"FM (internal)", 1},  // the first of two
      {u"fm (internal)", -1},
      {u"FM (INTERNAL)", -1},
      {u"FM", -1},
      {u"FM (internal) ", -1},
      {u"", 3},  // an item without a name is found by the empty name
      {u"Nowhere", -1},
  };
  for (const auto& [name, index] : cases) {
    EXPECT_EQ(skins.IndexOf(name), index) << Utf16ToUtf8String(name);
  }
}

}  // namespace
}  // namespace kq
