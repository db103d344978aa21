// INI text read whole, every key keeping its line so that faults can name it. By default
// read as a skin's option file: unlike the settings files, section and key names match
// exactly, letter case included.
#pragma once

#include "common/IniSyntax.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

class SkinIni {
 public:
  struct Key {
    std::u16string name;
    std::u16string value;
    int line = 0;  // 1-based, in the text parsed
  };
  struct Section {
    std::u16string name;
    int line = 0;           // of the header that first named it
    std::vector<Key> keys;  // in file order
  };

  // Lines end at CR LF, LF or CR and are read by `syntax`; a key belongs to the section
  // above it, and keys before the first section are ignored. A section named twice is one
  // section, its keys in the order read, under the name it was first given.
  static SkinIni Parse(std::u16string_view text, IniSyntax syntax = kSkinSyntax);

  // The value of the first key of that name (the last, with lastValueWins) in the section of
  // that name.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
  // The section's position among the sections in the order first named; -1 when absent.
  int SectionIndex(std::u16string_view section) const;
  const std::vector<Section>& Sections() const { return sections_; }

 private:
  // The index's key for a section's name: the name itself, or its case folded.
  std::u16string IndexName(std::u16string_view name) const;

  IniSyntax syntax_;
  std::vector<Section> sections_;
  std::map<std::u16string, int, std::less<>> index_;
};

}  // namespace kq
