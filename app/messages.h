#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "app/run_state.h"
#include "platform/file_error.h"

/// Returns string-table text `id` (UTF-8) in the texts' language; empty for
/// an id the table lacks.
std::string LoadText(int id);

/// Expands the one "%s" of `format` with `argument`, as printf would, and cuts
/// the result to 1023 bytes. "%%" gives "%"; the argument is never scanned.
std::string FormatMessage(std::string_view format, std::string_view argument);

/// The same for a format with a "%s" for each of `arguments`, in their order.
std::string FormatMessage(std::string_view format,
                          std::initializer_list<std::string_view> arguments);

/// FormatMessage without the cut, for a log line, which the window that
/// shows it cuts itself.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> arguments);

/// Shows `format` with `argument` under "Error", or "Fatal Error" when `fatal`.
/// A fatal error does not return: every C stream is flushed and the process
/// ends at once with exit code 1.
void ShowError(const RunState& run, std::string_view format, std::string_view argument, bool fatal);

/// Flushes every open C stream and ends the process at once with `code`.
[[noreturn]] void EndProcessNow(int code);

/// The reason `error` in a few words of the texts' language, to follow a path
/// in a message or log line ("disken är full").
std::string_view ReasonText(FileError error);

/// `message` followed by the reason in parentheses, when `error` names one.
/// The reasons are the program's own words, free of '%', so the result stays
/// a format as `message` was.
std::string WithReason(std::string_view message, FileError error);
