#pragma once

// Resource-script text for Windows' resource compiler (windres, rc), in UTF-8
// under "#pragma code_page(65001)".

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/ui2rc/form.h"

/// The symbol of a form's name: `prefix` and the name's words in capitals,
/// parted by "_" ("IDC_", "thumbnailsField": "IDC_THUMBNAILS_FIELD").
std::string ResourceSymbol(std::string_view prefix, std::string_view name);

/// `text` as a quoted resource-script string.
std::string RcString(std::string_view text);

/// The DIALOGEX of `form`, named by its symbol ("IDD_SETTINGS_FORM"), with
/// its controls in order, each named by its IDC_ symbol (IDC_STATIC for a group box).
std::string DialogScript(const Form& form);

/// A STRINGTABLE of the (id, text) pairs.
std::string StringTableScript(const std::vector<std::pair<int, std::string>>& texts);
