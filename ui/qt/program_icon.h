#pragma once

#include <QIcon>

/// The program's icon (a picture frame with a sound wave) in all its drawn sizes.
QIcon ProgramIcon();
