// The program's one message box: modal, one OK button, owned by the active window of the
// calling thread (none when that thread has no window, as a worker thread has none).
#pragma once

#include <string>
#include <string_view>

namespace kq::win {

enum class MessageKind {
  kPlain,    // no icon
  kWarning,  // the warning icon
  kError,    // the error icon
};

void ShowMessageBox(MessageKind kind, std::u16string_view text, std::u16string_view caption);

// Dresses the program's message boxes (the skin painter, while a skin is in force): called
// with each box's window as it is made, for boxes shown on the thread that set it. Null
// leaves the boxes plain.
using MessageBoxDresser = void (*)(void* box);  // an HWND
void SetMessageBoxDresser(MessageBoxDresser dresser);

// The error box: captioned "Error", error icon, one OK.
inline void ShowErrorBox(std::u16string_view text) {
  ShowMessageBox(MessageKind::kError, text, u"Error");
}

}  // namespace kq::win
