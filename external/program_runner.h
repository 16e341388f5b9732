#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// Asked once a second while a program runs; true means stop it.
using PollFunction = std::function<bool()>;

/// Starts `arguments[0]` with the rest as its arguments, no shell involved.
/// Returns 1 when the run counts as failed (not started, exit code above 1,
/// stopped through `poll`, killed by a signal), 0 when it succeeded.
/// Without `wait` it returns 0 once the program has started.
int RunProgram(const std::vector<std::string>& arguments, bool wait, bool show,
               const PollFunction& poll);

/// Looks for `name` in the folders of `folderList` (separated as PATH is: ":"
/// on Linux, ";" on Windows), or of PATH when none is given. On success `name`
/// becomes the full path.
bool FindOnPath(std::string& name, std::optional<std::string_view> folderList = std::nullopt);
