#include "skins/ThirdPartyList.h"

#include "TestText.h"
#include "resources/FormValues.h"
#include "support/StoredForm.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace kq {
namespace {

using test::U8;
using K = ThirdPartyKind;
using Classes = std::vector<std::u16string>;

// The kinds and the lists the main layout's skin manager carries.
const struct {
  int index;
  const char16_t* name;
  const char16_t* property;
  Classes classes;
} kTable[] = {
    {0,
     u"Edit",
     u"ThirdEdits",
     {u"TEdit", u"TMemo", u"TMaskEdit", u"TSpinEdit", u"TLabeledEdit", u"THotKey", u"TListBox",
      u"TCheckListBox", u"TRichEdit", u"TDateTimePicker", u"TCategoryButtons", u"TFileListBox"}},
    {1, u"Button", u"ThirdButtons", {u"TButton"}},
    {2, u"BitBtn", u"ThirdBitBtns", {u"TBitBtn"}},
    {3, u"CheckBox", u"ThirdCheckBoxes", {u"TCheckBox", u"TRadioButton", u"TGroupButton"}},
    {4, u"ComboBox", u"ThirdComboBoxes", {u"TComboBox", u"TComboBoxEx", u"TColorBox"}},
    {5, u"Grid", u"ThirdGrids", {u"TStringGrid", u"TDrawGrid", u"TValueListEditor"}},
    {6, u"GroupBox", u"ThirdGroupBoxes", {u"TGroupBox", u"TRadioGroup"}},
    {7, u"ListView", u"ThirdListViews", {u"TListView"}},
    {8, u"Panel", u"ThirdPanels", {u"TPanel", u"TPage", u"TGridPanel", u"TTabPage"}},
    {9, u"TreeView", u"ThirdTreeViews", {u"TTreeView"}},
    {10, u"wwEdit", u"ThirdWWEdits", {u" "}},
    {11, u"GridEh", u"ThirdGridEh", {u" "}},
    {12, u"VirtualTree", u"ThirdVirtualTrees", {u" "}},
    {13, u"PageControl", u"ThirdPageControl", {u"TPageControl"}},
    {14, u"TabControl", u"ThirdTabControl", {u"TTabControl", u"TTabbedNotebook"}},
    {15, u"ToolBar", u"ThirdToolBar", {u"TToolBar"}},
    {16, u"StatusBar", u"ThirdStatusBar", {u"TStatusBar"}},
    {17, u"SpeedButton", u"ThirdSpeedButton", {u"TSpeedButton"}},
    {18, u"ScrollControl", u"ThirdScrollControl", {u"TScrollBox"}},
    {19, u"UpDownBtn", u"ThirdUpDown", {u"TSpinButton", u"TUpDown"}},
    {20, u"ScrollBar", u"ThirdScrollBar", {u"TScrollBar"}},
    {21, u"StaticText", u"ThirdStaticText", {u"TStaticText"}},
    {22, u"NativePaint", u"ThirdNativePaint", {u" "}},
};

// The lists as the manager has them once the main layout is read.
ThirdPartyList MainLayoutLists() {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  const forms::Component* manager = form.FindChild(u"sSkinManager1");
  EXPECT_NE(manager, nullptr);
  ThirdPartyList lists;
  int read = 0;
  for (const forms::FormProperty& p :
       manager ? manager->properties : decltype(manager->properties){}) {
    read += ReadThirdPartyProperty(lists, p);
  }
  EXPECT_EQ(read, 23);
  lists.FillDefaults();
  return lists;
}

TEST(ThirdPartyList, KindsAndTheListsTheMainLayoutStores) {
  ASSERT_EQ(std::size(kTable), kThirdPartyKindCount);
  const ThirdPartyList lists = MainLayoutLists();
  for (const auto& row : kTable) {
    const ThirdPartyKindInfo& info = ThirdPartyKinds()[static_cast<std::size_t>(row.index)];
    EXPECT_EQ(static_cast<int>(info.kind), row.index);
    EXPECT_EQ(info.name, row.name) << row.index;
    EXPECT_EQ(info.property, row.property) << row.index;
    EXPECT_EQ(U8(lists.Classes(info.kind)), U8(row.classes)) << U8(row.name);
  }
}

TEST(ThirdPartyList, EmptyListsTakeTheirDefaultsOnce) {
  ThirdPartyList lists;
  lists.SetClasses(K::kEdit, {u"TMyEdit"});
  lists.SetClasses(K::kPanel, {u" "});
  EXPECT_EQ(lists.KindOf(u"TButton"), std::nullopt);  // before the manager has loaded
  lists.FillDefaults();
  for (const ThirdPartyKindInfo& info : ThirdPartyKinds()) {
    const Classes expected = info.kind == K::kEdit     ? Classes{u"TMyEdit"}
                             : info.kind == K::kButton ? Classes{u"TButton"}
                                                       : Classes{u" "};
    EXPECT_EQ(U8(lists.Classes(info.kind)), U8(expected)) << U8(info.name);
  }
  EXPECT_EQ(lists.KindOf(u"TButton"), K::kButton);
  EXPECT_EQ(lists.KindOf(u"TEdit"), std::nullopt);
  // A list of its own, even an empty-looking one, is kept.
  const ThirdPartyList before = lists;
  lists.FillDefaults();
  EXPECT_EQ(lists, before);
}

TEST(ThirdPartyList, MatchingByClassTagAndNature) {
  const ThirdPartyList lists = MainLayoutLists();
  using N = ControlNature;
  const struct {
    N nature;
    const char16_t* className;
    std::int64_t tag;
    SkinDecision decision;
  } cases[] = {
      {N::kWindowed, u"TEdit", 0, {true, K::kEdit}},
      {N::kWindowed, u"TListBox", 0, {true, K::kEdit}},
      {N::kWindowed, u"TButton", 0, {true, K::kButton}},
      {N::kWindowed, u"TRadioGroup", 0, {true, K::kGroupBox}},
      {N::kWindowed, u"TUpDown", 0, {true, K::kUpDown}},
      {N::kWindowed, u"tedit", 0, {}},  // case-sensitive
      {N::kWindowed, u"TEDIT", 0, {}},
      {N::kWindowed, u"TEdit ", 0, {}},  // exact
      {N::kWindowed, u"TEditX", 0, {}},
      {N::kWindowed, u"TMyEdit", 0, {}},            // a descendant's own class is not listed
      {N::kWindowed, u"", 0, {}},
      {N::kWindowed, u"TButton", 256, {}},
      {N::kWindowed, u"TButton", 257, {}},
      {N::kWindowed, u"TButton", -1, {}},
      {N::kWindowed, u"TButton", 512, {true, K::kButton}},
      {N::kWindowed, u"TButton", 255, {true, K::kButton}},
      {N::kLabel, u"TLabel", 0, {true, std::nullopt}},
      {N::kLabel, u"TsWebLabel", 0, {true, std::nullopt}},
      {N::kLabel, u"TLabel", 256, {}},
      {N::kFrame, u"TMyFrame", 0, {true, std::nullopt}},
      {N::kForm, u"TfrmMain", 0, {true, std::nullopt}},
      {N::kForm, u"TfrmMain", 256, {true, std::nullopt}},
      {N::kGraphic, u"TSpeedButton", 0, {true, K::kSpeedButton}},
      {N::kGraphic, u"TSpeedButton", 256, {}},
      {N::kGraphic, u"TImage", 0, {}},
      {N::kGraphic, u"TButton", 0, {}},  // graphic controls only as speed buttons
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lists.Decide(c.nature, c.className, c.tag), c.decision)
        << U8(c.className) << " tag " << c.tag << " nature " << static_cast<int>(c.nature);
  }

  // A class in two lists belongs to the first kind.
  ThirdPartyList both;
  both.SetClasses(K::kPanel, {u"TThing"});
  both.SetClasses(K::kCheckBox, {u"TOther", u"TThing"});
  EXPECT_EQ(both.KindOf(u"TThing"), K::kCheckBox);
}

TEST(ThirdPartyList, ReadsOnlyItsStoredProperties) {
  forms::FormValue value{.type = forms::ValueType::List};
  for (const char16_t* c : {u"TA", u"TB"})
    value.list.push_back({.type = forms::ValueType::String, .text = c});
  const struct {
    const char16_t* name;
    std::optional<K> kind;
  } cases[] = {
      {u"ThirdParty.ThirdEdits.Strings", K::kEdit},
      {u"thirdparty.thirdupdown.strings", K::kUpDown},  // names match as the framework's do
      {u"ThirdParty.ThirdNativePaint.Strings", K::kNativePaint},
      {u"ThirdParty.ThirdEdits", std::nullopt},
      {u"ThirdParty.ThirdFoo.Strings", std::nullopt},
      {u"ThirdParty..Strings", std::nullopt},
      {u"ThirdEdits.Strings", std::nullopt},
      {u"SkinName", std::nullopt},
  };
  for (const auto& c : cases) {
    ThirdPartyList lists;
    EXPECT_EQ(ReadThirdPartyProperty(lists, {c.name, value}), c.kind.has_value()) << U8(c.name);
    for (const ThirdPartyKindInfo& info : ThirdPartyKinds()) {
      const Classes expected = info.kind == c.kind ? Classes{u"TA", u"TB"} : Classes{};
      EXPECT_EQ(U8(lists.Classes(info.kind)), U8(expected)) << U8(c.name);
    }
  }
}

// Every control of both windows, with the lists the main layout stores: edits and the world
// list are Edit controls, buttons Button, the settings' check boxes CheckBox, combo boxes
// ComboBox, group boxes and radio groups GroupBox, panels Panel; labels always.
TEST(ThirdPartyList, LauncherControlsAndTheirKinds) {
  const ThirdPartyList lists = MainLayoutLists();
  const std::map<std::u16string, std::string> expected = {
      {u"frmMain", "form"},
      {u"lblSelectServer", "label"},
      {u"sWebLabel1", "label"},
      {u"lblError", "label"},
      {u"edtLogin", "Edit"},
      {u"btnStart", "Button"},
      {u"edtPass", "Edit"},
      {u"btnSettings", "Button"},
      {u"lbWorlds", "Edit"},
      {u"fmSettings", "form"},
      {u"ch", "Panel"},
      {u"GroupBox1", "GroupBox"},
      {u"CbResolution", "ComboBox"},
      {u"CbFullScr", "CheckBox"},
      {u"RgTextures", "GroupBox"},
      {u"RgDynLight", "GroupBox"},
      {u"RgGlow", "GroupBox"},
      {u"RgShadows", "GroupBox"},
      {u"GbSound", "GroupBox"},
      {u"CbMusic", "CheckBox"},
      {u"CbEff", "CheckBox"},
      {u"CbMouseAcc", "CheckBox"},
      {u"CbTextureDet", "CheckBox"},
      {u"Label1", "label"},
      {u"CbGamma", "ComboBox"},
      {u"Panel1", "Panel"},
      {u"btnCancel", "Button"},
      {u"btnOk", "Button"},
  };
  std::map<std::u16string, std::string> got;
  const std::function<void(const forms::Component&, bool)> visit = [&](const forms::Component& c,
                                                                       bool root) {
    const bool nonVisual = c.className == u"TsSkinManager" || c.className == u"TsSkinProvider";
    if (!nonVisual) {
      const ControlNature nature = root ? ControlNature::kForm
                                   : c.className == u"TLabel" || c.className == u"TsWebLabel"
                                       ? ControlNature::kLabel
                                       : ControlNature::kWindowed;
      const SkinDecision d =
          lists.Decide(nature, c.className, forms::IntegerOf(c.Find(u"Tag")).value_or(0));
      got[c.name] = !d.skinned ? "none"
                    : d.kind   ? U8(ThirdPartyKinds()[static_cast<std::size_t>(*d.kind)].name)
                    : root     ? "form"
                               : "label";
    }
    for (const forms::Component& child : c.children) visit(child, false);
  };
  visit(test::ReadCompiledLayout("TFRMMAIN"), true);
  visit(test::ReadCompiledLayout("TFMSETTINGS"), true);
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace kq
