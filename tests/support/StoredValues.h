// Stored property values as a layout would hold them, for tests that read properties.
#pragma once

#include "resources/FormStream.h"

#include <cstdint>
#include <string>

namespace kq::test {

inline forms::FormValue Int(std::int64_t n) {
  forms::FormValue v;
  v.type = forms::ValueType::Int32;
  v.integer = n;
  return v;
}
inline forms::FormValue Bool(bool b) {
  forms::FormValue v;
  v.type = b ? forms::ValueType::True : forms::ValueType::False;
  return v;
}
inline forms::FormValue Ident(std::u16string text) {
  forms::FormValue v;
  v.type = forms::ValueType::Ident;
  v.text = std::move(text);
  return v;
}
inline forms::FormValue Text(std::u16string text) {
  forms::FormValue v;
  v.type = forms::ValueType::String;
  v.text = std::move(text);
  return v;
}

}  // namespace kq::test
