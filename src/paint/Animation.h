// The skin engine's effects as timelines: what the window looks like at a moment of an
// effect, computed from the time since it began, so that the same frames come out whatever
// drives them (a window timer, the message loop, a test's clock).
#pragma once

#include "paint/Geometry.h"

#include <cstdint>

namespace kq::paint {

enum class AnimType { atFading, atAero };

// The skin manager's effect settings; defaults as the manager has them unstored.
struct TacBlendOnMoving {
  bool Active = false;
  int BlendValue = 170;  // the opacity the window fades to; 255 turns the effect off
  int Time = 1000;       // ms
  bool operator==(const TacBlendOnMoving&) const = default;
};
struct TacFormAnimation {
  bool Active = true;
  int Time = 0;  // ms; 0 means no animation
  AnimType Mode = AnimType::atAero;
  bool operator==(const TacFormAnimation&) const = default;
};
struct TacAnimEffects {
  TacBlendOnMoving BlendOnMoving;
  TacFormAnimation FormHide{true, 0, AnimType::atAero};
  TacFormAnimation Minimizing{true, 120, AnimType::atAero};
  TacFormAnimation SkinChanging{true, 100, AnimType::atFading};
  bool operator==(const TacAnimEffects&) const = default;
};

// Milliseconds from a monotonic source; differences are taken modulo 2^32, so a timeline
// survives the counter's wrap.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t NowMs() const = 0;
};

// A stretch of time: how far into it a moment lies.
class Timeline {
 public:
  Timeline(std::uint32_t start, std::uint32_t duration) : start_(start), duration_(duration) {}
  std::uint32_t Elapsed(std::uint32_t now) const { return now - start_; }
  // 0 at the start, 1 at and after the end; a zero-length timeline is at its end at once.
  double Progress(std::uint32_t now) const;
  bool Done(std::uint32_t now) const { return Elapsed(now) >= duration_; }
  std::uint32_t Duration() const { return duration_; }

 private:
  std::uint32_t start_;
  std::uint32_t duration_;
};

// The caption-drag translucency: from full opacity down to BlendValue in ticks of 12 ms,
// each dropping (255 - BlendValue) / (Time / 12); a Time below 13 fades in one tick.
class BlendFade {
 public:
  static constexpr std::uint32_t kTickMs = 12;
  explicit BlendFade(const TacBlendOnMoving& settings);
  // Whether the settings ask for any fade at all.
  bool Fades() const { return target_ < 255; }
  // The opacity after `elapsed` ms of the fade: a whole number of ticks has passed.
  int OpacityAfter(std::uint32_t elapsed) const;
  // True once the opacity has reached the target.
  bool Settled(std::uint32_t elapsed) const { return OpacityAfter(elapsed) <= target_; }
  int Target() const { return target_; }

 private:
  int target_;
  int ticks_;  // to reach the target
};

// One frame of an animated window image: where it lies on the screen and how opaque it is.
struct GhostFrame {
  Box place;
  int alpha = 255;
  bool operator==(const GhostFrame&) const = default;
};

// A window disappearing (the program's end): atAero shrinks it about its centre toward
// kHideScale while it fades out; atFading only fades.
inline constexpr double kHideScale = 0.85;
GhostFrame HideFrame(const Box& window, AnimType mode, double progress);
// A window going to the taskbar: it shrinks toward `target` (a small box at the bottom of the
// screen under the window) while it fades out.
GhostFrame MinimizeFrame(const Box& window, const Box& target, double progress);
// Where a minimising window goes: a box a quarter of the window's size, centred under the
// window on the bottom edge of the work area.
Box MinimizeTarget(const Box& window, const Box& workArea);
// The old look over the new at a skin change, fading out.
GhostFrame FadeFrame(const Box& window, double progress);

}  // namespace kq::paint
