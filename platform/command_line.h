#pragma once

// Windows only: command lines as CreateProcessW takes them.

#include <string>
#include <vector>

/// The command line that CommandLineToArgvW, and the C runtime of the program
/// started, split back into exactly `arguments`. It is never read by a command
/// interpreter, so & ^ % ' and the like are plain characters.
std::wstring CommandLineOf(const std::vector<std::string>& arguments);
