#include "win/MessageBox.h"

#include "win/Win.h"

namespace kq::win {

void ShowMessageBox(MessageKind kind, std::u16string_view text, std::u16string_view caption) {
  UINT type = MB_OK;
  if (kind == MessageKind::kWarning) type |= MB_ICONWARNING;
  if (kind == MessageKind::kError) type |= MB_ICONERROR;
  ::MessageBoxW(::GetActiveWindow(), Wide(text).c_str(), Wide(caption).c_str(), type);
}

}  // namespace kq::win
