#include "resources/FormStream.h"

#include "common/Error.h"
#include "common/Text.h"
#include "common/Utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace kq::forms {

bool FormValue::IsInteger() const {
  return type == ValueType::Int8 || type == ValueType::Int16 || type == ValueType::Int32 ||
         type == ValueType::Int64;
}

bool FormValue::IsText() const {
  return type == ValueType::String || type == ValueType::LString || type == ValueType::WString ||
         type == ValueType::Utf8String;
}

// Written out member by member: the types are recursive, which some compilers cannot
// default a comparison for.
bool FormValue::operator==(const FormValue& o) const {
  return type == o.type && integer == o.integer &&
         (real == o.real || (std::isnan(real) && std::isnan(o.real))) && text == o.text &&
         binary == o.binary && set == o.set && list == o.list && items == o.items;
}
bool FormProperty::operator==(const FormProperty& o) const {
  return name == o.name && value == o.value;
}
bool CollectionItem::operator==(const CollectionItem& o) const {
  return index == o.index && properties == o.properties;
}
bool Component::operator==(const Component& o) const {
  return flags == o.flags && childPos == o.childPos && className == o.className && name == o.name &&
         properties == o.properties && children == o.children;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  return SameIgnoringAsciiCase(a, b);
}

const FormValue* Component::Find(std::u16string_view property) const {
  // The last assignment wins, as when the framework applies the properties in order.
  for (auto it = properties.rbegin(); it != properties.rend(); ++it) {
    if (SameName(it->name, property)) return &it->value;
  }
  return nullptr;
}

const Component* Component::FindChild(std::u16string_view childName) const {
  for (const Component& c : children) {
    if (SameName(c.name, childName)) return &c;
  }
  return nullptr;
}

namespace {

[[noreturn]] void Invalid() {
  throw Error(u"Invalid stream format");
}

double ExtendedToDouble(const std::uint8_t* b) {
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | b[i];
  const int signExp = b[8] | (b[9] << 8);
  const bool negative = signExp & 0x8000;
  const int exp = signExp & 0x7FFF;
  double v;
  if (exp == 0x7FFF) {
    v = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                             : std::numeric_limits<double>::quiet_NaN();
  } else {
    // The integer bit is explicit; denormals have the exponent of 1.
    v = std::ldexp(static_cast<double>(mantissa), std::max(exp, 1) - 16383 - 63);
  }
  return negative ? -v : v;
}

class Reader {
 public:
  Reader(BufferedInput& in, const FormReadOptions& options)
      : in_(in), codec_(options.codec ? *options.codec : cp1251_), maxDepth_(options.maxDepth) {}

  Component ReadForm() {
    char sig[4];
    Exact(sig, 4);
    if (std::memcmp(sig, kFormSignature.data(), 4) != 0) Invalid();
    Component root;
    ReadObject(root, 0);
    return root;
  }

 private:
  void Exact(void* buf, std::size_t n) {
    if (ReadFully(in_, buf, n) != n) Invalid();
  }
  std::uint8_t U8() {
    std::uint8_t b;
    Exact(&b, 1);
    return b;
  }
  std::uint8_t PeekU8() {
    const ByteView v = in_.Peek();
    if (v.empty()) Invalid();
    return v[0];
  }
  std::uint64_t Le(int bytes) {
    std::uint8_t b[8];
    Exact(b, bytes);
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[i];
    return v;
  }
  // A length-counted run of bytes into `out`. A length is only a claim until the bytes
  // have come: at most 1 MiB is set aside before, and the room doubles only as the input
  // fills it, so a forged length costs little, while an honest one ends with exactly its
  // size and no copy for values up to 1 MiB. The bytes are appended from the buffer as
  // they come, so the room is never zeroed first only to be overwritten.
  template <class Container>
  void ReadInto(Container& out, std::uint64_t length) {
    using Unit = typename Container::value_type;
    constexpr std::uint64_t kTrustedRoom = 1 << 20;
    if (length > std::numeric_limits<std::size_t>::max()) Invalid();
    out.clear();
    out.reserve(static_cast<std::size_t>(std::min(length, kTrustedRoom)));
    while (out.size() < length) {
      const std::size_t old = out.size();
      if (old == out.capacity()) {
        out.reserve(
            static_cast<std::size_t>(std::min<std::uint64_t>(length, 2 * std::uint64_t{old})));
      }
      const ByteView avail = in_.Peek();
      if (avail.empty()) Invalid();
      const auto chunk = static_cast<std::size_t>(
          std::min<std::uint64_t>({out.capacity() - old, length - old, avail.size()}));
      const auto* first = reinterpret_cast<const Unit*>(avail.data());
      out.insert(out.end(), first, first + chunk);
      in_.Consume(chunk);
    }
  }
  std::string Blob(std::uint64_t length) {
    std::string out;
    ReadInto(out, length);
    return out;
  }
  std::u16string Utf8(std::string_view bytes) {
    if (!IsValidUtf8(AsBytes(bytes))) Invalid();
    return Utf8ToUtf16(AsBytes(bytes));
  }
  std::u16string ShortName() { return Utf8(Blob(U8())); }

  void Enter(int& depth) {
    if (++depth > maxDepth_) Invalid();
  }

  std::int32_t IntegerValue() {
    switch (static_cast<ValueType>(U8())) {
      case ValueType::Int8:
        return static_cast<std::int8_t>(Le(1));
      case ValueType::Int16:
        return static_cast<std::int16_t>(Le(2));
      case ValueType::Int32:
        return static_cast<std::int32_t>(Le(4));
      default:
        Invalid();
    }
  }

  void ReadObject(Component& c, int depth) {
    Enter(depth);
    std::uint8_t first = PeekU8();
    if ((first & 0xF0) == 0xF0) {
      in_.Consume(1);
      if (first & 0x08) Invalid();  // no such flag
      c.flags = first & 0x07;
      if (c.flags & kChildPos) c.childPos = IntegerValue();
    }
    c.className = ShortName();
    if (c.className.empty()) Invalid();
    c.name = ShortName();
    ReadProperties(c.properties, depth);
    while (PeekU8() != 0) {
      c.children.emplace_back();
      ReadObject(c.children.back(), depth);
    }
    in_.Consume(1);
  }

  // Properties up to an empty name.
  void ReadProperties(std::vector<FormProperty>& props, int depth) {
    for (;;) {
      std::u16string name = ShortName();
      if (name.empty()) return;
      props.push_back({std::move(name), {}});
      ReadValue(props.back().value, depth);
    }
  }

  void ReadValue(FormValue& v, int depth) {
    const std::uint8_t t = U8();
    if (t == 0 || t > kLastValueType) Invalid();
    v.type = static_cast<ValueType>(t);
    switch (v.type) {
      case ValueType::List:
        Enter(depth);
        while (PeekU8() != 0) {
          v.list.emplace_back();
          ReadValue(v.list.back(), depth);
        }
        in_.Consume(1);
        break;
      case ValueType::Int8:
        v.integer = static_cast<std::int8_t>(Le(1));
        break;
      case ValueType::Int16:
        v.integer = static_cast<std::int16_t>(Le(2));
        break;
      case ValueType::Int32:
        v.integer = static_cast<std::int32_t>(Le(4));
        break;
      case ValueType::Int64:
      case ValueType::Currency:
        v.integer = static_cast<std::int64_t>(Le(8));
        break;
      case ValueType::Extended: {
        std::uint8_t b[10];
        Exact(b, 10);
        v.real = ExtendedToDouble(b);
        break;
      }
      case ValueType::Single: {
        const auto bits = static_cast<std::uint32_t>(Le(4));
        float f;
        std::memcpy(&f, &bits, 4);
        v.real = f;
        break;
      }
      case ValueType::Date:
      case ValueType::Double: {
        const std::uint64_t bits = Le(8);
        std::memcpy(&v.real, &bits, 8);
        break;
      }
      case ValueType::String:
        v.text = codec_.FromAnsi(Blob(U8()));
        break;
      case ValueType::LString:
        v.text = codec_.FromAnsi(Blob(Le(4)));
        break;
      case ValueType::Utf8String:
        v.text = Utf8(Blob(Le(4)));
        break;
      case ValueType::Ident:
        v.text = ShortName();
        break;
      case ValueType::WString: {
        const std::string bytes = Blob(Le(4) * 2);
        v.text.resize(bytes.size() / 2);
        for (std::size_t i = 0; i < v.text.size(); ++i) {
          v.text[i] = static_cast<char16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                            static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8);
        }
        break;
      }
      case ValueType::Binary:
        ReadInto(v.binary, Le(4));
        break;
      case ValueType::Set:
        for (;;) {
          std::u16string element = ShortName();
          if (element.empty()) break;
          v.set.push_back(std::move(element));
        }
        break;
      case ValueType::Collection:
        Enter(depth);
        while (PeekU8() != 0) {
          CollectionItem& item = v.items.emplace_back();
          const auto next = static_cast<ValueType>(PeekU8());
          if (next == ValueType::Int8 || next == ValueType::Int16 || next == ValueType::Int32) {
            item.index = IntegerValue();
          }
          if (U8() != static_cast<std::uint8_t>(ValueType::List)) Invalid();
          ReadProperties(item.properties, depth);
        }
        in_.Consume(1);
        break;
      case ValueType::False:
      case ValueType::True:
      case ValueType::Nil:
        break;
      case ValueType::Null:
        Invalid();
    }
  }

  BufferedInput& in_;
  Cp1251Codec cp1251_;
  const AnsiCodec& codec_;
  int maxDepth_;
};

}  // namespace

Component ReadFormStream(BufferedInput& in, const FormReadOptions& options) {
  return Reader(in, options).ReadForm();
}

Component ReadFormStream(InputStream& in, const FormReadOptions& options) {
  BufferedInput buffered(in);
  return ReadFormStream(buffered, options);
}

}  // namespace kq::forms
