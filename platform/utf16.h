#pragma once

// Windows only: the one place where the program's UTF-8 meets the UTF-16 of the
// system's W functions.

#include <string>
#include <string_view>

/// `text` (UTF-8) as UTF-16; a byte that is no UTF-8 becomes U+FFFD.
std::wstring Utf16(std::string_view text);

/// `text` (UTF-16, as a W function gives it) as UTF-8.
std::string Utf8(std::wstring_view text);

/// `path` (UTF-8) as a W function takes it: with backslashes, and an absolute
/// path too long for the classic limit of 260 in the "\\?\" form, which has none.
std::wstring WidePath(std::string_view path);
