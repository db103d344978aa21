// The skin painter in this process: a form of this test program's resources painted with
// small flat skins, and what the screen shows of it read back pixel by pixel.
#include "../win/RunningLauncher.h"
#include "paint/FrameSkin.h"
#include "paint/SkinImages.h"
#include "paint/SkinPainter.h"
#include "UiAutomation.h"
#include "resources/ModuleResources.h"
#include "skins/SkinService.h"
#include "../support/PaintedForm.h"
#include "ui/Form.h"
#include "win/MessageBox.h"
#include "win/Threads.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kq::paint {
namespace {

using test::FlatSkin;
using test::PaintForm;
using test::Pump;
using test::Skin;
using win::test::ClientPixel;
using win::test::WindowPixel;

bool AnyPixelOf(HWND hwnd, RECT r, COLORREF color) {
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (ClientPixel(hwnd, x, y) == color) return true;
    }
  }
  return false;
}

std::string Hex(COLORREF c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

class SkinPaintTest : public test::PaintedFormTest {
 protected:
  void TearDown() override {
    SkinPainter::Instance().Remove();
    PaintedFormTest::TearDown();
  }
};

constexpr COLORREF Rgb(unsigned hex) {
  return RGB(hex >> 16 & 0xFF, hex >> 8 & 0xFF, hex & 0xFF);
}

struct ColourCase {
  const char* name;
  std::u16string_view text;
  unsigned form, caption, border, button, buttonHot, buttonPressed, buttonDisabled, edit,
      editBorder, selection, checkMark;
};

constexpr std::u16string_view kDark =
    u"[FORM]\r\nCOLOR=#1E1E1E\r\nFONTCOLOR=#E6E6E6\r\n"
    u"[CAPTION]\r\nCOLOR=#0A0A50\r\nFONTCOLOR=#F0F0F0\r\nHEIGHT=24\r\n"
    u"[BORDER]\r\nWIDTH=4\r\nCOLOR=#303030\r\nBORDERCOLOR=#606060\r\n"
    u"[BUTTON]\r\nCOLOR=#333333\r\nCOLOR.HOT=#3C5A78\r\nCOLOR.PRESSED=#14283C\r\n"
    u"COLOR.DISABLED=#2A2A2A\r\nFONTCOLOR=#EEEEEE\r\nFONTCOLOR.DISABLED=#9A9A9A\r\n"
    u"BORDERCOLOR=#777777\r\n"
    u"[EDIT]\r\nCOLOR=#2A2A2A\r\nFONTCOLOR=#E6E6E6\r\nBORDERCOLOR=#5C8A5C\r\n"
    u"[LISTBOX]\r\nCOLOR=#262626\r\nFONTCOLOR=#E6E6E6\r\nBORDERCOLOR=#5C8A5C\r\n"
    u"[SELECTION]\r\nCOLOR=#8C2D2D\r\nFONTCOLOR=#FFFFFF\r\n";

constexpr std::u16string_view kLight =
    u"[FORM]\r\nCOLOR=#F4F7FB\r\nFONTCOLOR=#1F2A36\r\n"
    u"[CAPTION]\r\nCOLOR=#DCE8F5\r\nFONTCOLOR=#1F2A36\r\nHEIGHT=22\r\n"
    u"[BORDER]\r\nWIDTH=3\r\nCOLOR=#A0B4C8\r\nBORDERCOLOR=#708090\r\n"
    u"[BUTTON]\r\nCOLOR=#E8EEF5\r\nCOLOR.HOT=#D0E4FA\r\nCOLOR.PRESSED=#B4CDE6\r\n"
    u"COLOR.DISABLED=#F0F0F0\r\nFONTCOLOR=#1F2A36\r\nBORDERCOLOR=#8AA0B4\r\n"
    u"[EDIT]\r\nCOLOR=#FFFFFF\r\nFONTCOLOR=#1F2A36\r\nBORDERCOLOR=#3B6FC0\r\n"
    u"[SELECTION]\r\nCOLOR=#3B6FC0\r\nFONTCOLOR=#FFFFFF\r\n";

const ColourCase kColourCases[] = {
    {"dark", kDark, 0x1E1E1E, 0x0A0A50, 0x606060, 0x333333, 0x3C5A78, 0x14283C, 0x2A2A2A, 0x2A2A2A,
     0x5C8A5C, 0x8C2D2D, 0xE6E6E6},
    {"light", kLight, 0xF4F7FB, 0xDCE8F5, 0x708090, 0xE8EEF5, 0xD0E4FA, 0xB4CDE6, 0xF0F0F0,
     0xFFFFFF, 0x3B6FC0, 0x3B6FC0, 0x1F2A36},
};

// Each skin's declared colours reach the screen: caption, frame, background, a button in
// its normal, hot, pressed and disabled states, an edit and its outline, the list's
// selection and the mark of a checked box.
TEST_F(SkinPaintTest, TheSkinsColoursReachTheScreen) {
  for (const ColourCase& c : kColourCases) {
    SCOPED_TRACE(c.name);
    PaintForm form;
    form.CreateForm();
    const Skin skin = FlatSkin(c.text);
    SkinPainter::Instance().Apply(skin.model, skin.images);
    HWND hwnd = form.Hwnd();
    form.Show();
    ::SetForegroundWindow(hwnd);
    HWND button = form.FindControl(u"btnFace")->Hwnd();
    HWND edit = form.FindControl(u"edtField")->Hwnd();
    HWND list = form.FindControl(u"lbList")->Hwnd();
    ::SetFocus(edit);
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    ::SetCursorPos(0, 0);
    Pump(300);

    const int border = (*skin.model)[SectionId::kBorder].size;
    EXPECT_EQ(Hex(WindowPixel(hwnd, 0, 0)), Hex(Rgb(c.border)));
    EXPECT_EQ(Hex(WindowPixel(hwnd, border + 2, border + 3)), Hex(Rgb(c.caption)));
    EXPECT_EQ(Hex(ClientPixel(hwnd, 300, 12)), Hex(Rgb(c.form)));
    EXPECT_EQ(Hex(ClientPixel(button, 5, 5)), Hex(Rgb(c.button)));
    EXPECT_EQ(Hex(ClientPixel(edit, 100, 10)), Hex(Rgb(c.edit)));
    EXPECT_EQ(Hex(WindowPixel(edit, 0, 0)), Hex(Rgb(c.editBorder)));
    EXPECT_EQ(Hex(ClientPixel(list, 100, 8)), Hex(Rgb(c.selection)));
    EXPECT_TRUE(AnyPixelOf(form.FindControl(u"chkBox")->Hwnd(), {0, 0, 16, 17}, Rgb(c.checkMark)));

    // Hot under the mouse, pressed, disabled.
    RECT r;
    ::GetWindowRect(button, &r);
    ::SetCursorPos(r.left + 5, r.top + 5);
    Pump(300);
    EXPECT_EQ(Hex(ClientPixel(button, 5, 5)), Hex(Rgb(c.buttonHot)));
    ::SetCursorPos(0, 0);
    ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
    Pump();
    EXPECT_EQ(Hex(ClientPixel(button, 5, 5)), Hex(Rgb(c.buttonPressed)));
    ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
    ::EnableWindow(button, FALSE);
    Pump();
    EXPECT_EQ(Hex(ClientPixel(button, 5, 5)), Hex(Rgb(c.buttonDisabled)));
  }
}

// A check box painted by the skin still checks and unchecks itself when clicked, and
// answers the system's questions about its state; so do the radio group's choices.
TEST_F(SkinPaintTest, PaintedButtonsKeepTheirBehaviour) {
  PaintForm form;
  form.CreateForm();
  const Skin skin = FlatSkin(kDark);
  HWND box = form.FindControl(u"chkBox")->Hwnd();
  ASSERT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SkinPainter::Instance().Apply(skin.model, skin.images);
  EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & 0x0F, BS_OWNERDRAW);
  EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  ::SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  HWND button = form.FindControl(u"btnFace")->Hwnd();
  EXPECT_TRUE(::SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);

  HWND group = form.FindControl(u"rgChoice")->Hwnd();
  HWND second = ::GetWindow(::GetWindow(group, GW_CHILD), GW_HWNDNEXT);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(::SendMessageW(second, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
  ::SendMessageW(second, BM_CLICK, 0, 0);
  EXPECT_EQ(::SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(::GetWindow(group, GW_CHILD), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // Without the skin the system's buttons come back with the states they had.
  SkinPainter::Instance().Remove();
  EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & 0x0F, BS_AUTOCHECKBOX);
  EXPECT_EQ(::SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(::SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
}

// The class lists say which controls the skin paints: a listed class is painted, a control
// whose Tag has the bit 256 and a class no list holds keep the framework's own look, and
// labels are painted whatever the lists say.
TEST_F(SkinPaintTest, TheClassListsChooseTheControlsThatArePainted) {
  PaintForm form;
  form.CreateForm();
  ThirdPartyList lists;
  lists.FillDefaults();  // Button: "TButton"; nothing else listed
  const Skin skin = FlatSkin(kDark);
  SkinPainter::Instance().Apply(
      skin.model, skin.images,
      {.controls = [&lists](const ui::Control& c) { return skins::SkinsControl(lists, c); }});
  const auto kind = [&](const char16_t* name) {
    return ::GetWindowLongPtrW(form.FindControl(name)->Hwnd(), GWL_STYLE) & 0x0F;
  };
  EXPECT_EQ(kind(u"btnFace"), BS_OWNERDRAW);
  EXPECT_EQ(kind(u"btnPlain"), BS_PUSHBUTTON);  // Tag 256
  EXPECT_EQ(kind(u"chkBox"), BS_AUTOCHECKBOX);  // TCheckBox is in no list here
  const SkinLook* look = SkinPainter::Instance().Look();
  EXPECT_EQ(&form.FindControl(u"lblText")->GetLook(), look);
  EXPECT_EQ(&form.FindControl(u"btnFace")->GetLook(), look);
  EXPECT_NE(&form.FindControl(u"btnPlain")->GetLook(), look);
  EXPECT_NE(&form.FindControl(u"edtField")->GetLook(), look);
}

// The skinned frame keeps the client area's size; taking the skin away gives the system's
// frame back, of the same client size. Forms made while a skin is in force wear it too.
TEST_F(SkinPaintTest, TheFrameComesAndGoesAroundTheSameClientArea) {
  PaintForm form;
  form.CreateForm();
  HWND hwnd = form.Hwnd();
  RECT plain;
  ::GetClientRect(hwnd, &plain);
  const Skin skin = FlatSkin(kDark);
  SkinPainter::Instance().Apply(skin.model, skin.images);
  RECT client, window;
  ::GetClientRect(hwnd, &client);
  ::GetWindowRect(hwnd, &window);
  EXPECT_EQ(client.right, plain.right);
  EXPECT_EQ(client.bottom, plain.bottom);
  EXPECT_EQ(window.right - window.left, plain.right + 2 * 4);
  EXPECT_EQ(window.bottom - window.top, plain.bottom + 24 + 2 * 4);
  EXPECT_FALSE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION);

  // The frame answers the mouse as a caption does: buttons, caption, the menu's edge.
  const auto hit = [&](int x, int y) {
    return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + x, window.top + y));
  };
  EXPECT_EQ(hit(30, 12), HTCAPTION);
  EXPECT_EQ(hit(5, 12), HTSYSMENU);
  EXPECT_EQ(hit(window.right - window.left - 10, 14), HTCLOSE);
  EXPECT_EQ(hit(50, 60), HTCLIENT);

  PaintForm later;
  later.CreateForm();
  EXPECT_NE(later.FindFilter<FrameSkin>(), nullptr);
  EXPECT_EQ(&later.GetLook(), SkinPainter::Instance().Look());

  SkinPainter::Instance().Remove();
  ::GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, plain.right);
  EXPECT_EQ(client.bottom, plain.bottom);
  EXPECT_TRUE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(form.FindFilter<FrameSkin>(), nullptr);
}

// Switching skins a hundred times on a shown form, its window menu opened each time, leaves
// the process's GDI and USER object counts where they were; so does taking the skin away.
// The program's icon sits at the caption's left and opens the window menu, where the
// provider shows it and the form's system frame would; the title moves past it.
TEST_F(SkinPaintTest, TheAppIconOnlyWhereShownAndNeverOnADialogFrame) {
  const struct {
    const char* name;
    bool show, dialog, icon;
  } cases[] = {
      {"shown", true, false, true},
      {"ShowAppIcon off", false, false, false},
      {"dialog frame", true, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PaintForm form;
    form.CreateForm();
    HWND hwnd = form.Hwnd();
    if (c.dialog) {
      ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE,
                          ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_DLGMODALFRAME);
    }
    const Skin skin = FlatSkin(kDark);
    SkinPainter::Instance().Apply(
        skin.model, skin.images, {.settingsFor = [&c](const ui::Form&) {
          return SkinPainter::Dressing::FormSettings{.showAppIcon = c.show};
        }});
    RECT window;
    ::GetWindowRect(hwnd, &window);
    // Border 4, caption 24: the icon's 16 pixels begin 4 past the border.
    const LRESULT onIcon =
        ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 20, window.top + 16));
    EXPECT_EQ(onIcon, c.icon ? HTSYSMENU : HTCAPTION);
    const FrameLayout f = LayoutFrame(*skin.model, 300, 200, {.icon = c.show && !c.dialog});
    EXPECT_EQ(f.title.left, c.icon ? 4 + 4 + 16 + 4 : 4 + 6 + 2);
    SkinPainter::Instance().Remove();
  }
}

// A provider can keep the system's frame, or the framework's own client look, for its form.
TEST_F(SkinPaintTest, TheProviderChoosesWhichAreasTheSkinDraws) {
  const struct {
    bool client, nonClient;
  } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("client ") + (c.client ? "on" : "off") + ", frame " +
                 (c.nonClient ? "on" : "off"));
    PaintForm form;
    form.CreateForm();
    const Skin skin = FlatSkin(kDark);
    SkinPainter::Instance().Apply(skin.model, skin.images, {.settingsFor = [&c](const ui::Form&) {
                                    return SkinPainter::Dressing::FormSettings{
                                        .drawClientArea = c.client,
                                        .drawNonClientArea = c.nonClient};
                                  }});
    EXPECT_EQ(&form.GetLook() == SkinPainter::Instance().Look(), c.client);
    EXPECT_EQ(form.FindFilter<FrameSkin>() != nullptr, c.nonClient);
    EXPECT_EQ((::GetWindowLongPtrW(form.Hwnd(), GWL_STYLE) & WS_CAPTION) == WS_CAPTION,
              !c.nonClient);
    EXPECT_NE(form.FindFilter<FormEffects>(), nullptr) << "the effects whatever is drawn";
    SkinPainter::Instance().Remove();
  }
}

TEST_F(SkinPaintTest, SwitchingSkinsLeaksNoObjects) {
  PaintForm form;
  form.CreateForm();
  form.Show();
  HWND hwnd = form.Hwnd();
  const Skin skins[] = {FlatSkin(kDark), FlatSkin(kLight)};
  const auto cycle = [&](int i) {
    SkinPainter::Instance().Apply(skins[i % 2].model, skins[i % 2].images);
    ::SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(hwnd, FALSE)),
                   MAKELPARAM(0, TRUE));
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  };
  test::ExpectSwitchingLeavesNoObjects(cycle);
}

// A 24-bit BMP of the given pixels (rows from the top, 0xRRGGBB).
Bytes Bmp(int width, int height, const std::vector<unsigned>& pixels) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const int size = 54 + stride * height;
  Bytes out(static_cast<std::size_t>(size), 0);
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, static_cast<std::uint32_t>(size));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  out[26] = 1;
  out[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned rgb = pixels[static_cast<std::size_t>(y * width + x)];
      const std::size_t at = 54 + static_cast<std::size_t>((height - 1 - y) * stride + x * 3);
      out[at] = static_cast<std::uint8_t>(rgb);
      out[at + 1] = static_cast<std::uint8_t>(rgb >> 8);
      out[at + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
  return out;
}

// A frame tiled with an image repeats it from the window's corner to its far edges without
// a seam, whether the tile is large (a copy each) or so small that it is first laid out into
// a larger block (a 3x2 tile would take thousands of copies).
TEST_F(SkinPaintTest, TiledFacesRepeatToTheFarEdgesWhateverTheTileSize) {
  struct Case {
    const char* name;
    int width, height;
  } const cases[] = {{"3x2 tile", 3, 2}, {"1x1 tile", 1, 1}, {"40x30 tile", 40, 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<unsigned> tile;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        tile.push_back(0x204060u +
                       static_cast<unsigned>(x * 0x1B + y * 0x2D00 + 0x0B0000 * (x % 2)));
      }
    }
    const Bytes bmp = Bmp(c.width, c.height, tile);
    const ModelResult built = BuildSkinModel(
        SkinIni::Parse(u"[FORM]\r\nCOLOR=#1E1E1E\r\n[CAPTION]\r\nCOLOR=#0A0A50\r\nHEIGHT=24\r\n"
                       u"[BORDER]\r\nWIDTH=6\r\nCOLOR=#303030\r\nIMAGE=tile.bmp\r\nMODE=TILE\r\n"));
    ASSERT_TRUE(built.errors.empty());
    const auto model = std::make_shared<const SkinModel>(built.model);
    const std::shared_ptr<const SkinImages> images =
        SkinImages::Load(*model, [&](const std::u16string&) { return std::optional<Bytes>(bmp); });
    PaintForm form;
    form.CreateForm();
    SkinPainter::Instance().Apply(model, images);
    HWND hwnd = form.Hwnd();
    form.Show();
    Pump(300);

    RECT r;
    ::GetWindowRect(hwnd, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const auto expected = [&](int x, int y) {
      return Hex(Rgb(tile[static_cast<std::size_t>((y % c.height) * c.width + x % c.width)]));
    };
    for (int y = 40; y < h; y += 7) {  // the left and right edges, below the caption
      for (int x : {0, 3, 5, w - 6, w - 4, w - 1}) {
        ASSERT_EQ(Hex(WindowPixel(hwnd, x, y)), expected(x, y)) << x << "," << y;
      }
    }
    for (int x = 0; x < w; x += 5) {  // the bottom edge
      for (int y : {h - 6, h - 3, h - 1}) {
        ASSERT_EQ(Hex(WindowPixel(hwnd, x, y)), expected(x, y)) << x << "," << y;
      }
    }
    EXPECT_EQ(Hex(WindowPixel(hwnd, w - 1, h - 1)), expected(w - 1, h - 1));
    SkinPainter::Instance().Remove();
  }
}

// A message box shown while a skin is in force takes the skin's background and button face,
// and its button still closes it; each box is dressed afresh, and none once the skin is gone.
TEST_F(SkinPaintTest, MessageBoxesAreShownInTheSkinInForce) {
  const Skin skin = FlatSkin(kDark);
  struct Case {
    const char* name;
    bool skinned;
  } const cases[] = {{"first box", true}, {"second box", true}, {"no skin", false}};
  SkinPainter::Instance().Apply(skin.model, skin.images);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.skinned) SkinPainter::Instance().Remove();
    struct Seen {
      bool found = false, closedByItsButton = false;
      LONG_PTR buttonKind = -1;
      COLORREF background = CLR_INVALID, face = CLR_INVALID;
    } seen;
    const win::KernelHandle watcher = win::StartThread([&seen] {
      HWND box = ui::WaitTopWindow(L"#32770", 10000, ::GetCurrentProcessId(), true);
      if (!box) return;
      seen.found = true;
      ::Sleep(300);  // shown and painted
      HWND ok = ::GetDlgItem(box, IDOK);
      seen.buttonKind = ::GetWindowLongPtrW(ok, GWL_STYLE) & 0x0F;
      seen.background = ClientPixel(box, 2, 2);
      seen.face = ClientPixel(ok, 5, 5);
      ::SendMessageW(ok, BM_CLICK, 0, 0);
      for (int waited = 0; ::IsWindow(box) && waited < 3000; waited += 20) ::Sleep(20);
      seen.closedByItsButton = !::IsWindow(box);
      if (::IsWindow(box)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    win::ShowMessageBox(win::MessageKind::kError, u"Сервер временно недоступен.", u"Error");
    ::WaitForSingleObject(watcher.Get(), INFINITE);

    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.closedByItsButton);
    EXPECT_EQ(seen.buttonKind == BS_OWNERDRAW, c.skinned);
    EXPECT_EQ(Hex(seen.background) == Hex(Rgb(0x1E1E1E)), c.skinned) << Hex(seen.background);
    EXPECT_EQ(Hex(seen.face) == Hex(Rgb(0x333333)), c.skinned) << Hex(seen.face);
  }
}

}  // namespace
}  // namespace kq::paint
