// Writes internal skins back into package files (the skin manager's ExtractByIndex and
// ExtractInternalSkin), over any list of named packages.
#pragma once

#include "skins/SkinExtraction.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>

namespace kq::skins {

struct ExtractOptions {
  // Shows a failure to the player; the error box unless a test looks at the texts.
  std::function<void(const std::u16string&)> errorBox;
};

// Writes skins[index]'s package bytes, exactly as held, to the normalised destination +
// name + " extracted.asz", replacing an existing file; creates the destination if it is
// missing and its parent exists. Returns whether the file was written; failures are shown.
bool ExtractByIndex(std::span<const NamedPackage> skins, std::size_t index,
                    const std::u16string& destDir, const ExtractOptions& options = {});

// Extracts every skin whose name equals `name` exactly (letter case counts) into an
// existing destination.
void ExtractInternalSkin(std::span<const NamedPackage> skins, const std::u16string& name,
                         const std::u16string& destDir, const ExtractOptions& options = {});

}  // namespace kq::skins
