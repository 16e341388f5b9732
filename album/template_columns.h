#pragma once

#include <string>

/// The number of "</td>" in the template file at `path` from its start up to
/// the end of the first line that holds "</tr>" (the whole file when no line
/// does): the cells of its first row. 0 when the file cannot be opened.
/// Counting stops at a NUL byte, where the loaded template text ends too.
int CountTemplateColumns(const std::string& path);
