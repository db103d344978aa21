#include "win/MessageBox.h"

#include "win/Win.h"

#include <atomic>

namespace kq::win {
namespace {

std::atomic<MessageBoxDresser> g_dresser{nullptr};
std::atomic<DWORD> g_dresserThread{0};
thread_local HHOOK t_hook = nullptr;

// Sees the box's window made, before its controls, and hands it to the dresser once.
LRESULT CALLBACK WatchBoxCreation(int code, WPARAM wp, LPARAM lp) {
  HHOOK hook = t_hook;
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lp);
    if (create->lpcs->lpszClass == MAKEINTATOM(32770) ||
        (!IS_INTRESOURCE(create->lpcs->lpszClass) &&
         std::wstring_view(create->lpcs->lpszClass) == L"#32770")) {
      if (MessageBoxDresser dress = g_dresser.load()) dress(reinterpret_cast<HWND>(wp));
      ::UnhookWindowsHookEx(hook);
      t_hook = nullptr;
    }
  }
  return ::CallNextHookEx(hook, code, wp, lp);
}

}  // namespace

void SetMessageBoxDresser(MessageBoxDresser dresser) {
  g_dresserThread = ::GetCurrentThreadId();
  g_dresser = dresser;
}

void ShowMessageBox(MessageKind kind, std::u16string_view text, std::u16string_view caption) {
  UINT type = MB_OK;
  if (kind == MessageKind::kWarning) type |= MB_ICONWARNING;
  if (kind == MessageKind::kError) type |= MB_ICONERROR;
  if (g_dresser.load() && g_dresserThread == ::GetCurrentThreadId() && !t_hook) {
    t_hook = ::SetWindowsHookExW(WH_CBT, &WatchBoxCreation, nullptr, ::GetCurrentThreadId());
  }
  ::MessageBoxW(::GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), type);
  if (t_hook) {
    ::UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
  }
}

}  // namespace kq::win
