// The skin generator's work: the internal skin catalogue source (src/skins/internal/
// catalogue.txt) turned into one skin package per line and the layout fragment that puts
// them into the skin manager's InternalSkins. Each skin is drawn from its line's colours and
// style: an option file in the skin authors' format (doc/skin-authors/README.md) and its
// PNG images. README.md beside this file describes the catalogue and what each skin gets.
#pragma once

#include "Canvas.h"
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

// The five colour pairs of a catalogue line, in the catalogue's column order; each pair is
// a background, then the text drawn on it.
enum class Area { Window, Caption, Button, Edit, Selection };
inline constexpr std::size_t kAreaCount = 5;

struct ColorPair {
  Rgb back;
  Rgb text;
};

// How faces are drawn: a plain fill, a soft vertical gradient, a glossy two-tone face with a
// light upper half, or a raised bevel with light and dark edges.
enum class Face { Flat, Soft, Gloss, Bevel };
// The window background's pattern, tiled; None is the plain window colour.
enum class Texture {
  None,
  Wood,
  Leather,
  Glass,
  Brushed,
  Matrix,
  Grain,
  Gauze,
  Carbon,
  Rhombus,
  Scanlines,
  Stars,
  Snow,
  Stripes,
  Linen
};
// The caption buttons: symbols alone with a square behind them under the mouse, small square
// or rounded buttons, circles, or coloured circles (red close, amber minimise).
enum class CaptionButtons { Plain, Square, Round, Circle, Traffic };

struct Style {
  Face face = Face::Soft;
  int radius = 3;     // corner radius of buttons and boxes, 0 to 6
  int gradient = 20;  // how far the faces' gradients reach, 0 to 50 (percent)
  Texture texture = Texture::None;
  CaptionButtons buttons = CaptionButtons::Plain;
  bool centred = false;  // the title in the caption's middle
};

struct CatalogueSkin {
  std::string name;     // the catalogue name, e.g. "Air (internal)"
  std::string version;  // as the option file writes it: "8", "8.5", "9.01"
  std::array<ColorPair, kAreaCount> colors;
  Style style;
  std::string source;  // the catalogue file, for messages
  int line = 0;        // in the catalogue source

  const ColorPair& operator[](Area a) const { return colors[static_cast<std::size_t>(a)]; }
};

// "file:line: what is wrong".
class CatalogueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the catalogue source; every line is checked (name, version, colours, readable
// texts on the plain colours, style, no name twice, no two skins alike) and the first fault
// throws CatalogueError naming its line.
std::vector<CatalogueSkin> ParseCatalogue(std::string_view text,
                                          const std::filesystem::path& source);

// A drawn skin before it is encoded: the option file's sections in order, and the images.
struct OptionKey {
  std::string name;
  std::string value;
};
struct OptionSection {
  std::string name;
  std::vector<OptionKey> keys;
  const std::string* Find(std::string_view key) const;
};
struct SkinImage {
  std::string file;
  Canvas canvas;
};
struct DrawnSkin {
  std::vector<OptionSection> sections;
  std::vector<SkinImage> images;
  const OptionSection* Section(std::string_view name) const;
  const SkinImage* Image(std::string_view file) const;
};

DrawnSkin DrawSkin(const CatalogueSkin& skin);

// Every text the option file gives, in every state, over the pixels it is drawn on (the
// frame of its state inside the margins, the flat colour of its state, or the window's
// pattern for texts drawn on the window), as the skin authors' fallbacks resolve them.
// Throws CatalogueError at the skin's catalogue line for the first text below 4.5:1.
void CheckContrast(const DrawnSkin& drawn, const CatalogueSkin& skin);

// Options.dat: INI text, CR LF line ends, plain ASCII; `commented` explains every section
// and key kind for skin authors (the example skin).
std::string OptionFile(const DrawnSkin& drawn, bool commented = false);

// The package entries, Options.dat first, then the PNG images; drawn, checked, encoded.
std::vector<skinpack::PackEntry> SkinEntries(const CatalogueSkin& skin, bool commented = false);
Bytes BuildSkinPackage(const CatalogueSkin& skin);

// The file a skin's package is written to: its name and ".asz".
std::string PackageFileName(const CatalogueSkin& skin);
// The fragment formc includes as the value of InternalSkins: a collection with one
// TsStoredSkin item per skin, each splicing its package file (named relative to the
// fragment's own folder).
std::string CatalogueFragment(std::span<const CatalogueSkin> skins);
inline constexpr std::string_view kFragmentFileName = "InternalSkins.inc";

// Reads the catalogue and writes every package and then the fragment into outDir. Every
// skin is drawn and checked before anything is written.
void GenerateCatalogue(const std::filesystem::path& catalogue, const std::filesystem::path& outDir);

// The example skin for skin authors: a skin folder (commented Options.dat and its images).
inline constexpr std::string_view kExampleLine =
    "Example | 9 | EEF1F5 1E2530  2D4E7E FFFFFF  E4E9F0 1E2530  FFFFFF 1E2530  2F6FD0 FFFFFF"
    " | soft 4 24 linen round left";
void WriteExampleSkin(const std::filesystem::path& folder);

}  // namespace kq::skingen
