#include "ui/Accessible.h"

#include "win/LazyLibrary.h"

#include <oleacc.h>

#include <atomic>

namespace kq::ui {
namespace {

// The accessibility library and the automation strings are loaded when a screen reader
// first asks, never at a plain start.
BSTR AllocString(const OLECHAR* text, UINT length) {
  auto* alloc = win::AutomationLibrary().Proc<decltype(::SysAllocStringLen)>("SysAllocStringLen");
  return alloc ? alloc(text, length) : nullptr;
}

// The interface's id from the header, not the library's exported IID_IAccessible: that one is
// data in the library, and taken without the import's indirection it read as a wrong id.
const IID kIidAccessible = __uuidof(IAccessible);

// The system's role of a standard control, for the plain object.
long RoleOf(HWND hwnd) {
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  const DWORD kind = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)) & 0x0F;
  if (::lstrcmpiW(cls, L"Edit") == 0) return ROLE_SYSTEM_TEXT;
  if (::lstrcmpiW(cls, L"ListBox") == 0) return ROLE_SYSTEM_LIST;
  if (::lstrcmpiW(cls, L"ComboBox") == 0) return ROLE_SYSTEM_COMBOBOX;
  if (::lstrcmpiW(cls, L"Button") == 0) {
    if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX) return ROLE_SYSTEM_CHECKBUTTON;
    if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) return ROLE_SYSTEM_RADIOBUTTON;
    if (kind == BS_GROUPBOX) return ROLE_SYSTEM_GROUPING;
    return ROLE_SYSTEM_PUSHBUTTON;
  }
  return ROLE_SYSTEM_CLIENT;
}

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object for the window with another name; or, without one, a plain object.
class NamedAccessible final : public IAccessible {
 public:
  NamedAccessible(HWND hwnd, std::u16string name) : hwnd_(hwnd), name_(std::move(name)) {
    if (auto* create = win::AccessibilityLibrary().Proc<decltype(::CreateStdAccessibleObject)>(
            "CreateStdAccessibleObject")) {
      create(hwnd, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&inner_));
    }
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == kIidAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: screen readers call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: the name is ours, the rest the system's where it has an object.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return inner_ ? inner_->get_accName(child, name) : E_INVALIDARG;
    *name = AllocString(reinterpret_cast<const OLECHAR*>(name_.data()),
                        static_cast<UINT>(name_.size()));
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (inner_) return inner_->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = RoleOf(hwnd_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (inner_) return inner_->get_accState(child, state);
    long s = STATE_SYSTEM_FOCUSABLE;
    if (!::IsWindowVisible(hwnd_)) s |= STATE_SYSTEM_INVISIBLE;
    if (!::IsWindowEnabled(hwnd_)) s |= STATE_SYSTEM_UNAVAILABLE;
    if (::GetFocus() == hwnd_) s |= STATE_SYSTEM_FOCUSED;
    if (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & ES_PASSWORD && RoleOf(hwnd_) == ROLE_SYSTEM_TEXT)
      s |= STATE_SYSTEM_PROTECTED;
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (inner_) return inner_->get_accValue(child, value);
    // A password is never read out.
    if (RoleOf(hwnd_) != ROLE_SYSTEM_TEXT || (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & ES_PASSWORD))
      return S_FALSE;
    const int n = ::GetWindowTextLengthW(hwnd_);
    *value = AllocString(nullptr, static_cast<UINT>(n));
    if (!*value) return E_OUTOFMEMORY;
    ::GetWindowTextW(hwnd_, *value, n + 1);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                        VARIANT child) override {
    if (inner_) return inner_->accLocation(x, y, w, h, child);
    RECT r;
    ::GetWindowRect(hwnd_, &r);
    *x = r.left;
    *y = r.top;
    *w = r.right - r.left;
    *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (inner_) return inner_->get_accParent(parent);
    auto* fromWindow = win::AccessibilityLibrary().Proc<decltype(::AccessibleObjectFromWindow)>(
        "AccessibleObjectFromWindow");
    if (!fromWindow) return E_FAIL;
    return fromWindow(::GetParent(hwnd_), static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (inner_) return inner_->get_accChildCount(count);
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (inner_) return inner_->get_accChild(child, out);
    *out = nullptr;
    return E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    if (inner_) return inner_->get_accDescription(child, out);
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    if (inner_) return inner_->get_accHelp(child, out);
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    if (inner_) return inner_->get_accHelpTopic(file, child, topic);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    if (inner_) return inner_->get_accKeyboardShortcut(child, out);
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (inner_) return inner_->get_accFocus(out);
    out->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (inner_) return inner_->get_accSelection(out);
    out->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    if (inner_) return inner_->get_accDefaultAction(child, out);
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return inner_ ? inner_->accSelect(flags, child) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override {
    return inner_ ? inner_->accNavigate(dir, start, end) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (inner_) return inner_->accHitTest(x, y, out);
    out->vt = VT_I4;
    out->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return inner_ ? inner_->accDoDefaultAction(child) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return inner_ ? inner_->put_accValue(child, value) : E_NOTIMPL;
  }

 private:
  ~NamedAccessible() {
    if (inner_) inner_->Release();
  }
  std::atomic<ULONG> refs_{1};
  HWND hwnd_;
  std::u16string name_;
  IAccessible* inner_ = nullptr;
};

}  // namespace

IAccessible* CreateNamedAccessible(HWND hwnd, const std::u16string& name) {
  return new NamedAccessible(hwnd, name);
}

LRESULT AnswerAccessibleName(HWND hwnd, WPARAM wp, const std::u16string& name) {
  auto* lresultFrom =
      win::AccessibilityLibrary().Proc<decltype(::LresultFromObject)>("LresultFromObject");
  if (!lresultFrom) return 0;
  IAccessible* object = CreateNamedAccessible(hwnd, name);
  const LRESULT result = lresultFrom(kIidAccessible, wp, object);
  object->Release();
  return result > 0 ? result : 0;
}

}  // namespace kq::ui
