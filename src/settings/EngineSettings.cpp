#include "settings/EngineSettings.h"

namespace kq {

std::u16string DecimalText(std::int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace kq
