#pragma once

#include <string>
#include <vector>

#include "resources/string_table.h"

/// The language of a program's texts for a user who prefers `preferred`
/// (most preferred first, as PreferredUiLanguages gives them): Swedish where
/// the first that names a language is Swedish, and where none does (the C
/// and POSIX locales, nothing set); English for every other language.
Language ChooseLanguage(const std::vector<std::string>& preferred);

/// Makes the user's language the texts' language (UseLanguage). Called once
/// at a program's start, before any thread starts.
void UseUsersLanguage();
