#include "common/SkinIni.h"

#include "common/IniDocument.h"

namespace kq {

SkinIni SkinIni::Parse(std::u16string_view text) {
  SkinIni ini;
  Section* current = nullptr;
  for (int lineNumber = 1; !text.empty(); ++lineNumber) {
    const std::size_t end = text.find_first_of(u"\r\n");
    std::u16string_view line = TrimBlanks(text.substr(0, end));
    if (end == std::u16string_view::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }

    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[' && line.back() == u']') {
      const std::u16string name(TrimBlanks(line.substr(1, line.size() - 2)));
      auto [it, added] = ini.index_.try_emplace(name, static_cast<int>(ini.sections_.size()));
      if (added) ini.sections_.push_back({name, lineNumber, {}});
      current = &ini.sections_[static_cast<std::size_t>(it->second)];
      continue;
    }
    const std::size_t eq = line.find(u'=');
    if (!current || eq == std::u16string_view::npos) continue;
    current->keys.push_back({std::u16string(TrimBlanks(line.substr(0, eq))),
                             std::u16string(TrimBlanks(line.substr(eq + 1))), lineNumber});
  }
  return ini;
}

std::optional<std::u16string> SkinIni::Get(std::u16string_view section,
                                           std::u16string_view key) const {
  const int at = SectionIndex(section);
  if (at < 0) return std::nullopt;
  for (const Key& k : sections_[static_cast<std::size_t>(at)].keys) {
    if (k.name == key) return k.value;
  }
  return std::nullopt;
}

int SkinIni::SectionIndex(std::u16string_view section) const {
  const auto it = index_.find(section);
  return it == index_.end() ? -1 : it->second;
}

}  // namespace kq
