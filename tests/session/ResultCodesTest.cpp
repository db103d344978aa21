#include "session/ResultCodes.h"

#include <gtest/gtest.h>

#include <map>

namespace kq {
namespace {

const std::map<int, std::u16string_view> kExpected = {
    {0, u"Выполнено без ошибок."},
    {1, u"RET_CODE_ASYNC_ERR"},
    {2, u"RET_CODE_CLOSE_WORLD"},
    {3, u"RET_CODE_BEFORE_LOGIN"},
    {4, u"RET_CODE_FAULT_SERIAL"},
    {5, u"Данный аккаунт уже в игре."},
    {6, u"Неверный логин или пароль."},
    {7, u"Неверный пароль."},
    {8, u"RET_CODE_USER_FULL"},
    {9, u"RET_CODE_NONEXIST_WAIT"},
    {16, u"RET_CODE_NONEXIST_MAP"},
    {17, u"RET_CODE_ALREADY_REGED"},
    {18, u"RET_CODE_BEFORE_REGED"},
    {19, u"RET_CODE_CLASS_ERR"},
    {20, u"RET_CODE_EMPTY_SLOT"},
    {21, u"RET_CODE_NOT_REGED"},
    {22, u"RET_CODE_ALREADY_SEL"},
    {23, u"RET_CODE_ALREADY_EXIT"},
    {40, u"Ваша учётная запись заблокирована."},
    {48, u"Сервер не доступен (профилактика)."},
    {71, u"Login содержит неверные символы."},
    {72, u"Сервер не доступен (профилактика)."},
};

// Every one of the 256 codes: the listed ones have exactly their text, all others none.
TEST(ResultCodeText, EveryCode) {
  for (int code = 0; code < 256; ++code) {
    const auto it = kExpected.find(code);
    const std::u16string_view want = it == kExpected.end() ? u"" : it->second;
    EXPECT_TRUE(ResultCodeText(static_cast<std::uint8_t>(code)) == want) << "code " << code;
  }
}

}  // namespace
}  // namespace kq
