#pragma once

#include <string>

class QWidget;

/// Asks for a folder in a modal folder tree owned by `owner`, with `title` above
/// it, starting at `startFolder` (or the user's pictures folder when empty).
/// Returns the chosen folder's full path without a trailing "/" (except "/"
/// itself), or an empty text when the user cancelled.
std::string BrowseForFolder(QWidget* owner, const std::string& startFolder,
                            const std::string& title);
