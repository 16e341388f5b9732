#pragma once

#include <cstdint>
#include <string>

/// True when anything exists at `path` (a file, a folder, ...).
bool PathExists(const std::string& path);

/// Size in bytes of what `path` names, or -1 when it cannot be learned.
std::int64_t PathSize(const std::string& path);

/// Copies `source` over `target`, replacing it. True on success.
bool CopyFileReplacing(const std::string& source, const std::string& target);
