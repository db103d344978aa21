#include "common/IniDocument.h"

#include "common/Utf8.h"

#include <algorithm>

namespace kq {
namespace {

constexpr std::size_t kMaxValueLength = 2047;  // what a 2048-character read buffer returns

// Whether the code unit at `at` (one byte, or two for UTF-16LE) is the ASCII character `c`.
bool UnitIs(ByteView bytes, std::size_t at, std::size_t unit, char c) {
  return bytes[at] == static_cast<std::uint8_t>(c) && (unit == 1 || bytes[at + 1] == 0);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

IniDocument IniDocument::Parse(ByteView content, const AnsiCodec& codec, IniSyntax syntax) {
  const ByteOrderMark mark = ReadByteOrderMark(content);
  const std::size_t bom = mark.size;
  IniDocument doc(codec, mark.encoding, syntax);
  doc.bom_.assign(content.begin(), content.begin() + bom);

  // Lines end at LF, with the CR before it when there is one; a CR that ends the file ends
  // its last line as well, as it does once a line is added after it. A trailing odd byte of
  // UTF-16 text stays with the last line.
  const std::size_t unit = doc.UnitSize();
  const auto add_line = [&](std::size_t begin, std::size_t end, std::size_t eol_end) {
    Line line;
    line.raw.assign(content.begin() + begin, content.begin() + end);
    line.eol.assign(content.begin() + end, content.begin() + eol_end);
    line.text = doc.Decode(line.raw);
    doc.lines_.push_back(std::move(line));
  };
  std::size_t start = bom;
  for (std::size_t at = bom; at + unit <= content.size(); at += unit) {
    if (!UnitIs(content, at, unit, '\n')) continue;
    const bool cr = at >= start + unit && UnitIs(content, at - unit, unit, '\r');
    add_line(start, cr ? at - unit : at, at + unit);
    start = at + unit;
  }
  if (start < content.size()) {
    const std::size_t end = content.size();
    const bool cr =
        end >= start + unit && (end - start) % unit == 0 && UnitIs(content, end - unit, unit, '\r');
    add_line(start, cr ? end - unit : end, end);
  }
  return doc;
}

std::optional<std::u16string> IniDocument::Get(std::u16string_view section,
                                               std::u16string_view key) const {
  const Location loc = Find(section, key);
  if (!loc.key) return std::nullopt;
  std::u16string_view value = ReadIniLine(lines_[*loc.key].text, syntax_).value;
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::u16string(value.substr(0, kMaxValueLength));
}

std::u16string IniDocument::GetString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view def) const {
  return Get(section, key).value_or(std::u16string(def));
}

std::int32_t IniDocument::GetInt(std::u16string_view section, std::u16string_view key,
                                 std::int32_t def) const {
  const std::optional<std::u16string> text = Get(section, key);
  return text ? ParseProfileInteger(*text).value_or(def) : def;
}

void IniDocument::Set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
  value = value.substr(0, value.find_first_of(u"\r\n"));
  const Location loc = Find(section, key);
  if (loc.key) {
    // Keep the line's own bytes up to and including its first '=' (the one its text shows)
    // and the blanks after it, so "Key = Value" keeps its spacing.
    Line& line = lines_[*loc.key];
    const std::size_t unit = UnitSize();
    std::size_t keep = 0;
    while (keep + unit < line.raw.size() && !UnitIs(line.raw, keep, unit, '=')) keep += unit;
    keep += unit;
    while (keep + unit <= line.raw.size() &&
           (UnitIs(line.raw, keep, unit, ' ') || UnitIs(line.raw, keep, unit, '\t'))) {
      keep += unit;
    }
    line.raw.resize(keep);
    const Bytes encoded = Encode(value);
    line.raw.insert(line.raw.end(), encoded.begin(), encoded.end());
    line.text = Decode(line.raw);
    return;
  }
  std::u16string entry = std::u16string(key) + u"=" + std::u16string(value);
  if (!loc.header) {
    Insert(lines_.size(), {u"[" + std::u16string(section) + u"]", std::move(entry)});
    return;
  }
  std::size_t at = loc.end;
  while (at > *loc.header + 1 && TrimBlanks(lines_[at - 1].text).empty()) --at;
  Insert(at, {std::move(entry)});
}

Bytes IniDocument::Serialize() const {
  Bytes out = bom_;
  for (const Line& line : lines_) {
    out.insert(out.end(), line.raw.begin(), line.raw.end());
    out.insert(out.end(), line.eol.begin(), line.eol.end());
  }
  return out;
}

IniDocument::Location IniDocument::Find(std::u16string_view section,
                                        std::u16string_view key) const {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  Location loc;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const IniLine line = ReadIniLine(lines_[i].text, syntax_);
    if (line.kind == IniLineKind::kSection) {
      if (loc.header) {
        loc.end = i;
        return loc;
      }
      if (SameIniName(line.name, section, syntax_)) loc.header = i;
    } else if (loc.header && (!loc.key || syntax_.lastValueWins) &&
               line.kind == IniLineKind::kKey && SameIniName(line.name, key, syntax_)) {
      loc.key = i;
    }
  }
  loc.end = lines_.size();
  return loc;
}

void IniDocument::Insert(std::size_t at, const std::vector<std::u16string>& texts) {
  // The file's first full line end; a CR the file ended with is not one.
  const Bytes cr = Encode(u"\r");
  const auto first_eol =
      std::ranges::find_if(lines_, [&](const Line& l) { return !l.eol.empty() && l.eol != cr; });
  const Bytes eol = first_eol != lines_.end() ? first_eol->eol : Encode(u"\r\n");
  if (at > 0 && lines_[at - 1].eol.empty()) {
    // A UTF-16 file may end in an odd byte: it is completed to a whole unit first, or every
    // line added after it would be read one byte out of step.
    Line& last = lines_[at - 1];
    if (last.raw.size() % UnitSize() != 0) {
      last.raw.push_back(0);
      last.text = Decode(last.raw);
    }
    last.eol = eol;
  } else if (at > 0 && lines_[at - 1].eol == cr) {
    // The file ended in a CR: an LF after it makes the line end a reader finds anywhere.
    const Bytes lf = Encode(u"\n");
    lines_[at - 1].eol.insert(lines_[at - 1].eol.end(), lf.begin(), lf.end());
  }
  std::vector<Line> added;
  for (const std::u16string& text : texts) {
    Line line{Encode(text), eol, {}};
    // What a later read sees is what the file holds, after the code page had its say.
    line.text = Decode(line.raw);
    added.push_back(std::move(line));
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

std::u16string IniDocument::Decode(ByteView raw) const {
  return DecodeText(raw, encoding_, *codec_);
}

Bytes IniDocument::Encode(std::u16string_view text) const {
  switch (encoding_) {
    case Encoding::kAnsi: {
      const std::string ansi = codec_->ToAnsi(text);
      return Bytes(ansi.begin(), ansi.end());
    }
    case Encoding::kUtf8:
      return Utf16ToUtf8(text);
    case Encoding::kUtf16Le:
      break;
  }
  Bytes out;
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

std::optional<std::int32_t> ParseProfileInteger(std::u16string_view text) {
  if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    std::uint64_t value = 0;
    for (char16_t c : text.substr(2)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = (value << 4) | static_cast<std::uint64_t>(digit);
      if (value > 0xFFFFFFFF) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
  }
  const bool negative = text.starts_with(u'-');
  if (negative || text.starts_with(u'+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  // Magnitude up to 2^31 so that the lowest int32 parses too.
  std::int64_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace kq
