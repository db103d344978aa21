#include "win/LazyLibrary.h"

namespace kq::win {

FARPROC LazyLibrary::Address(const char* function) {
  if (!tried_) {
    tried_ = true;
    // The system folder only: a library of that name beside the program is never taken.
    module_.Reset(::LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  }
  return module_ ? ::GetProcAddress(module_.Get(), function) : nullptr;
}

LazyLibrary& ShellLibrary() {
  static LazyLibrary library(L"shell32.dll");
  return library;
}

LazyLibrary& AccessibilityLibrary() {
  static LazyLibrary library(L"oleacc.dll");
  return library;
}

LazyLibrary& AutomationLibrary() {
  static LazyLibrary library(L"oleaut32.dll");
  return library;
}

}  // namespace kq::win
