#include "tools/sndrec32/qt/picture_image.h"

#include <QFile>
#include <QImageReader>
#include <QTransform>

#include "album/exif_orientation.h"

namespace {

// Exif orientations 2, 4, 5 and 7 are stored mirrored; after mirroring, each
// is turned clockwise by this many degrees.
bool Mirrored(int orientation) {
  return orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7;
}

int ClockwiseTurn(int orientation) {
  constexpr int kTurns[9] = {0, 0, 0, 180, 180, 270, 90, 90, 270};
  return orientation >= 1 && orientation <= 8 ? kTurns[orientation] : 0;
}

QImage Upright(QImage image, int orientation) {
  if (Mirrored(orientation)) {
    image = image.mirrored(true, false);
  }
  if (const int turn = ClockwiseTurn(orientation); turn != 0) {
    image = image.transformed(QTransform().rotate(turn));
  }
  return image;
}

}  // namespace

QSize FittedSize(const CommentPicture& picture, QSize box) {
  const PictureSize fitted = FittedSize(picture, PictureSize{box.width(), box.height()});
  return QSize(fitted.Width, fitted.Height);
}

QImage DecodePicture(CommentPicture& picture, QSize box) {
  QFile file;
  if (!file.open(picture.File.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
    return {};
  }
  QImageReader reader(&file, picture.IsGif ? "gif" : "jpeg");
  // Turned below by the album's reading of the orientation, so that the
  // picture has the proportions of its box in the album.
  reader.setAutoTransform(false);
  const QSize fitted = FittedSize(picture, box);
  // A JPEG is scaled while it is decoded: libjpeg skips most of the work.
  reader.setScaledSize(OrientationSwapsSides(picture.Orientation) ? fitted.transposed() : fitted);
  const QImage image = reader.read();
  return image.isNull() ? image : Upright(image, picture.Orientation);
}
