// The scroll bars of a list and of a combo box's dropped-down list drawn by the skin, read
// back from the screen: their colours, and scrolling by every means still working.
#include "../support/PaintedForm.h"
#include "paint/SkinPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace kq::paint {
namespace {

using test::FlatSkin;
using test::Pump;
using test::Skin;
using win::test::ClientPixel;

inline const forms::ComponentClass kScrollClass{u"TfmScrollTest", &ui::kFormClass};

class ScrollForm final : public ui::Form {
 public:
  const forms::ComponentClass& ClassInfo() const override { return kScrollClass; }
};

constexpr COLORREF Rgb(unsigned hex) {
  return RGB(hex >> 16 & 0xFF, hex >> 8 & 0xFF, hex & 0xFF);
}

struct Palette {
  const char* name;
  std::u16string_view text;
  unsigned track, thumb, arrow, list, selection;
};

// Scroll bars drawn flat: COLOR the track, BORDERCOLOR the thumb, FONTCOLOR the arrows.
const Palette kPalettes[] = {
    {"dark",
     u"[FORM]\r\nCOLOR=#1E1E1E\r\nFONTCOLOR=#E6E6E6\r\n"
     u"[LISTBOX]\r\nCOLOR=#262626\r\nFONTCOLOR=#E6E6E6\r\nBORDERCOLOR=#5C8A5C\r\n"
     u"[SELECTION]\r\nCOLOR=#8C2D2D\r\nFONTCOLOR=#FFFFFF\r\n"
     u"[SCROLLBAR]\r\nCOLOR=#2E3440\r\nBORDERCOLOR=#7A8599\r\nBORDERCOLOR.HOT=#A3B4D2\r\n"
     u"FONTCOLOR=#D8DEE9\r\n",
     0x2E3440, 0x7A8599, 0xD8DEE9, 0x262626, 0x8C2D2D},
    {"light",
     u"[FORM]\r\nCOLOR=#F4F7FB\r\nFONTCOLOR=#1F2A36\r\n"
     u"[EDIT]\r\nCOLOR=#FFFFFF\r\nFONTCOLOR=#1F2A36\r\nBORDERCOLOR=#3B6FC0\r\n"
     u"[SELECTION]\r\nCOLOR=#3B6FC0\r\nFONTCOLOR=#FFFFFF\r\n"
     u"[SCROLLBAR]\r\nCOLOR=#E4ECF4\r\nBORDERCOLOR=#9DB0C4\r\nFONTCOLOR=#33475B\r\n",
     0xE4ECF4, 0x9DB0C4, 0x33475B, 0xFFFFFF, 0x3B6FC0},
};

// The window's vertical bar on the screen, in window coordinates; empty when hidden.
RECT BarOf(HWND hwnd) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (!::GetScrollBarInfo(hwnd, OBJID_VSCROLL, &info) ||
      (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
    return {};
  }
  RECT window;
  ::GetWindowRect(hwnd, &window);
  RECT bar = info.rcScrollBar;
  ::OffsetRect(&bar, -window.left, -window.top);
  return bar;
}

// What the screen shows down the middle of the bar.
std::vector<COLORREF> Column(HWND hwnd) {
  const RECT bar = BarOf(hwnd);
  std::vector<COLORREF> column;
  for (int y = bar.top; y < bar.bottom; ++y)
    column.push_back(win::test::WindowPixel(hwnd, (bar.left + bar.right) / 2, y));
  return column;
}

bool Has(const std::vector<COLORREF>& column, COLORREF c) {
  return std::find(column.begin(), column.end(), c) != column.end();
}

// The middle of the rows showing the colour; -1 when none does.
double Centre(const std::vector<COLORREF>& column, COLORREF c) {
  double sum = 0;
  int n = 0;
  for (std::size_t y = 0; y < column.size(); ++y) {
    if (column[y] == c) sum += static_cast<double>(y), ++n;
  }
  return n ? sum / n : -1;
}

// The track and arrows are the skin's, and nothing is in the system's bar colours.
void ExpectSkinnedBut(const std::vector<COLORREF>& column, const Palette& p) {
  ASSERT_FALSE(column.empty()) << "no scroll bar";
  EXPECT_TRUE(Has(column, Rgb(p.track))) << "track";
  EXPECT_TRUE(Has(column, Rgb(p.arrow))) << "arrows";
  for (int sys : {COLOR_SCROLLBAR, COLOR_BTNFACE, COLOR_3DSHADOW}) {
    EXPECT_FALSE(Has(column, ::GetSysColor(sys))) << "the system's colour " << sys;
  }
}

// The bar is the skin's: track, thumb and arrows in its colours, nothing of the system's.
void ExpectSkinned(HWND hwnd, const Palette& p) {
  const std::vector<COLORREF> column = Column(hwnd);
  ExpectSkinnedBut(column, p);
  EXPECT_TRUE(Has(column, Rgb(p.thumb))) << "thumb";
}

// Presses and releases the left button at a point of the screen, moving to `to` between.
void Click(POINT at, POINT to) {
  const auto abs = [](POINT p, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
  };
  INPUT inputs[] = {abs(at, 0), abs(at, MOUSEEVENTF_LEFTDOWN), abs(to, 0),
                    abs(to, MOUSEEVENTF_LEFTUP)};
  ::SendInput(4, inputs, sizeof(INPUT));
}

POINT OnScreen(HWND hwnd, int x, int y) {
  RECT window;
  ::GetWindowRect(hwnd, &window);
  return {window.left + x, window.top + y};
}

int TopIndex(HWND list) {
  return static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
}

class ScrollPaintTest : public test::PaintedFormTest {
 protected:
  void SetUp() override {
    PaintedFormTest::SetUp();
    form_.CreateForm();
    form_.Show();
    ::SetForegroundWindow(form_.Hwnd());
    list_ = form_.FindControl(u"lbWorlds")->Hwnd();
    combo_ = form_.FindControl(u"cbChoice")->Hwnd();
    ::SetCursorPos(0, 0);
  }
  void TearDown() override {
    SkinPainter::Instance().Remove();
    PaintedFormTest::TearDown();
  }
  void Apply(const Skin& skin) {
    SkinPainter::Instance().Apply(skin.model, skin.images);
    Pump(200);
  }

  ScrollForm form_;
  HWND list_ = nullptr;
  HWND combo_ = nullptr;
};

// In a dark and a light skin the list's bar takes the skin's colours; a list with nothing
// to scroll shows no bar.
TEST_F(ScrollPaintTest, TheListsBarTakesTheSkinsColours) {
  for (const Palette& p : kPalettes) {
    SCOPED_TRACE(p.name);
    const Skin skin = FlatSkin(p.text);
    Apply(skin);
    ExpectSkinned(list_, p);
    const std::vector<COLORREF> column = Column(list_);
    EXPECT_LT(Centre(column, Rgb(p.thumb)), static_cast<double>(column.size()) / 3)
        << "the thumb at the top";
    const RECT none = BarOf(form_.FindControl(u"lbShort")->Hwnd());
    EXPECT_TRUE(::IsRectEmpty(&none));
  }
}

// Every way of scrolling still scrolls the list, and the bar stays the skin's with the
// thumb moved down: the arrow, the track, the thumb dragged, the wheel, the keyboard.
TEST_F(ScrollPaintTest, EveryWayOfScrollingStillScrollsUnderTheSkin) {
  const Palette& p = kPalettes[0];
  const Skin skin = FlatSkin(p.text);
  Apply(skin);
  RECT client;
  ::GetClientRect(list_, &client);
  const int page = client.bottom / 16;
  const int last = 20 - page;
  const RECT bar = BarOf(list_);
  const int x = (bar.left + bar.right) / 2;
  const int arrow = bar.right - bar.left;
  const struct {
    const char* what;
    std::function<void()> scroll;
    int top;  // -1: any below the first
  } cases[] = {
      {"down arrow",
       [&] { Click(OnScreen(list_, x, bar.bottom - arrow / 2), OnScreen(list_, x, bar.bottom - arrow / 2)); },
       1},
      {"track below the thumb",
       [&] { Click(OnScreen(list_, x, bar.bottom - arrow - 4), OnScreen(list_, x, bar.bottom - arrow - 4)); },
       page},
      {"thumb dragged to the end",
       [&] { Click(OnScreen(list_, x, bar.top + arrow + 4), OnScreen(list_, x, bar.bottom + 40)); },
       last},
      {"wheel",
       [&] {
         POINT at = OnScreen(list_, 20, 20);
         ::SendMessageW(list_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(at.x, at.y));
       },
       -1},
      {"Down key, eight times from the first item",
       [&] {
         ::SetFocus(list_);
         ::SendMessageW(list_, LB_SETCURSEL, 0, 0);
         for (int i = 0; i < 8; ++i) ::SendMessageW(list_, WM_KEYDOWN, VK_DOWN, 0);
       },
       8 - page + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::SendMessageW(list_, LB_SETTOPINDEX, 0, 0);
    ::SetCursorPos(0, 0);
    Pump(200);
    const double before = Centre(Column(list_), Rgb(p.thumb));
    c.scroll();
    Pump(300);
    ::SetCursorPos(0, 0);
    Pump(200);
    if (c.top < 0)
      EXPECT_GT(TopIndex(list_), 0);
    else
      EXPECT_EQ(TopIndex(list_), c.top);
    ExpectSkinned(list_, p);
    EXPECT_GT(Centre(Column(list_), Rgb(p.thumb)), before) << "the thumb moved down";
  }
}

// The thumb lights under the mouse and goes out when the mouse leaves, always in the skin's
// colours: the system's bar, which would light its own piece, never shows.
TEST_F(ScrollPaintTest, HoveringLightsTheThumbAndLeavingPutsItOut) {
  const Palette& p = kPalettes[0];
  constexpr COLORREF kHot = Rgb(0xA3B4D2);
  const Skin skin = FlatSkin(p.text);
  Apply(skin);
  const RECT bar = BarOf(list_);
  const POINT thumb = OnScreen(list_, (bar.left + bar.right) / 2,
                               bar.top + (bar.right - bar.left) + 6);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ::SetCursorPos(thumb.x, thumb.y);
    Pump(300);
    std::vector<COLORREF> column = Column(list_);
    EXPECT_TRUE(Has(column, kHot));
    EXPECT_FALSE(Has(column, Rgb(p.thumb)));
    ExpectSkinnedBut(column, p);
    // The system finds the mouse gone by a timer of the hover time (400 ms by default).
    ::SetCursorPos(0, 0);
    Pump(800);
    column = Column(list_);
    EXPECT_FALSE(Has(column, kHot));
    ExpectSkinned(list_, p);
  }
}

// The dropped-down list draws its items on the list's colour and the selected one in the
// skin's selection colour, follows the keyboard, and has the skin's bar.
TEST_F(ScrollPaintTest, TheDroppedListShowsTheSkinsSelection) {
  for (const Palette& p : kPalettes) {
    SCOPED_TRACE(p.name);
    const Skin skin = FlatSkin(p.text);
    Apply(skin);
    ::SendMessageW(combo_, CB_SETCURSEL, 3, 0);
    ::SetFocus(combo_);
    ::SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
    Pump(300);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo_, &info));
    HWND list = info.hwndList;
    ASSERT_TRUE(::IsWindowVisible(list));
    const int height = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const auto row = [&](int item) {
      RECT client;
      ::GetClientRect(list, &client);
      return ClientPixel(list, client.right - 6, (item - TopIndex(list)) * height + height / 2);
    };
    EXPECT_EQ(row(3), Rgb(p.selection));
    EXPECT_EQ(row(4), Rgb(p.list));
    ::SendMessageW(combo_, WM_KEYDOWN, VK_DOWN, 0);
    Pump(200);
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(row(4), Rgb(p.selection));
    EXPECT_EQ(row(3), Rgb(p.list));
    ExpectSkinned(list, p);
    ::SendMessageW(combo_, CB_SHOWDROPDOWN, FALSE, 0);
    Pump(100);
  }
}

// Without a skin the bar is the system's, pixel for pixel as before the skin came and went.
TEST_F(ScrollPaintTest, WithoutASkinTheBarIsTheSystems) {
  ::SendMessageW(list_, LB_SETTOPINDEX, 5, 0);
  Pump(200);
  const std::vector<COLORREF> system = Column(list_);
  ASSERT_FALSE(system.empty());
  EXPECT_TRUE(Has(system, ::GetSysColor(COLOR_BTNFACE)) ||
              Has(system, ::GetSysColor(COLOR_SCROLLBAR)));
  const Skin skin = FlatSkin(kPalettes[1].text);
  Apply(skin);
  EXPECT_NE(Column(list_), system);
  SkinPainter::Instance().Remove();
  Pump(200);
  EXPECT_EQ(Column(list_), system);
  EXPECT_EQ(TopIndex(list_), 5);
}

// A hundred skin switches over a scrolled list and a dropped list leave the process's GDI
// and USER object counts where they were.
TEST_F(ScrollPaintTest, SwitchingSkinsOverScrolledListsLeaksNoObjects) {
  const Skin skins[] = {FlatSkin(kPalettes[0].text), FlatSkin(kPalettes[1].text)};
  ::SendMessageW(list_, LB_SETTOPINDEX, 7, 0);
  const auto cycle = [&](int i) {
    SkinPainter::Instance().Apply(skins[i % 2].model, skins[i % 2].images);
    ::SendMessageW(combo_, CB_SHOWDROPDOWN, TRUE, 0);
    ::RedrawWindow(form_.Hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::SendMessageW(list_, WM_VSCROLL, SB_LINEDOWN, 0);
    ::SendMessageW(list_, WM_VSCROLL, SB_LINEUP, 0);
    ::SendMessageW(combo_, CB_SHOWDROPDOWN, FALSE, 0);
  };
  test::ExpectSwitchingLeavesNoObjects(cycle);
  EXPECT_EQ(TopIndex(list_), 7);
}

}  // namespace
}  // namespace kq::paint
