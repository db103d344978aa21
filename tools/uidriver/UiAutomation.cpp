#include "UiAutomation.h"

#include <cstdio>

namespace kq::ui {
namespace {

struct TopSearch {
  const std::wstring* className;
  DWORD pid;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchTop(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  wchar_t cls[128] = {};
  ::GetClassNameW(hwnd, cls, 128);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (*s->className != cls || (s->pid && pid != s->pid) ||
      (s->visibleOnly && !::IsWindowVisible(hwnd))) {
    return TRUE;
  }
  s->found = hwnd;
  return FALSE;
}

struct NameSearch {
  std::wstring prop;
  HWND found;
};

BOOL CALLBACK MatchName(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<NameSearch*>(lp);
  if (!::GetPropW(hwnd, s->prop.c_str())) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

HWND WaitTopWindow(const std::wstring& className, int ms, DWORD pid, bool visibleOnly) {
  TopSearch s{&className, pid, visibleOnly, nullptr};
  for (int waited = 0;; waited += 50) {
    ::EnumWindows(&MatchTop, reinterpret_cast<LPARAM>(&s));
    if (s.found || waited >= ms) return s.found;
    ::Sleep(50);
  }
}

std::wstring TakeMessageBox(DWORD pid, int ms) {
  HWND box = WaitTopWindow(L"#32770", ms, pid, true);
  if (!box) return L"";
  std::wstring text;
  for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    ::GetClassNameW(c, cls, 32);
    wchar_t buf[512] = {};
    ::GetWindowTextW(c, buf, 512);  // the text Windows keeps: the box's thread may be busy
    if (std::wstring(cls) == L"Static" && buf[0]) text = buf;
  }
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  for (int waited = 0; ::IsWindow(box) && waited < 5000; waited += 20) ::Sleep(20);
  return text;
}

HWND FindNamed(HWND root, const std::wstring& name) {
  NameSearch s{L"KQName:" + name, nullptr};
  if (::GetPropW(root, s.prop.c_str())) return root;
  ::EnumChildWindows(root, &MatchName, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::wstring Text(HWND hwnd) {
  // WM_GETTEXT crosses process boundaries; GetWindowText would not ask the control.
  const auto n = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::wstring buf(static_cast<std::size_t>(n) + 1, L'\0');
  const auto got =
      ::SendMessageW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(static_cast<std::size_t>(got));
  return buf;
}

void SetText(HWND hwnd, const std::wstring& text) {
  ::SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool Enabled(HWND hwnd) {
  return ::IsWindowEnabled(hwnd) != 0;
}

RECT RectInParent(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Click(HWND button) {
  ::PostMessageW(button, BM_CLICK, 0, 0);
}

bool DoubleClickItem(HWND list, int index) {
  const auto count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return false;
  ::SendMessageW(list, LB_SETCURSEL, index, 0);
  const auto top = ::SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const auto height = ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
  const LPARAM at = MAKELPARAM(4, static_cast<int>((index - top) * height + height / 2));
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

bool SelectEntry(HWND combo, int index) {
  if (::SendMessageW(combo, CB_SETCURSEL, index, 0) == CB_ERR) return false;
  ::SendMessageW(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
  return true;
}

std::vector<std::wstring> Items(HWND hwnd) {
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  const bool combo = _wcsicmp(cls, L"ComboBox") == 0;
  const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT len = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT get = combo ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::wstring> items;
  const auto n = ::SendMessageW(hwnd, count, 0, 0);
  for (LRESULT i = 0; i < n; ++i) {
    const auto l = ::SendMessageW(hwnd, len, i, 0);
    std::wstring buf(static_cast<std::size_t>(l < 0 ? 0 : l) + 1, L'\0');
    ::SendMessageW(hwnd, get, i, reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(wcslen(buf.c_str()));
    items.push_back(buf);
  }
  return items;
}

bool SaveScreenshot(HWND hwnd, const std::wstring& path) {
  RECT r;
  if (!::GetWindowRect(hwnd, &r)) return false;
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(mem, bmp);
  ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::SelectObject(mem, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = w;
  info.biHeight = h;  // bottom-up, as BMP files store it
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * h);
  const int lines = ::GetDIBits(mem, bmp, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                                DIB_RGB_COLORS);
  ::DeleteObject(bmp);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  if (lines != h) return false;

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  const bool ok = std::fwrite(&file, sizeof(file), 1, f) == 1 &&
                  std::fwrite(&info, sizeof(info), 1, f) == 1 &&
                  std::fwrite(pixels.data(), 1, pixels.size(), f) == pixels.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kq::ui
