// The stored layout of the main window against the window's table of controls.
#include "../support/StoredForm.h"
#include "common/Utf8.h"
#include "resources/FormValues.h"
#include "skins/StoredSkins.h"

#include <fstream>
#include <iterator>

namespace kq {
namespace {

using forms::IntegerOf;
using forms::TextOf;

TEST(MainWindowLayout, IsOneZlibStreamOfLevelNine) {
  const Bytes data = test::CompiledLayoutBytes("TFRMMAIN");
  ASSERT_GT(data.size(), 2u);
  EXPECT_EQ(data[0], 0x78);
  EXPECT_EQ(data[1], 0xDA);
  MemoryInputStream source(data);
  BufferedInput in(source);
  InflateStream z(in);
  z.SkipToEnd();
  EXPECT_EQ(in.Position(), data.size());  // nothing after the stream
}

TEST(MainWindowLayout, WindowProperties) {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  EXPECT_EQ(form.className, u"TfrmMain");
  EXPECT_EQ(form.name, u"frmMain");
  EXPECT_EQ(IntegerOf(form.Find(u"ClientWidth")), 243);
  EXPECT_EQ(IntegerOf(form.Find(u"ClientHeight")), 301);
  EXPECT_EQ(TextOf(form.Find(u"BorderStyle")), u"bsSingle");
  EXPECT_TRUE(forms::SetHas(form.Find(u"BorderIcons"), u"biSystemMenu"));
  EXPECT_TRUE(forms::SetHas(form.Find(u"BorderIcons"), u"biMinimize"));
  EXPECT_FALSE(forms::SetHas(form.Find(u"BorderIcons"), u"biMaximize"));
  EXPECT_EQ(TextOf(form.Find(u"Position")), u"poDesktopCenter");
  EXPECT_EQ(forms::ColorOf(form.Find(u"Color"))->systemIndex, 15);  // button face
  const auto font =
      forms::FontOf([&](const std::u16string& n) { return form.Find(n); }, u"Font", {});
  EXPECT_EQ(font.name, u"Tahoma");
  EXPECT_EQ(font.height, -11);
  EXPECT_EQ(font.color.systemIndex, 8);  // window text
  EXPECT_EQ(TextOf(form.Find(u"OnCreate")), u"FormCreate");
  EXPECT_EQ(TextOf(form.Find(u"OnClose")), u"FormClose");
}

TEST(MainWindowLayout, ControlsInCreationOrderWithTheirPlaces) {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  struct Row {
    const char16_t* name;
    const char16_t* cls;
    int left, top, width, height;
    int fontHeight;  // the window's own is -11
    int tabOrder;    // -1: none
    const char16_t* caption;
  };
  const Row rows[] = {
      {u"lblSelectServer", u"TLabel", 74, 110, 89, 16, -13, -1, u"Выбор сервера"},
      {u"sWebLabel1", u"TsWebLabel", 161, 280, 74, 13, -11, -1, u"DO Rizura"},
      {u"lblError", u"TLabel", 8, 261, 3, 13, -11, -1, nullptr},
      {u"edtLogin", u"TEdit", 8, 8, 227, 24, -13, 1, nullptr},
      {u"btnStart", u"TButton", 8, 70, 107, 29, -13, 3, u"Запуск"},
      {u"edtPass", u"TEdit", 8, 39, 227, 24, -13, 2, nullptr},
      {u"btnSettings", u"TButton", 128, 70, 107, 29, -13, 4, u"Настройки"},
      {u"lbWorlds", u"TListBox", 8, 132, 227, 123, -13, 0, nullptr},
  };
  ASSERT_GE(form.children.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    const forms::Component& c = form.children[i];
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    EXPECT_EQ(c.name, r.name);
    EXPECT_EQ(c.className, r.cls);
    EXPECT_EQ(IntegerOf(c.Find(u"Left")), r.left);
    EXPECT_EQ(IntegerOf(c.Find(u"Top")), r.top);
    EXPECT_EQ(IntegerOf(c.Find(u"Width")), r.width);
    EXPECT_EQ(IntegerOf(c.Find(u"Height")), r.height);
    EXPECT_EQ(IntegerOf(c.Find(u"Font.Height")).value_or(-11), r.fontHeight);
    if (r.fontHeight != -11) {
      EXPECT_EQ(TextOf(c.Find(u"Font.Name")), u"Tahoma");
    }
    EXPECT_EQ(IntegerOf(c.Find(u"TabOrder")).value_or(-1), r.tabOrder);
    EXPECT_EQ(TextOf(c.Find(u"Caption")).value_or(u""), r.caption ? r.caption : u"");
  }
  // The rest are the skin components, without windows.
  EXPECT_EQ(form.children[8].className, u"TsSkinManager");
  EXPECT_EQ(form.children[9].className, u"TsSkinProvider");
}

TEST(MainWindowLayout, ControlDetails) {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  const forms::Component& login = *form.FindChild(u"edtLogin");
  EXPECT_EQ(TextOf(login.Find(u"TextHint")), u"Логин");
  EXPECT_EQ(login.Find(u"PasswordChar"), nullptr);
  const forms::Component& pass = *form.FindChild(u"edtPass");
  EXPECT_EQ(TextOf(pass.Find(u"TextHint")), u"Пароль");
  EXPECT_EQ(TextOf(pass.Find(u"PasswordChar")), u"*");
  EXPECT_EQ(TextOf(form.FindChild(u"btnStart")->Find(u"OnClick")), u"btnStartClick");
  EXPECT_EQ(TextOf(form.FindChild(u"btnSettings")->Find(u"OnClick")), u"btnSettingsClick");
  // Neither button is a default or cancel button.
  for (const char16_t* b : {u"btnStart", u"btnSettings"}) {
    EXPECT_EQ(form.FindChild(b)->Find(u"Default"), nullptr);
    EXPECT_EQ(form.FindChild(b)->Find(u"Cancel"), nullptr);
  }

  const forms::Component& list = *form.FindChild(u"lbWorlds");
  EXPECT_EQ(TextOf(list.Find(u"Style")), u"lbOwnerDrawFixed");
  EXPECT_EQ(IntegerOf(list.Find(u"ItemHeight")), 20);
  EXPECT_EQ(forms::StringsOf(list.Find(u"Items.Strings")),
            (std::vector<std::u16string>{u"TestServer1", u"TestServer2", u"TestServer3"}));
  EXPECT_EQ(TextOf(list.Find(u"OnDblClick")), u"lbWorldsDblClick");
  EXPECT_EQ(TextOf(list.Find(u"OnDrawItem")), u"lbWorldsDrawItem");

  const forms::Component& link = *form.FindChild(u"sWebLabel1");
  auto find = [&](const std::u16string& n) { return link.Find(n); };
  const auto normal = forms::FontOf(find, u"Font", {});
  const auto hover = forms::FontOf(find, u"HoverFont", normal);
  EXPECT_EQ(normal.color.rgb, 0x800000u);  // navy: RGB 0, 0, 128
  EXPECT_TRUE(normal.underline);
  EXPECT_EQ(hover.color.rgb, 0x0000FFu);  // red
  EXPECT_TRUE(hover.underline);
  EXPECT_EQ(hover.height, -11);
  EXPECT_EQ(TextOf(link.Find(u"URL")), u"https://rizura.example/");
  EXPECT_EQ(TextOf(link.Find(u"Cursor")), u"crHandPoint");
}

// The skin manager's settings in the order they are applied: animation, the catalogue,
// menus, the class lists, the skin folder, and the skin name last (assigning it loads a skin).
TEST(MainWindowLayout, SkinManagerStoresItsSettingsInOrder) {
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  const forms::Component* manager = form.FindChild(u"sSkinManager1");
  ASSERT_NE(manager, nullptr);
  const char16_t* const order[] = {
      u"AnimEffects.BlendOnMoving.Active",
      u"AnimEffects.BlendOnMoving.BlendValue",
      u"AnimEffects.FormHide.Time",
      u"AnimEffects.Minimizing.Time",
      u"InternalSkins",
      u"MenuSupport.IcoLineSkin",
      u"MenuSupport.ExtraLineFont.Charset",
      u"MenuSupport.ExtraLineFont.Color",
      u"MenuSupport.ExtraLineFont.Height",
      u"MenuSupport.ExtraLineFont.Name",
      u"MenuSupport.ExtraLineFont.Style",
      // The class lists (their values: ThirdPartyListTest), before the skin is chosen.
      u"ThirdParty.ThirdEdits.Strings",
      u"ThirdParty.ThirdButtons.Strings",
      u"ThirdParty.ThirdBitBtns.Strings",
      u"ThirdParty.ThirdCheckBoxes.Strings",
      u"ThirdParty.ThirdComboBoxes.Strings",
      u"ThirdParty.ThirdGrids.Strings",
      u"ThirdParty.ThirdGroupBoxes.Strings",
      u"ThirdParty.ThirdListViews.Strings",
      u"ThirdParty.ThirdPanels.Strings",
      u"ThirdParty.ThirdTreeViews.Strings",
      u"ThirdParty.ThirdWWEdits.Strings",
      u"ThirdParty.ThirdGridEh.Strings",
      u"ThirdParty.ThirdVirtualTrees.Strings",
      u"ThirdParty.ThirdPageControl.Strings",
      u"ThirdParty.ThirdTabControl.Strings",
      u"ThirdParty.ThirdToolBar.Strings",
      u"ThirdParty.ThirdStatusBar.Strings",
      u"ThirdParty.ThirdSpeedButton.Strings",
      u"ThirdParty.ThirdScrollControl.Strings",
      u"ThirdParty.ThirdUpDown.Strings",
      u"ThirdParty.ThirdScrollBar.Strings",
      u"ThirdParty.ThirdStaticText.Strings",
      u"ThirdParty.ThirdNativePaint.Strings",
      u"SkinDirectory",
      u"SkinName",
      u"SkinInfo",
  };
  ASSERT_EQ(manager->properties.size(), std::size(order));
  for (std::size_t i = 0; i < std::size(order); ++i) {
    EXPECT_EQ(manager->properties[i].name, order[i]) << i;
  }
  EXPECT_EQ(forms::BoolOf(manager->Find(u"AnimEffects.BlendOnMoving.Active")), true);
  EXPECT_EQ(IntegerOf(manager->Find(u"AnimEffects.BlendOnMoving.BlendValue")), 220);
  EXPECT_EQ(IntegerOf(manager->Find(u"AnimEffects.FormHide.Time")), 250);
  EXPECT_EQ(IntegerOf(manager->Find(u"AnimEffects.Minimizing.Time")), 300);
  EXPECT_EQ(TextOf(manager->Find(u"MenuSupport.IcoLineSkin")), u"ICOLINE");
  const auto menuFont = forms::FontOf([&](const std::u16string& n) { return manager->Find(n); },
                                      u"MenuSupport.ExtraLineFont", {});
  EXPECT_EQ(menuFont.name, u"Tahoma");
  EXPECT_EQ(menuFont.height, -11);
  EXPECT_EQ(TextOf(manager->Find(u"SkinDirectory")), u"c:\\Skins");
  EXPECT_EQ(TextOf(manager->Find(u"SkinName")), u"iOS4 (internal)");
  EXPECT_EQ(TextOf(manager->Find(u"SkinInfo")), u"8");
}

// The catalogue: the 74 internal skins in their order, each item storing what the manager
// stores, and its package byte for byte as the skin generator wrote it.
TEST(MainWindowLayout, InternalSkinsAreTheCatalogueWithTheGeneratedPackages) {
  const char16_t* const names[] = {
      u"Air (internal)",
      u"AlterMetro (internal)",
      u"Aluminium (internal)",
      u"AutumnSky (internal)",
      u"Black Box (internal)",
      u"BlueGauze (internal)",
      u"BlueGlass (internal)",
      u"BlueIce (internal)",
      u"BluePlastic (internal)",
      u"Calcium (internal)",
      u"Cappuccino (internal)",
      u"Cold (internal)",
      u"DarkGlass (internal)",
      u"DarkMetro (internal)",
      u"Desert (internal)",
      u"Elegant (internal)",
      u"Flatline (internal)",
      u"FM (internal)",
      u"Garnet II (internal)",
      u"Golden (internal)",
      u"GPlus (internal)",
      u"Graphite (internal)",
      u"GrayPlastic (internal)",
      u"iOS dark (internal)",
      u"iOS4 (internal)",
      u"Ledenets (internal)",
      u"Light Board (internal)",
      u"Lucky (internal)",
      u"Lunar Base (internal)",
      u"MacMetal (internal)",
      u"MacOS2 (internal)",
      u"Matrix (internal)",
      u"MetroUI (internal)",
      u"Mint (internal)",
      u"Moonlight (internal)",
      u"Nautilus_contrast (internal)",
      u"Neutral (internal)",
      u"Neutral2 (internal)",
      u"Neutral3 (internal)",
      u"Neutral4 (internal)",
      u"NextAlpha2 (internal)",
      u"Notes Leather (internal)",
      u"Notes Sport (internal)",
      u"Notes Wood (internal)",
      u"Office12Style (internal)",
      u"Office2007 Black (internal)",
      u"Office2007 Blue (internal)",
      u"Office2010 Blue (internal)",
      u"Opus (internal)",
      u"Pulsar (internal)",
      u"Retro (internal)",
      u"Rhombus (internal)",
      u"Sand (internal)",
      u"Sapphire (internal)",
      u"Shine (internal)",
      u"Snow Leopard (internal)",
      u"Spring Willow (internal)",
      u"Subway (internal)",
      u"TheFrog (internal)",
      u"Topaz (internal)",
      u"Toxic (internal)",
      u"TV-b (internal)",
      u"Ubuntu (internal)",
      u"Vienna (internal)",
      u"Vista (internal)",
      u"WEB (internal)",
      u"Windows 8 (internal)",
      u"Winter2011 (internal)",
      u"WLM (internal)",
      u"WMP 2008 (internal)",
      u"WMP11 (internal)",
      u"Wood (internal)",
      u"WOT (internal)",
      u"Zest (internal)",
  };
  const forms::Component form = test::ReadCompiledLayout("TFRMMAIN");
  const forms::Component* manager = form.FindChild(u"sSkinManager1");
  ASSERT_NE(manager, nullptr);
  const forms::FormValue* stored = manager->Find(u"InternalSkins");
  ASSERT_NE(stored, nullptr);
  ASSERT_EQ(stored->type, forms::ValueType::Collection);
  const TsStoredSkins skins = ReadStoredSkins(stored);
  ASSERT_EQ(skins.Count(), std::size(names));
  for (std::size_t i = 0; i < skins.Count(); ++i) {
    const TsStoredSkin& skin = skins[i];
    SCOPED_TRACE(Utf16ToUtf8String(names[i]));
    EXPECT_EQ(skin.Name, names[i]);
    // Stored in this order, nothing else (the bitmap is empty, the rest keep defaults).
    std::vector<std::u16string> props;
    for (const forms::FormProperty& p : stored->items[i].properties) props.push_back(p.name);
    EXPECT_EQ(props, (std::vector<std::u16string>{u"Name", u"Shadow1Color", u"Shadow1Offset",
                                                  u"Shadow1Transparency", u"Data"}));
    EXPECT_FALSE(stored->items[i].index.has_value());
    EXPECT_EQ(skin.Shadow1Color, forms::FormColor{0});
    EXPECT_EQ(skin.Shadow1Offset, 0);
    EXPECT_EQ(skin.Shadow1Transparency, 0);
    EXPECT_EQ(skin.Shadow1Blur, -1);
    EXPECT_EQ(skin.BorderColor, forms::FormColor{0xFF00FF});
    EXPECT_EQ(skin.Version, 0);

    std::ifstream f(std::string(KQ_SKINS_DIR) + "/" + Utf16ToUtf8String(names[i]) + ".asz",
                    std::ios::binary);
    ASSERT_TRUE(f);
    const Bytes file((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    ASSERT_GE(file.size(), 8u);
    EXPECT_EQ(skin.PackedData, file);
  }

  const std::pair<const char16_t*, int> lookups[] = {
      {u"Air (internal)", 0},
      {u"FM (internal)", 17},
      {u"iOS4 (internal)", 24},
      {u"Zest (internal)", 73},
      {u"fm (internal)", -1},
      {u"FM", -1},
      {u"", -1},
  };
  for (const auto& [name, index] : lookups) {
    EXPECT_EQ(skins.IndexOf(name), index) << Utf16ToUtf8String(name);
  }
}

}  // namespace
}  // namespace kq
