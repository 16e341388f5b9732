#pragma once

#include <string>

/// The full path of the running program's own file; empty if it cannot be had.
std::string ProgramFilePath();
