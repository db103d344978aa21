#include "ui/RadioGroup.h"

#include "common/Error.h"
#include "ui/Form.h"

namespace kq::ui {

RadioGroup::CreateArgs RadioGroup::ArgsOf(const forms::StoredComponent& c) {
  CreateArgs args;
  args.items = forms::StringsOf(c.Find(u"Items.Strings"));
  args.columns = static_cast<int>(forms::IntegerOf(c.Find(u"Columns")).value_or(args.columns));
  args.itemIndex =
      static_cast<int>(forms::IntegerOf(c.Find(u"ItemIndex")).value_or(args.itemIndex));
  return args;
}

void RadioGroup::AfterCreate() {
  const auto& items = args_.items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    // The first button starts the group and takes the Tab stop; arrows move inside.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    HWND b = ::CreateWindowExW(
        0, L"BUTTON", win::W(items[i]), style, 0, 0, 0, 0, Hwnd(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(OwnerForm().NextControlId())),
        ::GetModuleHandleW(nullptr), nullptr);
    if (!b) throw Error(u"Cannot create the choices of " + Name());
    ::SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::SetPropW(b, ControlNameProperty(win::Wide(Name()) + L"[" + std::to_wstring(i) + L"]").c_str(),
               reinterpret_cast<HANDLE>(1));
    buttons_.push_back(std::make_unique<Choice>(*this));
    buttons_.back()->Attach(b);
  }
  Arrange();
  SetItemIndex(args_.itemIndex);
}

// Places the buttons in the group's current size: again whenever alignment resizes it.
void RadioGroup::Arrange() {
  HDC dc = ::GetDC(Hwnd());
  HGDIOBJ old = ::SelectObject(dc, font_);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(dc, &tm);
  ::SelectObject(dc, old);
  ::ReleaseDC(Hwnd(), dc);
  RECT r;
  ::GetClientRect(Hwnd(), &r);
  const auto boxes = forms::RadioButtonBoxes(static_cast<int>(buttons_.size()), args_.columns,
                                             r.right, r.bottom, tm.tmHeight);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ::MoveWindow(buttons_[i]->Hwnd(), boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height,
                 TRUE);
  }
}

int RadioGroup::ItemIndex() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (::SendMessageW(buttons_[i]->Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED)
      return static_cast<int>(i);
  }
  return -1;
}

void RadioGroup::SetItemIndex(int index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ::SendMessageW(buttons_[i]->Hwnd(), BM_SETCHECK,
                   static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

LRESULT RadioGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        // Owner-drawn choices are checked here, as the system's automatic ones check
        // themselves.
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
          if (buttons_[i]->Hwnd() == reinterpret_cast<HWND>(lp) && buttons_[i]->Face().Painted())
            SetItemIndex(static_cast<int>(i));
        }
        Fire(u"OnClick");
      }
      return 0;
    case WM_SIZE:
      Arrange();
      break;
    default:
      break;
  }
  return Container::HandleMessage(msg, wp, lp);
}

void RadioGroup::OnLookChanged() {
  const bool painted = GetLook().PaintsFace(Part::kRadioButton);
  for (auto& b : buttons_) b->Face().Adopt(b->Hwnd(), painted);
}

bool RadioGroup::Choice::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_DRAWITEM) {
    face_.Draw(Owner().GetLook(), Info(), *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    result = TRUE;
    return true;
  }
  return InnerWindow::OnReflected(msg, wp, lp, result);
}

LRESULT RadioGroup::Choice::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (face_.Handle(Hwnd(), msg, wp, lp, result)) return result;
  return InnerWindow::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
