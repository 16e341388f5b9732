#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_state.h"

/// The names NAME of the files NAME_index.html in `templatesFolder` (ending in
/// a separator), sorted without regard to ASCII case. Folders, an empty NAME
/// and names that hold "_index.html" only in other letter cases are left out:
/// no pair of files could be loaded for them.
std::vector<std::string> ListTemplates(const std::string& templatesFolder);

/// The listed name that `wanted` names: the same name, or else the one name
/// that equals it without regard to ASCII case. None when no listed name does.
std::optional<std::string> FindTemplate(const std::vector<std::string>& names,
                                        std::string_view wanted);

/// `templatesFolder` + `name` + "_index.html".
std::string TemplateIndexPath(const std::string& templatesFolder, std::string_view name);

/// The thumbnails per row that template `name` proposes: the cells of its
/// index file's first row, at least 2 (also when the file cannot be read).
int ProposedThumbnailsPerRow(const std::string& templatesFolder, std::string_view name);

/// Loads both files of template `name` whole, each text ending at its first
/// NUL byte. A file that cannot be read is a fatal error naming it.
TemplatePair LoadTemplatePair(const RunState& run, std::string_view name);
