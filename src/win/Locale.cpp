#include "win/Locale.h"

#include <optional>

namespace kq::win {
namespace {

std::optional<std::wstring> LocaleText(LCID locale, LCTYPE what) {
  const int n = ::GetLocaleInfoW(locale, what, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(n), L'\0');
  if (::GetLocaleInfoW(locale, what, text.data(), n) <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(n - 1));  // the count includes the terminating zero
  return text;
}

// The numeric values come as text: "0" or "1".
void ReadFlag(LCID locale, LCTYPE what, bool& flag) {
  if (const auto text = LocaleText(locale, what)) flag = *text != L"0";
}

void ReadText(LCID locale, LCTYPE what, std::u16string& value) {
  if (const auto text = LocaleText(locale, what)) value = U16(*text);
}

}  // namespace

LocaleTimeSettings ReadLocaleTimeSettings(LCID locale) {
  LocaleTimeSettings s;
  ReadFlag(locale, LOCALE_ITLZERO, s.LeadingZero);
  ReadText(locale, LOCALE_STIME, s.Separator);
  bool twentyFourHour = !s.TwelveHour;
  ReadFlag(locale, LOCALE_ITIME, twentyFourHour);
  s.TwelveHour = !twentyFourHour;
  ReadText(locale, LOCALE_S1159, s.AmDesignator);
  ReadText(locale, LOCALE_S2359, s.PmDesignator);
  ReadFlag(locale, LOCALE_ITIMEMARKPOSN, s.DesignatorFirst);
  return s;
}

TimeOfDay LocalTimeOfDay() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return {st.wHour, st.wMinute, st.wSecond};
}

}  // namespace kq::win
