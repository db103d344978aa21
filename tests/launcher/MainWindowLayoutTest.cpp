// The stored layout of the main window against the window's table of controls.
#include "../support/StoredForm.h"
#include "resources/FormValues.h"

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

}  // namespace
}  // namespace kq
