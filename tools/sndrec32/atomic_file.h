#pragma once

#include <cstdint>
#include <span>
#include <string>

/// Replaces the file at `path` with exactly `bytes`. The bytes go to a
/// temporary file beside it, which takes the name only once it is complete, so
/// the old file stays whole on any failure or crash. An existing file keeps its
/// permissions. Returns an empty text on success, otherwise the reason.
std::string SaveFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
