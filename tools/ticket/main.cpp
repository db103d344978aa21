#include "TicketTool.h"

#include <iostream>

int main(int argc, char** argv) {
  return kq::tools::RunTicketTool({argv + 1, argv + argc}, std::cout, std::cerr);
}
