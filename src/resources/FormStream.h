// The binary form stream: a window layout as one object tree ("TPF0", then the root
// object with its properties and children), and its reader.
#pragma once

#include "common/Bytes.h"
#include "common/CodePage.h"
#include "common/InputStream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq::forms {

inline constexpr std::string_view kFormSignature = "TPF0";

// The type byte in front of every value.
enum class ValueType : std::uint8_t {
  Null = 0,  // ends a list; never a value of its own
  List = 1,
  Int8 = 2,
  Int16 = 3,
  Int32 = 4,
  Extended = 5,  // 10-byte x87
  String = 6,    // short string, in the code page
  Ident = 7,
  False = 8,
  True = 9,
  Binary = 10,
  Set = 11,
  LString = 12,  // long string, in the code page
  Nil = 13,
  Collection = 14,
  Single = 15,
  Currency = 16,  // 64-bit, in units of 1/10000
  Date = 17,
  WString = 18,  // UTF-16LE
  Int64 = 19,
  Utf8String = 20,
  Double = 21,
};
inline constexpr std::uint8_t kLastValueType = 21;

struct FormProperty;
struct CollectionItem;

// One value as stored; which fields count depends on the type.
struct FormValue {
  ValueType type = ValueType::Nil;
  std::int64_t integer = 0;           // Int8, Int16, Int32, Int64, Currency
  double real = 0;                    // Extended, Single, Date, Double
  std::u16string text;                // String, LString, WString, Utf8String, Ident
  Bytes binary;                       // Binary
  std::vector<std::u16string> set;    // Set
  std::vector<FormValue> list;        // List
  std::vector<CollectionItem> items;  // Collection

  bool IsInteger() const;
  bool IsText() const;  // any of the four string types (not identifiers)
  bool IsBoolean() const { return type == ValueType::False || type == ValueType::True; }
  bool operator==(const FormValue&) const;
};

struct FormProperty {
  std::u16string name;  // dotted for nested properties: "Font.Name"
  FormValue value;
  bool operator==(const FormProperty&) const;
};

struct CollectionItem {
  std::optional<std::int32_t> index;
  std::vector<FormProperty> properties;
  bool operator==(const CollectionItem&) const;
};

// Flags of the prefix byte 0xF0 | flags in front of an object.
enum FilerFlag : std::uint8_t { kInherited = 1, kChildPos = 2, kInline = 4 };

struct Component {
  std::uint8_t flags = 0;
  std::int32_t childPos = 0;  // with kChildPos
  std::u16string className;
  std::u16string name;
  std::vector<FormProperty> properties;
  std::vector<Component> children;

  // Names are matched without regard to letter case, as the framework matches them.
  const FormValue* Find(std::u16string_view property) const;
  const Component* FindChild(std::u16string_view childName) const;
  bool operator==(const Component&) const;
};

// ASCII letters folded: the rule for class, component and property names.
bool SameName(std::u16string_view a, std::u16string_view b);

struct FormReadOptions {
  // The code page of String and LString values; null means Windows-1251.
  const AnsiCodec* codec = nullptr;
  // Deepest nesting of objects, lists and collections accepted.
  int maxDepth = 100;
};

// Reads one complete form stream ("TPF0" and one object) from the source's position and
// leaves the source right behind it. Anything malformed, including input that ends early,
// throws kq::Error "Invalid stream format"; failures of the source itself (a damaged
// compressed stream) pass through with their own message. Lengths in the data are never
// trusted for allocation: long values grow only as their bytes actually arrive.
Component ReadFormStream(BufferedInput& in, const FormReadOptions& options = {});
Component ReadFormStream(InputStream& in, const FormReadOptions& options = {});

}  // namespace kq::forms
