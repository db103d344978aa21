#include "DebugOutput.h"

#include <cstring>

namespace kq::ui {
namespace {

constexpr DWORD kBufferSize = 4096;  // the process id, then the text and its null

}  // namespace

DebugOutputViewer::DebugOutputViewer() {
  bufferReady_.Reset(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY"));
  // An event that exists already belongs to another viewer.
  if (!bufferReady_ || ::GetLastError() == ERROR_ALREADY_EXISTS) return;
  dataReady_.Reset(::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY"));
  mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize,
                                      L"DBWIN_BUFFER"));
  stop_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!bufferReady_ || !dataReady_ || !mapping_ || !stop_) return;
  view_ = static_cast<const char*>(::MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view_) return;
  thread_.Reset(::CreateThread(nullptr, 0, &Run, this, 0, nullptr));
}

DebugOutputViewer::~DebugOutputViewer() {
  if (thread_) {
    ::SetEvent(stop_.Get());
    ::WaitForSingleObject(thread_.Get(), INFINITE);
  }
  if (view_) ::UnmapViewOfFile(view_);
}

DWORD WINAPI DebugOutputViewer::Run(LPVOID self) {
  static_cast<DebugOutputViewer*>(self)->Take();
  return 0;
}

void DebugOutputViewer::Take() {
  const HANDLE waits[] = {stop_.Get(), dataReady_.Get()};
  for (;;) {
    ::SetEvent(bufferReady_.Get());
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return;
    DWORD pid = 0;
    std::memcpy(&pid, view_, sizeof pid);
    const char* text = view_ + sizeof pid;
    const std::string line(text, ::strnlen(text, kBufferSize - sizeof pid));
    const std::lock_guard lock(mutex_);
    lines_.emplace_back(pid, line);
  }
}

std::vector<std::string> DebugOutputViewer::LinesFrom(DWORD pid) const {
  const std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [from, line] : lines_) {
    if (from == pid) out.push_back(line);
  }
  return out;
}

}  // namespace kq::ui
