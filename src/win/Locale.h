// The user's locale as the portable code needs it, and the local time of day.
#pragma once

#include "common/TimeFormat.h"
#include "win/Win.h"

namespace kq::win {

// The long time format's values of a locale; a value the system cannot give keeps its
// default.
LocaleTimeSettings ReadLocaleTimeSettings(LCID locale = LOCALE_USER_DEFAULT);

// The long time format of the user's locale, read now.
inline LongTimeFormat UserLongTimeFormat() {
  return LongTimeFormat(ReadLocaleTimeSettings());
}

TimeOfDay LocalTimeOfDay();

}  // namespace kq::win
