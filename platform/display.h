#pragma once

#include <string_view>

/// Whether the windows can find a display, judged before the toolkit starts,
/// which would abort without one. The window systems tried are those named in
/// QT_QPA_PLATFORM (a ';'-separated list, each name maybe with ":options"),
/// else X11 and Wayland. "xcb" needs DISPLAY, a "wayland" name
/// WAYLAND_DISPLAY; any other (offscreen, ...) is taken to need nothing.
/// Returns the variable the first tried system lacks when none has what it
/// needs; empty when one does.
std::string_view MissingDisplayVariable();
