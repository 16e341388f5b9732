#pragma once

#include <string>
#include <string_view>

/// The command that opens a page in the user's browser: on Linux the first
/// non-empty entry of the ":"-separated list in $BROWSER, else the desktop's
/// opener; on Windows the open command registered for ".html" (the user's own
/// choice first), "%1" where the page goes, or empty when there is none.
/// The text is returned as it stands, options included.
std::string RegisteredBrowserCommand();

/// The desktop's own opener, which picks the program by the file's type; empty
/// on Windows, where the shell's "open" does that.
std::string DesktopOpenerCommand();

/// Where the system has a way of its own (Windows), opens `page` (a path,
/// possibly followed by "#anchor") with `command`, a form
/// RegisteredBrowserCommand gives, without waiting and without a command
/// interpreter: the page goes as one file:///C:/... URL in place of "%1", or
/// after the command's words; an empty command leaves it to the shell's "open".
/// Returns false elsewhere (Linux), where the caller starts the command itself.
bool OpenPageAsTheSystemDoes(std::string_view command, const std::string& page);
