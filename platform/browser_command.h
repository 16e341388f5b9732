#pragma once

#include <string>

/// The command that opens a page in the user's browser: the first non-empty
/// entry of the ":"-separated list in $BROWSER, else the desktop's opener.
/// The text is returned as it stands, options included.
std::string RegisteredBrowserCommand();

/// The desktop's own opener, which picks the program by the file's type.
std::string DesktopOpenerCommand();
