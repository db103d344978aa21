#include "win/SystemText.h"

#include "win/Win.h"

#include <vector>

namespace kq::win {

std::string SystemAnsiCodec::ToAnsi(std::u16string_view text) const {
  if (text.empty()) return {};
  const auto* src = reinterpret_cast<const wchar_t*>(text.data());
  const int len = static_cast<int>(text.size());
  const int n = ::WideCharToMultiByte(CP_ACP, 0, src, len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, src, len, out.data(), n, nullptr, nullptr);
  return out;
}

std::u16string SystemAnsiCodec::FromAnsi(std::string_view bytes) const {
  if (bytes.empty()) return {};
  const int len = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), len, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), len, out.data(), n);
  return U16(out);
}

std::u16string ExecutablePath() {
  // The buffer grows until the path fits: long install folders are not cut.
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return U16({buf.data(), n});
    buf.resize(buf.size() * 2);
  }
}

std::u16string FullPath(const std::u16string& path) {
  const DWORD n = ::GetFullPathNameW(W(path), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring out(n, L'\0');
  const DWORD m = ::GetFullPathNameW(W(path), n, out.data(), nullptr);
  if (m == 0 || m >= n) return path;
  out.resize(m);
  return U16(out);
}

}  // namespace kq::win
