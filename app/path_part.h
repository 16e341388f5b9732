#pragma once

#include <string>
#include <string_view>

/// Selects components of `path` by the keywords "drive", "dir", "name" and
/// "type" found anywhere in `selector`, always joined in that order. A leading
/// and a trailing double quote are dropped; '/' and '\' both separate folders;
/// a dot inside a folder name never starts an extension.
std::string PathPart(std::string_view path, std::string_view selector);

/// `path` without its extension (the "type" component of the split rule).
/// Unlike PathPart it drops no double quote: on Linux '"' is part of a name.
std::string PathWithoutExtension(std::string_view path);
