#include "skins/SkinPackage.h"

#include "common/Error.h"
#include "common/InflateStream.h"
#include "common/InputStream.h"
#include "common/Text.h"

#include <algorithm>
#include <stdexcept>

namespace kq {
namespace {

// The smallest entry a package can hold: name length, empty name, size, and a zlib stream
// of its two-byte header, the shortest deflate data (a final fixed block: 10 bits) and the
// four-byte trailer.
constexpr std::size_t kMinEntrySize = 4 + 4 + 2 + 2 + 4;
// Deflate's densest code gives 258 bytes for 2 bits: no stream inflates to more than
// 1032 bytes for each compressed byte.
constexpr std::uint64_t kMaxInflateRatio = 1032;
// Entries are inflated piece by piece, so memory follows the data that really comes, not
// the size the entry claims.
constexpr std::size_t kCopyPiece = 61440;

[[noreturn]] void Fail(std::u16string_view text) {
  throw Error(std::u16string(text));
}

std::int32_t ReadInt32(InputStream& in) {
  std::uint8_t b[4];
  if (ReadFully(in, b, 4) != 4) Fail(kStreamReadError);
  return static_cast<std::int32_t>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 |
                                   std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24);
}

bool IsOptionFileName(std::string_view name) {
  return SameIgnoringAsciiCase(name, kSkinOptionFileName);
}

// Inflates one entry of exactly `size` bytes and leaves the source right behind the
// stream's trailer.
Bytes Unpack(BufferedInput& in, std::size_t size) {
  InflateStream z(in, {.codeTexts = true, .endOfSource = kStreamReadError});
  Bytes out;
  while (out.size() < size) {
    const std::size_t at = out.size();
    const std::size_t piece = std::min(size - at, kCopyPiece);
    out.resize(at + piece);
    if (ReadFully(z, out.data() + at, piece) != piece) Fail(kStreamReadError);
  }
  // The stream must end here, or the next header would be read from inside it. Reading on
  // to its end checks the trailer, so that a damaged stream fails as damaged wherever the
  // refills fell, and only an intact stream that goes on means a short size.
  std::size_t extra = 0;
  std::uint8_t scratch[4096];
  while (const std::size_t k = z.Read(scratch, sizeof scratch)) extra += k;
  if (extra != 0) Fail(kEntryLongerThanSize);
  return out;
}

}  // namespace

ByteView PackedBytes::View() const {
  if (const auto* owned = std::get_if<Bytes>(&data_)) return *owned;
  if (const auto* lent = std::get_if<ByteView>(&data_)) return *lent;
  return {};
}

bool IsBitmapName(std::u16string_view name) {
  const auto dot = name.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view ext = name.substr(dot);
  return std::ranges::equal(ext, std::u16string_view(u".BMP"), [](char16_t a, char16_t b) {
    return (a >= u'a' && a <= u'z' ? char16_t(a - u'a' + u'A') : a) == b;
  });
}

void TacSkinConvertor::Clear() {
  Files.clear();
  Options.reset();
  PackedData = {};
  ImageCount = 0;
}

std::span<const TacImageItem> TacSkinConvertor::Images() const {
  const std::size_t n = ImageCount > 0 ? static_cast<std::size_t>(ImageCount) : 0;
  return std::span<const TacImageItem>(Files).first(std::min(n, Files.size()));
}

void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor, const AnsiCodec& codec,
                       const PackageReadOptions& options) {
  if (!convertor) throw std::invalid_argument("ExtractPackedData without a converter");
  const ByteView data = convertor->PackedData.View();
  if (data.size() < kSkinPackageMagic.size() ||
      !std::equal(kSkinPackageMagic.begin(), kSkinPackageMagic.end(), data.begin())) {
    convertor.reset();
    Fail(kNotAPackedSkin);
  }
  TacSkinConvertor& conv = *convertor;
  const ByteView body = data.subspan(kSkinPackageMagic.size());
  MemoryInputStream source(body);
  BufferedInput in =
      options.readAhead ? BufferedInput(source, options.readAhead) : BufferedInput(body);
  const auto remaining = [&] { return body.size() - static_cast<std::size_t>(in.Position()); };

  const std::int32_t count = ReadInt32(in);
  if (count < 0) Fail(kNegativeEntryCount);
  conv.ImageCount = count - 1;
  if (static_cast<std::size_t>(count) > remaining() / kMinEntrySize) Fail(kTooManyEntries);

  std::uint64_t unpacked = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t nameLength = ReadInt32(in);
    if (nameLength < 0) Fail(kNegativeNameLength);
    if (static_cast<std::size_t>(nameLength) > remaining()) Fail(kNameTooLong);
    std::string name(static_cast<std::size_t>(nameLength), '\0');
    if (ReadFully(in, name.data(), name.size()) != name.size()) Fail(kStreamReadError);
    const std::int32_t size = ReadInt32(in);
    if (size <= 0) Fail(kEntrySizeInvalid);
    // Checked before anything is allocated for the entry.
    const auto claimed = static_cast<std::uint64_t>(size);
    if (claimed > remaining() * kMaxInflateRatio) Fail(kEntrySizeBeyondData);
    if (claimed > options.maxUnpacked - unpacked) Fail(kUnpackedTooLarge);
    unpacked += claimed;

    Bytes content = Unpack(in, static_cast<std::size_t>(size));
    if (IsOptionFileName(name)) {
      conv.Options = std::move(content);  // a later option file replaces an earlier one
    } else {
      TacImageItem item;
      item.FileName = codec.FromAnsi(name);
      item.IsBitmap = IsBitmapName(item.FileName);
      item.FileStream = std::move(content);
      conv.Files.push_back(std::move(item));
    }
  }
}

bool LoadPackedSkinFile(const std::filesystem::path& file,
                        std::unique_ptr<TacSkinConvertor>& convertor, bool freePackedData,
                        const AnsiCodec& codec, const PackageReadOptions& options) {
  if (!IsRegularFile(file)) return false;
  // Read in blocks up to the bound, whatever size the file claims.
  FileInputStream in(file);
  Bytes data;
  constexpr std::size_t kBlock = 64 * 1024;
  for (;;) {
    const std::size_t at = data.size();
    data.resize(at + kBlock);
    const std::size_t got = ReadFully(in, data.data() + at, kBlock);
    data.resize(at + got);
    if (data.size() > options.maxFileSize) Fail(kPackedSkinFileTooLarge);
    if (got < kBlock) break;
  }
  return LoadPackedSkinData(std::move(data), convertor, freePackedData, codec, options);
}

bool LoadPackedSkinData(std::optional<Bytes> file, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freePackedData, const AnsiCodec& codec,
                        const PackageReadOptions& options) {
  if (!file) return false;
  if (file->size() > options.maxFileSize) Fail(kPackedSkinFileTooLarge);
  if (convertor) {
    convertor->Clear();
  } else {
    convertor = std::make_unique<TacSkinConvertor>();
  }
  convertor->PackedData = PackedBytes::Owned(std::move(*file));
  ExtractPackedData(convertor, codec, options);
  if (freePackedData && convertor) convertor->PackedData = {};
  return true;
}

}  // namespace kq
