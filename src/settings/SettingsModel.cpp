#include "settings/SettingsModel.h"

#include "settings/SettingsTexts.h"

#include <algorithm>
#include <iterator>
#include <type_traits>
#include <variant>

namespace kq {
namespace {

using ViewField = std::variant<std::int32_t SettingsView::*, bool SettingsView::*,
                               std::u16string SettingsView::*>;

struct Binding {
  const EngineKey& key;
  ViewField field;
  std::int32_t choices = 0;  // levels: the radio group's number of choices
  bool inverted = false;     // the check box shows the flag's opposite
};

// Every key the dialog touches, in the order it reads them and OK writes them.
const Binding kBindings[] = {
    {kTextureDetailKey, &SettingsView::RgTextures, std::ssize(kRgTextures.choices)},
    {kDynamicLightKey, &SettingsView::RgDynLight, std::ssize(kRgDynLight.choices)},
    {kBboShasiKey, &SettingsView::RgGlow, std::ssize(kRgGlow.choices)},
    {kShadowDetailKey, &SettingsView::RgShadows, std::ssize(kRgShadows.choices)},
    {kMusicKey, &SettingsView::CbMusic},
    {kSoundEffectsKey, &SettingsView::CbEff},
    {kMouseAccelerationKey, &SettingsView::CbMouseAcc},
    {kDetailTextureKey, &SettingsView::CbTextureDet},
    {kFullScreenKey, &SettingsView::CbFullScr, 0, true},
    {kGammaKey, &SettingsView::CbGamma},
    {kScreenXSizeKey, &SettingsView::ScreenXSize},
    {kScreenYSizeKey, &SettingsView::ScreenYSize},
    {kRenderBitsKey, &SettingsView::RenderBits},
};

}  // namespace

SettingsView LoadSettingsView(const IniDocument& ini) {
  SettingsView view;
  for (const Binding& b : kBindings) {
    const EngineKey& k = b.key;
    std::visit(
        [&](auto field) {
          using T = std::remove_cvref_t<decltype(view.*field)>;
          if constexpr (std::is_same_v<T, std::int32_t>) {
            const std::int32_t value = ini.GetInt(k.section, k.name, k.number_default);
            view.*field = k.kind == EngineValueKind::kLevel
                              ? std::clamp<std::int32_t>(value, -1, b.choices - 1)
                              : value;
          } else if constexpr (std::is_same_v<T, bool>) {
            view.*field =
                TextToFlag(ini.GetString(k.section, k.name, k.text_default)) != b.inverted;
          } else {
            view.*field = ini.GetString(k.section, k.name, k.text_default);
          }
        },
        b.field);
  }
  view.CbResolution = ScreenModeText(view.ScreenXSize, view.ScreenYSize, view.RenderBits);
  return view;
}

void SaveSettingsView(const SettingsView& view, EngineSettingsWriter& file) {
  for (const Binding& b : kBindings) {
    const EngineKey& k = b.key;
    std::visit(
        [&](auto field) {
          using T = std::remove_cvref_t<decltype(view.*field)>;
          if constexpr (std::is_same_v<T, std::int32_t>) {
            file.WriteInteger(k.section, k.name, view.*field);
          } else if constexpr (std::is_same_v<T, bool>) {
            file.WriteText(k.section, k.name, FlagToText(view.*field != b.inverted));
          } else {
            file.WriteText(k.section, k.name, view.*field);
          }
        },
        b.field);
  }
}

std::u16string WriteRefusedBoxText(const Error& error) {
  return error.Message() + u".";
}

void PickResolution(SettingsView& view, int index) {
  if (index < 0 || index >= std::ssize(kResolutionTable)) return;
  const ResolutionEntry& e = kResolutionTable[index];
  view.ScreenXSize = e.width;
  view.ScreenYSize = e.height;
  view.RenderBits = e.depth;
  view.CbResolution = e.text;
}

std::u16string ScreenModeText(std::int32_t width, std::int32_t height, std::int32_t depth) {
  return DecimalText(width) + u"x" + DecimalText(height) + u"x" + DecimalText(depth);
}

}  // namespace kq
