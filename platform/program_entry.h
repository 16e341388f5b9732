#pragma once

#include <string>
#include <vector>

/// A program's own main, which main (Linux) or wmain (Windows) calls with the
/// arguments after the program's name: bytes as given on Linux, UTF-8 made from
/// the system's UTF-16 on Windows. Standard output shows each line as soon as
/// it is written, also through a pipe; on Windows a console shows UTF-8.
int ProgramMain(const std::vector<std::string>& arguments);
