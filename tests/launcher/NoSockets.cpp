// A stand-in for Windows Sockets whose start-up always fails, loaded in place of the system's
// ws2_32.dll by a test that needs the launcher's WSAStartup failure. It exports every function
// the launcher imports from ws2_32; none of them succeeds.
#include <cstdint>

#define KQ_STUB extern "C" __declspec(dllexport)

KQ_STUB int __stdcall WSAStartup(unsigned short, void*) { return 10091; }  // WSASYSNOTREADY
KQ_STUB int __stdcall WSACleanup() { return -1; }
KQ_STUB int __stdcall closesocket(std::uintptr_t) { return -1; }
KQ_STUB int __stdcall connect(std::uintptr_t, const void*, int) { return -1; }
KQ_STUB unsigned short __stdcall htons(unsigned short v) {
  return static_cast<unsigned short>(v >> 8 | v << 8);
}
KQ_STUB unsigned long __stdcall inet_addr(const char*) { return 0xFFFFFFFFul; }
KQ_STUB int __stdcall recv(std::uintptr_t, char*, int, int) { return -1; }
KQ_STUB int __stdcall select(int, void*, void*, void*, const void*) { return -1; }
KQ_STUB int __stdcall send(std::uintptr_t, const char*, int, int) { return -1; }
KQ_STUB int __stdcall shutdown(std::uintptr_t, int) { return -1; }
KQ_STUB std::uintptr_t __stdcall socket(int, int, int) { return ~std::uintptr_t{0}; }
