// The one header that brings the Windows API into the Windows layer. The portable core
// never includes it.
#pragma once

#include <winsock.h>  // Windows Sockets 1.1; before <windows.h> so it wins over winsock2
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <string_view>

namespace kq::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

// The core keeps text as std::u16string; Windows wants wchar_t. Same units, other type.
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string U16(std::wstring_view s) { return {reinterpret_cast<const char16_t*>(s.data()), s.size()}; }
inline std::wstring Wide(std::u16string_view s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }

}  // namespace kq::win
