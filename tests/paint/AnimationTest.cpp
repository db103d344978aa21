#include "paint/Animation.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kq::paint {
namespace {

TEST(Animation, BlendFadeStepsEvery12MsDownToItsValue) {
  const struct {
    int blendValue, time;
    std::uint32_t elapsed;
    int opacity;
  } cases[] = {
      // The main window's: 35 levels over 83 ticks.
      {220, 1000, 0, 255},
      {220, 1000, 11, 255},   // no tick yet
      {220, 1000, 12, 255},   // 0.42 rounds to nothing
      {220, 1000, 36, 254},   // three ticks: 1.27
      {220, 1000, 480, 238},  // 40 ticks: 16.9
      {220, 1000, 972, 221},  // tick 81 of 83: 34.2
      {220, 1000, 984, 220},  // tick 82: 34.6 rounds to the whole way
      {220, 1000, 996, 220},  // tick 83: there by the count too
      {220, 1000, 60000, 220},
      // The manager's defaults: 85 levels over 83 ticks.
      {170, 1000, 120, 245},  // ten ticks: 10.24
      // A Time below 13 fades in one tick.
      {100, 12, 11, 255},
      {100, 12, 12, 100},
      {100, 0, 12, 100},
      {0, 120, 60, 127},  // 5 of 10 ticks: 127.5 rounds to 128 off
      {255, 1000, 500, 255},
  };
  for (const auto& c : cases) {
    const BlendFade fade({true, c.blendValue, c.time});
    EXPECT_EQ(fade.OpacityAfter(c.elapsed), c.opacity)
        << c.blendValue << "/" << c.time << " after " << c.elapsed << " ms";
  }
}

TEST(Animation, BlendFadeSettlesAndSays255IsNoFade) {
  const BlendFade fade({true, 220, 1000});
  EXPECT_TRUE(fade.Fades());
  EXPECT_FALSE(fade.Settled(972));
  EXPECT_TRUE(fade.Settled(984));
  EXPECT_FALSE(BlendFade({true, 255, 1000}).Fades());
  EXPECT_FALSE(BlendFade({true, 400, 1000}).Fades());  // bounded to 255
  EXPECT_EQ(BlendFade({true, -20, 12}).OpacityAfter(12), 0);
}

TEST(Animation, TimelineProgressStartStepsEndAndTheCountersWrap) {
  const Timeline t(1000, 250);
  EXPECT_EQ(t.Progress(1000), 0.0);
  EXPECT_EQ(t.Progress(1125), 0.5);
  EXPECT_FALSE(t.Done(1249));
  EXPECT_TRUE(t.Done(1250));
  EXPECT_EQ(t.Progress(5000), 1.0);
  // Started just before the millisecond counter wraps.
  const Timeline w(0xFFFFFF00u, 0x200);
  EXPECT_EQ(w.Progress(0), 0.5);
  EXPECT_FALSE(w.Done(0xFF));
  EXPECT_TRUE(w.Done(0x100));
  EXPECT_EQ(Timeline(7, 0).Progress(7), 1.0);
  EXPECT_TRUE(Timeline(7, 0).Done(7));
}

const Box kWindow{100, 100, 500, 400};  // 400 x 300

TEST(Animation, HideShrinksAboutTheCentreAndFadesOut) {
  EXPECT_EQ(HideFrame(kWindow, AnimType::atAero, 0), (GhostFrame{kWindow, 255}));
  const GhostFrame end = HideFrame(kWindow, AnimType::atAero, 1);
  EXPECT_EQ(end.alpha, 0);
  EXPECT_EQ(end.place, (Box{130, 123, 470, 377}));  // 85 %, the same centre
  const GhostFrame mid = HideFrame(kWindow, AnimType::atAero, 0.5);
  EXPECT_EQ(mid.alpha, 64);  // eased: three quarters of the way after half the time
  EXPECT_EQ(mid.place, (Box{123, 117, 477, 383}));
  // Fading keeps the window's place; progress outside 0..1 is held at the ends.
  EXPECT_EQ(HideFrame(kWindow, AnimType::atFading, 0.5), (GhostFrame{kWindow, 127}));
  EXPECT_EQ(HideFrame(kWindow, AnimType::atFading, 7), (GhostFrame{kWindow, 0}));
  EXPECT_EQ(HideFrame(kWindow, AnimType::atAero, -1), (GhostFrame{kWindow, 255}));
}

TEST(Animation, MinimiseGoesToTheWorkAreasBottomUnderTheWindow) {
  const Box work{0, 0, 800, 570};
  const Box target = MinimizeTarget(kWindow, work);
  EXPECT_EQ(target, (Box{250, 495, 350, 570}));
  EXPECT_EQ(MinimizeFrame(kWindow, target, 0), (GhostFrame{kWindow, 255}));
  EXPECT_EQ(MinimizeFrame(kWindow, target, 1), (GhostFrame{target, 0}));
  const GhostFrame mid = MinimizeFrame(kWindow, target, 0.5);
  EXPECT_EQ(mid.alpha, 127);
  EXPECT_EQ(mid.place, (Box{138, 199, 462, 443}));  // a quarter of the way: slow at first
  // A window hanging off the screen's edge still goes to a box inside the work area.
  const Box off = MinimizeTarget({700, 100, 1100, 400}, work);
  EXPECT_EQ(off, (Box{700, 495, 800, 570}));
}

TEST(Animation, TransitionFadesInPlace) {
  EXPECT_EQ(FadeFrame(kWindow, 0), (GhostFrame{kWindow, 255}));
  EXPECT_EQ(FadeFrame(kWindow, 0.25), (GhostFrame{kWindow, 191}));
  EXPECT_EQ(FadeFrame(kWindow, 1), (GhostFrame{kWindow, 0}));
}

}  // namespace
}  // namespace kq::paint
