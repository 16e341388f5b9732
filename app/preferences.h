#pragma once

#include <string>
#include <string_view>

/// The remembered text `name` ("LastDir", "LastTemplate"); empty when missing.
std::string ReadSetting(std::string_view name);

/// Stores `value` whole as `name`, creating the store when missing. True on success.
bool WriteSetting(std::string_view name, std::string_view value);
