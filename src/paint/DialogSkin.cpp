#include "paint/DialogSkin.h"

#include "paint/SkinPainter.h"
#include "ui/ButtonFace.h"
#include "ui/WindowMap.h"

namespace kq::paint {
namespace {

constexpr wchar_t kFaceProp[] = L"KQ.BoxFace";

// The box and its buttons are taken over the way the framework takes over its controls,
// not through the common controls' subclass chain: the program does not load that library.
struct MessageBoxTag {};  // the box needs no state of its own
MessageBoxTag g_box;
using ButtonMap = ui::WindowMap<ui::ButtonFace>;
using BoxMap = ui::WindowMap<MessageBoxTag>;

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

// A push button of the box: owner-drawn while it lives; the face goes with the window.
LRESULT HandleButton(ui::ButtonFace& face, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (face.Handle(hwnd, msg, wp, lp, result)) return result;
  result = ::CallWindowProcW(ButtonMap::Find(hwnd).previous, hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::RemovePropW(hwnd, kFaceProp);
    delete &face;
  }
  return result;
}

BOOL CALLBACK DressButton(HWND child, LPARAM) {
  wchar_t cls[16] = {};
  ::GetClassNameW(child, cls, 16);
  const DWORD kind = static_cast<DWORD>(::GetWindowLongPtrW(child, GWL_STYLE)) & 0x0F;
  if (::lstrcmpiW(cls, L"Button") != 0 || (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON))
    return TRUE;
  auto* face = new ui::ButtonFace;
  face->Adopt(child, true);
  ::SetPropW(child, kFaceProp, face);
  ButtonMap::Attach(child, face, &ButtonMap::Proc<&HandleButton>);
  return TRUE;
}

LRESULT HandleBox(MessageBoxTag&, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const WNDPROC previous = BoxMap::Find(hwnd).previous;
  const SkinLook* look = CurrentLook();
  if (look) {
    switch (msg) {
      case WM_INITDIALOG: {
        const LRESULT r = ::CallWindowProcW(previous, hwnd, msg, wp, lp);
        ::EnumChildWindows(hwnd, &DressButton, 0);
        return r;
      }
      case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(hwnd, &r);
        look->EraseBackground(InfoOf(ui::Part::kForm, hwnd), reinterpret_cast<HDC>(wp), r);
        return 1;
      }
      case WM_CTLCOLORDLG:
        ::SetBrushOrgEx(reinterpret_cast<HDC>(wp), 0, 0, nullptr);
        return reinterpret_cast<LRESULT>(
            look->Colors(InfoOf(ui::Part::kForm, hwnd), reinterpret_cast<HDC>(wp)));
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(look->Colors(
            InfoOf(ui::Part::kLabel, reinterpret_cast<HWND>(lp)), reinterpret_cast<HDC>(wp)));
      case WM_DRAWITEM: {
        const auto& dis = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        auto* face = dis.CtlType == ODT_BUTTON
                         ? static_cast<ui::ButtonFace*>(::GetPropW(dis.hwndItem, kFaceProp))
                         : nullptr;
        if (face) {
          face->Draw(*look, InfoOf(ui::Part::kButton, dis.hwndItem), dis);
          return TRUE;
        }
        break;
      }
      default:
        break;
    }
  }
  return ::CallWindowProcW(previous, hwnd, msg, wp, lp);
}

}  // namespace

void DressMessageBox(void* box) {
  BoxMap::Attach(static_cast<HWND>(box), &g_box, &BoxMap::Proc<&HandleBox>);
}

}  // namespace kq::paint
