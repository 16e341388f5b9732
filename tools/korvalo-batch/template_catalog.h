#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

/// The names NAME of the files NAME_index.html in `templatesFolder` (ending in
/// a separator), as the settings dialog lists them: sorted without regard to
/// case. Folders and names that hold "_index.html" only in other letter cases
/// are left out: no pair of files could be loaded for them.
std::vector<std::string> ListTemplates(const std::string& templatesFolder);

/// The listed name that `wanted` names: the same name, or else the one name
/// that equals it without regard to ASCII case. None when no listed name does.
std::optional<std::string> FindTemplate(const std::vector<std::string>& names,
                                        std::string_view wanted);
