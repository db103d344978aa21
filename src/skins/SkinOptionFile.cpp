#include "skins/SkinOptionFile.h"

#include "common/IniDocument.h"
#include "common/Text.h"
#include "common/TextFile.h"
#include "common/Utf8.h"

#include <charconv>
#include <cmath>

namespace kq {

std::u16string OptionFileText(ByteView bytes, const AnsiCodec& codec) {
  const ByteOrderMark mark = ReadByteOrderMark(bytes);
  return DecodeText(bytes.subspan(mark.size), mark.encoding, codec);
}

std::optional<double> ParseSkinVersion(std::u16string_view text) {
  text = TrimBlanks(text);
  if (text.starts_with(u'+')) {
    text.remove_prefix(1);
    if (text.starts_with(u'-')) return std::nullopt;
  }
  std::string narrow;
  for (char16_t c : text) {
    if (c >= 0x80) return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  double value = 0;
  const char* last = narrow.data() + narrow.size();
  const auto [ptr, ec] = std::from_chars(narrow.data(), last, value, std::chars_format::general);
  // "inf" and "nan" are not versions.
  if (ec != std::errc{} || ptr != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

double ReadSkinVersion(const SkinIni& ini) {
  const auto text = ini.Get(kGlobalInfoSection, kVersionKey);
  if (!text) return 0;
  return ParseSkinVersion(*text).value_or(0);
}

std::u16string FormatSkinVersion(double version) {
  char buffer[32];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, version);
  return std::u16string(buffer, ec == std::errc{} ? end : buffer);
}

bool HasSwitch(std::span<const std::u16string> arguments, std::u16string_view switchText) {
  for (const std::u16string& arg : arguments) {
    if (SameIgnoringAsciiCase(arg, switchText)) return true;
  }
  return false;
}

VersionNotice CheckSkinVersion(double version, std::span<const std::u16string> arguments) {
  if (version < kOldestSupportedVersion) {
    return HasSwitch(arguments, kTestArgument) ? VersionNotice::kOldVersion : VersionNotice::kNone;
  }
  if (version > kNewestSupportedVersion) return VersionNotice::kNewVersion;
  return VersionNotice::kNone;
}

std::u16string OldSkinVersionText(std::u16string_view skinName) {
  return u"You are using an old version of the " + std::u16string(skinName) +
         u"\" skin. "
         u"Please, update skins to latest or contact the skin engine support for upgrading of "
         u"existing skin.\r\n\r\n"
         u"This notification occurs in design-time only for your information and will not "
         u"occur in real-time.";
}

}  // namespace kq
