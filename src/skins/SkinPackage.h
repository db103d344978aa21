// Skin packages: the "ASzf" container of a skin's option file and images, each entry one
// zlib stream, and the converter that unpacks a package into memory for one skin load.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kq {

inline constexpr std::array<std::uint8_t, 4> kSkinPackageMagic = {'A', 'S', 'z', 'f'};
inline constexpr std::string_view kSkinOptionFileName = "Options.dat";

// The texts of the errors a package read raises, as players and skin authors know them. A
// package that ends too soon reads "Stream read error" whether the reader runs out of bytes
// or a size check refuses it before anything is allocated; the early refusals say why after
// the text.
inline constexpr std::u16string_view kNotAPackedSkin = u"Loaded data is not a packed skin file";
inline constexpr std::u16string_view kStreamReadError = u"Stream read error";
inline constexpr std::u16string_view kTooManyEntries =
    u"Stream read error: the package is too short for its entry count";
inline constexpr std::u16string_view kNameTooLong =
    u"Stream read error: an entry name runs past the end of the package";
inline constexpr std::u16string_view kEntrySizeBeyondData =
    u"Stream read error: an entry size is more than its data can unpack to";
// Refusals with texts of this reader's own: values no package may carry, and its bounds.
inline constexpr std::u16string_view kNegativeEntryCount =
    u"Packed skin file has a negative entry count";
inline constexpr std::u16string_view kNegativeNameLength =
    u"Packed skin entry has a negative name length";
inline constexpr std::u16string_view kEntrySizeInvalid = u"Packed skin entry size is not positive";
inline constexpr std::u16string_view kEntryLongerThanSize =
    u"Packed skin entry holds more data than its size";
inline constexpr std::u16string_view kUnpackedTooLarge =
    u"Packed skin file unpacks to more than a skin may hold";
inline constexpr std::u16string_view kPackedSkinFileTooLarge = u"Packed skin file is too large";

// Bounds that keep a hostile package from making the reader allocate much: a package is
// input from anywhere (the skin folder), while a real skin is a few hundred kilobytes.
struct PackageReadOptions {
  // The compressed bytes are read where they lie (0), or copied ahead this many at a time
  // (tests check that where the refills fall changes nothing).
  std::size_t readAhead = 0;
  // All unpacked entries of one package together.
  std::uint64_t maxUnpacked = 256u << 20;
  // A package file (LoadPackedSkinFile) is read whole; a larger one is refused.
  std::uint64_t maxFileSize = 64u << 20;
};

// The package bytes a converter reads: its own (a package file that was read) or lent by
// their owner (a catalogue item's data, which outlives the load). Clearing a converter
// frees only what it owns; a lent view is dropped, never freed.
class PackedBytes {
 public:
  PackedBytes() = default;  // none
  static PackedBytes Owned(Bytes data) { return PackedBytes(std::move(data)); }
  static PackedBytes Lent(ByteView data) { return PackedBytes(data); }

  bool HasValue() const { return !std::holds_alternative<std::monostate>(data_); }
  bool IsOwned() const { return std::holds_alternative<Bytes>(data_); }
  // The bytes; empty for none.
  ByteView View() const;

 private:
  explicit PackedBytes(Bytes data) : data_(std::move(data)) {}
  explicit PackedBytes(ByteView data) : data_(data) {}
  std::variant<std::monostate, Bytes, ByteView> data_;
};

struct TacImageItem {
  std::u16string FileName;  // as stored, widened from the ANSI code page
  bool IsBitmap = false;
  Bytes FileStream;  // the inflated bytes
};

// True when the name's extension (from its last "." on), upper-cased in ASCII, is ".BMP".
bool IsBitmapName(std::u16string_view name);

class TacSkinConvertor {
 public:
  // Entry count minus one: the image count of a well-formed package (one option file).
  std::int32_t ImageCount = 0;
  std::vector<TacImageItem> Files;
  std::optional<Bytes> Options;  // the Options.dat entry; none when the package has none
  PackedBytes PackedData;

  // Frees the images, the option file and the package bytes (unless they were lent).
  void Clear();

  // The images consumers look up: the first ImageCount elements of Files, never more than
  // there are (a package with two option files has fewer images than ImageCount says).
  std::span<const TacImageItem> Images() const;
};

// Reads the package held in the converter's PackedData into Options, Files and ImageCount.
// A bad magic destroys the converter (the variable becomes null) before the error is raised;
// other errors leave the entries read so far. Names are widened through `codec`, the
// system's ANSI code page. The converter must exist.
void ExtractPackedData(std::unique_ptr<TacSkinConvertor>& convertor, const AnsiCodec& codec,
                       const PackageReadOptions& options = {});

// Reads a package file into the converter, creating it when the variable is null or
// clearing it otherwise. Returns false and changes nothing when no such file exists. With
// freePackedData the package bytes are dropped after the read; the entries stay.
bool LoadPackedSkinFile(const std::filesystem::path& file,
                        std::unique_ptr<TacSkinConvertor>& convertor, bool freePackedData,
                        const AnsiCodec& codec, const PackageReadOptions& options = {});

// The same on a package file already read by the caller (the skin manager reads through
// its environment); `file` none is a missing file.
bool LoadPackedSkinData(std::optional<Bytes> file, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freePackedData, const AnsiCodec& codec,
                        const PackageReadOptions& options = {});

}  // namespace kq
