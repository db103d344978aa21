// A debug viewer: takes the lines that programs send to the debugger output through the
// system's shared buffer. One viewer at a time can hold the buffer on a machine. Used by
// KQUiDriver's debugview and by the end-to-end tests.
#pragma once

#include "win/Handles.h"

#include <mutex>
#include <string>
#include <vector>

namespace kq::ui {

class DebugOutputViewer {
 public:
  DebugOutputViewer();
  ~DebugOutputViewer();
  DebugOutputViewer(const DebugOutputViewer&) = delete;
  DebugOutputViewer& operator=(const DebugOutputViewer&) = delete;

  // False when another viewer holds the buffer or the objects could not be made.
  bool Listening() const { return thread_.Get() != nullptr; }
  // The lines taken so far from that process, in the order sent, as bytes of the ANSI code
  // page (the buffer's own form).
  std::vector<std::string> LinesFrom(DWORD pid) const;

 private:
  static DWORD WINAPI Run(LPVOID self);
  void Take();

  win::KernelHandle bufferReady_, dataReady_, mapping_, stop_, thread_;
  const char* view_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::pair<DWORD, std::string>> lines_;
};

}  // namespace kq::ui
