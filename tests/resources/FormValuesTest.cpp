#include "resources/FormValues.h"

#include "support/StoredValues.h"

#include <gtest/gtest.h>

namespace kq::forms {
namespace {

using test::Ident;
using test::Int;

TEST(FormValues, ColoursByNameNumberAndSystemIndex) {
  struct Case {
    FormValue value;
    std::optional<FormColor> color;
  };
  const Case cases[] = {
      {Ident(u"clNavy"), FormColor{0x800000}},
      {Ident(u"clred"), FormColor{0x0000FF}},
      {Ident(u"clOlive"), FormColor{0x008080}},
      {Ident(u"clBtnFace"), FormColor{0, 15}},
      {Ident(u"clWindowText"), FormColor{0, 8}},
      {Ident(u"clNoSuchColour"), std::nullopt},
      {Int(32768), FormColor{0x8000}},
      {Int(static_cast<std::int32_t>(0xFF00000Fu)), FormColor{0, 15}},
      {FormValue{}, std::nullopt},  // nil
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorOf(&c.value), c.color) << std::string(c.value.text.begin(), c.value.text.end());
  EXPECT_EQ(ColorOf(nullptr), std::nullopt);
}

TEST(FormValues, AFontTakesWhatItDoesNotSetFromItsParent) {
  Component c;
  c.properties.push_back({u"Font.Height", Int(-13)});
  FormValue style;
  style.type = ValueType::Set;
  style.set = {u"fsBold", u"fsStrikeOut"};
  c.properties.push_back({u"HoverFont.Style", style});
  auto find = [&](const std::u16string& n) { return c.Find(n); };
  FontSpec parent;
  parent.name = u"Arial";
  parent.underline = true;
  const FontSpec own = FontOf(find, u"Font", parent);
  EXPECT_EQ(own.name, u"Arial");
  EXPECT_EQ(own.height, -13);
  EXPECT_TRUE(own.underline);  // no Font.Style: the parent's style stays
  const FontSpec hover = FontOf(find, u"HoverFont", own);
  EXPECT_EQ(hover.height, -13);
  EXPECT_TRUE(hover.bold);
  EXPECT_TRUE(hover.strikeOut);
  EXPECT_FALSE(hover.underline);  // a style set replaces the whole style
  EXPECT_TRUE(HasPrefix(c.properties, u"font"));
  EXPECT_FALSE(HasPrefix(c.properties, u"Fon"));
}

TEST(FormValues, RadioButtonsFillColumnsTopToBottom) {
  // Four choices in four columns of a 348 x 45 group with a 13-pixel text line.
  const auto boxes = RadioButtonBoxes(4, 4, 348, 45, 13);
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0], (Box{8, 14, 84, 27}));
  EXPECT_EQ(boxes[3], (Box{8 + 3 * 84, 14, 84, 27}));
  // Three choices in two columns: two rows, the third choice at the top of column two.
  const auto two = RadioButtonBoxes(3, 2, 110, 70, 13);
  EXPECT_EQ(two[1].top, two[0].top + two[0].height);
  EXPECT_EQ(two[2].left, 8 + 50);
  EXPECT_EQ(two[2].top, two[0].top);
  EXPECT_TRUE(RadioButtonBoxes(0, 4, 100, 40, 13).empty());
  EXPECT_EQ(RadioButtonBoxes(2, 0, 100, 40, 13).size(), 2u);  // no columns: one column
}

}  // namespace
}  // namespace kq::forms
