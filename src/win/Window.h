// A window wrapper: one HWND and virtual On* hooks. The wrapper is attached to its window
// at WM_NCCREATE and detached at WM_NCDESTROY; no exception leaves the window procedure.
#pragma once

#include "win/Win.h"

#include <string>

namespace kq::win {

class Window {
 public:
  struct ClassArgs {
    const wchar_t* name = nullptr;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    HCURSOR cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    HICON icon = nullptr;       // caption, Alt+Tab and taskbar
    HICON smallIcon = nullptr;  // drawn at the small size itself, not scaled down from icon
    UINT style = CS_DBLCLKS;
  };
  // Registers a window class whose procedure dispatches to the wrappers; a second call
  // with the same name does nothing.
  static bool RegisterClass(const ClassArgs& args);

  struct CreateArgs {
    const wchar_t* className = nullptr;
    std::wstring text;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;  // the owner, for a top-level window
  };

  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  bool Create(const CreateArgs& args);
  HWND Hwnd() const { return hwnd_; }

 protected:
  // The message switch of the hooks below; a derived class adds messages by overriding it
  // and passing the rest on.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp);
  // Sees every message before HandleMessage; true when it answered the message (result set).
  virtual bool FilterMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

  // WM_CREATE; returning false makes the creation fail.
  virtual bool OnCreate() { return true; }
  // WM_CLOSE; the default destroys the window.
  virtual void OnClose();
  virtual void OnDestroy() {}

  // An exception stopped at the window procedure: by default shown in an error box.
  virtual void OnException(const std::exception& e) noexcept;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
};

}  // namespace kq::win
