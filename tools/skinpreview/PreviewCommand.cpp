#include "PreviewCommand.h"

namespace kq::skinpreview {

std::optional<PreviewCommand> ParseCommand(std::span<const std::u16string> arguments) {
  PreviewCommand command;
  bool haveFolder = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& a = arguments[i];
    if (a == u"--watch" && !command.watch) {
      command.watch = true;
    } else if (a == u"--name" && !command.name && i + 1 < arguments.size() &&
               !arguments[i + 1].empty()) {
      command.name = arguments[++i];
    } else if (!haveFolder && !a.empty() && !a.starts_with(u"--")) {
      command.folder = a;
      haveFolder = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveFolder) return std::nullopt;
  return command;
}

std::optional<SkinFolder> SplitSkinFolder(std::u16string_view fullPath) {
  while (!fullPath.empty() && (fullPath.back() == u'\\' || fullPath.back() == u'/')) {
    fullPath.remove_suffix(1);
  }
  const std::size_t slash = fullPath.find_last_of(u"\\/");
  if (slash == std::u16string_view::npos || slash + 1 == fullPath.size()) return std::nullopt;
  std::u16string_view directory = fullPath.substr(0, slash);
  // The root keeps its separator: "C:\", not the drive-relative "C:".
  if (directory.size() == 2 && directory[1] == u':') directory = fullPath.substr(0, slash + 1);
  if (directory.empty()) return std::nullopt;
  return SkinFolder{std::u16string(fullPath.substr(slash + 1)), std::u16string(directory)};
}

}  // namespace kq::skinpreview
