#pragma once

#include <string>

/// A folder for short-lived files that only this user can reach, with a
/// trailing '/': $XDG_RUNTIME_DIR when it names a folder of this user's that
/// no one else may write to, else a folder of
/// this user's own in $TMPDIR (or /tmp), made with mode 0700 when missing.
/// Empty when neither can be had.
std::string PrivateRuntimeFolder();
