// KQSkinPreview's work that needs no window system: its command line, where a skin folder
// puts the skin's name and directory, and the preview buffer for the folder.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kq::skinpreview {

inline constexpr char kUsage[] =
    "usage: KQSkinPreview FOLDER [--watch] [--name NAME]\n"
    "Sends the skin in FOLDER (its Options.dat) to the running launcher, which shows it at\n"
    "once; images are read from FOLDER by the launcher. NAME defaults to the folder's name.\n"
    "--watch sends it again whenever something in FOLDER changes, until Ctrl+C.\n";

// The exit codes.
enum ExitCode : int {
  kSent = 0,
  kBadUsage = 1,
  kBadSkin = 2,        // no option file, too large, a name or path that does not fit
  kNoLauncher = 3,     // no launcher's application window
  kNotTaken = 4,       // the launcher refused the message or did not answer
};

struct PreviewCommand {
  std::u16string folder;
  std::optional<std::u16string> name;
  bool watch = false;
};

// The arguments after the program's own; none for a wrong command line.
std::optional<PreviewCommand> ParseCommand(std::span<const std::u16string> arguments);

// A skin folder's name and the directory it lies in, from its full path ("\" or "/"
// separated, trailing separators ignored): "C:\Skins\Dark\" is Dark in "C:\Skins". None
// for a path without a parent folder (a drive's root).
struct SkinFolder {
  std::u16string name;
  std::u16string directory;
};
std::optional<SkinFolder> SplitSkinFolder(std::u16string_view fullPath);

// An option file above this size is refused before it is read.
inline constexpr std::uint64_t kMaxOptionFileSize = 30000;

}  // namespace kq::skinpreview
