#include "win/Handles.h"

#include <gtest/gtest.h>

namespace kq::win {
namespace {

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != 0;
}

TEST(UniqueHandle, ClosesOnceAndHandsOverOwnership) {
  HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    KernelHandle a(raw);
    KernelHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_TRUE(b);
    EXPECT_TRUE(IsOpen(raw));
    KernelHandle c;
    c = std::move(b);
    EXPECT_TRUE(IsOpen(raw));
  }
  EXPECT_FALSE(IsOpen(raw));

  HANDLE kept = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    KernelHandle d(kept);
    EXPECT_EQ(d.Release(), kept);
  }
  EXPECT_TRUE(IsOpen(kept));
  ::CloseHandle(kept);
}

TEST(UniqueHandle, FileHandleTreatsInvalidValueAsEmpty) {
  FileHandle f(::CreateFileW(L"Z:\\no\\such\\folder\\x.txt", GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(f);
  WIN32_FIND_DATAW found{};
  const FileSearch search(::FindFirstFileW(L"Z:\\no\\such\\folder\\*.*", &found));
  EXPECT_FALSE(search);
}

TEST(UniqueHandle, SocketAndGdiObjectClose) {
  WSADATA wsa{};
  ASSERT_EQ(::WSAStartup(MAKEWORD(1, 1), &wsa), 0);
  SOCKET raw = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_NE(raw, INVALID_SOCKET);
  { Socket s(raw); }
  // A closed socket can no longer be queried.
  int type = 0;
  int len = sizeof(type);
  EXPECT_EQ(::getsockopt(raw, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &len),
            SOCKET_ERROR);
  ::WSACleanup();

  HGDIOBJ brush = ::CreateSolidBrush(RGB(1, 2, 3));
  { GdiObject g(brush); }
  LOGBRUSH lb{};
  EXPECT_EQ(::GetObjectW(brush, sizeof(lb), &lb), 0);
}

}  // namespace
}  // namespace kq::win
