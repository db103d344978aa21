// Writing the ticket file on Windows.
#pragma once

#include "common/Bytes.h"

#include <string>

namespace kq::win {

// Creates the file or truncates an existing one and writes the bytes in one write. False
// when it cannot be created (no folder, held open without write sharing, no permission) or
// not written in full; the caller reports nothing.
bool WriteTicketFile(const std::u16string& path, ByteView bytes);

}  // namespace kq::win
