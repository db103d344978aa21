// Whole-file reading and atomic replacement.
#pragma once

#include "common/Bytes.h"

#include <optional>
#include <string>

namespace kq::win {

// The file's bytes, or nothing when it is missing or cannot be read.
std::optional<Bytes> ReadWholeFile(const std::u16string& path);

bool FileExists(const std::u16string& path);

// Replaces (or creates) the file with the given content so that readers see either the old
// or the new file, never half of one: the content goes to a temporary file beside it, which
// is then renamed over it. Where another program holds the file open sharing it for writing
// but not for deletion, the rename is refused and the file is overwritten in place instead
// (checked by reading it back). Refused, leaving the file as it was, when the file is
// read-only, when another program holds it open without write sharing, or when the content
// cannot be written in full (a full disk).
bool ReplaceFileAtomically(const std::u16string& path, ByteView content);

}  // namespace kq::win
