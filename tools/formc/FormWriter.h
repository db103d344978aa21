// Writes a component tree as a binary form stream, and the typed text view of one used by
// the golden tests and by `formc --dump`.
#pragma once

#include "common/Bytes.h"
#include "resources/FormStream.h"

#include <string>

namespace kq::forms {

// "TPF0" and the root object. Texts of String and LString values are written as
// Windows-1251; a text the code page cannot hold must be Utf8String or WString.
Bytes WriteFormStream(const Component& root);

// One line per object and property, every value with its stored type, UTF-8.
std::string DumpComponent(const Component& root);

// The 10-byte x87 form of a double, exact for every double.
void DoubleToExtended(double d, std::uint8_t out[10]);

}  // namespace kq::forms
