// The skin packer's work, for skin authors and the build: a package from a skin folder,
// and a package back into a folder. Reading a package goes through the launcher's reader.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "skins/SkinPackage.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kq::skinpack {

struct PackEntry {
  std::string name;  // in the package's ANSI code page
  Bytes data;
};

// One zlib stream with the header bytes 78 9C, as every entry of a package is stored.
Bytes CompressEntry(ByteView data);

// The package: magic, entry count, then each entry (name length, name, unpacked size,
// zlib stream) back to back, in the given order.
Bytes BuildPackage(std::span<const PackEntry> entries);

// The files of a skin folder: the option file first (as "Options.dat", whatever the letter
// case of the file), then every other regular file by name. Throws kq::Error when the folder
// has no option file or two, or a name the code page cannot hold.
std::vector<PackEntry> ReadSkinFolder(const std::filesystem::path& folder, const AnsiCodec& codec);

// Creates or replaces a file with the given bytes.
void WriteBytes(const std::filesystem::path& path, ByteView data);

// Writes an unpacked skin into a folder (created if missing): Options.dat and the images
// under their own names. A name with a directory part is refused, so that nothing lands
// outside the folder.
void WriteSkinFolder(const TacSkinConvertor& skin, const std::filesystem::path& folder);

}  // namespace kq::skinpack
