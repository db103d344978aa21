// A skin's looks, read from its option file: for every section the launcher draws, the
// colours and images of each state, with every value bounded and every gap filled from the
// defaults, so that the painters never meet a missing or absurd value. The format is the
// one doc/skin-authors/README.md describes to skin authors.
#pragma once

#include "common/SkinIni.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kq::paint {

// The window system's colour encoding: red in the low byte.
using Color = std::uint32_t;

enum class State : std::uint8_t { kNormal, kHot, kPressed, kFocused, kDisabled, kInactive };
inline constexpr std::size_t kStateCount = 6;

enum class Check : std::uint8_t { kUnchecked, kChecked, kMixed };
inline constexpr std::size_t kCheckCount = 3;

enum class DrawMode : std::uint8_t { kNineSlice, kTile, kStretch };
enum class Align : std::uint8_t { kLeft, kCenter, kRight };

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Margins&) const = default;
};

// The sections a skin may hold, in the order of the authors' README.
enum class SectionId : std::uint8_t {
  kForm,
  kCaption,
  kBorder,
  kCloseButton,
  kMinButton,
  kButton,
  kEdit,
  kListBox,
  kSelection,
  kCheckBox,
  kRadioButton,
  kGroupBox,
  kPanel,
  kComboBox,
  kComboButton,
  kComboList,
  kLabel,
  kWebLabel,
  kScrollBar,
  kMenu,
};
inline constexpr std::size_t kSectionCount = 20;

// "FORM", "CAPTION", ...
std::u16string_view SectionName(SectionId id);
// The section of that exact name; none for a name the format does not know.
std::optional<SectionId> FindSection(std::u16string_view name);

struct StateColors {
  Color color = 0;
  Color fontColor = 0;
  Color borderColor = 0;
  bool operator==(const StateColors&) const = default;
};

// An image of the skin, cut into frames of equal width side by side.
struct ImageSpec {
  std::u16string file;  // empty: none
  int frames = 1;       // 1 to kMaxFrames
  Margins margins;
  DrawMode mode = DrawMode::kNineSlice;
  int line = 0;  // of the key that named the file, for messages
  bool Present() const { return !file.empty(); }
  bool operator==(const ImageSpec&) const = default;
};

struct SectionLook {
  bool declared = false;  // the option file has the section
  std::array<StateColors, kStateCount> states;  // every state filled in
  Color shadowColor = 0;                        // PANEL's dark bevel edge
  ImageSpec image;                              // the face
  std::array<std::int8_t, kStateCount> imageFrame{};  // the face's frame per state, -1 none
  ImageSpec glyph;
  // The glyph's frame per check state and state (index Check * kStateCount + State); -1 none.
  std::array<std::int8_t, kCheckCount * kStateCount> glyphFrame{};
  int size = 0;  // HEIGHT of CAPTION, WIDTH of BORDER, SIZE of buttons and glyphs
  int radius = 0;
  Align align = Align::kLeft;
  bool bold = false;

  const StateColors& In(State s) const { return states[static_cast<std::size_t>(s)]; }
  // The face's frame for a state after the fallbacks; -1 when the section has no image.
  int ImageFrame(State s) const { return imageFrame[static_cast<std::size_t>(s)]; }
  int GlyphFrame(Check c, State s) const {
    return glyphFrame[static_cast<std::size_t>(c) * kStateCount + static_cast<std::size_t>(s)];
  }
  bool operator==(const SectionLook&) const = default;
};

struct SkinModel {
  std::array<SectionLook, kSectionCount> sections;
  const SectionLook& operator[](SectionId id) const {
    return sections[static_cast<std::size_t>(id)];
  }
  // Every image file the sections name, each once, in the order first named.
  std::vector<std::u16string> ImageFiles() const;
  bool operator==(const SkinModel&) const = default;
};

struct Diagnostic {
  int line = 0;  // in the option file; 0 when the fault has no line
  std::u16string text;
  bool operator==(const Diagnostic&) const = default;
};

// Bounds on what a skin may ask for.
inline constexpr int kMaxFrames = 18;
inline constexpr int kMaxMargin = 255;
inline constexpr int kMaxImageSide = 2048;
inline constexpr std::int64_t kMaxImagePixels = 4 * 1024 * 1024;
inline constexpr std::size_t kMaxOptionFileSize = 64 * 1024;

struct ModelResult {
  SkinModel model;
  std::vector<Diagnostic> errors;  // empty: the skin may be used; in line order
  // What a newer format may mean and this one ignores: unknown sections and keys, a key
  // given twice, image keys without their image. In line order.
  std::vector<Diagnostic> warnings;
};

// Reads the sections the option file holds; every key of the wrong form or out of bounds
// is an error naming its line, and the model is still complete (the faulty value takes its
// default).
ModelResult BuildSkinModel(const SkinIni& ini);

// Whether an image of that size holds what the spec asks of it (the size bounds, frames of
// equal width, margins inside one frame with at least a pixel between them to stretch); the
// error text, naming the file, when not.
std::optional<std::u16string> CheckImageSize(const ImageSpec& spec, int width, int height);

struct ImageSize {
  int width = 0;
  int height = 0;
};
// The size of a decoded image file, or why it cannot be used (missing, not an image).
using ImageProbe = std::function<std::variant<ImageSize, std::u16string>(const std::u16string&)>;

// Every image the model names, each file probed once, and each use of it checked with
// CheckImageSize; the faults carry the line that named the image.
std::vector<Diagnostic> CheckImages(const SkinModel& model, const ImageProbe& probe);

}  // namespace kq::paint
