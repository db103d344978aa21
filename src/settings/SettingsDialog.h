// The game settings dialog fmSettings: created hidden at start-up, shown modally from the
// main window.
#pragma once

#include "win/Window.h"

namespace kq {

class TfmSettings final : public win::Window {
 public:
  static constexpr const wchar_t* kClassName = L"TfmSettings";
  static constexpr int kClientWidth = 350;
  static constexpr int kClientHeight = 366;

  // Creates the dialog hidden, owned by the main window.
  bool Create(HWND owner);

 private:
  // The close box hides the dialog: it lives until the program ends.
  void OnClose() override { ::ShowWindow(Hwnd(), SW_HIDE); }
};

}  // namespace kq
