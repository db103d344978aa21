// A skinned form's effects in this process: the caption-drag translucency through the
// system's own move loop, the ghosts of minimising, closing and changing skins, each with its
// switch, and nothing left behind.
#include "../support/PaintedForm.h"
#include "paint/FormEffects.h"
#include "paint/FrameSkin.h"
#include "paint/Ghost.h"
#include "paint/SkinPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kq::paint {
namespace {

constexpr std::u16string_view kSkin =
    u"[FORM]\r\nCOLOR=#204060\r\nFONTCOLOR=#FFFFFF\r\n"
    u"[CAPTION]\r\nCOLOR=#602040\r\nFONTCOLOR=#FFFFFF\r\nHEIGHT=24\r\n";

using test::CountGuiObjects;
using test::FlatSkin;
using test::GuiObjects;
using test::PaintForm;
using test::Pump;
using test::Skin;

class FormEffectsTest : public test::PaintedFormTest {
 protected:
  void TearDown() override {
    SkinPainter::Instance().Remove();
    PaintedFormTest::TearDown();
  }
  void Dress(const FormEffectSettings& effects) {
    const Skin skin = FlatSkin(kSkin);
    SkinPainter::Instance().Apply(
        skin.model, skin.images,
        {.settingsFor = [effects](const ui::Form&) {
          return SkinPainter::Dressing::FormSettings{.effects = effects};
        }});
  }
  // The form on screen, skinned, with these effects.
  void ShowDressed(const FormEffectSettings& effects) {
    form_.CreateForm();
    Dress(effects);
    form_.Show();
    Pump(100);
  }
  HWND Hwnd() const { return form_.Hwnd(); }
  PaintForm form_;
};

// The form's opacity as the layered window has it; 255 when it is not layered.
int Opacity(HWND hwnd) {
  if (!(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!::GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) {
    return 255;
  }
  return alpha;
}

// Presses the mouse on the caption and lets the system's move loop run, looking at the
// window every 10 ms until the button is released `releaseAfterMs` later.
struct DragSeen {
  std::vector<int> opacities;  // in the drag, in order
  bool layeredLate = false;
};
struct Drag {
  DragSeen seen;
  HWND target = nullptr;
  DWORD start = 0;
  int releaseAt = 0;
};
Drag g_drag;

void CALLBACK WatchDrag(HWND, UINT, UINT_PTR id, DWORD) {
  g_drag.seen.opacities.push_back(Opacity(g_drag.target));
  if (static_cast<int>(::GetTickCount() - g_drag.start) >= g_drag.releaseAt) {
    g_drag.seen.layeredLate =
        (::GetWindowLongPtrW(g_drag.target, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    ::KillTimer(nullptr, id);
    ::PostMessageW(g_drag.target, WM_LBUTTONUP, 0, MAKELPARAM(60, 10));
    ::PostMessageW(g_drag.target, WM_KEYDOWN, VK_RETURN, 0);  // ends a loop that ignored the up
  }
}

DragSeen DragByCaption(HWND hwnd, int releaseAfterMs) {
  g_drag = {.target = hwnd, .start = ::GetTickCount(), .releaseAt = releaseAfterMs};
  RECT w;
  ::GetWindowRect(hwnd, &w);
  const POINT onCaption{w.left + 60, w.top + 10};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, &WatchDrag);
  ::SetCursorPos(onCaption.x, onCaption.y);
  ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(onCaption.x, onCaption.y));
  ::KillTimer(nullptr, timer);
  return g_drag.seen;
}

TEST_F(FormEffectsTest, CaptionDragFadesTowardTheBlendValueAndEndsOpaque) {
  FormEffectSettings effects;
  effects.anim.BlendOnMoving = {true, 200, 600};  // 50 ticks
  ShowDressed(effects);
  ASSERT_NE(form_.FindFilter<FrameSkin>(), nullptr);

  const DragSeen seen = DragByCaption(Hwnd(), 900);
  ASSERT_FALSE(seen.opacities.empty());
  // Down in steps, never back up while the button is held, and there in the end.
  EXPECT_TRUE(std::is_sorted(seen.opacities.rbegin(), seen.opacities.rend()));
  EXPECT_TRUE(std::any_of(seen.opacities.begin(), seen.opacities.end(),
                          [](int o) { return o > 200 && o < 255; }));
  EXPECT_EQ(seen.opacities.back(), 200);
  EXPECT_TRUE(seen.layeredLate);
  // The button is up: opaque again, and no longer a layered window as before the drag.
  EXPECT_EQ(Opacity(Hwnd()), 255);
  EXPECT_FALSE(::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(form_.FindFilter<FormEffects>()->Blending());
}

TEST_F(FormEffectsTest, CaptionDragStaysOpaqueWhenSwitchedOffOrTheOpacityIsTaken) {
  const struct {
    const char* name;
    bool active, allowed;
    int blendValue;
    bool taken;
    bool systemCaption = false;
  } cases[] = {
      {"BlendOnMoving off", false, true, 200, false},
      {"AllowBlendOnMoving off", true, false, 200, false},
      {"BlendValue 255", true, true, 255, false},
      {"the world-entry fade owns the opacity", true, true, 200, true},
      {"the system's caption (DrawNonClientArea off)", true, true, 200, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PaintForm form;
    form.CreateForm();
    FormEffectSettings effects;
    effects.anim.BlendOnMoving = {c.active, c.blendValue, 24};
    effects.allowBlendOnMoving = c.allowed;
    const Skin skin = FlatSkin(kSkin);
    SkinPainter::Instance().Apply(
        skin.model, skin.images, {.settingsFor = [&](const ui::Form&) {
          return SkinPainter::Dressing::FormSettings{.effects = effects,
                                                     .drawNonClientArea = !c.systemCaption};
        }});
    form.Show();
    Pump(50);
    if (c.taken) {
      // As the fade does it: layered, at an opacity of its own.
      ::SetWindowLongPtrW(form.Hwnd(), GWL_EXSTYLE,
                          ::GetWindowLongPtrW(form.Hwnd(), GWL_EXSTYLE) | WS_EX_LAYERED);
      ::SetLayeredWindowAttributes(form.Hwnd(), 0, 90, LWA_ALPHA);
      form.TakeOpacity();
    }
    const int before = Opacity(form.Hwnd());
    const DragSeen seen = DragByCaption(form.Hwnd(), 150);
    ASSERT_FALSE(seen.opacities.empty());
    EXPECT_EQ(*std::min_element(seen.opacities.begin(), seen.opacities.end()), before);
    EXPECT_EQ(Opacity(form.Hwnd()), before);
    SkinPainter::Instance().Remove();
  }
}

// The ghosts there are: their windows, by class.
int GhostWindows() {
  int n = 0;
  for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, L"KQGhost", nullptr));) ++n;
  return n;
}

void PlayGhostsOut() {
  FinishGhosts();
  EXPECT_EQ(GhostCount(), 0);
  EXPECT_EQ(GhostWindows(), 0);
}

TEST_F(FormEffectsTest, MinimisingPlaysAGhostWhileTheWindowIsAlreadyDown) {
  const struct {
    const char* name;
    TacFormAnimation minimizing;
    bool allowAnimation;
    bool ghost;
  } cases[] = {
      {"on", {true, 300, AnimType::atAero}, true, true},
      {"Minimizing off", {false, 300, AnimType::atAero}, true, false},
      {"time 0", {true, 0, AnimType::atAero}, true, false},
      {"AllowAnimation off", {true, 300, AnimType::atAero}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PaintForm form;
    form.CreateForm();
    FormEffectSettings effects;
    effects.anim.Minimizing = c.minimizing;
    effects.allowAnimation = c.allowAnimation;
    Dress(effects);
    form.Show();
    Pump(50);
    const DWORD before = ::GetTickCount();
    ::SendMessageW(form.Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    // The window thread was not held for the animation.
    EXPECT_LT(::GetTickCount() - before, 200u);
    EXPECT_TRUE(::IsIconic(form.Hwnd()));
    EXPECT_EQ(GhostCount(), c.ghost ? 1 : 0);
    if (c.ghost) {
      HWND ghost = ::FindWindowExW(nullptr, nullptr, L"KQGhost", nullptr);
      ASSERT_NE(ghost, nullptr);
      EXPECT_TRUE(::IsWindowVisible(ghost));
      const LONG_PTR ex = ::GetWindowLongPtrW(ghost, GWL_EXSTYLE);
      EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE),
                WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
      EXPECT_NE(::GetForegroundWindow(), ghost);
      RECT first;
      ::GetWindowRect(ghost, &first);
      Pump(200);
      RECT later;
      ::GetWindowRect(ghost, &later);
      // On its way down to the taskbar, smaller.
      EXPECT_GT(later.top, first.top);
      EXPECT_LT(later.right - later.left, first.right - first.left);
      FinishGhosts();
      EXPECT_LT(::GetTickCount() - before, 300u + 100u);
    }
    PlayGhostsOut();
    SkinPainter::Instance().Remove();
  }
}

TEST_F(FormEffectsTest, ClosingTheProgramsFormLeavesAGhostThatTheEndPlaysOut) {
  FormEffectSettings effects;
  effects.anim.FormHide = {true, 250, AnimType::atAero};
  ShowDressed(effects);
  HWND hwnd = Hwnd();
  form_.Close();
  // The window went at once; its picture plays on.
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(GhostCount(), 1);
  const DWORD before = ::GetTickCount();
  FinishGhosts();
  const DWORD took = ::GetTickCount() - before;
  EXPECT_LE(took, 250u + 100u);
  EXPECT_EQ(GhostCount(), 0);
  EXPECT_EQ(GhostWindows(), 0);
}

// The end of the program plays its ghosts frame by frame, not in a jump to the last one.
TEST_F(FormEffectsTest, FinishingPlaysEveryFrameOnTheWay) {
  ShowDressed({});
  int frames = 0;
  double last = -1;
  bool ordered = true;
  RECT r;
  ::GetWindowRect(Hwnd(), &r);
  const Box window{r.left, r.top, r.right, r.bottom};
  ASSERT_TRUE(StartGhost(Hwnd(), {.frame =
                                      [&](double p) {
                                        ++frames;
                                        ordered = ordered && p >= last;
                                        last = p;
                                        return FadeFrame(window, p);
                                      },
                                  .duration = 300}));
  FinishGhosts();
  EXPECT_GE(frames, 10) << "a frame every 10 ms or so";
  EXPECT_TRUE(ordered);
  EXPECT_EQ(GhostCount(), 0);
}

TEST_F(FormEffectsTest, NoHideGhostWhenSwitchedOffOrAfterTheFade) {
  const struct {
    const char* name;
    TacFormAnimation hide;
    bool taken;
  } cases[] = {
      {"FormHide off", {false, 250, AnimType::atAero}, false},
      {"time 0 (the manager's default)", {true, 0, AnimType::atAero}, false},
      {"the fade took the opacity", {true, 250, AnimType::atAero}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto form = std::make_unique<PaintForm>();
    form->CreateForm();
    FormEffectSettings effects;
    effects.anim.FormHide = c.hide;
    Dress(effects);
    form->Show();
    Pump(50);
    if (c.taken) form->TakeOpacity();
    form->Close();
    EXPECT_EQ(GhostCount(), 0);
    SkinPainter::Instance().Remove();
  }
}

TEST_F(FormEffectsTest, SkinChangeTransitionOnlyWithExtendedBorders) {
  for (const bool extended : {false, true}) {
    SCOPED_TRACE(extended ? "extended borders" : "plain borders");
    PaintForm form;
    form.CreateForm();
    FormEffectSettings effects;
    effects.extendedBorders = extended;
    Dress(effects);
    form.Show();
    Pump(50);
    SkinPainter::Instance().CaptureForTransition();
    EXPECT_EQ(GhostCount(), extended ? 1 : 0);
    if (extended) {
      HWND ghost = ::FindWindowExW(nullptr, nullptr, L"KQGhost", nullptr);
      RECT g, w;
      ::GetWindowRect(ghost, &g);
      ::GetWindowRect(form.Hwnd(), &w);
      EXPECT_TRUE(::EqualRect(&g, &w)) << "the old look lies exactly over the window";
    }
    PlayGhostsOut();
    SkinPainter::Instance().Remove();
  }
}

TEST_F(FormEffectsTest, GhostsLeaveNoObjectsBehind) {
  FormEffectSettings effects;
  effects.anim.Minimizing = {true, 30, AnimType::atAero};
  effects.anim.SkinChanging = {true, 30, AnimType::atFading};
  effects.extendedBorders = true;
  ShowDressed(effects);
  const auto cycle = [&] {
    SkinPainter::Instance().CaptureForTransition();
    ::SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    FinishGhosts();
    ::ShowWindow(Hwnd(), SW_RESTORE);
    Pump(20);
  };
  cycle();  // classes registered, caches warm
  const GuiObjects before = CountGuiObjects();
  for (int i = 0; i < 20; ++i) cycle();
  EXPECT_EQ(CountGuiObjects(), before);
}

}  // namespace
}  // namespace kq::paint
