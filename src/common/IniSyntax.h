// The one line reader of INI text. A kind of file states its rules as options: the settings
// files are read as the system's profile functions read them, a skin's option file by
// stricter rules. The two stores built on it read every line through it: IniDocument, which
// edits a file and keeps its bytes, and SkinIni, which keeps each key's line number.
#pragma once

#include <string_view>

namespace kq {

struct IniSyntax {
  // Names compare letter for letter; otherwise without regard to case (FoldCase).
  bool matchCase = false;
  // A header is "[name]" with its bracket ending the line; otherwise "[" opens a header
  // whose name runs to the first "]" or the line's end.
  bool closedHeaders = false;
  // Of a key named twice in one section, the last value counts; otherwise the first.
  bool lastValueWins = false;
};

// The settings files (the launcher's and the game's).
inline constexpr IniSyntax kProfileSyntax{};
// A skin's option file.
inline constexpr IniSyntax kSkinSyntax{.matchCase = true, .closedHeaders = true};

enum class IniLineKind { kOther, kSection, kKey };

struct IniLine {
  IniLineKind kind = IniLineKind::kOther;
  std::u16string_view name;   // the section's or key's name, without surrounding blanks
  std::u16string_view value;  // a key's value after its first "=", without surrounding blanks
};

// One line's text, without its line end. Blank lines, comments (";" first) and lines that
// are neither a header nor hold "=" are kOther.
IniLine ReadIniLine(std::u16string_view text, IniSyntax syntax);

// Whether two names (already trimmed) are the same under the syntax.
bool SameIniName(std::u16string_view a, std::u16string_view b, IniSyntax syntax);

// The text without the blanks and tabs at either end, as names and values are read.
std::u16string_view TrimBlanks(std::u16string_view s);

}  // namespace kq
