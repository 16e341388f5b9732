#pragma once

#include <string>

/// Opens `page` (a path, possibly followed by an anchor such as "#usage") in the
/// user's browser, without waiting. Failures are not reported.
void OpenInBrowser(const std::string& page, bool lookUpBrowser);
