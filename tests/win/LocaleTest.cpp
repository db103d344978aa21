#include "win/Locale.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

// The format built from a locale's separate values must give what the system's own time
// formatting gives for the same locale.
TEST(Locale, BuiltFormatAgreesWithTheSystemsTimeFormatting) {
  const struct {
    const char* name;
    LCID locale;
  } locales[] = {
      {"user default (Russian under the tests)", LOCALE_USER_DEFAULT},
      {"en-US: 12-hour, designator last", MAKELCID(0x0409, SORT_DEFAULT)},
      {"de-DE: leading zero", MAKELCID(0x0407, SORT_DEFAULT)},
      {"ko-KR: designator first", MAKELCID(0x0412, SORT_DEFAULT)},
      {"fi-FI: dot separator", MAKELCID(0x040B, SORT_DEFAULT)},
  };
  const TimeOfDay times[] = {{0, 0, 0}, {9, 5, 7}, {12, 30, 0}, {13, 1, 2}, {23, 59, 59}};
  for (const auto& l : locales) {
    const LongTimeFormat format(ReadLocaleTimeSettings(l.locale));
    for (const auto& t : times) {
      SYSTEMTIME st{};
      st.wYear = 2024;
      st.wMonth = 5;
      st.wDay = 17;
      st.wHour = static_cast<WORD>(t.Hour);
      st.wMinute = static_cast<WORD>(t.Minute);
      st.wSecond = static_cast<WORD>(t.Second);
      wchar_t system[64] = {};
      ASSERT_GT(::GetTimeFormatW(l.locale, 0, &st, nullptr, system, 64), 0) << l.name;
      EXPECT_EQ(Wide(format.Format(t)), system) << l.name << " at " << t.Hour << ":" << t.Minute;
    }
  }
}

}  // namespace
}  // namespace kq::win
