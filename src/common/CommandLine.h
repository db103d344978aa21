// A Windows command line split into its arguments as the system's shell splits it, so that
// the program reads its switches without loading the shell library at every start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kq {

// Every argument after the program's name. The name ends at the first blank, or, when it
// starts with a double quote, at the next one. Each argument after it ends at a blank
// outside double quotes; quotes group and are dropped. Backslashes are literal except
// before a double quote: 2n of them and a quote give n backslashes and a quote that groups,
// 2n+1 give n backslashes and a literal quote. Inside quotes, two quotes give one literal.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

}  // namespace kq
