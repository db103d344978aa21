// The skin generator's work: the internal skin catalogue source (src/skins/internal/
// catalogue.txt) turned into one skin package per line and the layout fragment that puts
// them into the skin manager's InternalSkins. The catalogue format and the option file the
// packages carry are described in README.md beside this file.
#pragma once

#include "SkinPacker.h"
#include "common/Bytes.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kq::skingen {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  // The window system's encoding: red in the low byte.
  std::uint32_t ColorRef() const { return r | g << 8 | b << 16; }
  bool operator==(const Rgb&) const = default;
};

// The five colour pairs of a catalogue line, in the catalogue's column order; each pair is
// a background, then the text drawn on it.
enum class Area { Window, Caption, Button, Edit, Selection };
inline constexpr std::size_t kAreaCount = 5;

struct ColorPair {
  Rgb back;
  Rgb text;
};

struct CatalogueSkin {
  std::string name;     // the catalogue name, e.g. "Air (internal)"
  std::string version;  // as the option file writes it: "8", "8.5", "9.01"
  std::array<ColorPair, kAreaCount> colors;
  int line = 0;  // in the catalogue source

  const ColorPair& operator[](Area a) const { return colors[static_cast<std::size_t>(a)]; }
};

// "file:line: what is wrong".
class CatalogueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the catalogue source; every line is checked (name, version, colours, readable
// texts, no name twice) and the first fault throws CatalogueError naming its line.
std::vector<CatalogueSkin> ParseCatalogue(std::string_view text,
                                          const std::filesystem::path& source);

// The contrast ratio of two colours (1 to 21), by their relative luminance.
double Contrast(Rgb a, Rgb b);
// The background's shaded end for a gradient: moved a quarter of the way away from its
// text (darker under a light text, lighter under a dark one), so that the text reads at
// least as well over the gradient as over the background; a black or white background
// that cannot move away moves slightly toward the text. The catalogue check covers both.
Rgb ShadeAwayFromText(const ColorPair& pair);

// The entry names of a generated package, in package order.
inline constexpr std::string_view kCaptionImage = "Caption.bmp";
inline constexpr std::string_view kButtonImage = "Button.bmp";

// Options.dat: INI text, CR LF line ends, plain ASCII.
std::string OptionFile(const CatalogueSkin& skin);
// 24-bit bottom-up BMP files.
Bytes CaptionBitmap(const CatalogueSkin& skin);
Bytes ButtonBitmap(const CatalogueSkin& skin);
// The package entries, Options.dat first, and the package itself.
std::vector<skinpack::PackEntry> SkinEntries(const CatalogueSkin& skin);
Bytes BuildSkinPackage(const CatalogueSkin& skin);

// The file a skin's package is written to: its name and ".asz".
std::string PackageFileName(const CatalogueSkin& skin);
// The fragment formc includes as the value of InternalSkins: a collection with one
// TsStoredSkin item per skin, each splicing its package file (named relative to the
// fragment's own folder).
std::string CatalogueFragment(std::span<const CatalogueSkin> skins);
inline constexpr std::string_view kFragmentFileName = "InternalSkins.inc";

// Reads the catalogue and writes every package and then the fragment into outDir.
void GenerateCatalogue(const std::filesystem::path& catalogue, const std::filesystem::path& outDir);

}  // namespace kq::skingen
