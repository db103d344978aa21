// The ticket tool's commands, apart from main so that tests can run them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace kq::tools {

// args without the program name. Exit code: 0 done (decode: the ticket checks out), 1 the
// decoded ticket has problems, 2 wrong use or a file that cannot be read or written.
int RunTicketTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kq::tools
