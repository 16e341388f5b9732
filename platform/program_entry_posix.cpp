#include <cstdio>

#include "platform/program_entry.h"

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
  return ProgramMain(std::vector<std::string>(argv + 1, argv + argc));
}
