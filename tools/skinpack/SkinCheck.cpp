#include "SkinCheck.h"

#include "SkinPacker.h"
#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"
#include "skins/SkinNames.h"
#include "skins/SkinOptionFile.h"
#include "skins/SkinPackage.h"

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace kq::skinpack {
namespace {

namespace fs = std::filesystem;

std::u16string Number(std::uint64_t n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

bool TooLarge(std::uint64_t width, std::uint64_t height) {
  return width > paint::kMaxImageSide || height > paint::kMaxImageSide ||
         width * height > static_cast<std::uint64_t>(paint::kMaxImagePixels);
}

std::variant<paint::ImageSize, std::u16string> MeasurePng(std::u16string_view name,
                                                          ByteView bytes) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  const auto fault = [&](const char* what) {
    std::u16string text = std::u16string(name) + u" cannot be decoded: ";
    for (const char* c = what; *c; ++c) text.push_back(static_cast<unsigned char>(*c));
    png_image_free(&png);
    return text;
  };
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    return fault(png.message);
  }
  const paint::ImageSize size{static_cast<int>(std::min<png_uint_32>(png.width, 1u << 30)),
                              static_cast<int>(std::min<png_uint_32>(png.height, 1u << 30))};
  if (TooLarge(png.width, png.height)) {
    png_image_free(&png);
    return size;
  }
  png.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) return fault(png.message);
  png_image_free(&png);
  return size;
}

std::uint32_t U32(ByteView b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(ByteView b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// The headers of a Windows bitmap, and whether the file holds the pixels they announce.
std::variant<paint::ImageSize, std::u16string> MeasureBmp(std::u16string_view name,
                                                          ByteView bytes) {
  const std::u16string file(name);
  constexpr std::size_t kFileHeader = 14;
  if (bytes.size() < kFileHeader + 12) return file + u" is cut short in its headers";
  const std::uint32_t offset = U32(bytes, 10);
  const std::uint32_t infoSize = U32(bytes, 14);
  std::int64_t width = 0, height = 0;
  unsigned bits = 0, compression = 0;
  std::uint32_t imageSize = 0;
  if (infoSize == 12) {
    width = U16(bytes, 18);
    height = U16(bytes, 20);
    bits = U16(bytes, 24);
  } else if (infoSize >= 40 && bytes.size() >= kFileHeader + 40) {
    width = static_cast<std::int32_t>(U32(bytes, 18));
    height = static_cast<std::int32_t>(U32(bytes, 22));
    bits = U16(bytes, 28);
    compression = U32(bytes, 30);
    imageSize = U32(bytes, 34);
  } else {
    return file + u" has a bitmap header of an unknown size (" + Number(infoSize) + u" bytes)";
  }
  if (height < 0) height = -height;  // rows from the top
  if (width <= 0 || height <= 0) return paint::ImageSize{0, 0};
  if (TooLarge(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) {
    return paint::ImageSize{static_cast<int>(std::min<std::int64_t>(width, 1 << 30)),
                            static_cast<int>(std::min<std::int64_t>(height, 1 << 30))};
  }
  constexpr unsigned kDepths[] = {1, 4, 8, 16, 24, 32};
  if (std::ranges::find(kDepths, bits) == std::end(kDepths)) {
    return file + u" has " + Number(bits) + u" bits per pixel";
  }
  std::uint64_t needed = 0;
  if (compression == 0 || compression == 3) {  // plain rows, or rows with colour masks
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    needed = stride * static_cast<std::uint64_t>(height);
  } else if (compression == 1 || compression == 2) {  // run-length: its stated size
    needed = imageSize;
  } else {
    return file + u" uses a bitmap compression the launcher does not read (" + Number(compression) +
           u")";
  }
  if (offset < kFileHeader + infoSize || offset + needed > bytes.size()) {
    return file + u" is cut short: its pixels need " + Number(needed) + u" bytes from offset " +
           Number(offset) + u", the file has " + Number(bytes.size());
  }
  return paint::ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

void Append(std::string& out, const paint::Diagnostic& d, const char* kind) {
  out += "Options.dat";
  if (d.line > 0) out += ":" + std::to_string(d.line);
  out += std::string(": ") + kind + Utf16ToUtf8String(d.text) + "\n";
}

}  // namespace

std::string CheckResult::Report() const {
  std::vector<std::pair<const paint::Diagnostic*, const char*>> all;
  for (const paint::Diagnostic& d : errors) all.emplace_back(&d, "");
  for (const paint::Diagnostic& d : warnings) all.emplace_back(&d, "warning: ");
  std::ranges::stable_sort(all, {}, [](const auto& p) { return p.first->line; });
  std::string out;
  for (const auto& [d, kind] : all) Append(out, *d, kind);
  return out;
}

std::variant<paint::ImageSize, std::u16string> MeasureImage(std::u16string_view name,
                                                            ByteView bytes) {
  static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 8 && std::ranges::equal(bytes.first(8), kPngSignature)) {
    return MeasurePng(name, bytes);
  }
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return MeasureBmp(name, bytes);
  return std::u16string(name) + u" is neither a PNG nor a BMP image";
}

CheckResult CheckSkin(ByteView options, const AnsiCodec& codec,
                      const std::function<std::optional<ByteView>(std::u16string_view)>& image) {
  CheckResult result;
  if (options.size() > paint::kMaxOptionFileSize) {
    result.errors.push_back({0, u"the option file is larger than 64 KiB"});
    return result;
  }
  paint::ModelResult built = paint::BuildSkinModel(SkinIni::Parse(OptionFileText(options, codec)));
  result.errors = std::move(built.errors);
  result.warnings = std::move(built.warnings);
  auto faults = paint::CheckImages(
      built.model,
      [&](const std::u16string& file) -> std::variant<paint::ImageSize, std::u16string> {
        const auto bytes = image(file);
        if (!bytes) return file + u" is not in the skin";
        return MeasureImage(file, *bytes);
      });
  result.errors.insert(result.errors.end(), faults.begin(), faults.end());
  std::ranges::stable_sort(result.errors, {}, &paint::Diagnostic::line);
  return result;
}

CheckResult CheckSkinPath(const fs::path& path, const AnsiCodec& codec) {
  struct File {
    std::u16string name;
    Bytes bytes;
  };
  std::vector<File> files;
  Bytes options;
  if (fs::is_directory(path)) {
    std::vector<PackEntry> entries = ReadSkinFolder(path, codec);
    options = std::move(entries.front().data);
    for (std::size_t i = 1; i < entries.size(); ++i) {
      files.push_back({codec.FromAnsi(entries[i].name), std::move(entries[i].data)});
    }
  } else {
    std::unique_ptr<TacSkinConvertor> conv;
    if (!LoadPackedSkinFile(path, conv, true, codec)) {
      throw Error(u"No such folder or file: " + path.u16string());
    }
    if (!conv->Options) throw Error(u"The package holds no " + std::u16string(kSkinOptionFile));
    options = *conv->Options;
    for (const TacImageItem& item : conv->Images())
      files.push_back({item.FileName, item.FileStream});
  }
  return CheckSkin(options, codec, [&](std::u16string_view name) -> std::optional<ByteView> {
    for (const File& f : files) {
      if (SameIgnoringAsciiCase(f.name, name)) return ByteView(f.bytes);
    }
    return std::nullopt;
  });
}

}  // namespace kq::skinpack
