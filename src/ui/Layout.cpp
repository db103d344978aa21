#include "ui/Layout.h"

#include "ui/Control.h"
#include "ui/Form.h"

#include <algorithm>
#include <climits>

namespace kq::ui {
namespace {

using forms::IntegerOf;
using forms::SameName;
using forms::TextOf;

int TabOrderOf(const forms::StoredComponent& c) {
  return static_cast<int>(IntegerOf(c.Find(u"TabOrder")).value_or(INT_MAX));
}

}  // namespace

void CreateChildren(const std::vector<std::unique_ptr<forms::StoredComponent>>& children,
                    HWND parent, const forms::FontSpec& font, int inset) {
  std::vector<Control*> controls;
  for (const auto& child : children) {
    if (auto* c = dynamic_cast<Control*>(child.get())) {
      c->CreateHandle(parent, font);
      controls.push_back(c);
    }
  }
  ArrangeChildren(children, parent, inset);
  std::stable_sort(controls.begin(), controls.end(),
                   [](Control* a, Control* b) { return TabOrderOf(*a) < TabOrderOf(*b); });
  HWND after = HWND_TOP;
  for (Control* c : controls) {
    ::SetWindowPos(c->Hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->Hwnd();
  }
}

void ArrangeChildren(const std::vector<std::unique_ptr<forms::StoredComponent>>& children,
                     HWND parent, int inset) {
  RECT client;
  ::GetClientRect(parent, &client);
  int top = inset;
  for (const auto& child : children) {
    auto* c = dynamic_cast<Control*>(child.get());
    if (!c || !SameName(TextOf(c->Find(u"Align")).value_or(u""), u"alTop")) continue;
    RECT r;
    ::GetWindowRect(c->Hwnd(), &r);
    const auto stored = IntegerOf(c->Find(u"Height"));
    const int height = stored ? c->OwnerForm().Scaled(static_cast<int>(*stored)) : r.bottom - r.top;
    ::MoveWindow(c->Hwnd(), inset, top, client.right - 2 * inset, height, FALSE);
    top += height;
  }
}

void PlaceAtPosition(HWND hwnd, std::u16string_view position) {
  RECT frame;
  ::GetWindowRect(hwnd, &frame);
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  int x = frame.left;
  int y = frame.top;
  HWND owner = ::GetWindow(hwnd, GW_OWNER);
  const bool ownerCenter =
      SameName(position, u"poOwnerFormCenter") || SameName(position, u"poMainFormCenter");
  if (SameName(position, u"poDesktopCenter")) {
    // The desktop may span several monitors.
    x = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + (::GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2;
    y = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + (::GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2;
  } else if (SameName(position, u"poScreenCenter") || (!owner && ownerCenter)) {
    x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  } else if (ownerCenter) {
    RECT o;
    ::GetWindowRect(owner, &o);
    x = o.left + (o.right - o.left - w) / 2;
    y = o.top + (o.bottom - o.top - h) / 2;
  }
  ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kq::ui
