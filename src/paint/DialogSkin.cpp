#include "paint/DialogSkin.h"

#include "paint/SkinPainter.h"
#include "ui/ButtonFace.h"
#include "ui/WindowMap.h"

#include <optional>

namespace kq::paint {
namespace {

// The box and its buttons are taken over the way the framework takes over its controls,
// not through the common controls' subclass chain: the program does not load that library.
// Each keeps the procedure it replaced, so a message finds its window in the table once.
struct DressedButton {
  ui::ButtonFace face;
  WNDPROC previous = nullptr;
};
struct DressedBox {
  WNDPROC previous = nullptr;
};
using ButtonMap = ui::WindowMap<DressedButton>;
using BoxMap = ui::WindowMap<DressedBox>;

const SkinLook* CurrentLook() {
  return SkinPainter::Instance().Look();
}

ui::PartInfo InfoOf(ui::Part part, HWND window) {
  ui::PartInfo info;
  info.part = part;
  info.window = window;
  info.state.disabled = !::IsWindowEnabled(window);
  return info;
}

// A push button of the box: owner-drawn while it lives; its state goes with the window.
LRESULT HandleButton(DressedButton& button, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (button.face.Handle(hwnd, msg, wp, lp, result)) return result;
  result = ::CallWindowProcW(button.previous, hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) delete &button;
  return result;
}

BOOL CALLBACK DressButton(HWND child, LPARAM) {
  wchar_t cls[16] = {};
  ::GetClassNameW(child, cls, 16);
  const DWORD kind = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE)) & 0x0F;
  if (::lstrcmpiW(cls, L"Button") != 0 || (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON))
    return TRUE;
  auto* button = new DressedButton;
  button->face.Adopt(child, true);
  button->previous = ButtonMap::Attach(child, button, &ButtonMap::Proc<&HandleButton>);
  return TRUE;
}

// The box in the look in force; nullopt when the box's own procedure answers.
std::optional<LRESULT> Paint(const SkinLook& look, DressedBox& box, HWND hwnd, UINT msg, WPARAM wp,
                             LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const LRESULT r = ::CallWindowProcW(box.previous, hwnd, msg, wp, lp);
      ::EnumChildWindows(hwnd, &DressButton, 0);
      return r;
    }
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(hwnd, &r);
      look.EraseBackground(InfoOf(ui::Part::kForm, hwnd), reinterpret_cast<HDC>(wp), r);
      return 1;
    }
    case WM_CTLCOLORDLG:
      ::SetBrushOrgEx(reinterpret_cast<HDC>(wp), 0, 0, nullptr);
      return reinterpret_cast<LRESULT>(
          look.Colors(InfoOf(ui::Part::kForm, hwnd), reinterpret_cast<HDC>(wp)));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(look.Colors(
          InfoOf(ui::Part::kLabel, reinterpret_cast<HWND>(lp)), reinterpret_cast<HDC>(wp)));
    case WM_DRAWITEM: {
      const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis.CtlType != ODT_BUTTON) break;
      if (DressedButton* button = ButtonMap::Find(dis.hwndItem).wrapper) {
        button->face.Draw(look, InfoOf(ui::Part::kButton, dis.hwndItem), dis);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

LRESULT HandleBox(DressedBox& box, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (const SkinLook* look = CurrentLook())
    if (auto answer = Paint(*look, box, hwnd, msg, wp, lp)) return *answer;
  const LRESULT result = ::CallWindowProcW(box.previous, hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) delete &box;
  return result;
}

}  // namespace

void DressMessageBox(void* window) {
  auto* box = new DressedBox;
  box->previous = BoxMap::Attach(static_cast<HWND>(window), box, &BoxMap::Proc<&HandleBox>);
}

}  // namespace kq::paint
