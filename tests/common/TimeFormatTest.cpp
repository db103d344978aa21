#include "common/TimeFormat.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

LocaleTimeSettings TwentyFour(bool leadingZero, std::u16string separator = u":") {
  return {.LeadingZero = leadingZero, .Separator = std::move(separator)};
}
LocaleTimeSettings Twelve(bool designatorFirst, std::u16string am = u"AM",
                          std::u16string pm = u"PM", bool leadingZero = false) {
  return {.LeadingZero = leadingZero,
          .TwelveHour = true,
          .AmDesignator = std::move(am),
          .PmDesignator = std::move(pm),
          .DesignatorFirst = designatorFirst};
}

TEST(LongTimeFormat, BuiltFromTheLocaleValues) {
  const struct {
    const char* name;
    LocaleTimeSettings locale;
    TimeOfDay time;
    std::u16string expected;
  } cases[] = {
      {"24-hour, no leading zero", TwentyFour(false), {9, 5, 7}, u"9:05:07"},
      {"24-hour, leading zero", TwentyFour(true), {9, 5, 7}, u"09:05:07"},
      {"24-hour, two-digit hour", TwentyFour(false), {23, 59, 59}, u"23:59:59"},
      {"24-hour, midnight", TwentyFour(false), {0, 0, 0}, u"0:00:00"},
      {"24-hour, midnight with leading zero", TwentyFour(true), {0, 0, 0}, u"00:00:00"},
      {"the locale's separator", TwentyFour(false, u"."), {9, 5, 7}, u"9.05.07"},
      {"a longer separator", TwentyFour(true, u" h "), {21, 0, 9}, u"21 h 00 h 09"},
      {"12-hour, designator last", Twelve(false), {9, 5, 7}, u"9:05:07 AM"},
      {"12-hour, afternoon", Twelve(false), {21, 5, 7}, u"9:05:07 PM"},
      {"12-hour, noon is 12 PM", Twelve(false), {12, 0, 0}, u"12:00:00 PM"},
      {"12-hour, midnight is 12 AM", Twelve(false), {0, 30, 0}, u"12:30:00 AM"},
      {"12-hour, leading zero", Twelve(false, u"AM", u"PM", true), {13, 1, 2}, u"01:01:02 PM"},
      {"12-hour, designator first", Twelve(true, u"오전", u"오후"), {9, 5, 7}, u"오전 9:05:07"},
      {"12-hour, designator first, afternoon",
       Twelve(true, u"午前", u"午後"),
       {15, 5, 7},
       u"午後 3:05:07"},
      {"12-hour without designators adds no blank", Twelve(false, u"", u""), {9, 5, 7}, u"9:05:07"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LongTimeFormat(c.locale).Format(c.time), c.expected) << c.name;
  }
}

TEST(LongTimeFormat, DefaultIs24HourWithoutLeadingZero) {
  EXPECT_EQ(LongTimeFormat().Format({9, 5, 7}), u"9:05:07");
}

}  // namespace
}  // namespace kq
