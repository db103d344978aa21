#include "SkinPacker.h"

#include "common/Error.h"
#include "common/InputStream.h"
#include "common/Text.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

namespace kq::skinpack {

namespace fs = std::filesystem;

namespace {

Bytes ReadFile(const fs::path& path) {
  FileInputStream in(path);
  Bytes data;
  std::uint8_t block[64 * 1024];
  while (std::size_t k = ReadFully(in, block, sizeof block)) {
    data.insert(data.end(), block, block + k);
    if (k < sizeof block) break;
  }
  return data;
}

}  // namespace

void WriteBytes(const fs::path& path, ByteView data) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f || std::fwrite(data.data(), 1, data.size(), f.get()) != data.size() ||
      std::fflush(f.get()) != 0) {
    throw Error(u"Cannot write file " + path.u16string());
  }
}

namespace {

// A name the package may hold and a folder may receive: no directory part, no device.
bool IsPlainFileName(std::u16string_view name) {
  if (name.empty() || name == u"." || name == u"..") return false;
  return std::ranges::none_of(
      name, [](char16_t c) { return c < 0x20 || c == u'/' || c == u'\\' || c == u':'; });
}

}  // namespace

Bytes CompressEntry(ByteView data) {
  if (data.size() > std::numeric_limits<uLong>::max()) throw Error(u"Entry too large");
  // Level 6, 15-bit window: the header bytes 78 9C.
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()),
                Z_DEFAULT_COMPRESSION) != Z_OK) {
    throw Error(u"Cannot compress an entry");
  }
  out.resize(size);
  return out;
}

Bytes BuildPackage(std::span<const PackEntry> entries) {
  constexpr std::size_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();
  if (entries.size() > kMaxInt32) throw Error(u"Too many entries");
  Bytes out(kSkinPackageMagic.begin(), kSkinPackageMagic.end());
  ByteWriter w(out);
  w.U32(static_cast<std::uint32_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PackEntry& e = entries[i];
    // The reader refuses an empty entry: its stated size must be at least 1.
    if (e.data.empty() || e.data.size() > kMaxInt32 || e.name.size() > kMaxInt32) {
      const std::string what = "Entry " + std::to_string(i + 1) + " is empty or too large";
      throw Error(std::u16string(what.begin(), what.end()));
    }
    w.U32(static_cast<std::uint32_t>(e.name.size()));
    w.Append(AsBytes(e.name));
    w.U32(static_cast<std::uint32_t>(e.data.size()));
    w.Append(CompressEntry(e.data));
  }
  return out;
}

std::vector<PackEntry> ReadSkinFolder(const fs::path& folder, const AnsiCodec& codec) {
  std::vector<std::pair<std::u16string, fs::path>> files;
  for (const fs::directory_entry& f : fs::directory_iterator(folder)) {
    if (f.is_regular_file()) files.emplace_back(f.path().filename().u16string(), f.path());
  }
  std::ranges::sort(files);

  std::vector<PackEntry> entries(1);
  bool haveOptions = false;
  for (const auto& [name, path] : files) {
    const std::string ansi = codec.ToAnsi(name);
    if (codec.FromAnsi(ansi) != name) {
      throw Error(u"The name " + name + u" cannot be written in the package's code page");
    }
    if (SameIgnoringAsciiCase(name, u"Options.dat")) {
      if (haveOptions) throw Error(u"The folder holds two option files");
      haveOptions = true;
      entries.front() = {std::string(kSkinOptionFileName), ReadFile(path)};
    } else {
      entries.push_back({ansi, ReadFile(path)});
    }
  }
  if (!haveOptions) throw Error(u"The folder holds no Options.dat");
  return entries;
}

void WriteSkinFolder(const TacSkinConvertor& skin, const fs::path& folder) {
  for (const TacImageItem& item : skin.Files) {
    if (!IsPlainFileName(item.FileName)) {
      throw Error(u"The package holds an unsafe name: " + item.FileName);
    }
  }
  fs::create_directories(folder);
  if (skin.Options) WriteBytes(folder / std::string(kSkinOptionFileName), *skin.Options);
  for (const TacImageItem& item : skin.Files) WriteBytes(folder / item.FileName, item.FileStream);
}

}  // namespace kq::skinpack
