#include "skins/SkinMenu.h"

#include <gtest/gtest.h>

#include <string>

namespace kq {
namespace {

std::vector<std::u16string> Names(int count) {
  std::vector<std::u16string> names;
  for (int i = 0; i < count; ++i) {
    std::string n = "Skin " + std::to_string(i) + " (internal)";
    names.emplace_back(n.begin(), n.end());
  }
  return names;
}

TEST(SkinMenu, OneRadioItemPerSkinInColumnsOfTwenty) {
  const std::vector<SkinMenuItem> items = SkinMenuItems(Names(74), u"Skin 33 (internal)");
  ASSERT_EQ(items.size(), 74u);
  int columns = 1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string index = std::to_string(i);
    EXPECT_EQ(items[i].name, u"SkinSelectItem" + std::u16string(index.begin(), index.end()));
    EXPECT_EQ(items[i].checked, i == 33) << i;
    EXPECT_EQ(items[i].newColumn, i == 20 || i == 40 || i == 60) << i;
    columns += items[i].newColumn;
  }
  EXPECT_EQ(columns, 4);
  EXPECT_EQ(items[0].caption, u"Skin 0 (internal)");
}

TEST(SkinMenu, OnlyTheFirstExactMatchIsChecked) {
  const struct {
    std::vector<std::u16string> names;
    std::u16string current;
    int checked;  // -1: none
  } cases[] = {
      {{u"Air (internal)", u"FM (internal)", u"FM (internal)"}, u"FM (internal)", 1},
      {{u"Air (internal)", u"FM (internal)"}, u"fm (internal)", -1},
      {{u"Air (internal)", u"FM (internal)"}, u"", -1},
      {{u"Foo", u"Foo.asz"}, u"Foo", 0},
  };
  for (const auto& c : cases) {
    const std::vector<SkinMenuItem> items = SkinMenuItems(c.names, c.current);
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].checked, static_cast<int>(i) == c.checked) << i;
    }
  }
  EXPECT_TRUE(SkinMenuItems({}, u"Air (internal)").empty());
}

TEST(SkinMenu, AChosenCaptionGivesTheSkinName) {
  const struct {
    std::u16string caption;
    std::u16string name;
  } cases[] = {
      {u"FM (internal)", u"FM (internal)"},
      {u"&FM (internal)", u"FM (internal)"},
      {u"Garnet II (internal) 2", u"Garnet II (internal)"},
      {u"My&&Skin", u"MySkin"},
      {u"Wood", u"Wood"},
      {u"(internal)", u"(internal)"},
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(SkinNameOfMenuCaption(c.caption), c.name);
}

}  // namespace
}  // namespace kq
