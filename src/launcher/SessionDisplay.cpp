#include "launcher/SessionDisplay.h"

#include "session/ResultCodes.h"
#include "session/SessionHost.h"

#include <algorithm>
#include <cstdio>

namespace kq {
namespace {

constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kYellow = 65535;

struct OutcomeText {
  std::uint8_t kind;
  std::u16string_view redLine;  // empty: none
  std::u16string_view errorText;
};

// The refusal (kind 3) is built from its result code below.
constexpr OutcomeText kOutcomeTexts[] = {
    {outcome::kNoHelloReply, u"Вышел таймаут ожидания соединения с сервером.",
     u"Вышел таймаут соединения с сервером."},
    {outcome::kNoLoginResult, u"Вышел таймаут ожидания ответа на попытку авторизоваться.",
     u"Вышел таймаут ответа авторизации."},
    {outcome::kNoWorldList, u"Вышел таймаут ожидания ответа на запрос списка игровых миров.",
     u"Вышел таймаут получения списка серверов."},
    {outcome::kNoLink, u"", u"Сервер не откликается на запросы."},
};

std::u16string Hex(std::uint32_t value, int digits) {
  char text[12];
  std::snprintf(text, sizeof text, "%.*X", digits, static_cast<unsigned>(value));
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

OutcomeDisplay DisplayOfOutcome(std::uint32_t outcomeCode) {
  OutcomeDisplay d;
  d.lines.push_back({Hex(outcomeCode, 8), kYellow});
  const auto kind = static_cast<std::uint8_t>(outcomeCode & 0xFF);
  if (kind == outcome::kRefused) {
    const auto code = static_cast<std::uint8_t>(outcomeCode >> 8);
    d.lines.push_back({u"Ошибка получения списка серверов : " + Hex(code, 2) + u" [" +
                           std::u16string(ResultCodeText(code)) + u"]",
                       kRed});
    d.errorText = ResultCodeText(code);
    return d;
  }
  for (const OutcomeText& t : kOutcomeTexts) {
    if (t.kind != kind) continue;
    if (!t.redLine.empty()) d.lines.push_back({std::u16string(t.redLine), kRed});
    d.errorText = t.errorText;
  }
  return d;
}

WorldItemLook LookOfWorld(const TKQWorldRecord& world) {
  if (!world.WorldOpen) return {255, false, true};
  return world.UsersCount == 0 ? WorldItemLook{32768, true, false}
                               : WorldItemLook{32896, true, false};
}

std::u16string WorldItemText(const TKQWorldRecord& world) {
  return u" " + world.WorldName;
}

bool IsBlankInput(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 32; });
}

}  // namespace kq
