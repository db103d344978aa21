#include "FormText.h"
#include "FormWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

namespace kq::forms {
namespace {

namespace fs = std::filesystem;

Component Parse(std::string_view text, const FormTextOptions& options = {}) {
  return ParseFormText(text, "layout.form", options);
}

// The dump of one property value as the compiler stores it.
std::string ValueDump(const std::string& spelling) {
  const Component c = Parse("object F: TForm\n  P = " + spelling + "\nend\n");
  std::string dump = DumpComponent(c);
  const std::string head = "object F: TForm\n  P = ";
  EXPECT_EQ(dump.substr(0, head.size()), head) << spelling;
  dump = dump.substr(head.size());
  return dump.substr(0, dump.size() - std::string("\nend\n").size());
}

TEST(FormText, StoresEachSpellingWithItsType) {
  struct Case {
    std::string spelling;
    std::string dump;
  };
  const Case cases[] = {
      {"8", "Int8 8"},
      {"-128", "Int8 -128"},
      {"-129", "Int16 -129"},
      {"$FF", "Int16 255"},
      {"70000", "Int32 70000"},
      {"-2147483648", "Int32 -2147483648"},
      {"5000000000", "Int64 5000000000"},
      {"1.5", "Extended 1.5"},
      {"-2.5e-3", "Extended -0.0025000000000000001"},
      {"0.25s", "Single 0.25"},
      {"1.2345c", "Currency 12345"},
      {"45000.5d", "Date 45000.5"},
      {"-2.5r", "Double -2.5"},
      {"'Start'", "String 'Start'"},
      {"'It''s'#13#10'ok'", "String 'It''s'#13''#10'ok'"},
      {"'Вы' + 'бор'", "Utf8String 'Выбор'"},
      {"#1042'ход'", "Utf8String 'Вход'"},
      {"'" + std::string(256, 'a') + "'", "LString '" + std::string(256, 'a') + "'"},
      {"btnStartClick", "Ident btnStartClick"},
      {"True", "True"},
      {"false", "False"},
      {"nil", "Nil"},
      {"[fsBold, fsUnderline]", "Set [fsBold, fsUnderline]"},
      {"[]", "Set []"},
      {"{0a0B\n ff}", "Binary 3 {0A0BFF}"},
      {"('a' 1)", "List (\n    String 'a'\n    Int8 1\n  )"},
      {"<item [1] W = 2 end item end>",
       "Collection <\n    item [1]\n      W = Int8 2\n    end\n    item\n    end\n  >"},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueDump(c.spelling), c.dump) << c.spelling;
}

TEST(FormText, ObjectsKeepTheirFlagsNamesAndOrder) {
  const Component c = Parse(
      "// a comment line\n"
      "inherited frmMain: TfrmMain\n"
      "  Caption = 'x'\n"
      "  object lbl: TLabel end\n"
      "  inline Frame1: TFrame [2]\n"
      "    object TButton\n"
      "    end\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(c.flags, kInherited);
  EXPECT_EQ(c.name, u"frmMain");
  ASSERT_EQ(c.children.size(), 2u);
  EXPECT_EQ(c.children[0].className, u"TLabel");
  EXPECT_EQ(c.children[1].flags, kInline | kChildPos);
  EXPECT_EQ(c.children[1].childPos, 2);
  ASSERT_EQ(c.children[1].children.size(), 1u);
  EXPECT_EQ(c.children[1].children[0].name, u"");
  EXPECT_EQ(c.children[1].children[0].className, u"TButton");
}

TEST(FormText, ErrorsNameTheFileAndLine) {
  struct Case {
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {"object F: TForm\n  Left 5\nend\n", "layout.form:2: expected '=' after the property name"},
      {"object F: TForm\n  Left =\nend\n", "layout.form:3: expected a value"},
      {"object F: TForm\n  Caption = 'abc\nend\n", "layout.form:2: unterminated text"},
      {"object F: TForm\n  Data = {0A1}\nend\n",
       "layout.form:2: odd number of hex digits in a binary value"},
      {"object F: TForm\n  Data = {0G}\nend\n", "layout.form:2: 'G' in a binary value"},
      {"object F: TForm\n  Left = 99999999999999999999\nend\n",
       "layout.form:2: '99999999999999999999' is not a number in range"},
      {"object F: TForm\n  Items = ('a'\nend\n", "layout.form:3: expected a value"},
      {"object F: TForm\n  Items = ('a'\n", "layout.form:2: the list begun here has no ')'"},
      {"object F: TForm\n  object B: TButton\n",
       "layout.form:2: the object begun here has no 'end'"},
      {"object F: TForm\n  object B: TButton end\n  Left = 1\nend\n",
       "layout.form:3: properties must come before the child objects"},
      {"object F: TForm\nend\nend\n", "layout.form:3: text after the last 'end'"},
      {"thing F: TForm\nend\n", "layout.form:1: expected 'object', 'inherited' or 'inline'"},
      {"object F: TForm\n  Data = @'no-such-file.bin'\nend\n",
       "layout.form:2: spliced file 'no-such-file.bin' not found"},
      {"object F: TForm\n  Left = 1x\nend\n", "layout.form:2: '1x' is not a whole number"},
      {"object F: TForm\n  Caption = #65536\nend\n", "layout.form:2: character code beyond 65535"},
      {"object F: TForm\n  Items = ((((((((((((((((((((((((((((((((((((((((((((((((((((((((("
       "((((((((((((((((((((((((((((((((((((((((((((((((\nend\n",
       "layout.form:2: nested deeper than 100 levels"},
      // Past what any integer holds: still this error, not an exception of the library.
      {"object F: TForm\n  Caption = 'a'#3101000000000000000000#1\nend\n",
       "layout.form:2: character code beyond 65535"},
  };
  for (const Case& c : cases) {
    try {
      Parse(c.source);
      ADD_FAILURE() << c.source << ": no error";
    } catch (const FormTextError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.source;
    }
  }
}

TEST(FormText, SplicesBinaryPropertiesFromTheGivenFolders) {
  const fs::path dir = fs::temp_directory_path() / "kq-formc-splice";
  fs::create_directories(dir / "sub");
  std::string big(300000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  std::ofstream(dir / "sub" / "packages.bin", std::ios::binary) << big;
  const Component c =
      Parse("object F: TForm\n  Packages = @'sub/packages.bin'\nend\n", {.spliceDirs = {dir}});
  ASSERT_NE(c.Find(u"Packages"), nullptr);
  EXPECT_EQ(c.Find(u"Packages")->type, ValueType::Binary);
  EXPECT_EQ(std::string(c.Find(u"Packages")->binary.begin(), c.Find(u"Packages")->binary.end()),
            big);
  fs::remove_all(dir);
}

// A fragment made by another build step stands for one value; what it splices or includes
// is found beside it, and its errors name its own lines.
class FormTextInclude : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("kq-formc-include-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_ / "gen");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const fs::path& rel, const std::string& text) {
    std::ofstream(dir_ / rel, std::ios::binary) << text;
  }
  Component ParseIncluding(const std::string& value) {
    return Parse("object F: TForm\n  A = 1\n  Skins = " + value + "\n  Z = 2\nend\n",
                 {.spliceDirs = {dir_}});
  }
  fs::path dir_;
};

TEST_F(FormTextInclude, TheFragmentsValueTakesThePropertysPlace) {
  Write("gen/one.bin", std::string("\x01\x00\xFF", 3));
  Write("gen/items.inc",
        "// generated\n<\n  item\n    Name = 'One'\n    Data = @'one.bin'\n  end\n"
        "  item\n    Name = 'Two'\n    Tags = include 'tags.inc'\n  end>\n");
  Write("gen/tags.inc", "('a' 'b')");
  const Component c = ParseIncluding("include 'gen/items.inc'");
  ASSERT_EQ(c.properties.size(), 3u);
  EXPECT_EQ(c.properties[1].name, u"Skins");
  EXPECT_EQ(c.properties[2].name, u"Z");  // the source goes on after the include
  const FormValue& skins = c.properties[1].value;
  ASSERT_EQ(skins.type, ValueType::Collection);
  ASSERT_EQ(skins.items.size(), 2u);
  EXPECT_EQ(skins.items[0].properties[1].value.binary, (Bytes{0x01, 0x00, 0xFF}));
  EXPECT_EQ(skins.items[1].properties[1].value.list.size(), 2u);
}

TEST_F(FormTextInclude, AnIdentifierNamedIncludeIsStillAnIdentifier) {
  const Component c = ParseIncluding("Include");
  EXPECT_EQ(c.Find(u"Skins")->type, ValueType::Ident);
  EXPECT_EQ(c.Find(u"Skins")->text, u"Include");
}

TEST_F(FormTextInclude, ErrorsNameTheIncludedFileAndLine) {
  const std::string gen = (dir_ / "gen").string();
  Write("gen/bad.inc", "<\n  item\n    Left 5\n  end>\n");
  Write("gen/two.inc", "1 2\n");
  Write("gen/empty.inc", "// nothing\n");
  Write("gen/self.inc", "include 'self.inc'\n");
  Write("gen/splice.inc", "\n@'missing.bin'\n");
  struct Case {
    const char* value;
    std::string message;
  };
  const Case cases[] = {
      {"include 'gen/bad.inc'", gen + "/bad.inc:3: expected '=' after the property name"},
      {"include 'gen/two.inc'", gen + "/two.inc:1: text after the included value"},
      {"include 'gen/empty.inc'", gen + "/empty.inc:2: the included file holds no value"},
      {"include 'gen/splice.inc'", gen + "/splice.inc:2: spliced file 'missing.bin' not found"},
      {"include 'gen/self.inc'", gen + "/self.inc:1: includes nested too deeply"},
      {"include 'gen/none.inc'", "layout.form:3: included file 'gen/none.inc' not found"},
  };
  for (const Case& c : cases) {
    try {
      ParseIncluding(c.value);
      ADD_FAILURE() << c.value << ": no error";
    } catch (const FormTextError& e) {
      EXPECT_EQ(e.what(), c.message) << c.value;
    }
  }
}

// Whatever the compiler accepts, the launcher's reader gives back unchanged; doubles of
// every class survive the 10-byte extended form.
TEST(FormText, WrittenStreamsReadBackToTheSameTree) {
  Component c = Parse(
      "object F: TForm\n  A = 1\n  B = 'Выбор'\n  C = [x]\n  D = <item [3] E = (1 'a') end>\n"
      "  G = {00FF}\n  H = 2.5s\n  object K: TEdit [1]\n    L = nil\n  end\nend\n");
  const double reals[] = {0.0,
                          -0.0,
                          1.0,
                          -1.5,
                          1e300,
                          4.9e-324,
                          2.2250738585072014e-308,
                          std::numeric_limits<double>::max(),
                          std::numeric_limits<double>::infinity()};
  for (double d : reals) {
    FormValue v;
    v.type = ValueType::Extended;
    v.real = d;
    c.properties.push_back({u"R", v});
  }
  FormValue w;
  w.type = ValueType::WString;
  w.text = u"Логин";
  c.properties.push_back({u"W", w});
  const Bytes stream = WriteFormStream(c);
  MemoryInputStream in(stream);
  const Component back = ReadFormStream(in);
  EXPECT_EQ(back, c);
  EXPECT_TRUE(std::signbit(back.properties[7].value.real));  // -0.0 kept its sign
}

}  // namespace
}  // namespace kq::forms
