// The user's long time format, built from the locale's separate values (leading zero,
// separator, 12/24-hour clock, AM/PM designators and where they go) and applied to a time
// of day.
#pragma once

#include <string>
#include <utility>

namespace kq {

// The locale values the format is built from.
struct LocaleTimeSettings {
  bool LeadingZero = false;         // hours always with two digits
  std::u16string Separator = u":";  // between hours, minutes and seconds
  bool TwelveHour = false;
  std::u16string AmDesignator = u"AM";
  std::u16string PmDesignator = u"PM";
  bool DesignatorFirst = false;  // the designator before the time instead of after it
};

struct TimeOfDay {
  int Hour = 0;  // 0-23
  int Minute = 0;
  int Second = 0;
};

class LongTimeFormat {
 public:
  LongTimeFormat() = default;  // 24-hour, no leading zero, ':'
  explicit LongTimeFormat(LocaleTimeSettings settings) : s_(std::move(settings)) {}

  // For example "9:05:07", "09:05:07", "9:05:07 AM", "AM 9:05:07". The date is never part
  // of it.
  std::u16string Format(const TimeOfDay& t) const;

 private:
  LocaleTimeSettings s_;
};

}  // namespace kq
