#include "launcher/LauncherConfig.h"

#include <type_traits>
#include <variant>

namespace kq {
namespace {

constexpr std::u16string_view kGuiSection = u"GUI";
constexpr std::u16string_view kSkinKey = u"Skin";

// Where a key's value goes; the field's type says how the value is read.
using Field = std::variant<std::u16string TLauncherSettings::*, bool TLauncherSettings::*,
                           std::int32_t TLauncherSettings::*, std::uint8_t TLauncherSettings::*>;

struct LauncherKey {
  std::u16string_view section;
  std::u16string_view key;
  Field field;
  std::u16string_view text_default;  // text keys
  std::int32_t number_default;       // integer and Boolean keys
};

// The file's keys in the order they are read.
constexpr LauncherKey kLauncherKeys[] = {
    {kGuiSection, u"Caption", &TLauncherSettings::Caption, u"ZA Vidudido Revo", 0},
    {kGuiSection, u"SkinMenu", &TLauncherSettings::SkinMenu, {}, 0},
    {kGuiSection, kSkinKey, &TLauncherSettings::Skin, u"FM (internal)", 0},
    {u"LoginServer", u"IP", &TLauncherSettings::LoginServerIP, u"127.0.0.1", 0},
    {u"LoginServer", u"Port", &TLauncherSettings::LoginServerPort, {}, 10001},
    {u"Client", u"Language", &TLauncherSettings::ClientLanguage, {}, 7},
};

}  // namespace

TLauncherSettings ReadLauncherSettings(const IniDocument& ini) {
  TLauncherSettings settings;
  for (const LauncherKey& k : kLauncherKeys) {
    std::visit(
        [&](auto field) {
          using T = std::remove_reference_t<decltype(settings.*field)>;
          if constexpr (std::is_same_v<T, std::u16string>) {
            settings.*field = ini.GetString(k.section, k.key, k.text_default);
          } else if constexpr (std::is_same_v<T, bool>) {
            settings.*field = ini.GetInt(k.section, k.key, k.number_default) != 0;
          } else {
            // The language keeps only the low 8 bits of what was read.
            settings.*field = static_cast<T>(ini.GetInt(k.section, k.key, k.number_default));
          }
        },
        k.field);
  }
  return settings;
}

TSessionSettings SessionSettingsOf(const TLauncherSettings& settings) {
  return {.LoginServerIP = settings.LoginServerIP,
          .LoginServerPort = settings.LoginServerPort,
          .ClientLanguage = settings.ClientLanguage,
          .LauncherDir = settings.LauncherDir};
}

void StoreSkinName(IniDocument& ini, std::u16string_view skin) {
  ini.Set(kGuiSection, kSkinKey, skin);
}

}  // namespace kq
