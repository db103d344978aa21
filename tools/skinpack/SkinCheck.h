// The check a skin author runs before publishing a skin: its option file read into the skin
// model as the launcher reads it, and every image the model names found, decoded and held
// against the model's bounds. Faults come as Options.dat:LINE messages.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "paint/SkinModel.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kq::skinpack {

struct CheckResult {
  std::vector<paint::Diagnostic> errors;    // the launcher would refuse the skin
  std::vector<paint::Diagnostic> warnings;  // what it ignores
  // One line per fault in line order, "Options.dat:LINE: text", warnings as
  // "Options.dat:LINE: warning: text"; a fault without a line as "Options.dat: text".
  std::string Report() const;
};

// The size of an image file's picture: a PNG decoded in full by libpng, a BMP's header held
// against the file's length; the fault's text (naming the file) when it is neither or broken.
// A picture beyond the model's bounds is measured, not decoded.
std::variant<paint::ImageSize, std::u16string> MeasureImage(std::u16string_view name,
                                                            ByteView bytes);

// `image` gives a file of the skin by name (letters matched in any case), none when absent.
CheckResult CheckSkin(ByteView options, const AnsiCodec& codec,
                      const std::function<std::optional<ByteView>(std::u16string_view)>& image);

// A skin folder, or a package file. Throws kq::Error when it cannot be read at all (no such
// path, no option file, a broken package).
CheckResult CheckSkinPath(const std::filesystem::path& path, const AnsiCodec& codec);

}  // namespace kq::skinpack
