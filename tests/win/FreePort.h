// A port of 127.0.0.1 where nothing listens: one that was just free.
#pragma once

#include "win/Win.h"

namespace kq::win::test {

inline int FreePort() {
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_addr.s_addr = ::inet_addr("127.0.0.1");
  int size = sizeof at;
  ::bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&at), &size);
  ::closesocket(s);
  return ::ntohs(at.sin_port);
}

}  // namespace kq::win::test
