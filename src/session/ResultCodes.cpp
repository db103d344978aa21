#include "session/ResultCodes.h"

#include <algorithm>
#include <iterator>

namespace kq {
namespace {

struct CodeText {
  std::uint8_t code;
  std::u16string_view text;
};

constexpr std::u16string_view kMaintenance = u"Сервер не доступен (профилактика).";

// Some codes have a message for the player; the others show their protocol name.
constexpr CodeText kTexts[] = {
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
    {48, kMaintenance},
    {71, u"Login содержит неверные символы."},
    {72, kMaintenance},
};

}  // namespace

std::u16string_view ResultCodeText(std::uint8_t code) {
  const auto it = std::find_if(std::begin(kTexts), std::end(kTexts),
                               [code](const CodeText& t) { return t.code == code; });
  return it == std::end(kTexts) ? std::u16string_view() : it->text;
}

}  // namespace kq
