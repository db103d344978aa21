#include "launcher/SessionDisplay.h"

#include <gtest/gtest.h>

namespace kq {
namespace {

TEST(SessionDisplay, EachOutcomeGivesItsLinesAndLabelText) {
  const struct {
    std::uint32_t outcome;
    std::vector<StatusLineText> lines;
    std::u16string errorText;
  } cases[] = {
      {0, {{u"00000000", 65535}}, u""},
      {1,
       {{u"00000001", 65535}, {u"Вышел таймаут ожидания соединения с сервером.", 255}},
       u"Вышел таймаут соединения с сервером."},
      {2,
       {{u"00000002", 65535}, {u"Вышел таймаут ожидания ответа на попытку авторизоваться.", 255}},
       u"Вышел таймаут ответа авторизации."},
      {1283,
       {{u"00000503", 65535},
        {u"Ошибка получения списка серверов : 05 [Данный аккаунт уже в игре.]", 255}},
       u"Данный аккаунт уже в игре."},
      {40 * 256 + 3,
       {{u"00002803", 65535},
        {u"Ошибка получения списка серверов : 28 [Ваша учётная запись заблокирована.]", 255}},
       u"Ваша учётная запись заблокирована."},
      // A code without a text leaves the label empty.
      {0xAB03, {{u"0000AB03", 65535}, {u"Ошибка получения списка серверов : AB []", 255}}, u""},
      {4,
       {{u"00000004", 65535},
        {u"Вышел таймаут ожидания ответа на запрос списка игровых миров.", 255}},
       u"Вышел таймаут получения списка серверов."},
      {5, {{u"00000005", 65535}}, u"Сервер не откликается на запросы."},
      // Only the low byte chooses the kind; an unknown kind shows nothing.
      {0x105, {{u"00000105", 65535}}, u"Сервер не откликается на запросы."},
      {6, {{u"00000006", 65535}}, u""},
      {0xFFFFFFFF, {{u"FFFFFFFF", 65535}}, u""},
  };
  for (const auto& c : cases) {
    const OutcomeDisplay d = DisplayOfOutcome(c.outcome);
    EXPECT_EQ(d.lines, c.lines) << c.outcome;
    EXPECT_EQ(d.errorText, c.errorText) << c.outcome;
  }
}

TEST(SessionDisplay, WorldItemsShowTheirStateByColourAndStyle) {
  const struct {
    TKQWorldRecord world;
    WorldItemLook look;
  } cases[] = {
      {{false, u"A", 0, 0}, {255, false, true}},      {{false, u"A", 9, 0}, {255, false, true}},
      {{true, u"A", 0, 7}, {32768, true, false}},     {{true, u"A", 1, 0}, {32896, true, false}},
      {{true, u"A", 65535, 0}, {32896, true, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(LookOfWorld(c.world), c.look);
  EXPECT_EQ(WorldItemText({true, u"Alpha", 0, 0}), u" Alpha");
}

TEST(SessionDisplay, BlankInputIsOnlyControlCharactersAndSpaces) {
  const struct {
    std::u16string text;
    bool blank;
  } cases[] = {
      {u"", true},      {u"   ", true},     {u"\t\r\n \x01", true}, {u" a ", false},
      {u"\x21", false}, {u"\u00A0", false}, {u"игрок", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsBlankInput(c.text), c.blank);
}

}  // namespace
}  // namespace kq
