// Which standard controls the skin engine paints, and as what: 23 kinds of control, each
// with the class names that belong to it, as the skin manager of the main layout stores
// them. Labels, frames and forms are painted whatever the lists say; a control whose Tag
// has the bit 256 is left alone.
#pragma once

#include "resources/FormStream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

enum class ThirdPartyKind : std::uint8_t {
  kEdit,
  kButton,
  kBitBtn,
  kCheckBox,
  kComboBox,
  kGrid,
  kGroupBox,
  kListView,
  kPanel,
  kTreeView,
  kWWEdit,
  kGridEh,
  kVirtualTree,
  kPageControl,
  kTabControl,
  kToolBar,
  kStatusBar,
  kSpeedButton,
  kScrollControl,
  kUpDown,
  kScrollBar,
  kStaticText,
  kNativePaint,
};
inline constexpr std::size_t kThirdPartyKindCount = 23;

struct ThirdPartyKindInfo {
  ThirdPartyKind kind;
  std::u16string_view name;      // "Edit"
  std::u16string_view property;  // "ThirdEdits"
};
// Every kind, in the order of its index.
const std::array<ThirdPartyKindInfo, kThirdPartyKindCount>& ThirdPartyKinds();

// The Tag bit that keeps a control unskinned.
inline constexpr std::int64_t kNoSkinTag = 256;

// What a control is, as far as the choice of its painter goes.
enum class ControlNature : std::uint8_t {
  kWindowed,  // has a window of its own
  kGraphic,   // drawn on its parent, other than a label
  kLabel,
  kFrame,
  kForm,
};

struct SkinDecision {
  bool skinned = false;
  std::optional<ThirdPartyKind> kind;  // the list the class was found in
  bool operator==(const SkinDecision&) const = default;
};

class ThirdPartyList {
 public:
  const std::vector<std::u16string>& Classes(ThirdPartyKind kind) const {
    return lists_[static_cast<std::size_t>(kind)];
  }
  void SetClasses(ThirdPartyKind kind, std::vector<std::u16string> classes) {
    lists_[static_cast<std::size_t>(kind)] = std::move(classes);
  }

  // Gives each empty list its built-in default, as the manager does once it has loaded: a
  // single space, which matches no class, or "TButton" for Button.
  void FillDefaults();

  // The first kind whose list holds the class name exactly (letter case included).
  std::optional<ThirdPartyKind> KindOf(std::u16string_view className) const;

  // Whether and as what a control is skinned. Forms: always. Other controls with the Tag bit
  // 256: never. Frames and labels: always. Windowed controls: when their class is listed;
  // graphic controls only when listed as speed buttons.
  SkinDecision Decide(ControlNature nature, std::u16string_view className, std::int64_t tag) const;

  bool operator==(const ThirdPartyList&) const = default;

 private:
  std::array<std::vector<std::u16string>, kThirdPartyKindCount> lists_;
};

// Reads a stored "ThirdParty.<property>.Strings" list into its kind; false for any other
// property.
bool ReadThirdPartyProperty(ThirdPartyList& lists, const forms::FormProperty& property);

}  // namespace kq
