// A skin's option file (Options.dat) as INI data, and the version it declares. Unlike the
// settings files, section and key names match exactly, letter case included.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kq {

class SkinIni {
 public:
  struct Section {
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> keys;  // in file order
  };

  // Lines end at CR LF, LF or CR and lose their surrounding blanks. "[name]" opens a section;
  // "key=value" belongs to the section above it (names and values trimmed); lines starting
  // with ";", lines without "=" and keys before the first section are ignored. A section
  // named twice is one section, its keys in the order read.
  static SkinIni Parse(std::u16string_view text);

  // The value of the first key of that exact name in the section of that exact name.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
  // The section's position among the sections in the order first named; -1 when absent.
  int SectionIndex(std::u16string_view section) const;
  const std::vector<Section>& Sections() const { return sections_; }

 private:
  std::vector<Section> sections_;
  std::map<std::u16string, int, std::less<>> index_;
};

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
