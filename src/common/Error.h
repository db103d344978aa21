// The error raised by the program's own operations: a message meant for the user.
#pragma once

#include <exception>
#include <string>

namespace kq {

class Error : public std::exception {
 public:
  explicit Error(std::u16string message) : message_(std::move(message)) {
    // what() offers the ASCII part; the full text is Message().
    for (char16_t c : message_) narrow_.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  const std::u16string& Message() const { return message_; }
  const char* what() const noexcept override { return narrow_.c_str(); }

 private:
  std::u16string message_;
  std::string narrow_;
};

// "Unable to write to %s" with the file's full path: the one text for every refused write
// of a settings file.
inline Error WriteRefused(const std::u16string& fullPath) {
  return Error(u"Unable to write to " + fullPath);
}

}  // namespace kq
