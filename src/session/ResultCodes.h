// The texts of the login server's result codes, as the player sees them.
#pragma once

#include <cstdint>
#include <string_view>

namespace kq {

// The code's text; empty for a code that has none.
std::u16string_view ResultCodeText(std::uint8_t code);

}  // namespace kq
