// KQLoginServer: runs the reference login server until SIGINT or SIGTERM.
#include "LoginServer.h"

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
  using namespace kq::loginserver;
  const std::vector<std::string> args(argv + 1, argv + argc);
  ServerConfig config;
  if (const auto error = ParseArgs(args, config)) {
    std::cerr << "KQLoginServer: " << *error << '\n';
    return 2;
  }
  if (config.Help) {
    std::cout << kUsage;
    return 0;
  }

  // The signals are taken by sigwait below, never by a server thread.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  // Each connection takes a descriptor: a soft limit below the hard one (often 1024) would
  // cap the connections held at once for no reason.
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }

  LoginServer server(config);
  if (const auto error = server.Start()) {
    std::cerr << "KQLoginServer: " << *error << '\n';
    return 1;
  }
  std::cout << "KQLoginServer: listening on 127.0.0.1:" << server.Port() << std::endl;
  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.Stop();
  return 0;
}
