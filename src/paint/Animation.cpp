#include "paint/Animation.h"

#include <algorithm>
#include <cmath>

namespace kq::paint {
namespace {

int Lerp(int from, int to, double t) {
  return from + static_cast<int>(std::lround((to - from) * t));
}

Box LerpBox(const Box& from, const Box& to, double t) {
  return {Lerp(from.left, to.left, t), Lerp(from.top, to.top, t), Lerp(from.right, to.right, t),
          Lerp(from.bottom, to.bottom, t)};
}

// Fast at first, gentle at the end, as a window that is let go.
double EaseOut(double t) {
  return 1 - (1 - t) * (1 - t);
}

int FadingAlpha(double t) {
  return Lerp(255, 0, t);
}

double Clamp01(double t) {
  return std::clamp(t, 0.0, 1.0);
}

}  // namespace

double Timeline::Progress(std::uint32_t now) const {
  if (duration_ == 0) return 1;
  return Clamp01(static_cast<double>(Elapsed(now)) / duration_);
}

BlendFade::BlendFade(const TacBlendOnMoving& settings)
    : target_(std::clamp(settings.BlendValue, 0, 255)),
      ticks_(std::max(1, settings.Time / static_cast<int>(kTickMs))) {}

int BlendFade::OpacityAfter(std::uint32_t elapsed) const {
  const std::uint32_t ticks = elapsed / kTickMs;
  if (ticks >= static_cast<std::uint32_t>(ticks_)) return target_;
  const double step = static_cast<double>(255 - target_) / ticks_;
  return std::max(target_, 255 - static_cast<int>(std::lround(ticks * step)));
}

GhostFrame HideFrame(const Box& window, AnimType mode, double progress) {
  const double t = Clamp01(progress);
  if (mode == AnimType::atFading) return {window, FadingAlpha(t)};
  const double e = EaseOut(t);
  const int dx = static_cast<int>(std::lround(window.Width() * (1 - kHideScale) / 2));
  const int dy = static_cast<int>(std::lround(window.Height() * (1 - kHideScale) / 2));
  const Box small{window.left + dx, window.top + dy, window.right - dx, window.bottom - dy};
  return {LerpBox(window, small, e), FadingAlpha(e)};
}

Box MinimizeTarget(const Box& window, const Box& workArea) {
  const int w = std::max(1, window.Width() / 4);
  const int h = std::max(1, window.Height() / 4);
  const int centre = std::clamp((window.left + window.right) / 2, workArea.left + w / 2,
                                workArea.right - (w - w / 2));
  return {centre - w / 2, workArea.bottom - h, centre - w / 2 + w, workArea.bottom};
}

GhostFrame MinimizeFrame(const Box& window, const Box& target, double progress) {
  const double t = Clamp01(progress);
  const double e = t * t;  // slow at first, then gone into the taskbar
  return {LerpBox(window, target, e), FadingAlpha(t)};
}

GhostFrame FadeFrame(const Box& window, double progress) {
  return {window, FadingAlpha(Clamp01(progress))};
}

}  // namespace kq::paint
