// Drives another program's windows from outside, as a player would: finds top-level
// windows and named controls (by the window property the launcher's framework sets),
// types, clicks, double-clicks list items, picks combo entries, reads texts and states,
// and captures a window as a bitmap. Used by KQUiDriver and by the end-to-end tests.
#pragma once

#include "win/Win.h"

#include <string>
#include <vector>

namespace kq::ui {

// A top-level window of that class (of that process when pid is not 0), waiting up to
// `ms`; with `visibleOnly` only a shown one counts. Null when none came.
HWND WaitTopWindow(const std::wstring& className, int ms, DWORD pid = 0, bool visibleOnly = false);

// A window under `root` carrying the name (window property "KQName:<name>"), or null.
HWND FindNamed(HWND root, const std::wstring& name);

std::wstring Text(HWND hwnd);                       // WM_GETTEXT
void SetText(HWND hwnd, const std::wstring& text);  // WM_SETTEXT
bool Enabled(HWND hwnd);
// Left, top, right, bottom in the parent's client area.
RECT RectInParent(HWND hwnd);

// A button press, posted so that a handler opening a modal dialog does not block us.
void Click(HWND button);
// Selects the item and double-clicks it where it is drawn; false when there is no such
// item.
bool DoubleClickItem(HWND list, int index);
// Picks an entry as the player does: the selection changes and the owner hears of it.
bool SelectEntry(HWND combo, int index);
// The entries of a list box or combo box.
std::vector<std::wstring> Items(HWND hwnd);

// The text of a message box of that process that comes within `ms`, after which the box is
// answered with OK; "" when none came.
std::wstring TakeMessageBox(DWORD pid, int ms = 10000);

// Saves what the screen shows of the window as a 24-bit BMP.
bool SaveScreenshot(HWND hwnd, const std::wstring& path);

}  // namespace kq::ui
