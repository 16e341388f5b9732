#pragma once

#include <QImage>
#include <QSize>

#include "tools/sndrec32/picture_file.h"

/// The size `picture` is shown at in `box`: its upright size fitted into the
/// box, keeping its proportions.
QSize FittedSize(const CommentPicture& picture, QSize box);

/// `picture` decoded at FittedSize in `box` (device pixels) and turned
/// upright by its Exif orientation; a GIF's first frame. Reads from the
/// picture's open file. Null when it cannot be decoded. Runs on any thread.
QImage DecodePicture(CommentPicture& picture, QSize box);
