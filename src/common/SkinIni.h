// A skin's option file as INI data. Unlike the settings files, section and key names match
// exactly, letter case included; every key keeps its line so that faults can name it.
#pragma once

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

}  // namespace kq
