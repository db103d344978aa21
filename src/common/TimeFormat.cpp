#include "common/TimeFormat.h"

namespace kq {
namespace {

std::u16string TwoDigits(int v) {
  return {static_cast<char16_t>(u'0' + v / 10 % 10), static_cast<char16_t>(u'0' + v % 10)};
}

}  // namespace

std::u16string LongTimeFormat::Format(const TimeOfDay& t) const {
  int hour = t.Hour;
  if (s_.TwelveHour) {
    hour %= 12;
    if (hour == 0) hour = 12;  // midnight and noon are 12, not 0
  }
  std::u16string time = s_.LeadingZero || hour >= 10
                            ? TwoDigits(hour)
                            : std::u16string(1, static_cast<char16_t>(u'0' + hour));
  time += s_.Separator + TwoDigits(t.Minute) + s_.Separator + TwoDigits(t.Second);
  if (!s_.TwelveHour) return time;

  const std::u16string& designator = t.Hour < 12 ? s_.AmDesignator : s_.PmDesignator;
  // A locale without designators gets no stray blank.
  if (designator.empty()) return time;
  return s_.DesignatorFirst ? designator + u" " + time : time + u" " + designator;
}

}  // namespace kq
