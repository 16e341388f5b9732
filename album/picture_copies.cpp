#include "album/picture_copies.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <numeric>
#include <string_view>
#include <utility>

#include "album/exif_orientation.h"
#include "album/gif_decoder.h"
#include "album/jpeg_header.h"
#include "album/jpeg_layout.h"
#include "album/picture_turn.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"

namespace {

// A file this large is no picture a copy is made of; it is never read whole.
// A JPEG of 100 megapixels of fine detail at quality 95 takes about 50 MB.
constexpr long kMaxFileBytes = 100L << 20;

// The whole of `file` into `bytes`.
CopyProblem ReadWhole(std::FILE* file, std::string& bytes) {
  if (std::fseek(file, 0, SEEK_END) != 0) {
    return CopyProblem::CannotRead;
  }
  const long size = std::ftell(file);
  if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    return CopyProblem::CannotRead;
  }
  if (size > kMaxFileBytes) {
    return CopyProblem::TooLarge;
  }
  bytes.resize(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    return CopyProblem::CannotRead;
  }
  return CopyProblem::None;
}

PictureSize Turned(PictureSize size, int orientation) {
  return OrientationSwapsSides(orientation) ? PictureSize{size.Height, size.Width} : size;
}

CopyProblem CheckLayout(const JpegLayout& layout, PictureSize stored) {
  if (layout.Width != stored.Width || layout.Height != stored.Height) {
    return CopyProblem::SizeDiffers;
  }
  if (layout.Width < 1 || layout.Height < 1) {
    return CopyProblem::CannotDecode;
  }
  // Baseline, extended and progressive Huffman coding of 8-bit grey or
  // colour: what cameras write and what every system's decoder reads alike.
  const bool supportedCoding = layout.FrameMarker >= 0xC0 && layout.FrameMarker <= 0xC2;
  if (!supportedCoding || layout.Precision != 8 ||
      (layout.Components != 1 && layout.Components != 3)) {
    return CopyProblem::Unsupported;
  }
  if (layout.FrameMarker == 0xC2 &&
      std::int64_t{layout.Width} * layout.Height > kMaxWholeDecodePixels) {
    return CopyProblem::TooLarge;
  }
  if (!layout.Ends) {
    return CopyProblem::CutShort;
  }
  return DataTooShortForFrame(layout) ? CopyProblem::SizeDiffers : CopyProblem::None;
}

// Decodes into worker.Stored, as small as `largest` (upright) allows.
CopyProblem LoadJpeg(CopyWorker& worker, std::FILE* file, PictureSize largest, int& orientation) {
  PictureSize stored;
  StreamSource header(file);
  if (!ReadJpegHeader(header, stored, orientation)) {
    return CopyProblem::CannotDecode;
  }
  if (static_cast<std::int64_t>(stored.Width) * stored.Height > kMaxCopyPixels) {
    return CopyProblem::TooLarge;
  }
  if (const CopyProblem problem = ReadWhole(file, worker.File); problem != CopyProblem::None) {
    return problem;
  }
  JpegLayout layout;
  if (!ReadJpegLayout(worker.File, layout)) {
    return CopyProblem::CannotDecode;
  }
  if (const CopyProblem problem = CheckLayout(layout, stored); problem != CopyProblem::None) {
    return problem;
  }
  const PictureSize wanted = Turned(largest, orientation);
  // Decoded into the memory the last picture's decode left: one buffer a worker.
  DecodedJpeg decoded;
  decoded.Pixels.swap(worker.Stored.Pixels);
  const bool done = worker.Codec.DecodeJpeg(worker.File, wanted.Width, wanted.Height, decoded);
  worker.Stored.Pixels.swap(decoded.Pixels);
  worker.Stored.Width = decoded.Width;
  worker.Stored.Height = decoded.Height;
  if (!done) {
    return CopyProblem::CannotDecode;
  }
  if (decoded.FullWidth != stored.Width || decoded.FullHeight != stored.Height) {
    return CopyProblem::SizeDiffers;
  }
  return CopyProblem::None;
}

CopyProblem LoadPicture(CopyWorker& worker, const CopyJob& job, PictureSize largest,
                        int& orientation) {
  const OpenStream file = OpenRegularFile(job.Source);
  if (!file) {
    return CopyProblem::CannotRead;
  }
  orientation = 0;
  if (job.Kind == PictureKind::Jpeg) {
    return LoadJpeg(worker, file.get(), largest, orientation);
  }
  if (const CopyProblem problem = ReadWhole(file.get(), worker.File);
      problem != CopyProblem::None) {
    return problem;
  }
  return DecodeGifFirstFrame(worker.File, kMaxWholeDecodePixels, worker.Stored);
}

CopyProblem Write(CopyWorker& worker, const PixelImage& stored, int orientation,
                  const std::string& path) {
  const PixelImage* upright = &stored;
  if (orientation > 1) {
    TurnUpright(stored, orientation, worker.Turned);
    upright = &worker.Turned;
  }
  if (!worker.Codec.EncodeJpeg(upright->Pixels.data(), upright->Width, upright->Height,
                               kCopyQuality, worker.Encoded)) {
    return CopyProblem::CannotWrite;
  }
  return ReplaceFileWhole(path, worker.Encoded) == FileError::None ? CopyProblem::None
                                                                   : CopyProblem::CannotWrite;
}

bool IsPictureSize(const CopyTarget& copy) {
  return copy.Width >= 1 && copy.Height >= 1 &&
         static_cast<std::int64_t>(copy.Width) * copy.Height <= kMaxCopyPixels;
}

// Largest first, each made from the one before. Measured on 12-megapixel
// pictures: the 800 and 400 copies come out as close to the ideal as when
// made from the decoded picture, in half the time.
void MakeEach(CopyWorker& worker, const CopyJob& job, int orientation, CopyJobResult& result) {
  std::vector<std::size_t> order(job.Copies.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::int64_t{job.Copies[a].Width} * job.Copies[a].Height >
           std::int64_t{job.Copies[b].Width} * job.Copies[b].Height;
  });
  const PixelImage* source = &worker.Stored;
  for (std::size_t made = 0; made < order.size(); ++made) {
    const CopyTarget& copy = job.Copies[order[made]];
    const PictureSize size = Turned({copy.Width, copy.Height}, orientation);
    PixelImage& scaled = worker.Copies[made % 2];
    Resample(*source, size.Width, size.Height, scaled, worker.Steps);
    result.Copies[order[made]] = Write(worker, scaled, orientation, copy.Path);
    source = &scaled;
  }
}

}  // namespace

CopyJobResult MakeCopies(CopyWorker& worker, const CopyJob& job) {
  CopyJobResult result;
  result.Copies.assign(job.Copies.size(), CopyProblem::None);
  if (job.Copies.empty()) {
    return result;
  }
  if (!std::all_of(job.Copies.begin(), job.Copies.end(), IsPictureSize)) {
    result.Copies.assign(job.Copies.size(), CopyProblem::BadRequest);
    return result;
  }
  PictureSize largest;
  for (const CopyTarget& copy : job.Copies) {
    largest.Width = std::max(largest.Width, copy.Width);
    largest.Height = std::max(largest.Height, copy.Height);
  }
  try {
    int orientation = 0;
    const CopyProblem problem = LoadPicture(worker, job, largest, orientation);
    if (problem != CopyProblem::None) {
      result.Copies.assign(job.Copies.size(), problem);
      return result;
    }
    MakeEach(worker, job, orientation, result);
  } catch (const std::bad_alloc&) {
    // Memory ran out for this picture; the next one may still fit.
    result.Copies.assign(job.Copies.size(), CopyProblem::TooLarge);
  }
  return result;
}
