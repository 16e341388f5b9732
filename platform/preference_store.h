#pragma once

#include <string>
#include <string_view>

/// The per-user store of named texts (organisation "Tamsell", application "Korvalo").
/// A missing store or value reads as empty.
std::string ReadPreference(std::string_view name);

/// Writes `value` whole, creating the store when missing. A value that is not
/// valid UTF-8 is kept as bytes, so it reads back byte for byte. True on success.
bool WritePreference(std::string_view name, std::string_view value);
