// A settings (INI) file held as its lines, read by the profile functions' rules and edited
// so that every line the program does not own keeps its bytes: comments, blank lines,
// unknown keys with their spacing, other sections and their order, line ends and encoding.
#pragma once

#include "common/TextFile.h"
#include "common/Bytes.h"
#include "common/CodePage.h"
#include "common/IniSyntax.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

class IniDocument {
 public:
  // Content of a profile file (empty for a missing file). A UTF-16LE (FF FE) or UTF-8
  // (EF BB BF) byte-order mark selects that encoding; otherwise the bytes are in the ANSI
  // code page of `codec`, which must outlive the document. The lines are read by `syntax`.
  static IniDocument Parse(ByteView content, const AnsiCodec& codec,
                           IniSyntax syntax = kProfileSyntax);

  // The value of the first matching key (the last, with lastValueWins) in the first matching
  // section, nullopt if absent. Names match by the syntax, without surrounding blanks; the
  // value loses its surrounding blanks, then one pair of enclosing quotation marks, and is
  // cut to 2047 characters.
  // A key present with an empty value gives "". Keys before any section belong to none.
  std::optional<std::u16string> Get(std::u16string_view section, std::u16string_view key) const;
  std::u16string GetString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view def) const;
  // The value by ParseProfileInteger; an absent or malformed value gives `def`.
  std::int32_t GetInt(std::u16string_view section, std::u16string_view key, std::int32_t def) const;

  // Replaces the value on the key's line, keeping the line up to and including its '=';
  // or adds "key=value" after the section's last non-blank line; or adds the section and the
  // key at the end. New lines take the file's first line end (CR LF when it has none) and
  // its encoding. A value is one line: it is cut at its first line break.
  void Set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  // The file's bytes; exactly the parsed ones while nothing was set.
  Bytes Serialize() const;

 private:
  using Encoding = TextEncoding;
  struct Line {
    Bytes raw;  // content without the line end, in the file's encoding
    Bytes eol;  // CR LF, LF, or nothing on a last line without one
    std::u16string text;
  };
  struct Location {
    std::optional<std::size_t> header;  // the first matching section's header line
    std::size_t end = 0;                // the line after that section
    std::optional<std::size_t> key;     // the matching key line inside it that counts
  };

  IniDocument(const AnsiCodec& codec, Encoding encoding, IniSyntax syntax)
      : codec_(&codec), encoding_(encoding), syntax_(syntax) {}

  Location Find(std::u16string_view section, std::u16string_view key) const;
  void Insert(std::size_t at, const std::vector<std::u16string>& texts);
  std::u16string Decode(ByteView raw) const;
  Bytes Encode(std::u16string_view text) const;
  std::size_t UnitSize() const { return encoding_ == Encoding::kUtf16Le ? 2 : 1; }

  const AnsiCodec* codec_;
  Encoding encoding_;
  IniSyntax syntax_;
  Bytes bom_;
  std::vector<Line> lines_;
};

// A profile integer: "0x"/"0X" and hexadecimal digits (the text at least 3 characters, the
// value a 32-bit pattern, so 0xFFFFFFFF is -1), or decimal digits with an optional sign in
// the int32 range. Anything else, the empty text included, is nullopt.
std::optional<std::int32_t> ParseProfileInteger(std::u16string_view text);

}  // namespace kq
