#include <windows.h>

#include <cstdio>

#include "platform/program_entry.h"
#include "platform/utf16.h"

int wmain(int argc, wchar_t** argv) {
  // Log lines and messages are UTF-8; the console shows them so while the program runs.
  const UINT consolePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  // The C runtime here knows no line buffering: each write goes out at once.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back(Utf8(argv[i]));
  }
  const int exitCode = ProgramMain(arguments);
  if (consolePage != 0) {
    SetConsoleOutputCP(consolePage);
  }
  return exitCode;
}
