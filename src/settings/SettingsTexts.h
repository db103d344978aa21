// The game settings dialog's texts, by control: captions, radio choices, list entries.
#pragma once

#include <span>
#include <string_view>

namespace kq {

inline constexpr std::u16string_view kSettingsCaption = u" Настройки игры";

struct SettingsControlText {
  std::u16string_view control;
  std::u16string_view caption;
};

inline constexpr SettingsControlText kSettingsControlTexts[] = {
    {u"GroupBox1", u"Разрешение экрана"},
    {u"CbFullScr", u"Игра в окне"},
    {u"GbSound", u"Звук"},
    {u"CbMusic", u"Музыка"},
    {u"CbEff", u"Эффекты"},
    {u"CbMouseAcc", u"Ускорение курсора"},
    {u"CbTextureDet", u"Детализация текстур"},
    {u"Label1", u"Гамма:"},
    {u"btnCancel", u"Отмена"},
    {u"btnOk", u"OK"},
};

struct SettingsRadioGroup {
  std::u16string_view control;
  std::u16string_view caption;
  std::span<const std::u16string_view> choices;  // a level is an index into these
};

inline constexpr std::u16string_view kTextureChoices[] = {u"Низкое", u"Среднее", u"Высокое",
                                                          u"Наивысшее"};
inline constexpr std::u16string_view kDynLightChoices[] = {u"Выключено", u"Низкое", u"Среднее",
                                                           u"Высокое"};
inline constexpr std::u16string_view kGlowChoices[] = {u"Выключено", u"Низкое", u"Высокое"};
inline constexpr std::u16string_view kShadowChoices[] = {u"Выключено", u"Низкое", u"Среднее",
                                                         u"Высокое"};

inline constexpr SettingsRadioGroup kRgTextures{u"RgTextures", u"Качество текстур",
                                                kTextureChoices};
inline constexpr SettingsRadioGroup kRgDynLight{u"RgDynLight", u"Динамическое освещение",
                                                kDynLightChoices};
inline constexpr SettingsRadioGroup kRgGlow{u"RgGlow", u"Эффекты свечения", kGlowChoices};
inline constexpr SettingsRadioGroup kRgShadows{u"RgShadows", u"Тени", kShadowChoices};

inline constexpr std::u16string_view kGammaChoices[] = {u"0.8", u"1.0", u"1.2",
                                                        u"1.4", u"1.6", u"1.8"};

}  // namespace kq
