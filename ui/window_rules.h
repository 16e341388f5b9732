#pragma once

// Rules every window set follows, whatever draws its windows.

#include <initializer_list>
#include <string>
#include <string_view>

/// Where a window of `windowWidth` x `windowHeight` goes on a screen of
/// `screenWidth` x `screenHeight`: centred horizontally, a third of the free
/// height from the top, both truncated toward zero (negative when it does not fit).
struct WindowPosition {
  int x = 0;
  int y = 0;
};
WindowPosition CenteredPosition(int screenWidth, int screenHeight, int windowWidth,
                                int windowHeight);

/// The part of `line` the progress log shows: at most 1023 bytes, as a
/// message holds, ending before a UTF-8 character that would not fit whole.
std::string_view CutLogLine(std::string_view line);

/// The About text `format` with its "%s" placeholders filled in order by
/// `values` (the version, then the build date), as sprintf fills them; other
/// characters, and placeholders beyond the values, stay as they are.
std::string FillAboutText(std::string_view format, std::initializer_list<std::string_view> values);
