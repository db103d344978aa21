#include "common/SkinIni.h"

#include "common/Text.h"

#include <algorithm>

namespace kq {

SkinIni SkinIni::Parse(std::u16string_view text, IniSyntax syntax) {
  SkinIni ini;
  ini.syntax_ = syntax;
  Section* current = nullptr;
  for (int lineNumber = 1; !text.empty(); ++lineNumber) {
    const std::size_t end = text.find_first_of(u"\r\n");
    const IniLine line = ReadIniLine(text.substr(0, end), syntax);
    if (end == std::u16string_view::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }

    if (line.kind == IniLineKind::kSection) {
      auto [it, added] =
          ini.index_.try_emplace(ini.IndexName(line.name), static_cast<int>(ini.sections_.size()));
      if (added) ini.sections_.push_back({std::u16string(line.name), lineNumber, {}});
      current = &ini.sections_[static_cast<std::size_t>(it->second)];
    } else if (line.kind == IniLineKind::kKey && current) {
      current->keys.push_back({std::u16string(line.name), std::u16string(line.value), lineNumber});
    }
  }
  return ini;
}

std::optional<std::u16string> SkinIni::Get(std::u16string_view section,
                                           std::u16string_view key) const {
  const int at = SectionIndex(section);
  if (at < 0) return std::nullopt;
  const std::vector<Key>& keys = sections_[static_cast<std::size_t>(at)].keys;
  const auto named = [&](const Key& k) { return SameIniName(k.name, key, syntax_); };
  if (syntax_.lastValueWins) {
    const auto it = std::ranges::find_if(keys.rbegin(), keys.rend(), named);
    if (it != keys.rend()) return it->value;
  } else if (const auto it = std::ranges::find_if(keys, named); it != keys.end()) {
    return it->value;
  }
  return std::nullopt;
}

int SkinIni::SectionIndex(std::u16string_view section) const {
  // Exact names are looked up as given, without a copy.
  const auto it = syntax_.matchCase ? index_.find(section) : index_.find(IndexName(section));
  return it == index_.end() ? -1 : it->second;
}

std::u16string SkinIni::IndexName(std::u16string_view name) const {
  std::u16string key(name);
  if (!syntax_.matchCase) std::ranges::transform(key, key.begin(), FoldCase);
  return key;
}

}  // namespace kq
