#pragma once

#include <QString>

/// Where a folder picker opens when no folder is remembered: the user's
/// pictures folder (XDG_PICTURES_DIR from the environment, else from
/// $XDG_CONFIG_HOME/user-dirs.dirs), else ~/Bilder or ~/Pictures when one
/// exists, else the home folder. Only existing folders are offered.
QString DefaultPicturesFolder();
