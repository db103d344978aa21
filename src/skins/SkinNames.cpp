#include "skins/SkinNames.h"

#include "common/Text.h"

#include <algorithm>

namespace kq {
namespace {

bool IsSeparator(char16_t c) {
  return c == u'\\' || c == u'/';
}

// The folder above the program's folder, with its separator. At a drive's root there is
// none above, and the root itself stands for it, as the file system takes "C:\..".
std::u16string_view ParentOf(std::u16string_view programDir) {
  std::u16string_view parent = programDir;
  if (!parent.empty()) parent.remove_suffix(1);
  while (!parent.empty() && !IsSeparator(parent.back())) parent.remove_suffix(1);
  return parent.empty() ? programDir : parent;
}

}  // namespace

std::u16string ResolveSkinDirectory(std::u16string_view programDir, std::u16string_view text) {
  if (text.starts_with(u"..")) {
    return std::u16string(ParentOf(programDir)) +
           std::u16string(text.substr(std::min<std::size_t>(3, text.size())));
  }
  if (text.starts_with(u".\\") || text.starts_with(u"./")) {
    return std::u16string(programDir) + std::u16string(text.substr(2));
  }
  if (text == u".") return std::u16string(programDir);
  if (text.find(u':') == std::u16string_view::npos &&
      text.find(u"\\\\") == std::u16string_view::npos) {
    return std::u16string(programDir) + std::u16string(text);
  }
  return std::u16string(text);
}

std::u16string StripPackageExtension(std::u16string_view name) {
  const std::size_t n = kSkinPackageExtension.size();
  if (name.size() > n &&
      SameIgnoringAsciiCase(name.substr(name.size() - n), kSkinPackageExtension)) {
    name.remove_suffix(n);
  }
  return std::u16string(name);
}

std::u16string JoinSkinPath(std::u16string_view dir, std::u16string_view name) {
  std::u16string path(dir);
  if (!path.ends_with(u'\\')) path += u'\\';
  return path += name;
}

std::u16string SkinPackagePath(std::u16string_view dir, std::u16string_view name) {
  return JoinSkinPath(dir, name) += kSkinPackageExtension;
}

int CompareSkinNames(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = FoldCase(a[i]);
    const char16_t y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

SkinListing ListSkinNames(const std::vector<std::u16string>& catalogue,
                          const std::vector<SkinDirectoryEntry>& entries, TacSkinTypes type,
                          const SkinNameCompare& compare) {
  const bool folders = type != TacSkinTypes::stPacked;
  const bool packages = type != TacSkinTypes::stUnpacked;
  SkinListing out;
  out.names = catalogue;
  for (const SkinDirectoryEntry& e : entries) {
    if (e.name.starts_with(u'.')) continue;  // ".", ".." and hidden entries
    if (e.isDirectory) {
      if (folders && e.holdsOptionFile) out.names.push_back(e.name);
    } else if (packages) {
      // The extension is the text from the last "."; the name ends at the first one.
      const std::size_t last = e.name.rfind(u'.');
      if (last != std::u16string::npos && e.name.substr(last) == kSkinPackageExtension) {
        out.names.push_back(e.name.substr(0, e.name.find(u'.')));
      }
    }
  }
  if (!out.names.empty()) out.first = out.names.front();
  std::ranges::stable_sort(out.names, [&](const std::u16string& a, const std::u16string& b) {
    return compare(a, b) < 0;
  });
  return out;
}

}  // namespace kq
