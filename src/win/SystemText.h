// Text services of the system: the ANSI code page and the program's own path.
#pragma once

#include "common/CodePage.h"

#include <string>

namespace kq::win {

// Converts through the system's ANSI code page (CP_ACP), with its default replacement byte.
class SystemAnsiCodec final : public AnsiCodec {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;
};

// The full path of the running executable (not the working folder).
std::u16string ExecutablePath();

// The full form of a path, as the system resolves it against the working folder.
std::u16string FullPath(const std::u16string& path);

}  // namespace kq::win
