// Extraction of an internal skin back into a package file: the rules on the destination
// text and the file name. The file work is the Windows layer's (SkinExtractor.h).
#pragma once

#include "common/Bytes.h"

#include <string>
#include <string_view>

namespace kq {

// An internal skin as extraction sees it: its catalogue name and its package bytes.
struct NamedPackage {
  std::u16string name;
  ByteView data;
};

inline constexpr std::u16string_view kExtractedSuffix = u" extracted.asz";
inline constexpr std::u16string_view kDirectoryMissing = u"Directory does not exists.";
inline constexpr std::u16string_view kSkinMissing = u"Skin does not exists.";

// The destination as a directory prefix: empty stays empty, a final "\" stays, a final "/"
// becomes "\", one character is a drive letter and gets ":\", anything else gets "\".
std::u16string NormaliseDestDir(std::u16string_view destDir);

// "Directory " + directory + " creation error."
std::u16string DirectoryCreationError(std::u16string_view directory);

}  // namespace kq
