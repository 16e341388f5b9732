#pragma once

#include <windows.h>

#include <string>

/// Asks for a folder with the shell's folder browser, modal to `owner`, with
/// `title` above the tree, the selected folder's path in its status line, and
/// `startFolder` selected at first (none: the user's pictures folder). Returns
/// the chosen folder's path as the file system gives it, or an empty text when
/// the user cancelled.
std::string BrowseForFolder(HWND owner, const std::string& startFolder, const std::string& title);
