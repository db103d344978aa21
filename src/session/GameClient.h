// The game client beside the launcher: its file name, and the message when it is missing.
#pragma once

#include <string_view>

namespace kq {

inline constexpr std::u16string_view kGameClientFileName = u"KQ_Online.bin";
inline constexpr std::u16string_view kMissingClientText =
    u"Файл DO Rizura.bin не найден в каталоге с лаунчером!";

}  // namespace kq
