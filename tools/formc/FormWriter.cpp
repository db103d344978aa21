#include "FormWriter.h"

#include "common/CodePage.h"
#include "common/Error.h"
#include "common/Utf8.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace kq::forms {
namespace {

class Writer {
 public:
  explicit Writer(Bytes& out) : out_(out), w_(out) {}

  void Object(const Component& c) {
    if (c.flags) {
      w_.U8(static_cast<std::uint8_t>(0xF0 | c.flags));
      if (c.flags & kChildPos) Integer(c.childPos);
    }
    Short(Utf16ToUtf8String(c.className));
    Short(Utf16ToUtf8String(c.name));
    Properties(c.properties);
    for (const Component& child : c.children) Object(child);
    w_.U8(0);
  }

 private:
  void Type(ValueType t) { w_.U8(static_cast<std::uint8_t>(t)); }
  void Short(const std::string& s) {
    if (s.size() > 255) throw Error(u"Name or short string longer than 255 bytes");
    w_.U8(static_cast<std::uint8_t>(s.size()));
    w_.Append(AsBytes(s));
  }
  void Long(ByteView b) {
    w_.U32(static_cast<std::uint32_t>(b.size()));
    w_.Append(b);
  }
  void U64(std::uint64_t v) {
    w_.U32(static_cast<std::uint32_t>(v));
    w_.U32(static_cast<std::uint32_t>(v >> 32));
  }
  void Integer(std::int64_t v) {
    if (v >= -128 && v <= 127) {
      Type(ValueType::Int8);
      w_.U8(static_cast<std::uint8_t>(v));
    } else if (v >= -32768 && v <= 32767) {
      Type(ValueType::Int16);
      w_.U16(static_cast<std::uint16_t>(v));
    } else {
      Type(ValueType::Int32);
      w_.U32(static_cast<std::uint32_t>(v));
    }
  }
  void Properties(const std::vector<FormProperty>& props) {
    for (const FormProperty& p : props) {
      Short(Utf16ToUtf8String(p.name));
      Value(p.value);
    }
    w_.U8(0);
  }

  void Value(const FormValue& v) {
    Type(v.type);
    switch (v.type) {
      case ValueType::List:
        for (const FormValue& item : v.list) Value(item);
        w_.U8(0);
        break;
      case ValueType::Int8:
        w_.U8(static_cast<std::uint8_t>(v.integer));
        break;
      case ValueType::Int16:
        w_.U16(static_cast<std::uint16_t>(v.integer));
        break;
      case ValueType::Int32:
        w_.U32(static_cast<std::uint32_t>(v.integer));
        break;
      case ValueType::Int64:
      case ValueType::Currency:
        U64(static_cast<std::uint64_t>(v.integer));
        break;
      case ValueType::Extended: {
        std::uint8_t b[10];
        DoubleToExtended(v.real, b);
        w_.Append(ByteView(b, 10));
        break;
      }
      case ValueType::Single: {
        const float f = static_cast<float>(v.real);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        w_.U32(bits);
        break;
      }
      case ValueType::Date:
      case ValueType::Double: {
        std::uint64_t bits;
        std::memcpy(&bits, &v.real, 8);
        U64(bits);
        break;
      }
      case ValueType::String:
        Short(cp1251_.ToAnsi(v.text));
        break;
      case ValueType::LString:
        Long(AsBytes(cp1251_.ToAnsi(v.text)));
        break;
      case ValueType::Utf8String:
        Long(AsBytes(Utf16ToUtf8String(v.text)));
        break;
      case ValueType::Ident:
        Short(Utf16ToUtf8String(v.text));
        break;
      case ValueType::WString:
        w_.U32(static_cast<std::uint32_t>(v.text.size()));
        for (char16_t c : v.text) w_.U16(c);
        break;
      case ValueType::Binary:
        Long(v.binary);
        break;
      case ValueType::Set:
        for (const auto& element : v.set) Short(Utf16ToUtf8String(element));
        w_.U8(0);
        break;
      case ValueType::Collection:
        for (const CollectionItem& item : v.items) {
          if (item.index) Integer(*item.index);
          Type(ValueType::List);
          Properties(item.properties);
        }
        w_.U8(0);
        break;
      case ValueType::False:
      case ValueType::True:
      case ValueType::Nil:
        break;
      case ValueType::Null:
        throw Error(u"A null value cannot be written");
    }
  }

  Bytes& out_;
  ByteWriter w_;
  Cp1251Codec cp1251_;
};

const char* TypeName(ValueType t) {
  static const char* const kNames[] = {
      "Null",     "List", "Int8",    "Int16", "Int32",      "Extended", "String",     "Ident",
      "False",    "True", "Binary",  "Set",   "LString",    "Nil",      "Collection", "Single",
      "Currency", "Date", "WString", "Int64", "Utf8String", "Double"};
  return kNames[static_cast<int>(t)];
}

std::string Quoted(const std::u16string& text) {
  std::string out = "'";
  for (char c : Utf16ToUtf8String(text)) {
    if (c == '\'')
      out += "''";
    else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "'#%d'", c);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "'";
}

void DumpValue(std::string& out, const FormValue& v, const std::string& indent);

void DumpProperties(std::string& out, const std::vector<FormProperty>& props,
                    const std::string& indent) {
  for (const FormProperty& p : props) {
    out += indent + Utf16ToUtf8String(p.name) + " = ";
    DumpValue(out, p.value, indent);
    out += "\n";
  }
}

void DumpValue(std::string& out, const FormValue& v, const std::string& indent) {
  out += TypeName(v.type);
  char buf[64];
  switch (v.type) {
    case ValueType::Int8:
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Currency:
      out += " " + std::to_string(v.integer);
      break;
    case ValueType::Extended:
    case ValueType::Single:
    case ValueType::Date:
    case ValueType::Double:
      std::snprintf(buf, sizeof buf, " %.17g", v.real);
      out += buf;
      break;
    case ValueType::String:
    case ValueType::LString:
    case ValueType::WString:
    case ValueType::Utf8String:
      out += " " + Quoted(v.text);
      break;
    case ValueType::Ident:
      out += " " + Utf16ToUtf8String(v.text);
      break;
    case ValueType::Binary:
      out += " " + std::to_string(v.binary.size()) + " {";
      for (std::uint8_t b : v.binary) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
      }
      out += "}";
      break;
    case ValueType::Set:
      out += " [";
      for (std::size_t i = 0; i < v.set.size(); ++i) out += (i ? ", " : "") + Utf16ToUtf8String(v.set[i]);
      out += "]";
      break;
    case ValueType::List:
      out += " (\n";
      for (const FormValue& item : v.list) {
        out += indent + "  ";
        DumpValue(out, item, indent + "  ");
        out += "\n";
      }
      out += indent + ")";
      break;
    case ValueType::Collection:
      out += " <\n";
      for (const CollectionItem& item : v.items) {
        out += indent + "  item";
        if (item.index) out += " [" + std::to_string(*item.index) + "]";
        out += "\n";
        DumpProperties(out, item.properties, indent + "    ");
        out += indent + "  end\n";
      }
      out += indent + ">";
      break;
    default:
      break;
  }
}

void DumpObject(std::string& out, const Component& c, const std::string& indent) {
  out += indent + (c.flags & kInherited ? "inherited " : c.flags & kInline ? "inline " : "object ");
  out += Utf16ToUtf8String(c.name) + ": " + Utf16ToUtf8String(c.className);
  if (c.flags & kChildPos) out += " [" + std::to_string(c.childPos) + "]";
  if ((c.flags & kInherited) && (c.flags & kInline)) out += " {inline}";
  out += "\n";
  DumpProperties(out, c.properties, indent + "  ");
  for (const Component& child : c.children) DumpObject(out, child, indent + "  ");
  out += indent + "end\n";
}

}  // namespace

void DoubleToExtended(double d, std::uint8_t out[10]) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, 8);
  const int sign = static_cast<int>(bits >> 63);
  const int exp = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t frac = bits & ((std::uint64_t{1} << 52) - 1);
  std::uint64_t mantissa = 0;
  int e = 0;
  if (exp == 0x7FF) {
    e = 0x7FFF;
    mantissa = (std::uint64_t{1} << 63) | (frac << 11);
  } else if (exp == 0 && frac != 0) {  // denormal: normalise
    mantissa = frac << 11;
    e = 1 - 1023 + 16383;
    while (!(mantissa >> 63)) {
      mantissa <<= 1;
      --e;
    }
  } else if (exp != 0) {
    mantissa = (std::uint64_t{1} << 63) | (frac << 11);
    e = exp - 1023 + 16383;
  }
  for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
  const int signExp = (sign << 15) | e;
  out[8] = static_cast<std::uint8_t>(signExp);
  out[9] = static_cast<std::uint8_t>(signExp >> 8);
}

Bytes WriteFormStream(const Component& root) {
  Bytes out(AsBytes(kFormSignature).begin(), AsBytes(kFormSignature).end());
  Writer(out).Object(root);
  return out;
}

std::string DumpComponent(const Component& root) {
  std::string out;
  DumpObject(out, root, "");
  return out;
}

}  // namespace kq::forms
