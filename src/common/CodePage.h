// Conversion between UTF-16 text and the system's ANSI code page.
//
// The portable core works on bytes and takes its converter as a parameter: the Windows
// build converts through the system's ANSI code page, the native build and its tests
// through the portable Windows-1251 table (the code page of the game's players).
#pragma once

#include <string>
#include <string_view>

namespace kq {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // A character the code page lacks becomes the code page's replacement byte.
  virtual std::string ToAnsi(std::u16string_view text) const = 0;
  virtual std::u16string FromAnsi(std::string_view bytes) const = 0;
};

// Windows-1251 (Cyrillic), by table; its replacement byte is '?'.
class Cp1251Codec final : public AnsiCodec {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view bytes) const override;
};

}  // namespace kq
