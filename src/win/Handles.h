// Owning wrappers for the system's handle types: one template, one traits struct per kind.
#pragma once

#include "win/Win.h"

#include <utility>

namespace kq::win {

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type h) : h_(h) {}
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Type Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  Type Release() { return std::exchange(h_, Traits::Invalid()); }
  void Reset(Type h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) Traits::Close(h_);
    h_ = h;
  }

 private:
  Type h_ = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, events: invalid is null
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFileW: invalid is INVALID_HANDLE_VALUE
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct SocketTraits {
  using Type = SOCKET;
  static Type Invalid() { return INVALID_SOCKET; }
  static void Close(Type s) { ::closesocket(s); }
};
struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {  // CreateCompatibleDC
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteDC(h); }
};
struct WindowTraits {  // a window this code created and must destroy
  using Type = HWND;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DestroyWindow(h); }
};

struct ModuleTraits {  // LoadLibraryExW, also as a data file for its resources
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::FreeLibrary(h); }
};

struct FindHandleTraits {  // FindFirstFileW: invalid is INVALID_HANDLE_VALUE
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};

struct ChangeNotificationTraits {  // FindFirstChangeNotificationW: invalid is INVALID_HANDLE_VALUE
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindCloseChangeNotification(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using Socket = UniqueHandle<SocketTraits>;
using GdiObject = UniqueHandle<GdiObjectTraits>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using OwnedWindow = UniqueHandle<WindowTraits>;
using LoadedModule = UniqueHandle<ModuleTraits>;
using FileSearch = UniqueHandle<FindHandleTraits>;
using ChangeNotification = UniqueHandle<ChangeNotificationTraits>;

// A window's device context (the client area's, or with kWholeWindow the frame's too; a
// null window is the screen), released when it goes.
class WindowDc {
 public:
  static constexpr bool kWholeWindow = true;
  explicit WindowDc(HWND window, bool whole = false)
      : window_(window), dc_(whole ? ::GetWindowDC(window) : ::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace kq::win
