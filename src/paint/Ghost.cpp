#include "paint/Ghost.h"

#include "paint/Pixels.h"

#include "win/Handles.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace kq::paint {
namespace {

constexpr wchar_t kGhostClass[] = L"KQGhost";
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 10;

class TickClock final : public Clock {
 public:
  std::uint32_t NowMs() const override { return ::GetTickCount(); }
};

class Ghost;
std::vector<Ghost*>& Ghosts() {
  static std::vector<Ghost*> ghosts;
  return ghosts;
}

class Ghost {
 public:
  Ghost(GhostArgs args, win::GdiObject picture, win::MemoryDc dc, HGDIOBJ oldBitmap)
      : args_(std::move(args)),
        timeline_(args_.clock->NowMs(), args_.duration),
        picture_(std::move(picture)),
        pictureDc_(std::move(dc)),
        oldBitmap_(oldBitmap) {
    Ghosts().push_back(this);
  }
  ~Ghost() {
    auto& all = Ghosts();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    ::SelectObject(pictureDc_.Get(), oldBitmap_);
    ::SelectObject(frameDc_.Get(), oldFrame_);
  }
  Ghost(const Ghost&) = delete;
  Ghost& operator=(const Ghost&) = delete;

  bool Open(const RECT& place, SIZE size) {
    size_ = size;
    const win::WindowDc screen(nullptr);
    frameDc_.Reset(::CreateCompatibleDC(screen.Get()));
    void* bits = nullptr;
    frame_ = TopDownDib(size.cx, size.cy, &bits, screen.Get());
    if (!frameDc_ || !frame_) return false;
    oldFrame_ = ::SelectObject(frameDc_.Get(), frame_.Get());
    ::SetStretchBltMode(frameDc_.Get(), HALFTONE);
    window_.Reset(::CreateWindowExW(
        WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
        kGhostClass, L"", WS_POPUP, place.left, place.top, size.cx, size.cy, nullptr, nullptr,
        ::GetModuleHandleW(nullptr), this));
    if (!window_) return false;
    Step();
    ::ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
    ::SetTimer(window_.Get(), kFrameTimer, kFrameMs, nullptr);
    return true;
  }

  // Draws the frame of this moment; false once the animation is over.
  bool Step() {
    const std::uint32_t now = args_.clock->NowMs();
    if (timeline_.Done(now)) return false;
    const GhostFrame f = args_.frame(timeline_.Progress(now));
    const int w = std::clamp(f.place.Width(), 1, static_cast<int>(size_.cx));
    const int h = std::clamp(f.place.Height(), 1, static_cast<int>(size_.cy));
    if (w == size_.cx && h == size_.cy) {
      ::BitBlt(frameDc_.Get(), 0, 0, w, h, pictureDc_.Get(), 0, 0, SRCCOPY);
    } else {
      ::StretchBlt(frameDc_.Get(), 0, 0, w, h, pictureDc_.Get(), 0, 0, size_.cx, size_.cy,
                   SRCCOPY);
    }
    POINT at{f.place.left, f.place.top};
    SIZE size{w, h};
    POINT origin{0, 0};
    // The picture has no alpha of its own: one opacity for the whole frame.
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(f.alpha, 0, 255)), 0};
    ::UpdateLayeredWindow(window_.Get(), nullptr, &at, &size, frameDc_.Get(), &origin, 0,
                          &blend, ULW_ALPHA);
    return true;
  }

  HWND Hwnd() const { return window_.Get(); }
  std::uint32_t Remaining() const {
    const std::uint32_t elapsed = timeline_.Elapsed(args_.clock->NowMs());
    return elapsed >= timeline_.Duration() ? 0 : timeline_.Duration() - elapsed;
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<Ghost*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Ghost*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_TIMER:
        if (self && wp == kFrameTimer && !self->Step()) {
          ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
          self->window_.Release();
          ::DestroyWindow(hwnd);
          delete self;
        }
        return 0;
      case WM_NCHITTEST:
        return HTTRANSPARENT;
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      default:
        return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
  }

 private:
  GhostArgs args_;
  Timeline timeline_;
  SIZE size_{};
  win::GdiObject picture_;
  win::MemoryDc pictureDc_;
  HGDIOBJ oldBitmap_;
  win::GdiObject frame_;
  win::MemoryDc frameDc_;
  HGDIOBJ oldFrame_ = nullptr;
  win::OwnedWindow window_;
};

bool RegisterGhostClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, kGhostClass, &wc)) return true;
  wc.lpfnWndProc = &Ghost::Proc;
  wc.hInstance = instance;
  wc.lpszClassName = kGhostClass;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

const Clock& SystemClock() {
  static const TickClock clock;
  return clock;
}

bool StartGhost(HWND window, GhostArgs args) {
  if (!args.frame || !args.clock || !::IsWindowVisible(window) || ::IsIconic(window)) return false;
  if (!RegisterGhostClass()) return false;
  RECT r;
  ::GetWindowRect(window, &r);
  const SIZE size{r.right - r.left, r.bottom - r.top};
  if (size.cx <= 0 || size.cy <= 0) return false;

  // The picture as the window shows it now, frame and all.
  const win::WindowDc source(window, win::WindowDc::kWholeWindow);
  win::MemoryDc dc(::CreateCompatibleDC(source.Get()));
  win::GdiObject picture(::CreateCompatibleBitmap(source.Get(), size.cx, size.cy));
  if (!dc || !picture) return false;
  HGDIOBJ old = ::SelectObject(dc.Get(), picture.Get());
  ::BitBlt(dc.Get(), 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);

  auto ghost = std::make_unique<Ghost>(std::move(args), std::move(picture), std::move(dc), old);
  if (!ghost->Open(r, size)) return false;
  ghost.release();  // its window's end deletes it
  return true;
}

int GhostCount() {
  return static_cast<int>(Ghosts().size());
}

void FinishGhosts() {
  std::uint32_t longest = 0;
  for (const Ghost* g : Ghosts()) longest = std::max(longest, g->Remaining());
  const DWORD deadline = ::GetTickCount() + longest + 4 * kFrameMs;
  MSG msg;
  while (!Ghosts().empty()) {
    const DWORD now = ::GetTickCount();
    if (static_cast<LONG>(deadline - now) <= 0) break;
    // Input already seen but not yet taken (a timer's) must wake the wait too.
    ::MsgWaitForMultipleObjectsEx(0, nullptr, deadline - now, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  while (!Ghosts().empty()) delete Ghosts().back();
}

}  // namespace kq::paint
