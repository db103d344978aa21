// Window shadows in this process: forms of the test program's resources, skinned, with the
// shadow images the build drew (the test program carries them as the launcher does).
#include "../support/PaintedForm.h"
#include "../win/RunningLauncher.h"
#include "UiAutomation.h"
#include "paint/ShadowImages.h"
#include "paint/ShadowWindow.h"
#include "paint/SkinPainter.h"
#include "skins/SkinService.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <ostream>

namespace kq::paint {

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

namespace {

using test::CountGuiObjects;
using test::FlatSkin;
using test::PaintForm;
using test::Pump;

constexpr std::u16string_view kSkin =
    u"[FORM]\r\nCOLOR=#F4F7FB\r\n[CAPTION]\r\nCOLOR=#3B6FC0\r\nFONTCOLOR=#FFFFFF\r\nHEIGHT=22\r\n"
    u"[BORDER]\r\nWIDTH=3\r\nCOLOR=#3B6FC0\r\nBORDERCOLOR=#2A4F8A\r\n";

ShadowOptions Shadows(const ui::Form&) {
  return {.extendedBorders = true};
}

Box WindowBox(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right, r.bottom};
}

HWND NextShownWindow(HWND hwnd) {
  do {
    hwnd = ::GetWindow(hwnd, GW_HWNDNEXT);
  } while (hwnd && !::IsWindowVisible(hwnd));
  return hwnd;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  ::GetClassNameA(hwnd, name, sizeof name);
  return name;
}

class ShadowWindowTest : public test::PaintedFormTest {
 protected:
  void SetUp() override {
    PaintedFormTest::SetUp();
    SkinPainter::Instance().SetShadowImages(ShadowImages::Load(ModulePngResources()));
  }
  void TearDown() override {
    SkinPainter::Instance().Remove();
    SkinPainter::Instance().SetShadowImages(nullptr);
    PaintedFormTest::TearDown();
  }
  using ShadowPolicy = std::function<ShadowOptions(const ui::Form&)>;
  void Skin(ShadowPolicy policy = &Shadows) {
    SkinPainter::Instance().Apply(
        skin_.model, skin_.images, {.settingsFor = [policy](const ui::Form& form) {
          return SkinPainter::Dressing::FormSettings{.shadow = policy(form)};
        }});
  }
  // The form's shadow, shown, lying around the form by the reach of the kind it wears.
  static void ExpectAround(const ui::Form& form) {
    const ShadowWindow* shadow = form.FindFilter<ShadowWindow>();
    ASSERT_NE(shadow, nullptr);
    ASSERT_TRUE(::IsWindowVisible(shadow->Hwnd()));
    EXPECT_EQ(WindowBox(shadow->Hwnd()),
              ShadowBounds(WindowBox(form.Hwnd()), SlicingOf(shadow->Kind()), form.Dpi()));
    // It hides nothing of its form: the mouse finds the form at its edges.
    const Box box = WindowBox(form.Hwnd());
    EXPECT_EQ(::WindowFromPoint({box.left + 1, box.bottom - 2}), form.Hwnd());
    EXPECT_EQ(::WindowFromPoint({box.right - 2, box.top + 1}), form.Hwnd());
  }
  // The form skinned, shown and made the active window, its messages handled.
  void ShowSkinnedAndActive(ui::Form& form) {
    Skin();
    form.Show();
    ::SetForegroundWindow(form.Hwnd());
    Pump();
  }
  static bool ShadowShown(const ui::Form& form) {
    const ShadowWindow* shadow = form.FindFilter<ShadowWindow>();
    return shadow && ::IsWindowVisible(shadow->Hwnd());
  }
  test::Skin skin_ = FlatSkin(kSkin);
};

// A skinned form with extended borders casts a shadow that never takes the focus or the
// mouse, lies around it and follows it when it moves and resizes; hidden or minimised it
// has none, shown or restored again it has it back where it belongs.
TEST_F(ShadowWindowTest, TheShadowLiesAroundTheFormAndFollowsIt) {
  PaintForm form;
  form.CreateForm();
  ShowSkinnedAndActive(form);
  ExpectAround(form);
  HWND shadow = form.FindFilter<ShadowWindow>()->Hwnd();
  const LONG_PTR ex = ::GetWindowLongPtrW(shadow, GWL_EXSTYLE);
  const LONG_PTR wanted = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  EXPECT_EQ(ex & wanted, wanted);
  EXPECT_EQ(::GetWindow(shadow, GW_OWNER), nullptr);
  EXPECT_EQ(::GetActiveWindow(), form.Hwnd());
  // What the screen shows around the form, for a person to look at.
  ASSERT_TRUE(ui::SaveScreenshot(shadow, win::test::ArtifactsFolder() + L"\\shadow-active.bmp"));

  const struct {
    const char* what;
    std::function<void(HWND)> change;
    bool shown;
  } steps[] = {
      {"moved", [](HWND h) { ::SetWindowPos(h, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       true},
      {"resized",
       [](HWND h) { ::SetWindowPos(h, nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER); }, true},
      {"minimised", [](HWND h) { ::ShowWindow(h, SW_MINIMIZE); }, false},
      {"restored", [](HWND h) { ::ShowWindow(h, SW_RESTORE); }, true},
      {"hidden", [](HWND h) { ::ShowWindow(h, SW_HIDE); }, false},
      {"shown", [](HWND h) { ::ShowWindow(h, SW_SHOW); }, true},
      // A fade owns a layered form's opacity: no shadow beside a form that may be half gone.
      {"layered",
       [](HWND h) {
         ::SetWindowLongPtrW(h, GWL_EXSTYLE, ::GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
       },
       false},
      {"opaque again",
       [](HWND h) {
         ::SetWindowLongPtrW(h, GWL_EXSTYLE, ::GetWindowLongPtrW(h, GWL_EXSTYLE) & ~WS_EX_LAYERED);
       },
       true},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(form.Hwnd());
    // Placed just below its form, no shown window between them. (Wine raises a layered
    // window it has drawn anew a little later, past any message; the shadow is clear over
    // the form, so the form shows the same either way.)
    if (step.shown) {
      EXPECT_EQ(NextShownWindow(form.Hwnd()), shadow) << ClassOf(NextShownWindow(form.Hwnd()));
    }
    Pump(100);
    ASSERT_EQ(form.FindFilter<ShadowWindow>()->Hwnd(), shadow);  // the same window throughout
    if (step.shown) {
      ExpectAround(form);
    } else {
      EXPECT_FALSE(::IsWindowVisible(shadow));
    }
  }
  EXPECT_EQ(WindowBox(form.Hwnd()).Width(), 420);

  // The mouse passes through it: over the shadow, the window found is not the shadow.
  const Box box = WindowBox(shadow);
  EXPECT_NE(::WindowFromPoint({box.left + 2, box.bottom - 3}), shadow);
}

// The active form wears the active image and the inactive one the other, each at its own
// reach; activation switches them.
TEST_F(ShadowWindowTest, ActivationSwitchesTheImage) {
  PaintForm first, second;
  first.CreateForm();
  second.CreateForm();
  Skin();
  first.Show();
  second.Show();
  ::SetWindowPos(second.Hwnd(), nullptr, 400, 250, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  for (PaintForm* active : {&first, &second, &first}) {
    PaintForm* other = active == &first ? &second : &first;
    ::SetForegroundWindow(active->Hwnd());
    ::SetActiveWindow(active->Hwnd());
    Pump();
    ASSERT_EQ(::GetActiveWindow(), active->Hwnd());
    EXPECT_EQ(active->FindFilter<ShadowWindow>()->Kind(), ShadowKind::kActive);
    EXPECT_EQ(other->FindFilter<ShadowWindow>()->Kind(), ShadowKind::kInactive);
    ExpectAround(*active);
    ExpectAround(*other);
  }
}

// No extended borders, a form that does not allow them, the skin taken away, the form's
// window destroyed, the form gone: no shadow window is left.
TEST_F(ShadowWindowTest, TheShadowGoesWithItsConditions) {
  PaintForm form, refusing;
  form.CreateForm();
  refusing.CreateForm();
  HWND refusingHwnd = refusing.Hwnd();
  const auto allowOnlyTheFirst = [refusingHwnd](const ui::Form& f) {
    return ShadowOptions{.extendedBorders = true, .allowExtBorders = f.Hwnd() != refusingHwnd};
  };
  Skin(allowOnlyTheFirst);
  form.Show();
  refusing.Show();
  Pump();
  ASSERT_NE(form.FindFilter<ShadowWindow>(), nullptr);
  EXPECT_EQ(refusing.FindFilter<ShadowWindow>(), nullptr);
  HWND shadow = form.FindFilter<ShadowWindow>()->Hwnd();

  Skin([](const ui::Form&) { return ShadowOptions{.extendedBorders = false}; });
  EXPECT_EQ(form.FindFilter<ShadowWindow>(), nullptr);
  EXPECT_FALSE(::IsWindow(shadow));

  Skin();
  shadow = form.FindFilter<ShadowWindow>()->Hwnd();
  ASSERT_TRUE(::IsWindow(shadow));
  SkinPainter::Instance().Remove();
  EXPECT_EQ(form.FindFilter<ShadowWindow>(), nullptr);
  EXPECT_FALSE(::IsWindow(shadow));

  Skin();
  shadow = form.FindFilter<ShadowWindow>()->Hwnd();
  ::DestroyWindow(form.Hwnd());
  EXPECT_FALSE(::IsWindow(shadow));

  HWND laterShadow = nullptr;
  {
    PaintForm later;
    later.CreateForm();  // made while the skin is in force
    later.Show();
    Pump();
    ExpectAround(later);
    laterShadow = later.FindFilter<ShadowWindow>()->Hwnd();
  }
  EXPECT_FALSE(::IsWindow(laterShadow));
}

// The images come from an injected source: a kind whose image is missing, cannot be
// decoded or is not of its slicing's size has no shadow; with neither, a form gets none,
// and nothing fails.
TEST_F(ShadowWindowTest, AMissingOrBadImageMeansNoShadowOfThatKind) {
  const ShadowImages::Source program = ModulePngResources();
  ASSERT_TRUE(program(kActiveShadowResource));
  ASSERT_TRUE(program(kInactiveShadowResource));
  static const std::uint8_t kJunk[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4};
  const struct {
    const char* what;
    std::map<std::u16string, std::optional<ByteView>> resources;
    bool active, inactive;
  } cases[] = {
      {"both", {{u"acSHDA", program(u"acSHDA")}, {u"acSHDI", program(u"acSHDI")}}, true, true},
      {"no active", {{u"acSHDI", program(u"acSHDI")}}, false, true},
      {"undecodable inactive",
       {{u"acSHDA", program(u"acSHDA")}, {u"acSHDI", ByteView(kJunk)}},
       true,
       false},
      {"swapped sizes",
       {{u"acSHDA", program(u"acSHDI")}, {u"acSHDI", program(u"acSHDA")}},
       false,
       false},
      {"none", {}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto images =
        ShadowImages::Load([&c](std::u16string_view name) -> std::optional<ByteView> {
          const auto it = c.resources.find(std::u16string(name));
          return it == c.resources.end() ? std::nullopt : it->second;
        });
    EXPECT_EQ(images->Of(ShadowKind::kActive) != nullptr, c.active);
    EXPECT_EQ(images->Of(ShadowKind::kInactive) != nullptr, c.inactive);

    SkinPainter::Instance().SetShadowImages(images);
    PaintForm form;
    form.CreateForm();
    ShowSkinnedAndActive(form);
    EXPECT_EQ(form.FindFilter<ShadowWindow>() != nullptr, c.active || c.inactive);
    EXPECT_EQ(ShadowShown(form), c.active);  // the form is the active window
    SkinPainter::Instance().Remove();
  }
}

// Twenty forms shown with their shadows and closed leave the process's GDI and USER object
// counts where they were.
TEST_F(ShadowWindowTest, ShowingAndClosingShadowedFormsLeaksNoObjects) {
  Skin();
  const auto cycle = [] {
    PaintForm form;
    form.CreateForm();
    form.Show();
    ::SetWindowPos(form.Hwnd(), nullptr, 0, 0, 380, 260, SWP_NOMOVE | SWP_NOZORDER);
    Pump(30);
    ASSERT_TRUE(ShadowShown(form));
  };
  // One round first: what the system makes once for a process is not the shadow's.
  cycle();
  Pump();
  const test::GuiObjects before = CountGuiObjects();
  for (int i = 0; i < 20; ++i) cycle();
  Pump();
  EXPECT_EQ(CountGuiObjects(), before);
}

// The skin service gives forms a shadow with the skin manager's extended borders only (a
// form without a provider of its own allows them).
TEST_F(ShadowWindowTest, TheSkinServiceFollowsExtendedBorders) {
  PaintForm form;
  form.CreateForm();
  TsSkinSelection& service = skins::SkinService();
  const bool stored = service.Effects.ExtendedBorders;
  service.Effects.ExtendedBorders = false;
  EXPECT_FALSE(skins::FormSkinSettings(form).shadow.Wanted());
  service.Effects.ExtendedBorders = true;
  EXPECT_TRUE(skins::FormSkinSettings(form).shadow.Wanted());
  service.Effects.ExtendedBorders = stored;
}

}  // namespace
}  // namespace kq::paint
