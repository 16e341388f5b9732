#pragma once

#include <string>
#include <vector>

/// The user's preferred languages for a program's texts, most preferred
/// first, as the system writes them ("sv_SE.UTF-8", "en-US", "C"). On Linux
/// the entries of LANGUAGE (a list parted by ':'), then the first of LC_ALL,
/// LC_MESSAGES and LANG that is set, as Qt reads them; on Windows the user's
/// interface language.
std::vector<std::string> PreferredUiLanguages();
