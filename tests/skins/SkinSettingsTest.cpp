#include "skins/SkinSettings.h"

#include "TestText.h"
#include "support/StoredForm.h"
#include "support/StoredValues.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

using forms::FormProperty;
using forms::FormValue;
using forms::ValueType;
using paint::AnimType;
using test::Bool;
using test::Ident;
using test::Int;
using test::Text;
using test::U8;

template <class Settings, class Read>
Settings ReadComponent(const char16_t* name, Read read) {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  const forms::Component* c = form.FindChild(name);
  EXPECT_NE(c, nullptr) << U8(name);
  Settings s;
  if (c) {
    for (const FormProperty& p : c->properties) read(s, p);
  }
  return s;
}

TEST(SkinSettings, DefaultsWhereNothingIsStored) {
  const TsManagerEffects m;
  EXPECT_EQ(m.AnimEffects.BlendOnMoving, (paint::TacBlendOnMoving{false, 170, 1000}));
  EXPECT_EQ(m.AnimEffects.FormHide, (paint::TacFormAnimation{true, 0, AnimType::atAero}));
  EXPECT_EQ(m.AnimEffects.Minimizing.Active, true);
  EXPECT_EQ(m.AnimEffects.Minimizing.Time, 120);
  EXPECT_EQ(m.AnimEffects.SkinChanging, (paint::TacFormAnimation{true, 100, AnimType::atFading}));
  EXPECT_FALSE(m.ExtendedBorders);

  const TsProviderSettings p;
  EXPECT_EQ(p.SkinSection, u"");
  EXPECT_FALSE(p.MakeSkinMenu);
  EXPECT_TRUE(p.ShowAppIcon);
  EXPECT_EQ(p.TitleButtons, 0);
  for (bool allowed : {p.AllowBlendOnMoving, p.AllowAnimation, p.AllowExtBorders,
                       p.DrawNonClientArea, p.DrawClientArea, p.UseGlobalColor}) {
    EXPECT_TRUE(allowed);
  }
  EXPECT_EQ(p.SnapBuffer, 10);
}

// What the main window's layout stores, with the defaults for the rest.
TEST(SkinSettings, TheMainLayoutsManagerAndProvider) {
  const auto m = ReadComponent<TsManagerEffects>(
      u"sSkinManager1", [](TsManagerEffects& s, const FormProperty& p) { ReadManagerEffect(s, p); });
  EXPECT_EQ(m.AnimEffects.BlendOnMoving, (paint::TacBlendOnMoving{true, 220, 1000}));
  EXPECT_EQ(m.AnimEffects.FormHide, (paint::TacFormAnimation{true, 250, AnimType::atAero}));
  EXPECT_EQ(m.AnimEffects.Minimizing.Time, 300);
  EXPECT_TRUE(m.AnimEffects.Minimizing.Active);
  EXPECT_EQ(m.AnimEffects.SkinChanging, (paint::TacFormAnimation{true, 100, AnimType::atFading}));
  EXPECT_FALSE(m.ExtendedBorders);

  const auto p = ReadComponent<TsProviderSettings>(
      u"sSkinProvider1",
      [](TsProviderSettings& s, const FormProperty& prop) { EXPECT_TRUE(ReadProviderSetting(s, prop)) << U8(prop.name); });
  TsProviderSettings expected;
  expected.SkinSection = u"FORM";
  expected.MakeSkinMenu = true;
  expected.ShowAppIcon = false;
  EXPECT_EQ(p, expected);
  EXPECT_EQ(p.AddedTitleFont.name, u"Tahoma");
  EXPECT_EQ(p.AddedTitleFont.height, -11);
}

TEST(SkinSettings, EachStoredValueReachesItsSetting) {
  struct Case {
    const char16_t* name;
    FormValue value;
    std::function<bool(const TsManagerEffects&)> took;
  };
  const Case cases[] = {
      {u"AnimEffects.BlendOnMoving.Active", Bool(true),
       [](auto& m) { return m.AnimEffects.BlendOnMoving.Active; }},
      {u"animeffects.blendonmoving.blendvalue", Int(99),  // names in any case
       [](auto& m) { return m.AnimEffects.BlendOnMoving.BlendValue == 99; }},
      {u"AnimEffects.BlendOnMoving.BlendValue", Int(300),  // an opacity is at most 255
       [](auto& m) { return m.AnimEffects.BlendOnMoving.BlendValue == 255; }},
      {u"AnimEffects.BlendOnMoving.Time", Int(-5),
       [](auto& m) { return m.AnimEffects.BlendOnMoving.Time == 0; }},
      {u"AnimEffects.FormHide.Active", Bool(false),
       [](auto& m) { return !m.AnimEffects.FormHide.Active; }},
      {u"AnimEffects.FormHide.Time", Int(1 << 30),  // no stored value holds a window a minute
       [](auto& m) { return m.AnimEffects.FormHide.Time == 60000; }},
      {u"AnimEffects.FormHide.Mode", Ident(u"atFading"),
       [](auto& m) { return m.AnimEffects.FormHide.Mode == AnimType::atFading; }},
      {u"AnimEffects.Minimizing.Active", Bool(false),
       [](auto& m) { return !m.AnimEffects.Minimizing.Active; }},
      {u"AnimEffects.Minimizing.Time", Int(40),
       [](auto& m) { return m.AnimEffects.Minimizing.Time == 40; }},
      {u"AnimEffects.SkinChanging.Active", Bool(false),
       [](auto& m) { return !m.AnimEffects.SkinChanging.Active; }},
      {u"AnimEffects.SkinChanging.Time", Int(500),
       [](auto& m) { return m.AnimEffects.SkinChanging.Time == 500; }},
      {u"AnimEffects.SkinChanging.Mode", Ident(u"atAero"),
       [](auto& m) { return m.AnimEffects.SkinChanging.Mode == AnimType::atAero; }},
      {u"ExtendedBorders", Bool(true), [](auto& m) { return m.ExtendedBorders; }},
  };
  for (const Case& c : cases) {
    TsManagerEffects m;
    EXPECT_TRUE(ReadManagerEffect(m, {c.name, c.value})) << U8(c.name);
    EXPECT_TRUE(c.took(m)) << U8(c.name);
  }
}

TEST(SkinSettings, ValuesOfTheWrongTypeAndOtherNamesLeaveTheSettingsAlone) {
  const struct {
    const char16_t* name;
    FormValue value;
    bool consumed;
  } cases[] = {
      {u"AnimEffects.BlendOnMoving.BlendValue", Text(u"200"), true},
      {u"AnimEffects.FormHide.Mode", Text(u"atFading"), true},  // a string, not an identifier
      {u"AnimEffects.FormHide.Mode", Ident(u"atSlide"), true},
      {u"AnimEffects.Minimizing.Active", Int(0), true},
      {u"ExtendedBorders", Ident(u"Yes"), true},
      {u"AnimEffects.BlendOnMoving", Bool(true), false},
      {u"SkinName", Text(u"Air (internal)"), false},
      {u"AnimEffects.Buttons.Active", Bool(false), false},
  };
  for (const auto& c : cases) {
    TsManagerEffects m;
    EXPECT_EQ(ReadManagerEffect(m, {c.name, c.value}), c.consumed) << U8(c.name);
    EXPECT_EQ(m, TsManagerEffects{}) << U8(c.name);
  }
}

TEST(SkinSettings, ProviderPermissionsSwitchOffOneByOne) {
  const struct {
    const char16_t* name;
    bool TsProviderSettings::*field;
  } flags[] = {
      {u"AllowBlendOnMoving", &TsProviderSettings::AllowBlendOnMoving},
      {u"AllowAnimation", &TsProviderSettings::AllowAnimation},
      {u"AllowExtBorders", &TsProviderSettings::AllowExtBorders},
      {u"DrawNonClientArea", &TsProviderSettings::DrawNonClientArea},
      {u"DrawClientArea", &TsProviderSettings::DrawClientArea},
      {u"UseGlobalColor", &TsProviderSettings::UseGlobalColor},
      {u"ShowAppIcon", &TsProviderSettings::ShowAppIcon},
  };
  for (const auto& f : flags) {
    TsProviderSettings s;
    EXPECT_TRUE(ReadProviderSetting(s, {f.name, Bool(false)})) << U8(f.name);
    TsProviderSettings expected;
    expected.*f.field = false;
    EXPECT_EQ(s, expected) << U8(f.name);
  }
  TsProviderSettings s;
  EXPECT_TRUE(ReadProviderSetting(s, {u"SnapBuffer", Int(25)}));
  EXPECT_TRUE(ReadProviderSetting(s, {u"AddedTitle.Font.Name", Text(u"Verdana")}));
  EXPECT_TRUE(ReadProviderSetting(s, {u"AddedTitle.Font.Height", Int(-14)}));
  EXPECT_FALSE(ReadProviderSetting(s, {u"AddedTitle", Text(u"x")}));
  EXPECT_EQ(s.SnapBuffer, 25);
  EXPECT_EQ(s.AddedTitleFont.name, u"Verdana");
  EXPECT_EQ(s.AddedTitleFont.height, -14);
}

}  // namespace
}  // namespace kq
