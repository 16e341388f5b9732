#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Opens `page` (a path, possibly followed by an anchor such as "#usage") in the
/// user's browser, without waiting. Failures are not reported.
/// With `lookUpBrowser` the user's browser command is used; without it the
/// desktop's opener picks the program by the page's type. The opener drops
/// anchors, so it gets a page with an anchor by way of a small page, written
/// to the user's private runtime folder, that leads on to it.
void OpenInBrowser(const std::string& page, bool lookUpBrowser);

/// From the first "-nohome" on, `command` becomes "-new "; whatever followed
/// it is dropped. A command without it is returned unchanged.
std::string RewriteNoHome(std::string command);

/// `page` as a file:// URL: its absolute path percent-encoded. A trailing
/// "#anchor" becomes the URL's fragment only when `page` as a whole does not
/// exist and the part before the last '#' does, since a folder or file name
/// may hold '#' itself.
std::string PageUrl(const std::string& page);

/// The argument vector that opens `url`: `command` split into words at blanks
/// and tabs, then `url` as one last argument. An empty command falls back to
/// the desktop's opener.
std::vector<std::string> BrowserArguments(std::string_view command, const std::string& url);
