#include "win/Threads.h"

#include <memory>

namespace kq::win {
namespace {

DWORD WINAPI RunThreadBody(void* param) {
  const std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(param));
  (*body)();
  return 0;
}

}  // namespace

KernelHandle StartThread(std::function<void()> body) {
  auto param = std::make_unique<std::function<void()>>(std::move(body));
  KernelHandle thread(::CreateThread(nullptr, 0, &RunThreadBody, param.get(), 0, nullptr));
  if (thread) param.release();  // the thread owns it now
  return thread;
}

bool DispatchPendingMessages() {
  MSG msg{};
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return true;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return false;
}

}  // namespace kq::win
