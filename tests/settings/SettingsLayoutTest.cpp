// The stored layout of the game settings dialog against the dialog's table of controls.
#include "../support/StoredForm.h"
#include "resources/FormValues.h"

namespace kq {
namespace {

using forms::IntegerOf;
using forms::StringsOf;
using forms::TextOf;

TEST(SettingsLayout, DialogProperties) {
  const forms::Component form = test::ReadCompiledLayout("TFMSETTINGS");
  EXPECT_EQ(form.className, u"TfmSettings");
  EXPECT_EQ(form.name, u"fmSettings");
  EXPECT_EQ(TextOf(form.Find(u"Caption")), u" Настройки игры");
  EXPECT_EQ(TextOf(form.Find(u"BorderStyle")), u"bsDialog");
  EXPECT_EQ(IntegerOf(form.Find(u"ClientWidth")), 350);
  EXPECT_EQ(IntegerOf(form.Find(u"ClientHeight")), 366);
  EXPECT_EQ(TextOf(form.Find(u"Position")), u"poOwnerFormCenter");
  EXPECT_EQ(IntegerOf(form.Find(u"Font.Height")), -11);
  EXPECT_EQ(TextOf(form.Find(u"Font.Name")), u"Tahoma");
  EXPECT_EQ(TextOf(form.Find(u"OnShow")), u"FormShow");
}

TEST(SettingsLayout, ControlsWithParentsPlacesCaptionsAndTabOrder) {
  const forms::Component form = test::ReadCompiledLayout("TFMSETTINGS");
  struct Row {
    const char16_t* name;
    const char16_t* cls;
    const char16_t* parent;
    int left, top, width, height;
    const char16_t* caption;
    int tabOrder;  // -1: none
    bool top_aligned;
  };
  const Row rows[] = {
      {u"ch", u"TPanel", u"fmSettings", 0, 0, 350, 329, u"", 0, true},
      {u"GroupBox1", u"TGroupBox", u"ch", 1, 1, 348, 46, u"Разрешение экрана", 0, true},
      {u"CbResolution", u"TComboBox", u"GroupBox1", 9, 18, 145, 21, u"", 0, false},
      {u"CbFullScr", u"TCheckBox", u"GroupBox1", 170, 20, 160, 17, u"Игра в окне", 1, false},
      {u"RgTextures", u"TRadioGroup", u"ch", 1, 47, 348, 45, u"Качество текстур", 1, true},
      {u"RgDynLight", u"TRadioGroup", u"ch", 1, 92, 348, 45, u"Динамическое освещение", 2, true},
      {u"RgGlow", u"TRadioGroup", u"ch", 1, 137, 348, 45, u"Эффекты свечения", 3, true},
      {u"RgShadows", u"TRadioGroup", u"ch", 1, 182, 348, 45, u"Тени", 4, true},
      {u"GbSound", u"TGroupBox", u"ch", 1, 227, 348, 45, u"Звук", 5, true},
      {u"CbMusic", u"TCheckBox", u"GbSound", 9, 17, 97, 17, u"Музыка", 0, false},
      {u"CbEff", u"TCheckBox", u"GbSound", 134, 17, 97, 17, u"Эффекты", 1, false},
      {u"CbMouseAcc", u"TCheckBox", u"ch", 10, 278, 135, 17, u"Ускорение курсора", 7, false},
      {u"CbTextureDet", u"TCheckBox", u"ch", 10, 301, 135, 17, u"Детализация текстур", 8, false},
      {u"Label1", u"TLabel", u"ch", 180, 278, 34, 13, u"Гамма:", -1, false},
      {u"CbGamma", u"TComboBox", u"ch", 180, 297, 63, 21, u"", 6, false},
      {u"Panel1", u"TPanel", u"fmSettings", 0, 329, 350, 37, u"", 1, true},
      {u"btnCancel", u"TButton", u"Panel1", 256, 6, 75, 25, u"Отмена", 0, false},
      {u"btnOk", u"TButton", u"Panel1", 168, 6, 75, 25, u"OK", 1, false},
  };
  // Every control, in this order, depth first: the order of creation and of stacking.
  std::vector<std::pair<const forms::Component*, const forms::Component*>> flat;
  auto walk = [&](auto& self, const forms::Component& parent) -> void {
    for (const forms::Component& c : parent.children) {
      flat.push_back({&c, &parent});
      self(self, c);
    }
  };
  walk(walk, form);
  ASSERT_EQ(flat.size(), std::size(rows));
  for (std::size_t i = 0; i < flat.size(); ++i) {
    const Row& r = rows[i];
    const forms::Component& c = *flat[i].first;
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    EXPECT_EQ(c.name, r.name);
    EXPECT_EQ(c.className, r.cls);
    EXPECT_EQ(flat[i].second->name, r.parent);
    EXPECT_EQ(IntegerOf(c.Find(u"Left")), r.left);
    EXPECT_EQ(IntegerOf(c.Find(u"Top")), r.top);
    EXPECT_EQ(IntegerOf(c.Find(u"Width")), r.width);
    EXPECT_EQ(IntegerOf(c.Find(u"Height")), r.height);
    EXPECT_EQ(TextOf(c.Find(u"Caption")).value_or(u""), r.caption);
    EXPECT_EQ(IntegerOf(c.Find(u"TabOrder")).value_or(-1), r.tabOrder);
    EXPECT_EQ(TextOf(c.Find(u"Align")) == u"alTop", r.top_aligned);
    EXPECT_EQ(c.Find(u"Font.Height"), nullptr);  // every control uses the window's font
  }
}

TEST(SettingsLayout, ChoicesEntriesAndHandlers) {
  const forms::Component form = test::ReadCompiledLayout("TFMSETTINGS");
  struct Group {
    const char16_t* name;
    std::vector<std::u16string> choices;
  };
  const Group groups[] = {
      {u"RgTextures", {u"Низкое", u"Среднее", u"Высокое", u"Наивысшее"}},
      {u"RgDynLight", {u"Выключено", u"Низкое", u"Среднее", u"Высокое"}},
      {u"RgGlow", {u"Выключено", u"Низкое", u"Высокое"}},
      {u"RgShadows", {u"Выключено", u"Низкое", u"Среднее", u"Высокое"}},
  };
  for (const Group& g : groups) {
    const forms::Component& c = *test::FindDeep(form, g.name);
    EXPECT_EQ(StringsOf(c.Find(u"Items.Strings")), g.choices);
    EXPECT_EQ(IntegerOf(c.Find(u"Columns")), 4);
  }

  const forms::Component& res = *test::FindDeep(form, u"CbResolution");
  const auto entries = StringsOf(res.Find(u"Items.Strings"));
  ASSERT_EQ(entries.size(), 26u);
  EXPECT_EQ(entries[0], u"800x600x16");
  EXPECT_EQ(entries[4], u"1152x854x16");
  EXPECT_EQ(entries[9], u"1220x1024x16");
  EXPECT_EQ(entries[10], u"832x634x16");
  EXPECT_EQ(entries[11], u"800x600x32");
  EXPECT_EQ(entries[24], u"1800x900x32");
  EXPECT_EQ(entries[25],
            u"1920\u0445"
            u"1080x32");  // a Cyrillic х, then a Latin x
  for (std::size_t i = 0; i < 25; ++i)
    EXPECT_EQ(entries[i].find(u'\u0445'), std::u16string::npos) << i;
  EXPECT_EQ(TextOf(res.Find(u"Style")), u"csDropDown");
  EXPECT_EQ(TextOf(res.Find(u"OnSelect")), u"CbResolutionSelect");
  EXPECT_EQ(TextOf(res.Find(u"OnKeyPress")), u"CbResolutionKeyPress");

  const forms::Component& gamma = *test::FindDeep(form, u"CbGamma");
  EXPECT_EQ(StringsOf(gamma.Find(u"Items.Strings")),
            (std::vector<std::u16string>{u"0.8", u"1.0", u"1.2", u"1.4", u"1.6", u"1.8"}));
  EXPECT_EQ(TextOf(gamma.Find(u"Style")), u"csDropDown");
  EXPECT_EQ(TextOf(gamma.Find(u"OnKeyPress")), u"CbGammaKeyPress");

  EXPECT_EQ(IntegerOf(test::FindDeep(form, u"btnOk")->Find(u"ModalResult")), 1);
  EXPECT_EQ(IntegerOf(test::FindDeep(form, u"btnCancel")->Find(u"ModalResult")), 2);
  EXPECT_EQ(TextOf(test::FindDeep(form, u"btnOk")->Find(u"OnClick")), u"btnOkClick");
  EXPECT_EQ(TextOf(test::FindDeep(form, u"btnCancel")->Find(u"OnClick")), u"btnCancelClick");
  EXPECT_EQ(TextOf(test::FindDeep(form, u"ch")->Find(u"BevelOuter")), u"bvRaised");
  EXPECT_EQ(TextOf(test::FindDeep(form, u"Panel1")->Find(u"BevelInner")), u"bvLowered");
}

}  // namespace
}  // namespace kq
