#include "settings/SettingsDialog.h"

namespace kq {

bool TfmSettings::Create(HWND owner) {
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
  if (!RegisterClass({.name = kClassName})) return false;
  RECT r{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return Window::Create({.className = kClassName,
                         .text = L" Настройки игры",
                         .style = kStyle,
                         .exStyle = kExStyle,
                         .x = 0,
                         .y = 0,
                         .width = r.right - r.left,
                         .height = r.bottom - r.top,
                         .parent = owner});
}

}  // namespace kq
