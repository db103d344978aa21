#include "resources/Forms.h"

#include <algorithm>

namespace kq::win {
namespace {

using forms::BoolOf;
using forms::ColorOf;
using forms::FontSpec;
using forms::IntegerOf;
using forms::SameName;
using forms::StringsOf;
using forms::TextOf;

constexpr wchar_t kControlProp[] = L"KQ.Control";
constexpr wchar_t kFormProp[] = L"KQ.Form";
constexpr wchar_t kPanelClass[] = L"KQPanel";

COLORREF ToColorRef(const forms::FormColor& c) {
  return c.systemIndex >= 0 ? ::GetSysColor(c.systemIndex) : static_cast<COLORREF>(c.rgb);
}

// Finds the wrapper of the child a parent's notification is about and hands it over.
bool ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      child = reinterpret_cast<HWND>(lp);
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    default:
      return false;
  }
  Control* c = child ? Control::FromHwnd(child) : nullptr;
  return c && c->OnReflected(msg, wp, lp, result);
}

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};

// --- the kinds without extra operations ---

class Label : public Control {
 public:
  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_CTLCOLORSTATIC) {
      result = ColorStatic(reinterpret_cast<HDC>(wp));
      return true;
    }
    if (msg == WM_COMMAND && (HIWORD(wp) == STN_CLICKED || HIWORD(wp) == STN_DBLCLK)) {
      Fire(HIWORD(wp) == STN_CLICKED ? u"OnClick" : u"OnDblClick");
      return true;
    }
    return Control::OnReflected(msg, wp, lp, result);
  }

 protected:
  WindowSpec Spec() const override {
    // One line, cut at the edge, unless the layout asks for wrapping.
    const bool wrap = BoolOf(Find(u"WordWrap")).value_or(false);
    return {L"STATIC", static_cast<DWORD>((wrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOPREFIX)};
  }
  // An auto-sized label (the default) takes the size of its text from the start.
  void AfterCreate() override {
    if (AutoSized()) FitText();
  }
  bool AutoSized() const { return BoolOf(Find(u"AutoSize")).value_or(true); }
  std::vector<std::pair<std::u16string_view, std::size_t>> Events() const override {
    return {{u"OnClick", 0}, {u"OnDblClick", 0}};
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    const LRESULT r = DefaultProc(msg, wp, lp);
    // An auto-sized label keeps its left and top and takes the size of its text.
    if (msg == WM_SETTEXT && AutoSized()) FitText();
    return r;
  }
  void FitText() {
    const std::u16string text = Text();
    HDC dc = ::GetDC(Hwnd());
    HGDIOBJ old = ::SelectObject(dc, font_);
    RECT r{0, 0, 0, 0};
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    if (!text.empty()) {
      ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
                  &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(Hwnd(), dc);
    ::SetWindowPos(Hwnd(), nullptr, 0, 0, std::max<int>(r.right, 3),
                   std::max<int>(r.bottom, tm.tmHeight),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(::GetParent(Hwnd()), nullptr, TRUE);
  }
};

// A label that opens its web address on a left press, with a hover font.
class WebLabel final : public Label {
 public:
  using Label::Label;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg != WM_CTLCOLORSTATIC) return Label::OnReflected(msg, wp, lp, result);
    HDC dc = reinterpret_cast<HDC>(wp);
    ::SetTextColor(dc, ToColorRef(hover_ ? hoverSpec_.color : fontSpec_.color));
    ::SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(ParentBackground());
    return true;
  }

 protected:
  WindowSpec Spec() const override {
    WindowSpec spec = Label::Spec();
    spec.style |= SS_NOTIFY;
    return spec;
  }
  void AfterCreate() override {
    Label::AfterCreate();
    hoverSpec_ =
        forms::FontOf([this](const std::u16string& n) { return Find(n); }, u"HoverFont", fontSpec_);
    hoverFont_ = OwnerForm().FontFor(hoverSpec_);
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      case WM_MOUSEMOVE:
        if (!hover_) {
          TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Hwnd(), 0};
          ::TrackMouseEvent(&tme);
          SetHover(true);
        }
        break;
      case WM_MOUSELEAVE:
        SetHover(false);
        break;
      case WM_LBUTTONDOWN:
        if (auto url = TextOf(Find(u"URL"))) {
          ::ShellExecuteW(nullptr, L"open", W(*url), nullptr, nullptr, SW_SHOWNORMAL);
        }
        break;
      default:
        break;
    }
    return Label::HandleMessage(msg, wp, lp);
  }

 private:
  void SetHover(bool hover) {
    hover_ = hover;
    ::SendMessageW(Hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(hover ? hoverFont_ : font_), TRUE);
  }
  FontSpec hoverSpec_;
  HFONT hoverFont_ = nullptr;
  bool hover_ = false;
};

class Edit final : public Control {
 public:
  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_COMMAND && HIWORD(wp) == EN_CHANGE) {
      Fire(u"OnChange");
      return true;
    }
    return Control::OnReflected(msg, wp, lp, result);
  }

 protected:
  WindowSpec Spec() const override {
    DWORD style = WS_TABSTOP | ES_AUTOHSCROLL;
    if (TextOf(Find(u"PasswordChar")).value_or(u"").size() == 1) style |= ES_PASSWORD;
    return {L"EDIT", style, WS_EX_CLIENTEDGE};
  }
  void AfterCreate() override {
    const std::u16string pass = TextOf(Find(u"PasswordChar")).value_or(u"");
    if (pass.size() == 1) ::SendMessageW(Hwnd(), EM_SETPASSWORDCHAR, pass[0], 0);
    // Shown while the edit is empty, also while it has the focus.
    if (auto hint = TextOf(Find(u"TextHint"))) {
      ::SendMessageW(Hwnd(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(W(*hint)));
    }
    if (auto max = IntegerOf(Find(u"MaxLength"))) ::SendMessageW(Hwnd(), EM_LIMITTEXT, *max, 0);
  }
  std::vector<std::pair<std::u16string_view, std::size_t>> Events() const override {
    return {{u"OnChange", 0}, {u"OnKeyPress", 2}};
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_CHAR) {
      if (const Handler* h = Bound(u"OnKeyPress")) {
        auto key = static_cast<wchar_t>(wp);
        std::get<KeyPressHandler> (*h)(*this, key);
        if (key == 0) return 0;
        wp = key;
      }
    }
    return Control::HandleMessage(msg, wp, lp);
  }
};

class Button final : public Control {
 public:
  using Control::Control;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
      // The result is set before the handler runs; the modal loop ends once it returned.
      if (auto r = IntegerOf(Find(u"ModalResult")))
        OwnerForm().SetModalResult(static_cast<int>(*r));
      Fire(u"OnClick");
      return true;
    }
    return Control::OnReflected(msg, wp, lp, result);
  }

 protected:
  WindowSpec Spec() const override { return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON}; }
};

// A container that passes its children's notifications back to them.
class Container : public Control {
 public:
  using Control::Control;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    LRESULT result = 0;
    if (ReflectToChild(msg, wp, lp, result)) return result;
    if (msg == WM_ERASEBKGND) {
      RECT r;
      ::GetClientRect(Hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wp), &r, ParentBackground());
      return 1;
    }
    return Control::HandleMessage(msg, wp, lp);
  }
};

class GroupBox : public Container {
 public:
  using Container::Container;
  bool OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg != WM_CTLCOLORSTATIC && msg != WM_CTLCOLORBTN)
      return Container::OnReflected(msg, wp, lp, result);
    result = ColorStatic(reinterpret_cast<HDC>(wp));
    return true;
  }

 protected:
  WindowSpec Spec() const override { return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT}; }
};

class Panel final : public Container {
 public:
  using Container::Container;

 protected:
  WindowSpec Spec() const override { return {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT}; }
  int ClientInset() const override {
    return Bevel(u"BevelOuter", u"bvRaised") + Bevel(u"BevelInner", u"bvNone");
  }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(Hwnd(), &ps);
      RECT r;
      ::GetClientRect(Hwnd(), &r);
      // The outer bevel on the edge, the inner one inside it.
      if (Bevel(u"BevelOuter", u"bvRaised")) {
        ::DrawEdge(dc, &r, Lowered(u"BevelOuter", u"bvRaised") ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
                   BF_RECT);
        ::InflateRect(&r, -1, -1);
      }
      if (Bevel(u"BevelInner", u"bvNone")) {
        ::DrawEdge(dc, &r, Lowered(u"BevelInner", u"bvNone") ? BDR_SUNKENOUTER : BDR_RAISEDINNER,
                   BF_RECT);
      }
      ::EndPaint(Hwnd(), &ps);
      return 0;
    }
    return Container::HandleMessage(msg, wp, lp);
  }

 private:
  std::u16string BevelOf(const char16_t* prop, const char16_t* fallback) const {
    return TextOf(Find(prop)).value_or(fallback);
  }
  int Bevel(const char16_t* prop, const char16_t* fallback) const {
    return SameName(BevelOf(prop, fallback), u"bvNone") ? 0 : 1;
  }
  bool Lowered(const char16_t* prop, const char16_t* fallback) const {
    return SameName(BevelOf(prop, fallback), u"bvLowered");
  }
};

// --- the class table ---

struct ClassEntry {
  forms::ComponentClass info;
  ComponentFactory factory;
};

template <class T>
std::unique_ptr<forms::StoredComponent> Make(Form& f) {
  return std::make_unique<T>(f);
}

std::vector<ClassEntry>& ClassTable() {
  static std::vector<ClassEntry> table = {
      {{u"TLabel", &forms::kComponentClass}, &Make<Label>},
      {{u"TsWebLabel", &forms::kComponentClass}, &Make<WebLabel>},
      {{u"TEdit", &forms::kComponentClass}, &Make<Edit>},
      {{u"TButton", &forms::kComponentClass}, &Make<Button>},
      {{u"TCheckBox", &forms::kComponentClass}, &Make<CheckBox>},
      {{u"TListBox", &forms::kComponentClass}, &Make<ListBox>},
      {{u"TComboBox", &forms::kComponentClass}, &Make<ComboBox>},
      {{u"TGroupBox", &forms::kComponentClass}, &Make<GroupBox>},
      {{u"TRadioGroup", &forms::kComponentClass}, &Make<RadioGroup>},
      {{u"TPanel", &forms::kComponentClass}, &Make<Panel>},
      {{u"TsSkinManager", &forms::kComponentClass}, &Make<NonVisualComponent>},
      {{u"TsSkinProvider", &forms::kComponentClass}, &Make<NonVisualComponent>},
  };
  return table;
}

const ClassEntry* FindClassEntry(std::u16string_view name) {
  for (const ClassEntry& e : ClassTable()) {
    if (SameName(e.info.name, name)) return &e;
  }
  return nullptr;
}

std::unique_ptr<forms::StoredComponent> CreateByClass(Form& form, std::u16string_view name) {
  const ClassEntry* e = FindClassEntry(name);
  return e ? e->factory(form) : nullptr;
}

const forms::ComponentClass& ClassInfoOf(const forms::StoredComponent& c) {
  const ClassEntry* e = FindClassEntry(c.StoredClassName());
  return e ? e->info : forms::kComponentClass;
}

int TabOrderOf(const forms::StoredComponent& c) {
  return static_cast<int>(IntegerOf(c.Find(u"TabOrder")).value_or(INT_MAX));
}

// Creates the windows of a container's children, stacks the top-aligned ones and puts
// the children in tab order (the window order is the order Tab visits them).
void CreateChildren(const std::vector<std::unique_ptr<forms::StoredComponent>>& children,
                    HWND parent, const FontSpec& font, int inset) {
  std::vector<Control*> controls;
  for (const auto& child : children) {
    if (auto* c = dynamic_cast<Control*>(child.get())) {
      c->CreateHandle(parent, font);
      controls.push_back(c);
    }
  }
  RECT client;
  ::GetClientRect(parent, &client);
  int top = inset;
  for (Control* c : controls) {
    if (!SameName(TextOf(c->Find(u"Align")).value_or(u""), u"alTop")) continue;
    RECT r;
    ::GetWindowRect(c->Hwnd(), &r);
    const int height = static_cast<int>(IntegerOf(c->Find(u"Height")).value_or(r.bottom - r.top));
    ::MoveWindow(c->Hwnd(), inset, top, client.right - 2 * inset, height, FALSE);
    top += height;
  }
  std::stable_sort(controls.begin(), controls.end(),
                   [](Control* a, Control* b) { return TabOrderOf(*a) < TabOrderOf(*b); });
  HWND after = HWND_TOP;
  for (Control* c : controls) {
    ::SetWindowPos(c->Hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->Hwnd();
  }
}

bool RegisterPanelClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, kPanelClass, &wc)) return true;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClass;
  return ::RegisterClassExW(&wc) != 0;
}

// The first form without an owner: closing it ends the program.
bool IsProgramForm(HWND hwnd) {
  return ::GetWindow(hwnd, GW_OWNER) == nullptr;
}

}  // namespace

const forms::ComponentClass kFormClass{u"TForm", &forms::kComponentClass};

std::wstring ControlNameProperty(std::wstring_view name) {
  return L"KQName:" + std::wstring(name);
}

bool PreTranslateFormMessage(MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || !::GetPropW(root, kFormProp)) return false;
  return ::IsDialogMessageW(root, &msg) != 0;
}

void RegisterComponentClass(std::u16string_view className, ComponentFactory factory) {
  auto& table = ClassTable();
  for (ClassEntry& e : table) {
    if (SameName(e.info.name, className)) {
      e.factory = factory;
      return;
    }
  }
  // The names live as long as the table: keep them in storage that never moves.
  static std::vector<std::unique_ptr<std::u16string>> names;
  names.push_back(std::make_unique<std::u16string>(className));
  table.push_back({{*names.back(), &forms::kComponentClass}, factory});
}

// --- NonVisualComponent ---

const forms::ComponentClass& NonVisualComponent::ClassInfo() const {
  return ClassInfoOf(*this);
}

std::unique_ptr<forms::StoredComponent> NonVisualComponent::CreateChild(
    std::u16string_view className) {
  return CreateByClass(form_, className);
}

// --- Control ---

Control::~Control() {
  if (hwnd_) {
    ::RemoveWindowSubclass(hwnd_, &Control::SubclassProc, 0);
    ::RemovePropW(hwnd_, kControlProp);
  }
}

const forms::ComponentClass& Control::ClassInfo() const {
  return ClassInfoOf(*this);
}

Control* Control::FromHwnd(HWND hwnd) {
  return static_cast<Control*>(::GetPropW(hwnd, kControlProp));
}

std::u16string Control::Text() const {
  const int n = ::GetWindowTextLengthW(hwnd_);
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  buf.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd_, buf.data(), n + 1)));
  return U16(buf);
}

void Control::SetText(const std::u16string& text) {
  ::SetWindowTextW(hwnd_, W(text));
}

std::unique_ptr<forms::StoredComponent> Control::CreateChild(std::u16string_view className) {
  return CreateByClass(form_, className);
}

void Control::CreateHandle(HWND parent, const FontSpec& parentFont) {
  auto find = [this](const std::u16string& n) { return Find(n); };
  fontSpec_ = forms::FontOf(find, u"Font", parentFont);
  font_ = form_.FontFor(fontSpec_);
  const WindowSpec spec = Spec();
  DWORD style = spec.style | WS_CHILD | WS_CLIPSIBLINGS;
  if (BoolOf(Find(u"Visible")).value_or(true)) style |= WS_VISIBLE;
  if (!BoolOf(Find(u"Enabled")).value_or(true)) style |= WS_DISABLED;
  if (auto tabStop = BoolOf(Find(u"TabStop")))
    style = *tabStop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
  const std::u16string text =
      TextOf(Find(u"Caption")).value_or(TextOf(Find(u"Text")).value_or(u""));
  const auto get = [this](const char16_t* n) {
    return static_cast<int>(IntegerOf(Find(n)).value_or(0));
  };
  hwnd_ = ::CreateWindowExW(spec.exStyle, spec.className, W(text), style, get(u"Left"), get(u"Top"),
                            get(u"Width"), get(u"Height") + spec.extraHeight, parent,
                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(form_.NextControlId())),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw Error(u"Cannot create the control " + Name());
  ::SetPropW(hwnd_, kControlProp, this);
  if (!Name().empty())
    ::SetPropW(hwnd_, ControlNameProperty(Wide(Name())).c_str(), reinterpret_cast<HANDLE>(1));
  ::SetWindowSubclass(hwnd_, &Control::SubclassProc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  BindEvents();
  AfterCreate();
  forms::StoredComponent& self = *this;
  CreateChildren(self.Children(), hwnd_, fontSpec_, ClientInset());
}

void Control::BindEvents() {
  const auto known = Events();
  for (const forms::FormProperty& p : Properties()) {
    if (p.name.size() < 3 || p.name.compare(0, 2, u"On") != 0) continue;
    const auto event = std::find_if(known.begin(), known.end(),
                                    [&](const auto& e) { return SameName(e.first, p.name); });
    if (event == known.end())
      throw Error(u"Event " + p.name + u" is not one of " + StoredClassName());
    const Handler* h = form_.LookupHandler(p.value.text);
    if (!h || h->index() != event->second) {
      throw Error(u"Handler " + p.value.text + u" for " + Name() + u"." + p.name + u" not found");
    }
    events_.emplace(std::u16string(event->first), *h);
  }
}

const Handler* Control::Bound(std::u16string_view event) const {
  if (form_.Dying()) return nullptr;
  auto it = events_.find(event);
  return it == events_.end() ? nullptr : &it->second;
}

void Control::Fire(std::u16string_view event) {
  if (const Handler* h = Bound(event)) std::get<NotifyHandler> (*h)(*this);
}

bool Control::OnReflected(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

HBRUSH Control::ParentBackground() const {
  return ::GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT Control::ColorStatic(HDC dc) const {
  ::SetTextColor(dc, ToColorRef(fontSpec_.color));
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(ParentBackground());
}

LRESULT Control::DefaultProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::DefSubclassProc(hwnd_, msg, wp, lp);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefaultProc(msg, wp, lp);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR ref) {
  auto* self = reinterpret_cast<Control*>(ref);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    self->form_.ReportException(e);
  } catch (...) {
    self->form_.ReportException(std::runtime_error("Unexpected error"));
  }
  if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &Control::SubclassProc, 0);
    ::RemovePropW(hwnd, kControlProp);
    self->hwnd_ = nullptr;
  }
  return result;
}

// --- ListBox ---

Control::WindowSpec ListBox::Spec() const {
  DWORD style = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (SameName(TextOf(Find(u"Style")).value_or(u""), u"lbOwnerDrawFixed")) {
    style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  }
  return {L"LISTBOX", style, WS_EX_CLIENTEDGE};
}

void ListBox::AfterCreate() {
  if (auto h = IntegerOf(Find(u"ItemHeight"))) ::SendMessageW(Hwnd(), LB_SETITEMHEIGHT, 0, *h);
  for (const auto& item : StringsOf(Find(u"Items.Strings"))) Add(item);
}

std::vector<std::pair<std::u16string_view, std::size_t>> ListBox::Events() const {
  return {{u"OnClick", 0}, {u"OnDblClick", 0}, {u"OnDrawItem", 1}};
}

void ListBox::Clear() {
  ::SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
}
int ListBox::Add(const std::u16string& item) {
  return static_cast<int>(
      ::SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item))));
}
int ListBox::Count() const {
  return static_cast<int>(::SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0));
}
int ListBox::ItemIndex() const {
  return static_cast<int>(::SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}
std::u16string ListBox::Item(int index) const {
  const auto n = ::SendMessageW(Hwnd(), LB_GETTEXTLEN, index, 0);
  if (n < 0) return {};
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  ::SendMessageW(Hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(n));
  return U16(buf);
}

bool ListBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND) {
    if (HIWORD(wp) == LBN_DBLCLK)
      Fire(u"OnDblClick");
    else if (HIWORD(wp) == LBN_SELCHANGE)
      Fire(u"OnClick");
    return true;
  }
  if (msg != WM_DRAWITEM) return Control::OnReflected(msg, wp, lp, result);
  auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
  result = TRUE;
  if (dis->itemID == static_cast<UINT>(-1)) return true;  // an empty list with the focus
  // The canvas comes with the list's font and the normal or selection colours, as the
  // handler expects them.
  const bool selected = dis->itemState & ODS_SELECTED;
  HGDIOBJ oldFont = ::SelectObject(dis->hDC, font_);
  ::SetTextColor(dis->hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ::SetBkColor(dis->hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const DrawItemArgs args{static_cast<int>(dis->itemID), dis->rcItem, dis->itemState, dis->hDC};
  if (const Handler* h = Bound(u"OnDrawItem")) {
    std::get<DrawItemHandler> (*h)(*this, args);
  } else {
    const std::u16string text = Item(args.index);
    ::ExtTextOutW(dis->hDC, dis->rcItem.left, dis->rcItem.top, ETO_OPAQUE, &dis->rcItem, W(text),
                  static_cast<UINT>(text.size()), nullptr);
  }
  if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dis->hDC, &dis->rcItem);
  ::SelectObject(dis->hDC, oldFont);
  return true;
}

// --- ComboBox ---

Control::WindowSpec ComboBox::Spec() const {
  const bool list = SameName(TextOf(Find(u"Style")).value_or(u""), u"csDropDownList");
  return {L"COMBOBOX",
          static_cast<DWORD>(WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
                             (list ? CBS_DROPDOWNLIST : CBS_DROPDOWN)),
          0,
          // Room for the dropped-down list below the text field.
          200};
}

void ComboBox::AfterCreate() {
  // The closed box is as high as the layout says: the field plus its 3-pixel frame.
  if (auto h = IntegerOf(Find(u"Height")))
    ::SendMessageW(Hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), *h - 6);
  for (const auto& item : StringsOf(Find(u"Items.Strings"))) {
    ::SendMessageW(Hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  }
  if (auto i = IntegerOf(Find(u"ItemIndex"))) SetItemIndex(static_cast<int>(*i));
  if (auto text = TextOf(Find(u"Text"))) SetText(*text);
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (::GetComboBoxInfo(Hwnd(), &info) && info.hwndItem) {
    ::SetWindowSubclass(info.hwndItem, &ComboBox::EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
}

std::vector<std::pair<std::u16string_view, std::size_t>> ComboBox::Events() const {
  return {{u"OnChange", 0}, {u"OnSelect", 0}, {u"OnKeyPress", 2}};
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(::SendMessageW(Hwnd(), CB_GETCURSEL, 0, 0));
}
void ComboBox::SetItemIndex(int index) {
  ::SendMessageW(Hwnd(), CB_SETCURSEL, index, 0);
}

bool ComboBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg != WM_COMMAND) return Control::OnReflected(msg, wp, lp, result);
  if (HIWORD(wp) == CBN_SELCHANGE)
    Fire(u"OnSelect");
  else if (HIWORD(wp) == CBN_EDITCHANGE)
    Fire(u"OnChange");
  return true;
}

// Characters typed into the text field pass the key-press handler first.
LRESULT CALLBACK ComboBox::EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                    DWORD_PTR ref) {
  auto* self = reinterpret_cast<ComboBox*>(ref);
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &ComboBox::EditProc, 0);
  if (msg == WM_CHAR) {
    try {
      if (const Handler* h = self->Bound(u"OnKeyPress")) {
        auto key = static_cast<wchar_t>(wp);
        std::get<KeyPressHandler> (*h)(*self, key);
        if (key == 0) return 0;
        wp = key;
      }
    } catch (const std::exception& e) {
      self->OwnerForm().ReportException(e);
      return 0;
    }
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// --- CheckBox ---

Control::WindowSpec CheckBox::Spec() const {
  return {L"BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX};
}
void CheckBox::AfterCreate() {
  SetChecked(BoolOf(Find(u"Checked")).value_or(false));
}
bool CheckBox::Checked() const {
  return ::SendMessageW(Hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void CheckBox::SetChecked(bool checked) {
  ::SendMessageW(Hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool CheckBox::OnReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED) {
    Fire(u"OnClick");
    return true;
  }
  if (msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN) {
    result = ColorStatic(reinterpret_cast<HDC>(wp));
    return true;
  }
  return Control::OnReflected(msg, wp, lp, result);
}

// --- RadioGroup ---

Control::WindowSpec RadioGroup::Spec() const {
  return {L"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
}

void RadioGroup::AfterCreate() {
  const auto items = StringsOf(Find(u"Items.Strings"));
  for (std::size_t i = 0; i < items.size(); ++i) {
    // The first button starts the group and takes the Tab stop; arrows move inside.
    const DWORD style =
        WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0);
    HWND b = ::CreateWindowExW(
        0, L"BUTTON", W(items[i]), style, 0, 0, 0, 0, Hwnd(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(OwnerForm().NextControlId())),
        ::GetModuleHandleW(nullptr), nullptr);
    if (!b) throw Error(u"Cannot create the choices of " + Name());
    ::SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ::SetPropW(b, ControlNameProperty(Wide(Name()) + L"[" + std::to_wstring(i) + L"]").c_str(),
               reinterpret_cast<HANDLE>(1));
    buttons_.emplace_back(b);
  }
  Arrange();
  SetItemIndex(static_cast<int>(IntegerOf(Find(u"ItemIndex")).value_or(-1)));
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
  const auto boxes = forms::RadioButtonBoxes(
      static_cast<int>(buttons_.size()), static_cast<int>(IntegerOf(Find(u"Columns")).value_or(1)),
      r.right, r.bottom, tm.tmHeight);
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ::MoveWindow(buttons_[i].Get(), boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height,
                 TRUE);
  }
}

int RadioGroup::ItemIndex() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (::SendMessageW(buttons_[i].Get(), BM_GETCHECK, 0, 0) == BST_CHECKED)
      return static_cast<int>(i);
  }
  return -1;
}

void RadioGroup::SetItemIndex(int index) {
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ::SendMessageW(buttons_[i].Get(), BM_SETCHECK,
                   static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

LRESULT RadioGroup::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) Fire(u"OnClick");
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColorStatic(reinterpret_cast<HDC>(wp));
    case WM_ERASEBKGND: {
      RECT r;
      ::GetClientRect(Hwnd(), &r);
      ::FillRect(reinterpret_cast<HDC>(wp), &r, ParentBackground());
      return 1;
    }
    case WM_SIZE:
      Arrange();
      break;
    case WM_NCDESTROY:
      // The buttons went with the group's window.
      for (auto& b : buttons_) b.Release();
      break;
    default:
      break;
  }
  return Control::HandleMessage(msg, wp, lp);
}

// --- Form ---

Form::Form() = default;

Form::~Form() {
  // Handlers belong to the derived form, which is gone already: none may run now.
  dying_ = true;
  if (Hwnd()) ::DestroyWindow(Hwnd());
}

std::unique_ptr<forms::StoredComponent> Form::CreateChild(std::u16string_view className) {
  return CreateByClass(*this, className);
}

const Handler* Form::LookupHandler(std::u16string_view name) const {
  for (const HandlerSlot& slot : handlers_) {
    if (SameName(slot.name, name)) return &slot.handler;
  }
  return nullptr;
}

HFONT Form::FontFor(const FontSpec& f) {
  const std::wstring key = Wide(f.name) + L"|" + std::to_wstring(f.height) + L"|" +
                           std::to_wstring(f.bold) + std::to_wstring(f.italic) +
                           std::to_wstring(f.underline) + std::to_wstring(f.strikeOut);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    HFONT font =
        ::CreateFontW(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline,
                      f.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                      DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, W(f.name));
    it = fonts_.emplace(key, GdiObject(font)).first;
  }
  return static_cast<HFONT>(it->second.Get());
}

void Form::CreateForm(const CreateOptions& options) {
  std::lock_guard lock(forms::StreamingLock());
  forms::InitInheritedComponent(*this, &kFormClass);
  handlers_ = Handlers();
  if (!RegisterPanelClass()) throw Error(u"Cannot register the panel class");

  auto find = [this](const std::u16string& n) { return Find(n); };
  fontSpec_ = forms::FontOf(find, u"Font", FontSpec{});
  const std::wstring className = Wide(ClassInfo().name);
  HBRUSH brush = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  if (auto color = ColorOf(Find(u"Color"))) {
    if (color->systemIndex >= 0) {
      brush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(color->systemIndex + 1));
    } else {
      background_.Reset(::CreateSolidBrush(color->rgb));
      brush = static_cast<HBRUSH>(background_.Get());
    }
  }
  if (!RegisterClass({.name = className.c_str(), .background = brush})) {
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

  RECT r{0, 0, 0, 0};
  const auto clientWidth = IntegerOf(Find(u"ClientWidth"));
  const auto clientHeight = IntegerOf(Find(u"ClientHeight"));
  r.right = static_cast<LONG>(clientWidth.value_or(IntegerOf(Find(u"Width")).value_or(300)));
  r.bottom = static_cast<LONG>(clientHeight.value_or(IntegerOf(Find(u"Height")).value_or(200)));
  if (clientWidth || clientHeight) ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
  if (!Create({.className = className.c_str(),
               .text = Wide(TextOf(Find(u"Caption")).value_or(u"")),
               .style = style,
               .exStyle = exStyle,
               .x = static_cast<int>(IntegerOf(Find(u"Left")).value_or(0)),
               .y = static_cast<int>(IntegerOf(Find(u"Top")).value_or(0)),
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

  const std::vector<std::pair<std::u16string_view, std::size_t>> known = {
      {u"OnCreate", 0}, {u"OnShow", 0}, {u"OnClose", 0}, {u"OnDestroy", 0}};
  for (const forms::FormProperty& p : Properties()) {
    if (p.name.size() < 3 || p.name.compare(0, 2, u"On") != 0) continue;
    auto event = std::find_if(known.begin(), known.end(),
                              [&](const auto& e) { return SameName(e.first, p.name); });
    const Handler* h = LookupHandler(p.value.text);
    if (event == known.end() || !h || h->index() != event->second) {
      throw Error(u"Handler " + p.value.text + u" for " + Name() + u"." + p.name + u" not found");
    }
    events_.emplace(std::u16string(event->first), *h);
  }
  if (SameName(TextOf(Find(u"Position")).value_or(u""), u"poDesktopCenter")) PlaceAtPosition();
  Fire(u"OnCreate");
}

Control* Form::FindControl(std::u16string_view name) const {
  std::vector<const forms::StoredComponent*> todo{this};
  while (!todo.empty()) {
    const forms::StoredComponent* c = todo.back();
    todo.pop_back();
    for (const auto& child : c->Children()) {
      if (SameName(child->Name(), name)) {
        if (auto* control = dynamic_cast<Control*>(child.get())) return control;
      }
      todo.push_back(child.get());
    }
  }
  return nullptr;
}

void Form::Fire(std::u16string_view event) {
  if (dying_) return;
  auto it = events_.find(event);
  if (it != events_.end()) std::get<NotifyHandler>(it->second)(*this);
}

void Form::PlaceAtPosition() {
  RECT frame;
  ::GetWindowRect(Hwnd(), &frame);
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  const std::u16string position = TextOf(Find(u"Position")).value_or(u"poDesigned");
  int x = frame.left;
  int y = frame.top;
  HWND owner = ::GetWindow(Hwnd(), GW_OWNER);
  if (SameName(position, u"poDesktopCenter")) {
    // The desktop may span several monitors.
    x = ::GetSystemMetrics(SM_XVIRTUALSCREEN) + (::GetSystemMetrics(SM_CXVIRTUALSCREEN) - w) / 2;
    y = ::GetSystemMetrics(SM_YVIRTUALSCREEN) + (::GetSystemMetrics(SM_CYVIRTUALSCREEN) - h) / 2;
  } else if (SameName(position, u"poScreenCenter") ||
             (!owner && (SameName(position, u"poOwnerFormCenter") ||
                         SameName(position, u"poMainFormCenter")))) {
    x = (::GetSystemMetrics(SM_CXSCREEN) - w) / 2;
    y = (::GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  } else if (SameName(position, u"poOwnerFormCenter") || SameName(position, u"poMainFormCenter")) {
    RECT o;
    ::GetWindowRect(owner, &o);
    x = o.left + (o.right - o.left - w) / 2;
    y = o.top + (o.bottom - o.top - h) / 2;
  }
  ::SetWindowPos(Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  PlaceAtPosition();
  ::ShowWindow(Hwnd(), SW_SHOW);
}

int Form::ShowModal() {
  HWND owner = ::GetWindow(Hwnd(), GW_OWNER);
  modalResult_ = 0;
  modal_ = true;
  PlaceAtPosition();
  if (owner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(Hwnd(), SW_SHOW);
  MSG msg{};
  while (modalResult_ == 0 && ::IsWindowVisible(Hwnd())) {
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
  ::ShowWindow(Hwnd(), SW_HIDE);
  modal_ = false;
  return modalResult_;
}

void Form::OnClose() {
  Fire(u"OnClose");
  if (modal_) {
    modalResult_ = kModalCancel;
  } else if (IsProgramForm(Hwnd())) {
    Window::OnClose();
  } else {
    ::ShowWindow(Hwnd(), SW_HIDE);
  }
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ReflectToChild(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
      // Enter with no default button: the focused push button is the one Enter presses.
      if (LOWORD(wp) == IDOK && lp == 0) {
        HWND focus = ::GetFocus();
        if (focus && (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                      (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON))) {
          ::SendMessageW(focus, BM_CLICK, 0, 0);
        }
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wp) Fire(u"OnShow");
      break;
    case WM_DESTROY:
      Fire(u"OnDestroy");
      break;
    default:
      break;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace kq::win
