#pragma once

#include <string>
#include <string_view>

/// The per-user store of named texts of `application` ("Korvalo", "sndrec32";
/// organisation "Tamsell"): on Windows the registry key
/// HKEY_CURRENT_USER\Software\Tamsell\<application> with text values. A missing
/// store or value reads as empty. A store file that is no regular file (a
/// FIFO, a folder) is never opened: it reads as empty and takes no writes.
std::string ReadPreference(std::string_view application, std::string_view name);

/// Writes `value` whole, creating the store when missing. A value that is not
/// valid UTF-8 is kept as bytes, so it reads back byte for byte. True on success.
bool WritePreference(std::string_view application, std::string_view name, std::string_view value);
