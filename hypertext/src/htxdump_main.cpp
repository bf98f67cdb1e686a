// htxdump: shows what a template compiled to.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "korvena/hypertext/htxdump.h"

int main(int argc, char** argv) {
  try {
    return korvena::hypertext::RunHtxDump(std::vector<std::string>(argv + 1, argv + argc), std::cout);
  } catch (const std::exception& e) {
    std::cerr << "htxdump: " << e.what() << '\n';
    return 1;
  }
}
