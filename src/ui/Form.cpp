#include "ui/Form.h"

#include "ui/Components.h"
#include "ui/DefaultLook.h"
#include "ui/Layout.h"

namespace kq::ui {
namespace {

using forms::ColorOf;
using forms::FontSpec;
using forms::IntegerOf;
using forms::SameName;
using forms::TextOf;
using win::Wide;

constexpr wchar_t kFormProp[] = L"KQ.Form";

// The first form without an owner: closing it ends the program.
// The screen's DPI as this (DPI-aware) program sees it when a form is made.
int SystemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

bool IsProgramForm(HWND hwnd) {
  return ::GetWindow(hwnd, GW_OWNER) == nullptr;
}

}  // namespace

const forms::ComponentClass kFormClass{u"TForm", &forms::kComponentClass};

bool PreTranslateFormMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !::GetPropW(root, kFormProp)) return false;
  return ::IsDialogMessageW(root, &msg) != 0;
}

namespace {

FormDecorator* g_decorator = nullptr;

std::vector<Form*>& LiveForms() {
  static std::vector<Form*> forms;
  return forms;
}

}  // namespace

Form::Form() {
  LiveForms().push_back(this);
}

Form::~Form() {
  std::erase(LiveForms(), this);
  // Handlers belong to the derived form, which is gone already: none may run now.
  dying_ = true;
  if (Hwnd()) ::DestroyWindow(Hwnd());
}

void SetFormDecorator(FormDecorator* decorator) {
  g_decorator = decorator;
}

const std::vector<Form*>& Form::All() {
  return LiveForms();
}

void Form::ForEachControl(const std::function<void(Control&)>& visit) const {
  std::vector<const forms::StoredComponent*> todo{this};
  while (!todo.empty()) {
    const forms::StoredComponent* c = todo.back();
    todo.pop_back();
    const auto& children = c->Children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) todo.push_back(it->get());
    if (c == this) continue;
    if (auto* control = dynamic_cast<Control*>(const_cast<forms::StoredComponent*>(c)))
      visit(*control);
  }
}

void Form::AdoptFilter(std::unique_ptr<MessageFilter> filter) {
  filters_.push_back(filter.get());
  ownFilters_.push_back(std::move(filter));
}

void Form::RemoveFilter(MessageFilter* filter) {
  std::erase(filters_, filter);
  std::erase_if(ownFilters_, [filter](const auto& own) { return own.get() == filter; });
}

HFONT Form::FontFor(const forms::FontSpec& spec) {
  forms::FontSpec scaled = spec;
  scaled.height = Scaled(spec.height);
  return fonts_.Get(scaled);
}

void Form::ChangeDpi(int dpi, const RECT& suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  dpi_ = dpi;
  ::SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fontSpec_)), FALSE);
  ForEachControl([](Control& c) { c.ApplyScale(); });
  forms::StoredComponent& self = *this;
  ArrangeChildren(self.Children(), Hwnd(), 0);
  ForEachControl([](Control& c) { c.ArrangeOwnChildren(); });
  ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(Hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

const Look& Form::GetLook() const {
  return look_ ? *look_ : DefaultLook::Instance();
}

const Look& Form::LookFor(const Control& control) const {
  if (look_ && lookFilter_ && !lookFilter_(control)) return DefaultLook::Instance();
  return GetLook();
}

void Form::SetLook(const Look* look, LookFilter controls) {
  look_ = look;
  lookFilter_ = look ? std::move(controls) : LookFilter{};
  ForEachControl([](Control& c) { c.OnLookChanged(); });
  if (Hwnd()) {
    ::RedrawWindow(Hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

std::unique_ptr<forms::StoredComponent> Form::CreateChild(std::u16string_view className) {
  return CreateComponent(*this, className);
}

void Form::CreateForm(const CreateOptions& options) {
  std::lock_guard lock(forms::StreamingLock());
  forms::InitInheritedComponent(*this, &kFormClass);
  handlers_ = Handlers();

  auto find = [this](const std::u16string& n) { return Find(n); };
  fontSpec_ = forms::FontOf(find, u"Font", FontSpec{});
  dpi_ = SystemDpi();
  const std::wstring className = Wide(ClassInfo().name);
  // The layout's Color is the background of the form and of what is drawn on it.
  HBRUSH brush = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  backgroundBrush_ = ::GetSysColorBrush(COLOR_BTNFACE);
  if (auto color = ColorOf(Find(u"Color"))) {
    if (color->systemIndex >= 0) {
      brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(color->systemIndex + 1));
      backgroundBrush_ = ::GetSysColorBrush(color->systemIndex);
    } else {
      background_.Reset(::CreateSolidBrush(color->rgb));
      brush = backgroundBrush_ = static_cast<HBRUSH>(background_.Get());
    }
  }
  // The program's icon (resource 1) where it has one, at both the sizes the system shows.
  const HINSTANCE program = ::GetModuleHandleW(nullptr);
  const auto icon = [program](int metric) {
    const int side = ::GetSystemMetrics(metric);
    return static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON, side, side,
                                           LR_SHARED));
  };
  if (!RegisterClass({.name = className.c_str(),
                      .background = brush,
                      .icon = icon(SM_CXICON),
                      .smallIcon = icon(SM_CXSMICON)})) {
    throw Error(u"Cannot register the window class " + std::u16string(ClassInfo().name));
  }

  const std::u16string border = TextOf(Find(u"BorderStyle")).value_or(u"bsSizeable");
  const forms::FormValue* icons = Find(u"BorderIcons");
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (SameName(border, u"bsDialog")) {
    style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    exStyle |= WS_EX_DLGMODALFRAME;
  } else if (SameName(border, u"bsNone")) {
    style |= WS_POPUP;
  } else {
    style |= WS_OVERLAPPED | WS_CAPTION;
    if (SameName(border, u"bsSizeable")) style |= WS_THICKFRAME;
    if (!icons || forms::SetHas(icons, u"biMinimize")) style |= WS_MINIMIZEBOX;
    if (!icons || forms::SetHas(icons, u"biMaximize")) style |= WS_MAXIMIZEBOX;
  }
  if (!icons || forms::SetHas(icons, u"biSystemMenu")) style |= WS_SYSMENU;
  GetLook().Styles(Part::kForm, style, exStyle);

  RECT r{0, 0, 0, 0};
  const auto clientWidth = IntegerOf(Find(u"ClientWidth"));
  const auto clientHeight = IntegerOf(Find(u"ClientHeight"));
  r.right =
      Scaled(static_cast<int>(clientWidth.value_or(IntegerOf(Find(u"Width")).value_or(300))));
  r.bottom =
      Scaled(static_cast<int>(clientHeight.value_or(IntegerOf(Find(u"Height")).value_or(200))));
  if (clientWidth || clientHeight) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  if (!Create({.className = className.c_str(),
               .text = Wide(TextOf(Find(u"Caption")).value_or(u"")),
               .style = style,
               .exStyle = exStyle,
               .x = Scaled(static_cast<int>(IntegerOf(Find(u"Left")).value_or(0))),
               .y = Scaled(static_cast<int>(IntegerOf(Find(u"Top")).value_or(0))),
               .width = r.right - r.left,
               .height = r.bottom - r.top,
               .parent = options.owner})) {
    throw Error(u"Cannot create the window " + Name());
  }
  ::SetPropW(Hwnd(), kFormProp, reinterpret_cast<HANDLE>(1));
  if (!Name().empty())
    ::SetPropW(Hwnd(), ControlNameProperty(Wide(Name())).c_str(), reinterpret_cast<HANDLE>(1));
  ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(fontSpec_)), FALSE);
  forms::StoredComponent& self = *this;
  CreateChildren(self.Children(), Hwnd(), fontSpec_, 0);

  static constexpr EventSpec kEvents[] = {{u"OnCreate", HandlerKind::kNotify},
                                          {u"OnShow", HandlerKind::kNotify},
                                          {u"OnClose", HandlerKind::kNotify},
                                          {u"OnDestroy", HandlerKind::kNotify}};
  events_.Bind(*this, kEvents, handlers_);
  if (SameName(TextOf(Find(u"Position")).value_or(u""), u"poDesktopCenter")) PlaceAtPosition();
  if (g_decorator) g_decorator->Decorate(*this);
  Fire(u"OnCreate");
}

forms::StoredComponent* Form::FindComponentIf(
    const std::function<bool(const forms::StoredComponent&)>& match) const {
  std::vector<const forms::StoredComponent*> todo{this};
  while (!todo.empty()) {
    const forms::StoredComponent* c = todo.back();
    todo.pop_back();
    for (const auto& child : c->Children()) {
      if (match(*child)) return child.get();
      todo.push_back(child.get());
    }
  }
  return nullptr;
}

Control* Form::FindControl(std::u16string_view name) const {
  return static_cast<Control*>(FindComponentIf([name](const forms::StoredComponent& c) {
    return SameName(c.Name(), name) && dynamic_cast<const Control*>(&c) != nullptr;
  }));
}

void Form::Fire(std::u16string_view event) {
  if (dying_) return;
  if (const auto* h = events_.Find<NotifyHandler>(event)) (*h)(*this);
}

void Form::PlaceAtPosition() {
  ui::PlaceAtPosition(Hwnd(), TextOf(Find(u"Position")).value_or(u"poDesigned"));
}

void Form::Show() {
  PlaceAtPosition();
  SetShown(SW_SHOW);
}

void Form::ShowAs(int showCommand) {
  // Placed as it is now framed: a skin may have changed its frame since it was made.
  PlaceAtPosition();
  SetShown(showCommand);
}

void Form::Hide() {
  SetShown(SW_HIDE);
}

void Form::Close() {
  ::SendMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

void Form::SetShown(int showCommand) {
  for (MessageFilter* filter : filters_) {
    if (filter->FilterShow(*this, showCommand)) return;
  }
  ::ShowWindow(Hwnd(), showCommand);
}

int Form::ShowModal() {
  HWND owner = ::GetWindow(Hwnd(), GW_OWNER);
  modalResult_ = 0;
  modal_ = true;
  PlaceAtPosition();
  if (owner) ::EnableWindow(owner, FALSE);
  SetShown(SW_SHOW);
  MSG msg{};
  hiddenWithOwner_ = false;
  while (modalResult_ == 0 && ::IsWindow(Hwnd()) &&
         (::IsWindowVisible(Hwnd()) || hiddenWithOwner_)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit on to the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (!PreTranslateFormMessage(msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  // The owner comes back before this form hides, so that it gets the activation.
  if (owner) ::EnableWindow(owner, TRUE);
  Hide();
  modal_ = false;
  return modalResult_;
}

void Form::OnClose() {
  Fire(u"OnClose");
  if (modal_) {
    modalResult_ = kModalCancel;
  } else if (IsProgramForm(Hwnd())) {
    for (MessageFilter* filter : filters_) filter->BeforeClose(*this);
    Window::OnClose();
  } else {
    Hide();
  }
}

bool Form::FilterMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (dying_) return false;
  for (MessageFilter* filter : filters_) {
    if (filter->FilterMessage(*this, msg, wp, lp, result)) return true;
  }
  return false;
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (Control::Reflect(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      // Enter with no default button: the focused push button is the one Enter presses.
      if (LOWORD(wp) == IDOK && lp == 0) {
        HWND focus = ::GetFocus();
        if (focus && (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                      (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))) {
          ::SendMessageW(focus, BM_CLICK, 0, 0);
        } else if (focus) {
          OnEnterKey(focus);
        }
      }
      return 0;
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(Hwnd(), &r);
      GetLook().EraseBackground({Part::kForm, {}, {&fontSpec_}, Background()},
                                reinterpret_cast<HDC>(wp), r);
      return 1;
    }
    case WM_SHOWWINDOW:
      if (lp == SW_PARENTCLOSING || lp == SW_PARENTOPENING) {
        // Hidden or shown with its owner (minimised, restored): the system's handling hides
        // or shows the form by a ShowWindow of its own, which is neither a closing nor a
        // fresh showing. A modal form stays open meanwhile.
        followingOwner_ = true;
        const LRESULT r = DefaultProc(msg, wp, lp);
        followingOwner_ = false;
        hiddenWithOwner_ = !wp && !::IsWindowVisible(Hwnd());
        return r;
      }
      if (followingOwner_) break;
      hiddenWithOwner_ = false;
      if (wp) {
        Fire(u"OnShow");
      } else {
        OnHidden();
      }
      break;
    case WM_DPICHANGED:
      if (!lp) break;  // no suggested rectangle: not the system's
      ChangeDpi(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_DESTROY:
      Fire(u"OnDestroy");
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace kq::ui
