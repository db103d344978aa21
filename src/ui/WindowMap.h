// System windows taken over by the program's wrappers (a control, an inner window): the
// window's procedure is replaced by the wrapper kind's own, which finds its wrapper here
// and hands each message on to the procedure it replaced. Neither the lookup nor the chain
// asks the system: under Wine a window property, which the common controls' subclass chain
// reads on every message, is a request to the window server.
#pragma once

#include "win/Win.h"

#include <mutex>
#include <unordered_map>

namespace kq::ui {

template <class T>
class WindowMap {
 public:
  struct Entry {
    T* wrapper = nullptr;  // none once the wrapper let go while the window lives on
    WNDPROC previous = nullptr;
  };

  // Puts the kind's procedure in front of the window's; gives the one it replaced.
  static WNDPROC Attach(HWND hwnd, T* wrapper, WNDPROC proc) {
    const auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    std::lock_guard lock(Mutex());
    Map()[hwnd] = {wrapper, previous};
    return previous;
  }
  // The wrapper lets go of a living window: its procedure goes when nothing was put in
  // front of it since; otherwise it stays and only hands messages on.
  static void Detach(HWND hwnd, const T* wrapper, WNDPROC proc) {
    const bool front = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == proc;
    WNDPROC previous = nullptr;
    {
      std::lock_guard lock(Mutex());
      auto it = Map().find(hwnd);
      if (it == Map().end() || it->second.wrapper != wrapper) return;
      previous = it->second.previous;
      if (front)
        Map().erase(it);
      else
        it->second.wrapper = nullptr;
    }
    if (front) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  // The window is gone (WM_NCDESTROY has been handled).
  static void Forget(HWND hwnd) {
    std::lock_guard lock(Mutex());
    Map().erase(hwnd);
  }
  static Entry Find(HWND hwnd) {
    std::lock_guard lock(Mutex());
    auto it = Map().find(hwnd);
    return it == Map().end() ? Entry{} : it->second;
  }

  // The kind's procedure: the wrapper's handler, or straight on when it has let go.
  template <LRESULT (*Handle)(T&, HWND, UINT, WPARAM, LPARAM)>
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const Entry entry = Find(hwnd);
    LRESULT result = 0;
    if (entry.wrapper)
      result = Handle(*entry.wrapper, hwnd, msg, wp, lp);
    else if (entry.previous)
      result = ::CallWindowProcW(entry.previous, hwnd, msg, wp, lp);
    else
      result = ::DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) Forget(hwnd);
    return result;
  }

 private:
  static std::unordered_map<HWND, Entry>& Map() {
    static std::unordered_map<HWND, Entry> map;
    return map;
  }
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
};

}  // namespace kq::ui
