#pragma once

#include <optional>
#include <string>
#include <string_view>

#ifndef _WIN32
/// Adds `folder` as the last entry of this process's PATH, which every program
/// it starts inherits, unless PATH names it already. An unset PATH becomes the
/// system's default search path first, so nothing that was found before is lost.
void AppendToSearchPath(std::string_view folder);
#endif

/// Puts the folder of the running program's own file on PATH, so the programs
/// installed beside it (the sound recorder) are found even when that folder
/// is not on the user's PATH. On Linux it goes last, so that a same-named
/// program in one of the user's own folders still comes first; on Windows
/// first, as Windows itself looks in a program's own folder before PATH.
/// Call it early in main, before threads.
void AddProgramFolderToSearchPath();

/// This process's PATH as it stands now, in UTF-8; none when it is unset.
std::optional<std::string> CurrentSearchPath();
