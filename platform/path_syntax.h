#pragma once

#include <string_view>

/// The characters that separate folders in a path on this platform. On Linux a
/// backslash is an ordinary character of a file name.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif
