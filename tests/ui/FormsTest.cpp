// The window framework in this process: forms built from the layouts stored in this test
// program's resources (tests/resources/layouts).
#include "ui/Form.h"
#include "ui/Accessible.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DefaultLook.h"
#include "ui/ListBox.h"
#include "ui/RadioGroup.h"

#include "common/Error.h"
#include "../support/ProgramForms.h"
#include "resources/ModuleResources.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace kq::ui {
namespace {

const forms::ComponentClass kTestClass{u"TfmFrameworkTest", &kFormClass};
const forms::ComponentClass kChainBase{u"TfmChainBase", &kFormClass};
const forms::ComponentClass kChainChild{u"TfmChainChild", &kChainBase};
const forms::ComponentClass kBadHandler{u"TfmBadHandler", &kFormClass};
const forms::ComponentClass kNothing{u"TfmNothing", &kFormClass};

class TestForm final : public Form {
 public:
  explicit TestForm(const forms::ComponentClass& cls = kTestClass) : cls_(cls) {}
  const forms::ComponentClass& ClassInfo() const override { return cls_; }
  std::vector<std::string> journal;

 protected:
  std::vector<HandlerSlot> Handlers() override {
    auto note = [this](const char* what) {
      return NotifyHandler([this, what](forms::StoredComponent& s) {
        journal.push_back(std::string(what) + ":" + std::string(s.Name().begin(), s.Name().end()));
      });
    };
    // Typed characters: 'x' is swallowed, 'a' becomes 'b'.
    auto keys = KeyPressHandler([](Control&, wchar_t& k) {
      if (k == L'x')
        k = 0;
      else if (k == L'a')
        k = L'b';
    });
    return {
        {u"FormCreate", note("create")},
        {u"FormClose", note("close")},
        {u"btnGoClick", note("click")},
        {u"lbItemsDblClick", note("dblclick")},
        {u"cbChoiceSelect", note("select")},
        {u"chkOneClick", note("check")},
        {u"rgLevelClick", note("radio")},
        {u"edtNameKeyPress", keys},
        {u"cbChoiceKeyPress", keys},
        {u"lbItemsDrawItem", DrawItemHandler([this](Control&, const DrawItemArgs& a) {
           journal.push_back("draw:" + std::to_string(a.index) + ":" +
                             std::to_string(a.rect.bottom - a.rect.top));
         })},
    };
  }

 private:
  const forms::ComponentClass& cls_;
};

class FormsTest : public test::ProgramFormsTest {
 protected:
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
};

struct Search {
  std::wstring prop;
  HWND found = nullptr;
};

BOOL CALLBACK MatchName(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<Search*>(lp);
  if (!::GetPropW(h, search->prop.c_str())) return TRUE;
  search->found = h;
  return FALSE;
}

// By the window property, as a driver in another process finds it.
HWND Named(HWND root, const std::wstring& name) {
  Search search{ControlNameProperty(name)};
  ::EnumChildWindows(root, &MatchName, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT InParent(HWND h) {
  RECT r;
  ::GetWindowRect(h, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::wstring TextOf(HWND h) {
  wchar_t buf[256] = {};
  ::SendMessageW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
  return buf;
}

LOGFONTW FontOf(HWND h) {
  LOGFONTW lf{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return lf;
}

TEST_F(FormsTest, BuildsEveryControlWhereTheLayoutPutsIt) {
  TestForm form;
  form.CreateForm();
  EXPECT_EQ(form.journal, (std::vector<std::string>{"create:fmTest"}));
  RECT client;
  ::GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 300);
  EXPECT_EQ(TextOf(form.Hwnd()), L"Проверка");
  EXPECT_NE(::GetPropW(form.Hwnd(), ControlNameProperty(L"fmTest").c_str()), nullptr);
  // The program's icon on the form's class, the small one loaded at its own size.
  EXPECT_NE(::GetClassLongPtrW(form.Hwnd(), GCLP_HICON), 0);
  ICONINFO icon{};
  ASSERT_TRUE(
      ::GetIconInfo(reinterpret_cast<HICON>(::GetClassLongPtrW(form.Hwnd(), GCLP_HICONSM)), &icon));
  BITMAP colour{};
  ::GetObjectW(icon.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, ::GetSystemMetrics(SM_CXSMICON));
  ::DeleteObject(icon.hbmColor);
  ::DeleteObject(icon.hbmMask);

  struct Case {
    const wchar_t* name;
    const wchar_t* windowClass;
    RECT rect;  // in the parent's client area
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"lblPlain", L"Static", {8, 4, 108, 17}, L"Метка"},
      {L"edtName", L"Edit", {8, 20, 158, 44}, L""},
      {L"edtSecret", L"Edit", {8, 50, 158, 74}, L""},
      {L"btnGo", L"Button", {170, 20, 250, 45}, L"Go"},
      {L"lbItems", L"ListBox", {8, 80, 158, 180}, L""},
      {L"cbChoice", L"ComboBox", {170, 80, 270, 101}, L""},
      {L"pnlBox", L"KQPanel", {0, 190, 320, 300}, L""},
      // Top-aligned inside the panel's one-pixel bevel, stacked in layout order.
      {L"gbTop", L"Button", {1, 1, 319, 41}, L"Группа"},
      {L"rgLevel", L"Button", {1, 41, 319, 86}, L"Уровень"},
      {L"chkOne", L"Button", {9, 16, 106, 33}, L"Флажок"},
  };
  for (const Case& c : cases) {
    HWND h = Named(form.Hwnd(), c.name);
    ASSERT_NE(h, nullptr) << c.name;
    wchar_t cls[64] = {};
    ::GetClassNameW(h, cls, 64);
    EXPECT_EQ(_wcsicmp(cls, c.windowClass), 0) << c.name << " is " << cls;
    const RECT r = InParent(h);
    EXPECT_EQ(r.left, c.rect.left) << c.name;
    EXPECT_EQ(r.top, c.rect.top) << c.name;
    EXPECT_EQ(r.right, c.rect.right) << c.name;
    EXPECT_EQ(r.bottom, c.rect.bottom) << c.name;
    EXPECT_EQ(TextOf(h), c.text) << c.name;
    EXPECT_EQ(Control::FromHwnd(h), form.FindControl(std::u16string(win::U16(c.name)))) << c.name;
  }
  // Names are found whatever their case; a non-visual component is no control.
  EXPECT_NE(form.FindControl(u"LBITEMS"), nullptr);
  EXPECT_EQ(form.FindControl(u"mgr"), nullptr);
  ASSERT_NE(form.FindChild(u"mgr"), nullptr);
  EXPECT_EQ(form.FindChild(u"mgr")->Find(u"SkinName")->text, u"Some skin");
}

// The client area as the control draws it on request (WM_PRINTCLIENT), off the screen.
std::vector<std::uint32_t> PrintedClient(HWND h) {
  RECT r;
  ::GetClientRect(h, &r);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, r.right, -r.bottom, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, bitmap);
  ::SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  ::GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> out(px, px + static_cast<std::size_t>(r.right) * r.bottom);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::DeleteObject(bitmap);
  return out;
}

// The pixels that differ from the first one (the field's background).
std::size_t Ink(const std::vector<std::uint32_t>& px) {
  std::size_t n = 0;
  for (std::uint32_t p : px) n += p != px.front();
  return n;
}

// The edit draws its cue text itself: while it is empty, never under a text, and not once
// the cue is taken away; the cue reads back as it was set.
TEST_F(FormsTest, TheEditDrawsItsCueOnlyWhileEmpty) {
  TestForm form;
  form.CreateForm();
  HWND edit = Named(form.Hwnd(), L"edtName");
  ASSERT_NE(edit, nullptr);
  const auto setCue = [edit](const wchar_t* cue) {
    ::SendMessageW(edit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(cue));
  };
  const auto withText = [&](const wchar_t* text, const wchar_t* cue) {
    setCue(cue);
    ::SetWindowTextW(edit, text);
    return PrintedClient(edit);
  };

  const auto emptyWithCue = withText(L"", L"Логин");
  const auto emptyNoCue = withText(L"", L"");
  EXPECT_GT(Ink(emptyWithCue), 20u) << "no cue drawn in the empty field";
  EXPECT_EQ(Ink(emptyNoCue), 0u) << "something drawn in an empty field without a cue";
  EXPECT_EQ(withText(L"ab", L"Логин"), withText(L"ab", L"")) << "the cue shows under the text";
  EXPECT_EQ(withText(L"", L"Логин"), emptyWithCue);

  wchar_t cue[64] = {};
  ASSERT_TRUE(::SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
  EXPECT_STREQ(cue, L"Логин");
  wchar_t small[4] = {L'x', L'x', L'x', L'x'};
  ::SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(small), 4);
  EXPECT_STREQ(small, L"Лог") << "a short buffer gets the cue's start, terminated";

  // From another thread (as from another process, whose address would mean nothing here)
  // the cue is neither set nor handed out.
  LRESULT fromElsewhere = -1;
  std::atomic<bool> done{false};
  std::thread other([&] {
    fromElsewhere = ::SendMessageW(edit, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Чужой"));
    done = true;
  });
  while (!done) {
    Pump();
    ::Sleep(1);
  }
  other.join();
  EXPECT_EQ(fromElsewhere, FALSE);
  ASSERT_TRUE(::SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
  EXPECT_STREQ(cue, L"Логин");

  setCue(L"");
  EXPECT_FALSE(::SendMessageW(edit, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
  EXPECT_STREQ(cue, L"");
}

TEST_F(FormsTest, KindsTakeTheirPropertiesFromTheLayout) {
  TestForm form;
  form.CreateForm();
  HWND name = Named(form.Hwnd(), L"edtName");
  wchar_t cue[64] = {};
  ASSERT_TRUE(::SendMessageW(name, EM_GETCUEBANNER, reinterpret_cast<WPARAM>(cue), 64));
  EXPECT_STREQ(cue, L"Логин");
  EXPECT_EQ(::SendMessageW(Named(form.Hwnd(), L"edtSecret"), EM_GETPASSWORDCHAR, 0, 0), L'*');

  HWND list = Named(form.Hwnd(), L"lbItems");
  EXPECT_TRUE(::GetWindowLongW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED);
  EXPECT_EQ(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 20);
  ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(form.Get<ListBox>(u"lbItems").Item(2), u"three");
  EXPECT_EQ(::SendMessageW(Named(form.Hwnd(), L"cbChoice"), CB_GETCOUNT, 0, 0), 2);
  EXPECT_TRUE(form.Get<CheckBox>(u"chkOne").Checked());

  auto& radios = form.Get<RadioGroup>(u"rgLevel");
  ASSERT_EQ(radios.Count(), 3);
  EXPECT_EQ(radios.ItemIndex(), 1);
  EXPECT_EQ(TextOf(radios.Button(2)), L"Два");
  // Four columns across the group, each (width - 10) / 4 wide, from 8 pixels in.
  EXPECT_EQ(InParent(radios.Button(0)).left, 8);
  EXPECT_EQ(InParent(radios.Button(1)).left, 8 + (318 - 10) / 4);
  EXPECT_EQ(Named(form.Hwnd(), L"rgLevel[2]"), radios.Button(2));

  // Fonts: the form's, a control's own height on top of it, the link's underline.
  struct FontCase {
    const wchar_t* name;
    LONG height;
    bool underline;
  };
  for (const FontCase& f : {FontCase{L"btnGo", -11, false}, FontCase{L"edtName", -13, false},
                            FontCase{L"lnkSite", -11, true}, FontCase{L"chkOne", -11, false}}) {
    const LOGFONTW lf = FontOf(Named(form.Hwnd(), f.name));
    EXPECT_EQ(lf.lfHeight, f.height) << f.name;
    EXPECT_EQ(lf.lfUnderline != 0, f.underline) << f.name;
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma") << f.name;
  }
  // The auto-sized link label took the size of its text, at the position of the layout.
  const RECT link = InParent(Named(form.Hwnd(), L"lnkSite"));
  EXPECT_EQ(link.left, 200);
  EXPECT_GT(link.right - link.left, 20);
}

TEST_F(FormsTest, EventsRunTheNamedHandlers) {
  TestForm form;
  form.CreateForm();
  form.journal.clear();
  ::SendMessageW(Named(form.Hwnd(), L"btnGo"), BM_CLICK, 0, 0);
  ::SendMessageW(Named(form.Hwnd(), L"chkOne"), BM_CLICK, 0, 0);
  ::SendMessageW(form.Get<RadioGroup>(u"rgLevel").Button(2), BM_CLICK, 0, 0);

  HWND list = Named(form.Hwnd(), L"lbItems");
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 25));
  ::SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
  ::SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 25));
  ::SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 25));
  EXPECT_EQ(form.Get<ListBox>(u"lbItems").ItemIndex(), 1);

  HWND combo = Named(form.Hwnd(), L"cbChoice");
  ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
  ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  EXPECT_EQ(form.journal, (std::vector<std::string>{"click:btnGo", "check:chkOne", "radio:rgLevel",
                                                    "dblclick:lbItems", "select:cbChoice"}));
  EXPECT_FALSE(form.Get<CheckBox>(u"chkOne").Checked());
  EXPECT_EQ(form.Get<RadioGroup>(u"rgLevel").ItemIndex(), 2);

  // Typed characters pass the key-press handler: in an edit and in a combo's text field.
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
  for (HWND field : {Named(form.Hwnd(), L"edtName"), info.hwndItem}) {
    ::SetWindowTextW(field, L"");
    for (wchar_t c : std::wstring(L"xaz")) ::SendMessageW(field, WM_CHAR, c, 1);
    EXPECT_EQ(TextOf(field), L"bz");
  }

  // Owner-drawn items go to the draw handler with their index and the fixed height.
  form.journal.clear();
  ::ShowWindow(form.Hwnd(), SW_SHOWNA);
  ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  EXPECT_NE(std::find(form.journal.begin(), form.journal.end(), "draw:0:20"), form.journal.end());
  EXPECT_NE(std::find(form.journal.begin(), form.journal.end(), "draw:2:20"), form.journal.end());
}

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH lb{};
  ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
  return lb.lbColor;
}

// A look that draws edits without their sunken edge and static parts on a brush of its own,
// and notes every part it was asked to colour or to fill.
class RecordingLook final : public Look {
 public:
  RecordingLook() : brush_(::CreateSolidBrush(RGB(1, 2, 3))) {}
  void Styles(Part part, DWORD& style, DWORD& exStyle) const override {
    DefaultLook::Instance().Styles(part, style, exStyle);
    if (part == Part::kEdit) exStyle &= ~WS_EX_CLIENTEDGE;
  }
  const forms::FontSpec& Font(const PartInfo& info) const override {
    return DefaultLook::Instance().Font(info);
  }
  HBRUSH Colors(const PartInfo& info, HDC dc) const override {
    asked.push_back(info.part);
    DefaultLook::Instance().Colors(info, dc);
    return static_cast<HBRUSH>(brush_.Get());
  }
  void EraseBackground(const PartInfo& info, HDC dc, const RECT& rect) const override {
    asked.push_back(info.part);
    DefaultLook::Instance().EraseBackground(info, dc, rect);
  }
  void ItemColors(const PartInfo& info, HDC dc) const override {
    DefaultLook::Instance().ItemColors(info, dc);
  }
  void DrawItemFocus(const PartInfo& info, HDC dc, const RECT& rect) const override {
    DefaultLook::Instance().DrawItemFocus(info, dc, rect);
  }
  int BevelWidth(const Bevels& bevels) const override {
    return DefaultLook::Instance().BevelWidth(bevels);
  }
  void DrawBevels(const PartInfo& info, HDC dc, const RECT& rect,
                  const Bevels& bevels) const override {
    DefaultLook::Instance().DrawBevels(info, dc, rect, bevels);
  }
  mutable std::vector<Part> asked;

 private:
  win::GdiObject brush_;
};

// The colour question a control's parent gets, as the system sends it.
LRESULT ColourMessage(UINT msg, HWND child, HDC dc) {
  return ::SendMessageW(::GetParent(child), msg, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(child));
}

TEST_F(FormsTest, ControlsAreDrawnAsTheFormsLookSays) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  {
    // The default look: static parts on the form's Color in their font's colour, a link in
    // its hover colour under the mouse; edits and lists with a sunken edge.
    TestForm form;
    form.CreateForm();
    HWND label = Named(form.Hwnd(), L"lblPlain");
    EXPECT_EQ(BrushColour(ColourMessage(WM_CTLCOLORSTATIC, label, dc)), 14741752u);
    EXPECT_EQ(::GetTextColor(dc), ::GetSysColor(COLOR_WINDOWTEXT));
    HWND check = Named(form.Hwnd(), L"chkOne");
    EXPECT_EQ(BrushColour(ColourMessage(WM_CTLCOLORBTN, check, dc)), 14741752u);
    HWND link = Named(form.Hwnd(), L"lnkSite");
    ColourMessage(WM_CTLCOLORSTATIC, link, dc);
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 128));
    ::SendMessageW(link, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    ColourMessage(WM_CTLCOLORSTATIC, link, dc);
    EXPECT_EQ(::GetTextColor(dc), RGB(255, 0, 0));
    // An edit keeps the system's colours.
    EXPECT_EQ(ColourMessage(WM_CTLCOLOREDIT, Named(form.Hwnd(), L"edtName"), dc),
              ::DefWindowProcW(form.Hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(Named(form.Hwnd(), L"edtName"))));
    for (const wchar_t* name : {L"edtName", L"lbItems"})
      EXPECT_TRUE(::GetWindowLongW(Named(form.Hwnd(), name), GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
          << name;
  }
  {
    RecordingLook look;
    TestForm form;
    form.SetLook(&look);
    form.CreateForm();
    EXPECT_FALSE(::GetWindowLongW(Named(form.Hwnd(), L"edtName"), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(::GetWindowLongW(Named(form.Hwnd(), L"lbItems"), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    HWND label = Named(form.Hwnd(), L"lblPlain");
    EXPECT_EQ(BrushColour(ColourMessage(WM_CTLCOLORSTATIC, label, dc)), RGB(1, 2, 3));
    auto& radios = form.Get<RadioGroup>(u"rgLevel");
    EXPECT_EQ(
        BrushColour(::SendMessageW(radios.Hwnd(), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(radios.Button(0)))),
        RGB(1, 2, 3));
    // The combo box's drop-down list is drawn as its own part; the combo box hands the
    // list's question on to its parent.
    auto& combo = form.Get<ComboBox>(u"cbChoice");
    EXPECT_EQ(
        BrushColour(::SendMessageW(form.Hwnd(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(combo.List().Hwnd()))),
        RGB(1, 2, 3));
    ::SendMessageW(form.Hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessageW(Named(form.Hwnd(), L"pnlBox"), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(look.asked, (std::vector<Part>{Part::kLabel, Part::kRadioButton, Part::kComboList,
                                             Part::kForm, Part::kPanel}));
  }
  ::DeleteDC(dc);
}

// Notes the shows and the window-position changes of its form, answers a minimise, and
// hides the form its own way (here: not at all).
class RecordingFilter final : public MessageFilter {
 public:
  bool FilterMessage(Form&, UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg == WM_WINDOWPOSCHANGED) ++positionChanges;
    if (msg != WM_SYSCOMMAND || (wp & 0xFFF0) != SC_MINIMIZE) return false;
    ++minimises;
    result = 0;
    return true;
  }
  bool FilterShow(Form&, int showCommand) override {
    shows.push_back(showCommand);
    return showCommand == SW_HIDE;
  }
  int positionChanges = 0;
  int minimises = 0;
  std::vector<int> shows;
};

TEST_F(FormsTest, FiltersSeeTheFormsMessagesAndShowsFirst) {
  TestForm form;
  RecordingFilter filter;
  form.AddFilter(&filter);
  form.CreateForm();
  form.Show();
  EXPECT_TRUE(::IsWindowVisible(form.Hwnd()));
  EXPECT_GT(filter.positionChanges, 0);
  ::SendMessageW(form.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(filter.minimises, 1);
  EXPECT_FALSE(::IsIconic(form.Hwnd()));
  form.Hide();
  EXPECT_TRUE(::IsWindowVisible(form.Hwnd()));
  EXPECT_EQ(filter.shows, (std::vector<int>{SW_SHOW, SW_HIDE}));
}

TEST_F(FormsTest, InnerWindowsHaveTheirWrappers) {
  TestForm form;
  form.CreateForm();
  auto& radios = form.Get<RadioGroup>(u"rgLevel");
  for (int i = 0; i < radios.Count(); ++i) {
    const InnerWindow* button = InnerWindow::FromHwnd(radios.Button(i));
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(&button->Owner(), &radios);
  }
  auto& combo = form.Get<ComboBox>(u"cbChoice");
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetComboBoxInfo(combo.Hwnd(), &info));
  EXPECT_EQ(InnerWindow::FromHwnd(info.hwndItem), &combo.Field());
  EXPECT_EQ(InnerWindow::FromHwnd(info.hwndList), &combo.List());
  EXPECT_EQ(&combo.List().Owner(), &combo);
  // The wrappers go with their windows.
  const HWND field = info.hwndItem;
  ::DestroyWindow(form.Hwnd());
  EXPECT_EQ(combo.Field().Hwnd(), nullptr);
  EXPECT_EQ(InnerWindow::FromHwnd(field), nullptr);
}

// A WM_NOTIFY the form's own controls did not send (none, or one from another thread, as
// another process's would be: its address means nothing here) is not followed, by the form
// or by a panel; neither is a WM_DPICHANGED without its rectangle.
TEST_F(FormsTest, NotificationsFromElsewhereAreNotFollowed) {
  TestForm form;
  form.CreateForm();
  HWND panel = Named(form.Hwnd(), L"pnlBox");
  ASSERT_NE(panel, nullptr);
  const RECT before = InParent(Named(form.Hwnd(), L"edtName"));
  const int dpi = form.Dpi();
  for (HWND target : {form.Hwnd(), panel}) {
    EXPECT_EQ(::SendMessageW(target, WM_NOTIFY, 0, 0), 0);
    std::atomic<bool> done{false};
    std::thread other([&] {
      ::SendMessageW(target, WM_NOTIFY, 0, 0x10);  // an address of another process
      done = true;
    });
    while (!done) {
      Pump();
      ::Sleep(1);
    }
    other.join();
  }
  ::SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), 0);
  EXPECT_EQ(form.Dpi(), dpi);
  const RECT after = InParent(Named(form.Hwnd(), L"edtName"));
  EXPECT_TRUE(::EqualRect(&before, &after));
}

// What a screen reader hears: an edit is named by its cue text, a list by the label whose
// FocusControl names it, and the control's object carries that name with the control's
// role. Where the system hands the object over (WM_GETOBJECT through
// AccessibleObjectFromWindow; Wine 8 cannot marshal it), the name arrives that way too.
TEST_F(FormsTest, ScreenReadersHearTheControlsNames) {
  TestForm form;
  form.CreateForm();
  ::CoInitialize(nullptr);
  const struct {
    const char16_t* control;
    const wchar_t* name;
    long role;
  } cases[] = {
      {u"edtName", L"Логин", ROLE_SYSTEM_TEXT},
      {u"lbItems", L"Метка", ROLE_SYSTEM_LIST},
      {u"btnGo", L"", 0},  // named by its own caption, as the system names it
  };
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.control, c.control + std::char_traits<char16_t>::length(c.control)));
    Control* control = form.FindControl(c.control);
    ASSERT_NE(control, nullptr);
    const std::u16string name = control->AccessibleName();
    EXPECT_EQ(std::wstring(name.begin(), name.end()), c.name);
    if (name.empty()) continue;
    IAccessible* acc = CreateNamedAccessible(control->Hwnd(), name);
    BSTR said = nullptr;
    ASSERT_EQ(acc->get_accName(self, &said), S_OK);
    EXPECT_EQ(std::wstring(said), c.name);
    ::SysFreeString(said);
    // The role is the system's object's where it has one for the control (Wine's names a
    // list a plain client), else the control's own.
    long expectedRole = c.role;
    IAccessible* system = nullptr;
    if (::CreateStdAccessibleObject(control->Hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&system)) == S_OK) {
      VARIANT systemRole;
      ASSERT_EQ(system->get_accRole(self, &systemRole), S_OK);
      expectedRole = systemRole.lVal;
      system->Release();
    }
    VARIANT role;
    ASSERT_EQ(acc->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.lVal, expectedRole);
    acc->Release();

    IAccessible* handed = nullptr;
    if (::AccessibleObjectFromWindow(control->Hwnd(), static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&handed)) == S_OK) {
      ASSERT_EQ(handed->get_accName(self, &said), S_OK);
      EXPECT_EQ(std::wstring(said), c.name);
      ::SysFreeString(said);
      handed->Release();
    }
  }
  ::CoUninitialize();
}

TEST_F(FormsTest, TabOrderFollowsTheLayout) {
  TestForm form;
  form.CreateForm();
  std::vector<std::wstring> order;
  HWND first = ::GetNextDlgTabItem(form.Hwnd(), nullptr, FALSE);
  HWND h = first;
  for (int i = 0; i < 12 && h; ++i) {
    const Control* c = Control::FromHwnd(h);
    order.push_back(c ? win::Wide(c->Name()) : L"(radio)");
    h = ::GetNextDlgTabItem(form.Hwnd(), h, FALSE);
    if (h == first) break;
  }
  EXPECT_EQ(order, (std::vector<std::wstring>{L"btnGo", L"edtSecret", L"edtName", L"lbItems",
                                              L"cbChoice", L"chkOne", L"(radio)"}));
}

TEST_F(FormsTest, ALayoutOnTopOfItsParentClassLayout) {
  TestForm form(kChainChild);
  form.CreateForm();
  EXPECT_EQ(TextOf(form.Hwnd()), L"Child");
  EXPECT_EQ(TextOf(Named(form.Hwnd(), L"btnA")), L"A2");
  EXPECT_EQ(TextOf(Named(form.Hwnd(), L"btnB")), L"B");
  wchar_t cls[64] = {};
  ::GetClassNameW(form.Hwnd(), cls, 64);
  EXPECT_STREQ(cls, L"TfmChainChild");
}

TEST_F(FormsTest, LayoutsThatCannotBeBuiltFailWithTheirReason) {
  struct Case {
    const forms::ComponentClass* cls;
    const char16_t* message;
  };
  const Case cases[] = {
      {&kNothing, u"Resource TfmNothing not found"},
      {&kBadHandler, u"Handler NoSuchHandler for btnX.OnClick not found"},
  };
  for (const Case& c : cases) {
    TestForm form(*c.cls);
    try {
      form.CreateForm();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  // The stored layouts are compressed: without the framework's hook they are rejected.
  forms::SetFormResourceInitializer(nullptr);
  TestForm form;
  try {
    form.CreateForm();
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.Message(), u"Invalid stream format");
  }
}

TEST_F(FormsTest, ResourcesAreFoundWhateverTheCaseAndStoredAsZlib) {
  for (const char16_t* name : {u"TFMFRAMEWORKTEST", u"tfmframeworktest", u"TfmFrameworkTest"}) {
    const auto data = module_.FindRcData(name);
    ASSERT_TRUE(data.has_value());
    ASSERT_GE(data->size(), 2u);
    EXPECT_EQ((*data)[0], 0x78);
    EXPECT_EQ((*data)[1], 0xDA);
  }
  EXPECT_FALSE(module_.FindRcData(u"TfmNothing").has_value());
}

}  // namespace
}  // namespace kq::ui
