#include "paint/FormEffects.h"

#include "paint/FrameSkin.h"
#include "ui/Form.h"

namespace kq::paint {
namespace {

constexpr UINT_PTR kBlendTimer = 0x4B51;

Box BoxOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

FormEffects::~FormEffects() {
  if (blending_) EndBlend();
}

bool FormEffects::Animates(const TacFormAnimation& a) const {
  return settings_.allowAnimation && a.Active && a.Time > 0 && !form_.OpacityTaken();
}

bool FormEffects::StartTransition() {
  const TacFormAnimation& a = settings_.anim.SkinChanging;
  if (!settings_.extendedBorders || !Animates(a)) return false;
  RECT r;
  ::GetWindowRect(form_.Hwnd(), &r);
  const Box window = BoxOf(r);
  return StartGhost(form_.Hwnd(), {.frame = [window](double p) { return FadeFrame(window, p); },
                                   .duration = static_cast<std::uint32_t>(a.Time),
                                   .clock = &clock_});
}

void FormEffects::BeforeClose(ui::Form& form) {
  const TacFormAnimation& a = settings_.anim.FormHide;
  if (!Animates(a)) return;
  RECT r;
  ::GetWindowRect(form.Hwnd(), &r);
  const Box window = BoxOf(r);
  const AnimType mode = a.Mode;
  StartGhost(form.Hwnd(),
             {.frame = [window, mode](double p) { return HideFrame(window, mode, p); },
              .duration = static_cast<std::uint32_t>(a.Time),
              .clock = &clock_});
}

bool FormEffects::FilterMessage(ui::Form& form, UINT msg, WPARAM wp, LPARAM lp,
                                LRESULT& result) {
  switch (msg) {
    case WM_NCLBUTTONDOWN:
      // Only a skinned caption fades.
      if (wp != HTCAPTION || blending_ || form.OpacityTaken() || !form.FindFilter<FrameSkin>() ||
          !settings_.allowBlendOnMoving ||
          !settings_.anim.BlendOnMoving.Active || !BlendFade(settings_.anim.BlendOnMoving).Fades()) {
        return false;
      }
      result = DragTranslucent(wp, lp);
      return true;
    case WM_TIMER:
      if (wp != kBlendTimer) return false;
      BlendStep();
      result = 0;
      return true;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE && Animates(settings_.anim.Minimizing)) {
        RECT r;
        ::GetWindowRect(form.Hwnd(), &r);
        MONITORINFO monitor{sizeof(monitor)};
        ::GetMonitorInfoW(::MonitorFromWindow(form.Hwnd(), MONITOR_DEFAULTTONEAREST), &monitor);
        const Box window = BoxOf(r);
        const Box target = MinimizeTarget(window, BoxOf(monitor.rcWork));
        StartGhost(form.Hwnd(),
                   {.frame = [window, target](double p) { return MinimizeFrame(window, target, p); },
                    .duration = static_cast<std::uint32_t>(settings_.anim.Minimizing.Time),
                    .clock = &clock_});
      }
      return false;  // the system minimises the window itself, at once
    default:
      return false;
  }
}

LRESULT FormEffects::DragTranslucent(WPARAM wp, LPARAM lp) {
  HWND hwnd = form_.Hwnd();
  const LONG_PTR ex = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  wasLayered_ = (ex & WS_EX_LAYERED) != 0;
  ::SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
  if (!wasLayered_) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
    // A window that has just become layered may have lost its picture (Wine keeps none).
    ::RedrawWindow(hwnd, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  blending_ = true;
  blendStart_ = clock_.NowMs();
  ::SetTimer(hwnd, kBlendTimer, BlendFade::kTickMs, nullptr);
  // The system's move loop runs until the button is released; the timer ticks in it.
  const LRESULT r = ::DefWindowProcW(hwnd, WM_NCLBUTTONDOWN, wp, lp);
  if (blending_) EndBlend();
  return r;
}

void FormEffects::BlendStep() {
  if (!blending_) {
    ::KillTimer(form_.Hwnd(), kBlendTimer);
    return;
  }
  const BlendFade fade(settings_.anim.BlendOnMoving);
  const std::uint32_t elapsed = clock_.NowMs() - blendStart_;
  ::SetLayeredWindowAttributes(form_.Hwnd(), 0, static_cast<BYTE>(fade.OpacityAfter(elapsed)),
                               LWA_ALPHA);
  if (fade.Settled(elapsed)) ::KillTimer(form_.Hwnd(), kBlendTimer);
}

void FormEffects::EndBlend() {
  HWND hwnd = form_.Hwnd();
  blending_ = false;
  ::KillTimer(hwnd, kBlendTimer);
  // Whoever took the opacity meanwhile keeps it as it set it.
  if (!hwnd || form_.OpacityTaken()) return;
  ::SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
  if (!wasLayered_) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

}  // namespace kq::paint
