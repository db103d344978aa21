#include "skins/SkinExtractor.h"

#include "common/Error.h"
#include "win/Files.h"
#include "win/MessageBox.h"
#include "win/Win.h"

namespace kq::skins {
namespace {

void Show(const ExtractOptions& options, const std::u16string& text) {
  if (options.errorBox) {
    options.errorBox(text);
  } else {
    win::ShowErrorBox(text);
  }
}

bool DirectoryExists(const std::u16string& dir) {
  const DWORD attrs = ::GetFileAttributesW(win::W(dir));
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ExtractByIndex(std::span<const NamedPackage> skins, std::size_t index,
                    const std::u16string& destDir, const ExtractOptions& options) {
  if (index >= skins.size()) {
    Show(options, std::u16string(kSkinMissing));
    return false;
  }
  const std::u16string dir = NormaliseDestDir(destDir);
  // One level only: a destination whose parent is missing is refused.
  if (!DirectoryExists(dir) && !::CreateDirectoryW(win::W(dir), nullptr)) {
    Show(options, DirectoryCreationError(dir));
    return false;
  }
  const NamedPackage& skin = skins[index];
  const std::u16string file = dir + skin.name + std::u16string(kExtractedSuffix);
  if (!win::ReplaceFileAtomically(file, skin.data)) {
    Show(options, WriteRefused(file).Message());
    return false;
  }
  return true;
}

void ExtractInternalSkin(std::span<const NamedPackage> skins, const std::u16string& name,
                         const std::u16string& destDir, const ExtractOptions& options) {
  bool found = false;
  for (std::size_t i = 0; i < skins.size(); ++i) {
    if (skins[i].name != name) continue;
    found = true;
    // The destination as it will be written to: a bare drive letter means its root.
    if (DirectoryExists(NormaliseDestDir(destDir))) {
      ExtractByIndex(skins, i, destDir, options);
    } else {
      Show(options, std::u16string(kDirectoryMissing));
    }
  }
  if (!found) Show(options, std::u16string(kSkinMissing));
}

}  // namespace kq::skins
