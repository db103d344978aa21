#include "ui/Control.h"

#include "common/Error.h"
#include "ui/Accessible.h"
#include "ui/Components.h"
#include "ui/Form.h"
#include "ui/InnerWindow.h"
#include "ui/Layout.h"
#include "ui/WindowMap.h"

#include <stdexcept>

namespace kq::ui {
namespace {

using forms::BoolOf;
using forms::IntegerOf;
using forms::SameName;
using forms::TextOf;
using win::W;
using win::Wide;

}  // namespace

std::wstring ControlNameProperty(std::wstring_view name) {
  return L"KQName:" + std::wstring(name);
}

Control::~Control() {
  if (hwnd_) {
    WindowMap<Control>::Detach(hwnd_, this, Proc());
  }
}

const forms::ComponentClass& Control::ClassInfo() const {
  return ClassInfoOf(*this);
}

Control* Control::FromHwnd(HWND hwnd) {
  return WindowMap<Control>::Find(hwnd).wrapper;
}

bool Control::Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      // The system carries no WM_NOTIFY between processes, so one sent from elsewhere holds
      // an address that means nothing here: only this thread's own are reflected.
      if (!lp || ::InSendMessage()) return false;
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    default:
      return false;
  }
  if (!child) return false;
  if (Control* c = FromHwnd(child)) return c->OnReflected(msg, wp, lp, result);
  InnerWindow* inner = InnerWindow::FromHwnd(child);
  return inner && inner->OnReflected(msg, wp, lp, result);
}

std::u16string Control::Text() const {
  const int n = ::GetWindowTextLengthW(hwnd_);
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  buf.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd_, buf.data(), n + 1)));
  return win::U16(buf);
}

void Control::SetText(const std::u16string& text) {
  ::SetWindowTextW(hwnd_, W(text));
}

std::unique_ptr<forms::StoredComponent> Control::CreateChild(std::u16string_view className) {
  return CreateComponent(form_, className);
}

void Control::CreateHandle(HWND parent, const forms::FontSpec& parentFont) {
  auto find = [this](const std::u16string& n) { return Find(n); };
  fontSpec_ = forms::FontOf(find, u"Font", parentFont);
  ReadArgs();
  font_ = form_.FontFor(GetLook().Font(Info()));
  const WindowSpec spec = Spec();
  DWORD style = spec.style | WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = spec.exStyle;
  GetLook().Styles(LookPart(), style, exStyle);
  if (BoolOf(Find(u"Visible")).value_or(true)) style |= WS_VISIBLE;
  if (!BoolOf(Find(u"Enabled")).value_or(true)) style |= WS_DISABLED;
  if (auto tabStop = BoolOf(Find(u"TabStop")))
    style = *tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
  const std::u16string text =
      TextOf(Find(u"Caption")).value_or(TextOf(Find(u"Text")).value_or(u""));
  const auto get = [this](const char16_t* n) {
    return form_.Scaled(static_cast<int>(IntegerOf(Find(n)).value_or(0)));
  };
  hwnd_ = ::CreateWindowExW(exStyle, spec.className, W(text), style, get(u"Left"), get(u"Top"),
                            get(u"Width"), get(u"Height") + form_.Scaled(spec.extraHeight), parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(form_.NextControlId())),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw Error(u"Cannot create the control " + Name());
  if (!Name().empty())
    ::SetPropW(hwnd_, ControlNameProperty(Wide(Name())).c_str(), reinterpret_cast<HANDLE>(1));
  previous_ = WindowMap<Control>::Attach(hwnd_, this, Proc());
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  events_.Bind(*this, Events(), form_.OfferedHandlers());
  AfterCreate();
  OnLookChanged();
  forms::StoredComponent& self = *this;
  CreateChildren(self.Children(), hwnd_, fontSpec_, ClientInset());
}

std::u16string Control::AccessibleName() const {
  std::u16string name;
  form_.ForEachControl([&](Control& c) {
    if (!name.empty() || &c == this) return;
    const auto target = TextOf(c.Find(u"FocusControl"));
    if (target && SameName(*target, Name())) name = TextOf(c.Find(u"Caption")).value_or(u"");
  });
  return name;
}

void Control::ApplyScale() {
  if (!hwnd_) return;
  font_ = form_.FontFor(GetLook().Font(Info()));
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  const auto get = [this](const char16_t* n) {
    return form_.Scaled(static_cast<int>(IntegerOf(Find(n)).value_or(0)));
  };
  ::SetWindowPos(hwnd_, nullptr, get(u"Left"), get(u"Top"), get(u"Width"),
                 get(u"Height") + form_.Scaled(Spec().extraHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  OnScaleChanged();
}

void Control::ArrangeOwnChildren() {
  if (!hwnd_) return;
  forms::StoredComponent& self = *this;
  ArrangeChildren(self.Children(), hwnd_, ClientInset());
}

std::span<const EventSpec> Control::Events() const {
  static constexpr EventSpec kEvents[] = {{u"OnClick", HandlerKind::kNotify}};
  return kEvents;
}

void Control::Fire(std::u16string_view event) {
  if (const auto* h = Bound<NotifyHandler>(event)) (*h)(*this);
}

bool Control::PassKey(WPARAM& key) {
  const auto* h = Bound<KeyPressHandler>(u"OnKeyPress");
  if (!h) return true;
  auto c = static_cast<wchar_t>(key);
  (*h)(*this, c);
  key = c;
  return c != 0;
}

bool Control::FormGoing() const {
  return form_.Dying();
}

bool Control::OnReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  return AnswerColors(GetLook(), Info(), msg, wp, result);
}

bool Control::AnswerColors(const Look& look, const PartInfo& info, UINT msg, WPARAM wp,
                           LRESULT& result) {
  if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC) return false;
  HBRUSH brush = look.Colors(info, reinterpret_cast<HDC>(wp));
  if (!brush) return false;
  result = reinterpret_cast<LRESULT>(brush);
  return true;
}

PartState Control::State() const {
  return {.focused = hwnd_ && ::GetFocus() == hwnd_,
          .disabled = hwnd_ && !::IsWindowEnabled(hwnd_)};
}

PartInfo Control::Info() const {
  return {LookPart(), State(), Fonts(), form_.Background(), hwnd_, form_.Dpi()};
}

const Look& Control::GetLook() const {
  return form_.LookFor(*this);
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::CallWindowProcW(previous_, hwnd_, msg, wp, lp);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCPAINT: {
      // The system draws the edge and any scroll bars; a look may draw the edge over it.
      const LRESULT result = DefaultProc(msg, wp, lp);
      PaintFrame(hwnd_, GetLook(), Info());
      return result;
    }
    case WM_GETOBJECT:
      if (static_cast<LONG>(lp) == OBJID_CLIENT) {
        const std::u16string name = AccessibleName();
        if (!name.empty()) return AnswerAccessibleName(hwnd_, wp, name);
      }
      return DefaultProc(msg, wp, lp);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: {
      const LRESULT result = DefaultProc(msg, wp, lp);
      if (::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
        ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return result;
    }
    default:
      return DefaultProc(msg, wp, lp);
  }
}

void Control::PaintFrame(HWND hwnd, const Look& look, const PartInfo& info) {
  if (!(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  HDC dc = ::GetWindowDC(hwnd);
  if (!dc) return;
  RECT r;
  ::GetWindowRect(hwnd, &r);
  ::OffsetRect(&r, -r.left, -r.top);
  look.DrawFrame(info, dc, r);
  ::ReleaseDC(hwnd, dc);
}

WNDPROC Control::Proc() {
  return &WindowMap<Control>::Proc<&Control::Handle>;
}

LRESULT Control::Handle(Control& self, HWND, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  try {
    result = self.HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    self.form_.ReportException(e);
  } catch (...) {
    self.form_.ReportException(std::runtime_error("Unexpected error"));
  }
  if (msg == WM_NCDESTROY) self.hwnd_ = nullptr;
  return result;
}

}  // namespace kq::ui
