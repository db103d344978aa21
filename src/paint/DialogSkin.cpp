#include "paint/DialogSkin.h"

#include "paint/SkinPainter.h"
#include "ui/ButtonFace.h"

namespace kq::paint {
namespace {

constexpr wchar_t kFaceProp[] = L"KQ.BoxFace";

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
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                            DWORD_PTR ref) {
  auto* face = reinterpret_cast<ui::ButtonFace*>(ref);
  LRESULT result = 0;
  if (face->Handle(hwnd, msg, wp, lp, result)) return result;
  if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &ButtonProc, id);
    ::RemovePropW(hwnd, kFaceProp);
    delete face;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
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
  ::SetWindowSubclass(child, &ButtonProc, 1, reinterpret_cast<DWORD_PTR>(face));
  return TRUE;
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  const SkinLook* look = CurrentLook();
  if (look) {
    switch (msg) {
      case WM_INITDIALOG: {
        const LRESULT r = ::DefSubclassProc(hwnd, msg, wp, lp);
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
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &BoxProc, id);
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void DressMessageBox(void* box) {
  ::SetWindowSubclass(static_cast<HWND>(box), &BoxProc, 1, 0);
}

}  // namespace kq::paint
