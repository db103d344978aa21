// libFuzzer target: a settings file edited as the launcher edits it. Any content is parsed,
// one key is set, the file is serialised. Every byte the edit does not own must be
// unchanged (the change lies within one line, or is an insertion of whole lines), a second
// parse must read the value that was set, and setting it again must change nothing.
#include "common/CodePage.h"
#include "common/IniDocument.h"

#include <cstdlib>
#include <string>

namespace {

// A name or value from the input, in characters every encoding holds and the reading rules
// keep as they are: letters, digits and inner blanks; never empty.
std::u16string Word(const std::uint8_t*& p, const std::uint8_t* end, std::size_t max) {
  static constexpr char16_t kAlphabet[] = u"abcXYZ019_-. ";
  std::u16string w;
  const std::size_t n = p < end ? *p++ % max + 1 : 1;
  for (std::size_t i = 0; i < n; ++i) {
    w.push_back(p < end ? kAlphabet[*p++ % (std::size(kAlphabet) - 1)] : u'a');
  }
  while (!w.empty() && w.back() == u' ') w.pop_back();
  while (!w.empty() && w.front() == u' ') w.erase(w.begin());
  if (w.empty()) w = u"k";
  return w;
}

// Where a line ends as the document reads it: at an LF, with the CR before it, and at a CR
// that ends the file. A CR anywhere else belongs to its line, and to a value on it.
bool EndsLine(kq::ByteView content, std::size_t at) {
  const std::uint8_t b = content[at];
  return b == '\n' || (b == '\r' && (at + 1 == content.size() || content[at + 1] == '\n'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t* p = data;
  const std::uint8_t* end = data + size;
  const std::u16string section = Word(p, end, 8);
  const std::u16string key = Word(p, end, 8);
  const std::u16string value = Word(p, end, 40);
  const kq::ByteView content(p, static_cast<std::size_t>(end - p));

  static const kq::Cp1251Codec codec;
  kq::IniDocument doc = kq::IniDocument::Parse(content, codec);
  if (doc.Serialize() != kq::Bytes(content.begin(), content.end())) std::abort();
  doc.Set(section, key, value);
  const kq::Bytes edited = doc.Serialize();

  // The bytes before and after the change are the original's; what the edit replaced lies
  // inside one line (a value) or is nothing at all (lines inserted).
  std::size_t prefix = 0;
  while (prefix < content.size() && prefix < edited.size() && content[prefix] == edited[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < content.size() - prefix && suffix < edited.size() - prefix &&
         content[content.size() - 1 - suffix] == edited[edited.size() - 1 - suffix]) {
    ++suffix;
  }
  for (std::size_t at = prefix; at < content.size() - suffix; ++at) {
    if (EndsLine(content, at)) std::abort();
  }

  kq::IniDocument again = kq::IniDocument::Parse(edited, codec);
  const auto read = again.Get(section, key);
  if (!read || *read != value) std::abort();
  again.Set(section, key, value);
  if (again.Serialize() != edited) std::abort();
  return 0;
}
