#pragma once

#include <string>
#include <string_view>

/// The per-user store of named texts (organisation "Tamsell", application "Korvalo"):
/// on Windows the registry key HKEY_CURRENT_USER\Software\Tamsell\Korvalo with
/// text values. A missing store or value reads as empty. A store file that is
/// no regular file (a FIFO, a folder) is never opened: it reads as empty and
/// takes no writes.
std::string ReadPreference(std::string_view name);

/// Writes `value` whole, creating the store when missing. A value that is not
/// valid UTF-8 is kept as bytes, so it reads back byte for byte. True on success.
bool WritePreference(std::string_view name, std::string_view value);

/// The file of the per-user store of `application` (organisation "Tamsell") on
/// Linux: $XDG_CONFIG_HOME/Tamsell/<application>.conf, under $HOME/.config when
/// XDG_CONFIG_HOME is unset or not absolute. Looked up anew at every call. On
/// Windows the store's registry key, HKEY_CURRENT_USER\Software\Tamsell\<application>.
std::string PreferenceFilePath(std::string_view application);

/// True when the store file `path` may be opened: a regular file (links
/// followed) or nothing yet. Otherwise the first such answer of the process
/// also says on standard error, as a warning of `program`, that it is left alone.
/// Always true for a registry key.
bool MayOpenPreferenceFile(const std::string& path, std::string_view program);
