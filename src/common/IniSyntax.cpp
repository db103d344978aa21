#include "common/IniSyntax.h"

#include "common/Text.h"

#include <algorithm>

namespace kq {

std::u16string_view TrimBlanks(std::u16string_view s) {
  const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

IniLine ReadIniLine(std::u16string_view text, IniSyntax syntax) {
  const std::u16string_view s = TrimBlanks(text);
  if (s.starts_with(u'[')) {
    if (!syntax.closedHeaders) {
      const std::u16string_view inner = s.substr(1);
      return {IniLineKind::kSection, TrimBlanks(inner.substr(0, inner.find(u']'))), {}};
    }
    // "[" alone is no header: its bracket cannot both open and close it.
    if (s.size() >= 2 && s.ends_with(u']')) {
      return {IniLineKind::kSection, TrimBlanks(s.substr(1, s.size() - 2)), {}};
    }
  }
  const std::size_t eq = s.find(u'=');
  if (s.starts_with(u';') || eq == std::u16string_view::npos) return {};
  return {IniLineKind::kKey, TrimBlanks(s.substr(0, eq)), TrimBlanks(s.substr(eq + 1))};
}

bool SameIniName(std::u16string_view a, std::u16string_view b, IniSyntax syntax) {
  if (syntax.matchCase) return a == b;
  return std::ranges::equal(a, b,
                            [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace kq
