// System libraries that only some runs need (the accessibility interfaces, the shell),
// loaded at their first use: a plain start does not pay for loading them or for their
// memory. Used on the window thread only.
#pragma once

#include "win/Handles.h"
#include "win/Win.h"

namespace kq::win {

class LazyLibrary {
 public:
  // The name of a library in the system folder; nothing is loaded yet.
  explicit LazyLibrary(const wchar_t* name) : name_(name) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // The library's function of that name, typed as the declaration F; nullptr when the
  // library or the function cannot be found (asked once).
  template <class F>
  F* Proc(const char* function) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(Address(function)));
  }

  bool Loaded() const { return static_cast<bool>(module_); }

 private:
  FARPROC Address(const char* function);

  const wchar_t* name_;
  bool tried_ = false;
  LoadedModule module_;
};

// The libraries the program loads on demand.
LazyLibrary& ShellLibrary();          // shell32: opening a link
LazyLibrary& AccessibilityLibrary();  // oleacc: answering a screen reader
LazyLibrary& AutomationLibrary();     // oleaut32: the strings of those answers

}  // namespace kq::win
