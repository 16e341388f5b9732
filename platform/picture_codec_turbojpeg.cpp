#include "platform/picture_codec.h"

#include <turbojpeg.h>

namespace {

struct HandleCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct Buffer {
  unsigned char* Data = nullptr;
  ~Buffer() { tjFree(Data); }
};

// The smallest of libjpeg-turbo's scales (1/8 to 1) that keeps at least the
// wanted size: the scaling happens in the DCT, before most of the work.
tjscalingfactor SmallestScale(int width, int height, int minWidth, int minHeight) {
  tjscalingfactor best{1, 1};
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  for (int i = 0; factors != nullptr && i < count; ++i) {
    const tjscalingfactor& factor = factors[i];
    if (factor.num <= factor.denom && TJSCALED(width, factor) >= minWidth &&
        TJSCALED(height, factor) >= minHeight &&
        factor.num * best.denom < best.num * factor.denom) {
      best = factor;
    }
  }
  return best;
}

}  // namespace

struct PictureCodec::State {
  Handle Decoder;
  Handle Encoder;
};

PictureCodec::PictureCodec() : state_(std::make_unique<State>()) {}
PictureCodec::~PictureCodec() = default;

bool PictureCodec::DecodeJpeg(std::string_view file, int minWidth, int minHeight,
                              DecodedJpeg& out) {
  if (!state_->Decoder) {
    state_->Decoder.reset(tjInitDecompress());
  }
  void* decoder = state_->Decoder.get();
  const auto* data = reinterpret_cast<const unsigned char*>(file.data());
  int subsampling = 0;
  int colourSpace = 0;
  if (decoder == nullptr || tjDecompressHeader3(decoder, data, file.size(), &out.FullWidth,
                                                &out.FullHeight, &subsampling, &colourSpace) != 0) {
    return false;
  }
  const tjscalingfactor scale = SmallestScale(out.FullWidth, out.FullHeight, minWidth, minHeight);
  out.Width = TJSCALED(out.FullWidth, scale);
  out.Height = TJSCALED(out.FullHeight, scale);
  out.Pixels.resize(static_cast<std::size_t>(out.Width) * out.Height * 4);
  // A warning (damaged data, passed with grey) still gives a whole picture.
  return tjDecompress2(decoder, data, file.size(), out.Pixels.data(), out.Width, 0, out.Height,
                       TJPF_RGBX, 0) == 0 ||
         tjGetErrorCode(decoder) == TJERR_WARNING;
}

bool PictureCodec::EncodeJpeg(const unsigned char* pixels, int width, int height, int quality,
                              std::string& out) {
  if (!state_->Encoder) {
    state_->Encoder.reset(tjInitCompress());
  }
  Buffer buffer;
  unsigned long size = 0;
  if (!state_->Encoder || tjCompress2(state_->Encoder.get(), pixels, width, 0, height, TJPF_RGBX,
                                      &buffer.Data, &size, TJSAMP_420, quality, 0) != 0) {
    return false;
  }
  out.assign(reinterpret_cast<const char*>(buffer.Data), size);
  return true;
}
