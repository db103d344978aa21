#include "skins/SkinSettings.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace kq {
namespace {

using forms::FormProperty;
using forms::FormValue;

template <class Settings>
struct Setting {
  std::u16string_view name;
  std::function<void(Settings&, const FormValue&)> read;
};

template <class Settings, class Field>
Setting<Settings> Flag(std::u16string_view name, Field field) {
  return {name, [field](Settings& s, const FormValue& v) {
            if (auto b = forms::BoolOf(&v)) std::invoke(field, s) = *b;
          }};
}

template <class Settings, class Field>
Setting<Settings> Number(std::u16string_view name, Field field, int low, int high) {
  return {name, [field, low, high](Settings& s, const FormValue& v) {
            if (auto n = forms::IntegerOf(&v)) {
              std::invoke(field, s) = static_cast<int>(std::clamp<std::int64_t>(*n, low, high));
            }
          }};
}

template <class Settings, class Field>
Setting<Settings> Mode(std::u16string_view name, Field field) {
  return {name, [field](Settings& s, const FormValue& v) {
            if (v.type != forms::ValueType::Ident) return;
            if (forms::SameName(v.text, u"atFading")) std::invoke(field, s) = paint::AnimType::atFading;
            if (forms::SameName(v.text, u"atAero")) std::invoke(field, s) = paint::AnimType::atAero;
          }};
}

template <class Settings>
bool Read(const std::vector<Setting<Settings>>& table, Settings& settings,
          const FormProperty& property) {
  for (const Setting<Settings>& s : table) {
    if (forms::SameName(property.name, s.name)) {
      s.read(settings, property.value);
      return true;
    }
  }
  return false;
}

using M = TsManagerEffects;
// Times are bounded to a minute: a stored value can never hold a window longer.
constexpr int kMaxTime = 60000;

const std::vector<Setting<M>>& ManagerTable() {
  static const std::vector<Setting<M>> table = {
      Flag<M>(u"AnimEffects.BlendOnMoving.Active",
              [](M& m) -> bool& { return m.AnimEffects.BlendOnMoving.Active; }),
      Number<M>(u"AnimEffects.BlendOnMoving.BlendValue",
                [](M& m) -> int& { return m.AnimEffects.BlendOnMoving.BlendValue; }, 0, 255),
      Number<M>(u"AnimEffects.BlendOnMoving.Time",
                [](M& m) -> int& { return m.AnimEffects.BlendOnMoving.Time; }, 0, kMaxTime),
      Flag<M>(u"AnimEffects.FormHide.Active",
              [](M& m) -> bool& { return m.AnimEffects.FormHide.Active; }),
      Number<M>(u"AnimEffects.FormHide.Time",
                [](M& m) -> int& { return m.AnimEffects.FormHide.Time; }, 0, kMaxTime),
      Mode<M>(u"AnimEffects.FormHide.Mode",
              [](M& m) -> paint::AnimType& { return m.AnimEffects.FormHide.Mode; }),
      Flag<M>(u"AnimEffects.Minimizing.Active",
              [](M& m) -> bool& { return m.AnimEffects.Minimizing.Active; }),
      Number<M>(u"AnimEffects.Minimizing.Time",
                [](M& m) -> int& { return m.AnimEffects.Minimizing.Time; }, 0, kMaxTime),
      Flag<M>(u"AnimEffects.SkinChanging.Active",
              [](M& m) -> bool& { return m.AnimEffects.SkinChanging.Active; }),
      Number<M>(u"AnimEffects.SkinChanging.Time",
                [](M& m) -> int& { return m.AnimEffects.SkinChanging.Time; }, 0, kMaxTime),
      Mode<M>(u"AnimEffects.SkinChanging.Mode",
              [](M& m) -> paint::AnimType& { return m.AnimEffects.SkinChanging.Mode; }),
      Flag<M>(u"ExtendedBorders", [](M& m) -> bool& { return m.ExtendedBorders; }),
  };
  return table;
}

using P = TsProviderSettings;

const std::vector<Setting<P>>& ProviderTable() {
  static const std::vector<Setting<P>> table = {
      {u"SkinData.SkinSection",
       [](P& p, const FormValue& v) {
         if (auto t = forms::TextOf(&v)) p.SkinSection = *t;
       }},
      Flag<P>(u"MakeSkinMenu", &P::MakeSkinMenu),
      Flag<P>(u"ShowAppIcon", &P::ShowAppIcon),
      {u"TitleButtons",
       [](P& p, const FormValue& v) {
         if (v.type == forms::ValueType::Collection) p.TitleButtons = static_cast<int>(v.items.size());
       }},
      Flag<P>(u"AllowBlendOnMoving", &P::AllowBlendOnMoving),
      Flag<P>(u"AllowAnimation", &P::AllowAnimation),
      Flag<P>(u"AllowExtBorders", &P::AllowExtBorders),
      Flag<P>(u"DrawNonClientArea", &P::DrawNonClientArea),
      Flag<P>(u"DrawClientArea", &P::DrawClientArea),
      Flag<P>(u"UseGlobalColor", &P::UseGlobalColor),
      Number<P>(u"SnapBuffer", &P::SnapBuffer, 0, 1000),
  };
  return table;
}

constexpr std::u16string_view kTitleFont = u"AddedTitle.Font";

}  // namespace

bool ReadManagerEffect(TsManagerEffects& effects, const FormProperty& property) {
  return Read(ManagerTable(), effects, property);
}

bool ReadProviderSetting(TsProviderSettings& settings, const FormProperty& property) {
  const std::u16string_view name = property.name;
  if (name.size() > kTitleFont.size() && name[kTitleFont.size()] == u'.' &&
      forms::SameName(name.substr(0, kTitleFont.size()), kTitleFont)) {
    const auto find = [&](const std::u16string& n) {
      return forms::SameName(n, name) ? &property.value : nullptr;
    };
    settings.AddedTitleFont = forms::FontOf(find, kTitleFont, settings.AddedTitleFont);
    return true;
  }
  return Read(ProviderTable(), settings, property);
}

}  // namespace kq
