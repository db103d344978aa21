// What the main window makes of the session's reports: the status lines and the error
// label text of an outcome, the look of a world item, and the blank test of the inputs.
#pragma once

#include "session/Packets.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

struct StatusLineText {
  std::u16string text;
  std::uint32_t colour;
  bool operator==(const StatusLineText&) const = default;
};

struct OutcomeDisplay {
  std::vector<StatusLineText> lines;  // the yellow code line first
  std::u16string errorText;           // for lblError; empty leaves it empty
};

// A login sequence that ended without a world list.
OutcomeDisplay DisplayOfOutcome(std::uint32_t outcomeCode);

// The colour (window system encoding) and style of a world's list item.
struct WorldItemLook {
  std::uint32_t colour;
  bool bold;
  bool struckOut;
  bool operator==(const WorldItemLook&) const = default;
};
WorldItemLook LookOfWorld(const TKQWorldRecord& world);

// The list item of a world: a blank, then its name.
std::u16string WorldItemText(const TKQWorldRecord& world);

// True when nothing is left after stripping leading and trailing characters up to 32.
bool IsBlankInput(std::u16string_view text);

}  // namespace kq
