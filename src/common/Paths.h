// Windows paths as text ("\" or "/" separated), in the portable core.
#pragma once

#include <string>
#include <string_view>

namespace kq {

// The folder of a file path, up to and including its last '\' or '/'; "" if it has none.
inline std::u16string DirectoryOf(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? std::u16string()
                                            : std::u16string(path.substr(0, slash + 1));
}

}  // namespace kq
