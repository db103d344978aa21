// KQLoginLoad: many concurrent scripted logins against a login server, with a report.
#include "LoginLoad.h"

#include <iostream>

int main(int argc, char** argv) {
  using namespace kq::loginload;
  const std::vector<std::string> args(argv + 1, argv + argc);
  LoadOptions options;
  if (const auto error = ParseArgs(args, options)) {
    std::cerr << "KQLoginLoad: " << *error << '\n' << kUsage;
    return 2;
  }
  if (options.Help) {
    std::cout << kUsage;
    return 0;
  }
  const LoadReport report = RunLoad(options);
  std::cout << FormatReport(options, report);
  return report.Failures.empty() ? 0 : 1;
}
