#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "album/copy_problem.h"
#include "album/pixel_image.h"
#include "album/resample.h"
#include "platform/picture_codec.h"

/// What a picture file holds, as the caller knows it from its name.
enum class PictureKind { Jpeg, Gif };

/// One copy to make: its size in pixels (upright, as CopySize gives it) and
/// the file to write it to, whole.
struct CopyTarget {
  int Width = 0;
  int Height = 0;
  std::string Path;
};

/// A picture and the copies of it to make.
struct CopyJob {
  std::string Source;
  PictureKind Kind = PictureKind::Jpeg;
  std::vector<CopyTarget> Copies;
};

/// One entry for each of the job's copies, in the job's order: None when the
/// copy was made.
struct CopyJobResult {
  std::vector<CopyProblem> Copies;
};

/// Pictures with more pixels than this get no copies: decoding them could
/// take more memory than a small computer (1 GB, four cores, a picture on
/// each) has to give one picture.
inline constexpr std::int64_t kMaxCopyPixels = 100'000'000;

/// The same for pictures decoded whole before anything can be scaled: a
/// progressive JPEG (its decoder holds three bytes a pixel) and a GIF (five).
inline constexpr std::int64_t kMaxWholeDecodePixels = 30'000'000;

/// Quality of the copies' JPEG encoding (1 to 100).
inline constexpr int kCopyQuality = 85;

/// What one worker thread keeps from picture to picture: the system's codec
/// (on Windows with COM set up for the thread) and the buffers a picture
/// passes through, whose memory is then reused rather than taken from the
/// system and faulted in again for every picture. Use it on one thread only.
struct CopyWorker {
  PictureCodec Codec;
  std::string File;
  PixelImage Stored;     ///< the picture as decoded, not yet turned
  PixelImage Copies[2];  ///< the copy being made and the one before it
  PixelImage Turned;
  ResampleBuffers Steps;
  std::string Encoded;
};

/// Makes the job's copies: the picture is read and decoded once, scaled down
/// in the decoder as far as the largest copy allows, then scaled to each
/// copy with a good filter (largest first, each from the one before), turned
/// by its Exif orientation and written as a JPEG file through a file beside
/// the target, so that a target is replaced whole or not at all. A GIF's
/// first frame is what is copied. Nothing is written but the targets; a
/// problem with the picture is the problem of every copy.
CopyJobResult MakeCopies(CopyWorker& worker, const CopyJob& job);
