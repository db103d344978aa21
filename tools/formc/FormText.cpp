#include "FormText.h"

#include "common/Utf8.h"

#include <cctype>
#include <cstring>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>

namespace kq::forms {
namespace {

enum class Tok { End, Ident, Number, String, Symbol };

struct Token {
  Tok kind = Tok::End;
  std::string text;       // identifier, number spelling, symbol
  std::u16string string;  // the decoded text of a string token
  int line = 0;
};

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
  return IsIdentStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '.';
}

// Included fragments may include others; a cycle stops here instead of exhausting the stack.
constexpr int kMaxIncludeDepth = 8;

class Parser {
 public:
  Parser(std::string_view text, const std::filesystem::path& path, const FormTextOptions& options,
         int includeDepth = 0)
      : src_(text), path_(path), options_(options), includeDepth_(includeDepth) {
    Next();
  }

  Component Parse() {
    Component root = Object();
    if (tok_.kind != Tok::End) Fail("text after the last 'end'");
    return root;
  }

  // An included fragment: exactly one value.
  FormValue ParseFragment() {
    if (tok_.kind == Tok::End) Fail("the included file holds no value");
    FormValue v = Value();
    if (tok_.kind != Tok::End) Fail("text after the included value");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& what, int line = 0) const {
    throw FormTextError(path_.string() + ":" + std::to_string(line ? line : tok_.line) + ": " +
                        what);
  }

  // --- lexer ---
  void SkipBlanks() {
    for (;;) {
      while (pos_ < src_.size() && std::isspace(static_cast<unsigned char>(src_[pos_]))) {
        if (src_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (src_.substr(pos_, 2) == "//") {
        while (pos_ < src_.size() && src_[pos_] != '\n') ++pos_;
        continue;
      }
      return;
    }
  }

  void Next() {
    SkipBlanks();
    tok_ = Token{};
    tok_.line = line_;
    if (pos_ >= src_.size()) return;
    const char c = src_[pos_];
    if (IsIdentStart(c)) {
      const std::size_t start = pos_;
      while (pos_ < src_.size() && IsIdentChar(src_[pos_])) ++pos_;
      tok_.kind = Tok::Ident;
      tok_.text = std::string(src_.substr(start, pos_ - start));
    } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$') {
      const std::size_t start = pos_++;
      while (pos_ < src_.size() &&
             (std::isalnum(static_cast<unsigned char>(src_[pos_])) || src_[pos_] == '.' ||
              ((src_[pos_] == '-' || src_[pos_] == '+') &&
               (src_[pos_ - 1] == 'e' || src_[pos_ - 1] == 'E') && src_[start] != '$'))) {
        ++pos_;
      }
      tok_.kind = Tok::Number;
      tok_.text = std::string(src_.substr(start, pos_ - start));
    } else if (c == '\'' || c == '#') {
      tok_.kind = Tok::String;
      StringToken();
    } else {
      tok_.kind = Tok::Symbol;
      tok_.text = std::string(1, c);
      ++pos_;
    }
  }

  // Quoted parts and #codes side by side (or joined with +) make one text.
  void StringToken() {
    std::string utf8;
    for (;;) {
      if (pos_ < src_.size() && src_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= src_.size() || src_[pos_] == '\n') Fail("unterminated text", line_);
          if (src_[pos_] == '\'') {
            if (pos_ + 1 < src_.size() && src_[pos_ + 1] == '\'') {
              utf8 += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          utf8 += src_[pos_++];
        }
      } else if (pos_ < src_.size() && src_[pos_] == '#') {
        ++pos_;
        const std::size_t start = pos_;
        unsigned long code = 0;
        while (pos_ < src_.size() && std::isdigit(static_cast<unsigned char>(src_[pos_]))) {
          code = code * 10 + static_cast<unsigned long>(src_[pos_++] - '0');
          if (code > 0xFFFF) Fail("character code beyond 65535", line_);
        }
        if (start == pos_) Fail("'#' without a character code", line_);
        utf8 += Utf16ToUtf8String(std::u16string(1, static_cast<char16_t>(code)));
      } else {
        // A '+' continues the text on the next line.
        const std::size_t savePos = pos_;
        const int saveLine = line_;
        SkipBlanks();
        if (pos_ < src_.size() && src_[pos_] == '+') {
          ++pos_;
          SkipBlanks();
          if (pos_ < src_.size() && (src_[pos_] == '\'' || src_[pos_] == '#')) continue;
          Fail("a text must follow '+'", line_);
        }
        pos_ = savePos;
        line_ = saveLine;
        break;
      }
    }
    if (!IsValidUtf8(AsBytes(utf8))) Fail("the source is not valid UTF-8", tok_.line);
    tok_.string = Utf8ToUtf16(AsBytes(utf8));
  }

  bool IsSymbol(char c) const { return tok_.kind == Tok::Symbol && tok_.text[0] == c; }
  bool IsKeyword(const char* word) const {
    return tok_.kind == Tok::Ident && SameName(std::u16string(tok_.text.begin(), tok_.text.end()),
                                               std::u16string(word, word + std::strlen(word)));
  }
  void Expect(char c, const char* context) {
    if (!IsSymbol(c)) Fail(std::string("expected '") + c + "' " + context);
    Next();
  }
  std::u16string Name(const char* what) {
    if (tok_.kind != Tok::Ident) Fail(std::string("expected ") + what);
    std::u16string name(tok_.text.begin(), tok_.text.end());
    if (tok_.text.size() > 255) Fail(std::string(what) + " longer than 255 characters");
    Next();
    return name;
  }

  // Objects, lists and collections nest no deeper than the form reader takes them.
  class Nesting {
   public:
    Nesting(Parser& p, int line) : p_(p) {
      if (++p_.depth_ > FormReadOptions{}.maxDepth) {
        p_.Fail("nested deeper than " + std::to_string(FormReadOptions{}.maxDepth) + " levels",
                line);
      }
    }
    ~Nesting() { --p_.depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& p_;
  };

  // --- grammar ---
  Component Object() {
    const Nesting nesting(*this, tok_.line);
    Component c;
    if (IsKeyword("inherited"))
      c.flags |= kInherited;
    else if (IsKeyword("inline"))
      c.flags |= kInline;
    else if (!IsKeyword("object"))
      Fail("expected 'object', 'inherited' or 'inline'");
    const int line = tok_.line;
    Next();
    std::u16string first = Name("a component name");
    if (IsSymbol(':')) {
      Next();
      c.name = std::move(first);
      c.className = Name("a class name");
    } else {
      c.className = std::move(first);
    }
    if (IsSymbol('[')) {
      Next();
      c.flags |= kChildPos;
      c.childPos = static_cast<std::int32_t>(IntegerLiteral(true));
      Expect(']', "after the child position");
    }
    for (;;) {
      if (tok_.kind == Tok::End) Fail("the object begun here has no 'end'", line);
      if (IsKeyword("end")) {
        Next();
        return c;
      }
      if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
        c.children.push_back(Object());
        continue;
      }
      if (!c.children.empty()) Fail("properties must come before the child objects");
      c.properties.push_back(Property());
    }
  }

  FormProperty Property() {
    FormProperty p;
    p.name = Name("a property name");
    Expect('=', "after the property name");
    p.value = Value();
    return p;
  }

  // A decimal or $hex spelling with its sign, as a 64-bit integer.
  std::int64_t WholeNumber(const std::string& s, bool negative) {
    const bool hex = s[0] == '$';
    const std::string digits = hex ? s.substr(1) : s;
    unsigned long long u = 0;
    std::size_t used = 0;
    try {
      u = std::stoull(digits, &used, hex ? 16 : 10);
    } catch (const std::logic_error&) {
      Fail("'" + s + "' is not a number in range");
    }
    if (used != digits.size()) Fail("'" + s + "' is not a whole number");
    if (u > static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max())) {
      Fail("'" + s + "' is not a number in range");
    }
    return negative ? -static_cast<std::int64_t>(u) : static_cast<std::int64_t>(u);
  }

  std::int64_t IntegerLiteral(bool int32Only) {
    const bool negative = IsSymbol('-');
    if (negative) Next();
    if (tok_.kind != Tok::Number) Fail("expected a number");
    const std::int64_t v = WholeNumber(tok_.text, negative);
    if (int32Only && (v < INT32_MIN || v > INT32_MAX)) Fail("number out of the 32-bit range");
    Next();
    return v;
  }

  FormValue Number() {
    FormValue v;
    const bool negative = IsSymbol('-');
    if (negative) Next();
    if (tok_.kind != Tok::Number) Fail("expected a number after '-'");
    const std::string s = tok_.text;
    const bool isReal = s[0] != '$' && s.find_first_of(".eE") != std::string::npos;
    const char last = s.back();
    const bool suffixed = s[0] != '$' && (last == 's' || last == 'd' || last == 'c' || last == 'r');
    if (!isReal && !suffixed) {
      const std::int64_t i = WholeNumber(s, negative);
      Next();
      v.integer = i;
      v.type = i >= -128 && i <= 127              ? ValueType::Int8
               : i >= -32768 && i <= 32767        ? ValueType::Int16
               : i >= INT32_MIN && i <= INT32_MAX ? ValueType::Int32
                                                  : ValueType::Int64;
      return v;
    }
    const std::string digits = suffixed ? s.substr(0, s.size() - 1) : s;
    double d = 0;
    try {
      std::size_t used = 0;
      d = std::stod(digits, &used);
      if (used != digits.size()) Fail("'" + s + "' is not a number");
    } catch (const std::logic_error&) {
      Fail("'" + s + "' is not a number in range");
    }
    if (negative) d = -d;
    Next();
    switch (suffixed ? last : 'x') {
      case 's':
        v.type = ValueType::Single;
        v.real = d;
        break;
      case 'd':
        v.type = ValueType::Date;
        v.real = d;
        break;
      case 'r':
        v.type = ValueType::Double;
        v.real = d;
        break;
      case 'c':
        v.type = ValueType::Currency;
        v.integer = std::llround(d * 10000);
        break;
      default:
        v.type = ValueType::Extended;
        v.real = d;
        break;
    }
    return v;
  }

  FormValue Text() {
    FormValue v;
    v.text = tok_.string;
    bool ascii = true;
    for (char16_t c : v.text) ascii = ascii && c < 0x80;
    v.type = !ascii                 ? ValueType::Utf8String
             : v.text.size() <= 255 ? ValueType::String
                                    : ValueType::LString;
    Next();
    return v;
  }

  FormValue Value() {
    FormValue v;
    const int line = tok_.line;
    if (tok_.kind == Tok::Number || IsSymbol('-')) return Number();
    if (tok_.kind == Tok::String) return Text();
    if (tok_.kind == Tok::Ident) {
      if (IsKeyword("True"))
        v.type = ValueType::True;
      else if (IsKeyword("False"))
        v.type = ValueType::False;
      else if (IsKeyword("nil"))
        v.type = ValueType::Nil;
      else if (IsKeyword("end") || IsKeyword("object"))
        Fail("expected a value");
      else {
        v.type = ValueType::Ident;
        v.text = Name("an identifier");
        // `include 'file'`: an identifier is never followed by a text otherwise.
        if (tok_.kind == Tok::String && SameName(v.text, u"include")) return Include(line);
        return v;
      }
      Next();
      return v;
    }
    if (IsSymbol('[')) {
      Next();
      v.type = ValueType::Set;
      while (!IsSymbol(']')) {
        if (!v.set.empty()) Expect(',', "between set elements");
        v.set.push_back(Name("a set element"));
      }
      Next();
      return v;
    }
    if (IsSymbol('(')) {
      const Nesting nesting(*this, line);
      Next();
      v.type = ValueType::List;
      while (!IsSymbol(')')) {
        if (tok_.kind == Tok::End) Fail("the list begun here has no ')'", line);
        v.list.push_back(Value());
      }
      Next();
      return v;
    }
    if (IsSymbol('{')) {
      v.type = ValueType::Binary;
      HexBlock(v.binary, line);
      return v;
    }
    if (IsSymbol('@')) {
      Next();
      if (tok_.kind != Tok::String) Fail("expected a quoted file name after '@'");
      v.type = ValueType::Binary;
      v.binary = Splice(tok_.string, line);
      Next();
      return v;
    }
    if (IsSymbol('<')) {
      const Nesting nesting(*this, line);
      Next();
      v.type = ValueType::Collection;
      while (!IsSymbol('>')) {
        if (!IsKeyword("item")) Fail("expected 'item' or '>' in a collection");
        Next();
        CollectionItem item;
        if (IsSymbol('[')) {
          Next();
          item.index = static_cast<std::int32_t>(IntegerLiteral(true));
          Expect(']', "after the item index");
        }
        while (!IsKeyword("end")) {
          if (tok_.kind == Tok::End) Fail("the collection item has no 'end'", line);
          item.properties.push_back(Property());
        }
        Next();
        v.items.push_back(std::move(item));
      }
      Next();
      return v;
    }
    Fail(tok_.kind == Tok::End ? "expected a value, found the end of the file"
                               : "expected a value, found '" + tok_.text + "'");
  }

  // Hex digits up to '}', read straight from the source (blanks and line ends allowed).
  void HexBlock(Bytes& out, int line) {
    int high = -1;
    for (;;) {
      if (pos_ >= src_.size()) Fail("the binary value begun here has no '}'", line);
      const char c = src_[pos_++];
      if (c == '}') break;
      if (c == '\n') ++line_;
      if (std::isspace(static_cast<unsigned char>(c))) continue;
      if (!std::isxdigit(static_cast<unsigned char>(c)))
        Fail(std::string("'") + c + "' in a binary value", line_);
      const int nibble =
          std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::tolower(c) - 'a' + 10);
      if (high < 0) {
        high = nibble;
      } else {
        out.push_back(static_cast<std::uint8_t>(high << 4 | nibble));
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hex digits in a binary value", line);
    Next();
  }

  // The bytes of a file named in the source, searched in the splice folders, then in the
  // folder of the file being parsed.
  Bytes ReadNamedFile(const std::u16string& name, const char* what, int line,
                      std::filesystem::path* found = nullptr) {
    const std::filesystem::path rel(Utf16ToUtf8String(name));
    std::vector<std::filesystem::path> dirs = options_.spliceDirs;
    dirs.push_back(path_.parent_path());
    for (const auto& dir : dirs) {
      const auto full = rel.is_absolute() ? rel : dir / rel;
      std::ifstream f(full, std::ios::binary);
      if (!f) continue;
      Bytes data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
      if (f.bad()) Fail(std::string("cannot read the ") + what + " " + full.string(), line);
      if (found) *found = full;
      return data;
    }
    Fail(std::string(what) + " '" + rel.string() + "' not found", line);
  }

  Bytes Splice(const std::u16string& name, int line) {
    return ReadNamedFile(name, "spliced file", line);
  }

  // The value written in another text file, made earlier in the build (the skin catalogue);
  // errors in it name that file and its lines.
  FormValue Include(int line) {
    if (includeDepth_ >= kMaxIncludeDepth) Fail("includes nested too deeply", line);
    std::filesystem::path file;
    const Bytes text = ReadNamedFile(tok_.string, "included file", line, &file);
    FormValue v = Parser(AsChars(text), file, options_, includeDepth_ + 1).ParseFragment();
    Next();
    return v;
  }

  std::string_view src_;
  std::filesystem::path path_;
  const FormTextOptions& options_;
  int includeDepth_ = 0;
  std::size_t pos_ = 0;
  int line_ = 1;
  int depth_ = 0;
  Token tok_;
};

}  // namespace

Component ParseFormText(std::string_view text, const std::filesystem::path& sourcePath,
                        const FormTextOptions& options) {
  return Parser(text, sourcePath, options).Parse();
}

}  // namespace kq::forms
