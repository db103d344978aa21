// The launcher's own settings file: what it holds, how it is read, the one value written back.
#pragma once

#include "common/IniDocument.h"
#include "common/Paths.h"
#include "session/LoginSession.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kq {

// Filled once while the main window is created; read-only afterwards, also by the session.
struct TLauncherSettings {
  std::u16string Caption;
  bool SkinMenu = false;
  std::u16string Skin;
  std::u16string LoginServerIP;
  std::int32_t LoginServerPort = 0;
  std::uint8_t ClientLanguage = 0;
  std::u16string LauncherDir;  // the executable's folder, with its trailing separator
};

inline constexpr std::u16string_view kLauncherConfigFileName = u"KQMiniLauncherSettings.ini";

// Every key with its default; a missing file reads as all defaults. LauncherDir stays empty:
// it comes from the executable's path, not from the file.
TLauncherSettings ReadLauncherSettings(const IniDocument& ini);

// The part of the settings the login session reads.
TSessionSettings SessionSettingsOf(const TLauncherSettings& settings);

// Writes the current skin name to GUI/Skin, touching nothing else.
void StoreSkinName(IniDocument& ini, std::u16string_view skin);

}  // namespace kq
