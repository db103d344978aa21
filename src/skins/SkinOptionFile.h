// A skin's option file (Options.dat): its text from the file's bytes, and the version it
// declares.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "common/SkinIni.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kq {

// The option file's bytes as text: UTF-8 after its byte-order mark, UTF-16LE after FF FE,
// otherwise the ANSI code page.
std::u16string OptionFileText(ByteView bytes, const AnsiCodec& codec);

inline constexpr std::u16string_view kGlobalInfoSection = u"GLOBALINFO";
inline constexpr std::u16string_view kVersionKey = u"VERSION";

// A decimal number with "." as the separator, whatever the user's locale: blanks around it,
// an optional sign, digits, a fraction, an exponent. Anything else is nullopt.
std::optional<double> ParseSkinVersion(std::u16string_view text);

// GLOBALINFO/VERSION; 0 when the key is missing or holds no number.
double ReadSkinVersion(const SkinIni& ini);

// The version as the manager reports it: shortest form, "." as the separator ("8", "9.01").
std::u16string FormatSkinVersion(double version);

inline constexpr double kOldestSupportedVersion = 7.45;
inline constexpr double kNewestSupportedVersion = 9.99;
inline constexpr std::u16string_view kTestArgument = u"/actest";

enum class VersionNotice {
  kNone,
  kOldVersion,  // a plain message, only when asked for with "/actest"
  kNewVersion,  // the warning, with standard dialogs unskinned while it shows
};

// What a load of a skin of this version shows, given the program's command-line arguments.
VersionNotice CheckSkinVersion(double version, std::span<const std::u16string> arguments);

// Whether an argument lower-cased (ASCII) equals `switchText`, which is lower case.
bool HasSwitch(std::span<const std::u16string> arguments, std::u16string_view switchText);

std::u16string OldSkinVersionText(std::u16string_view skinName);
inline constexpr std::u16string_view kNewSkinVersionText =
    u"This version of the skin have not complete support by used skin engine release.\r\n"
    u"Components must be updated up to latest version for using this skin.";

}  // namespace kq
