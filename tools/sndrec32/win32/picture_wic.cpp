#include "tools/sndrec32/win32/picture_wic.h"

#include <objbase.h>
#include <wincodec.h>

#include <utility>

#include "album/exif_orientation.h"

namespace {

// Releases a COM interface when it goes.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (pointer_ != nullptr) {
      pointer_->Release();
    }
  }
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }
  T** out() { return &pointer_; }

 private:
  T* pointer_ = nullptr;
};

struct ComScope {
  bool ok = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  ~ComScope() {
    if (ok) {
      CoUninitialize();
    }
  }
};

std::vector<BYTE> ReadRest(std::FILE* file) {
  std::vector<BYTE> bytes;
  BYTE chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

// The stored pixel that shows at upright (x, y), by the Exif orientation:
// mirrored, turned by a half, or turned by a quarter either way.
std::pair<int, int> StoredAt(int x, int y, int width, int height, int orientation) {
  switch (orientation) {
    case 2:
      return {width - 1 - x, y};
    case 3:
      return {width - 1 - x, height - 1 - y};
    case 4:
      return {x, height - 1 - y};
    case 5:
      return {y, x};
    case 6:
      return {y, height - 1 - x};
    case 7:
      return {width - 1 - y, height - 1 - x};
    case 8:
      return {width - 1 - y, x};
    default:
      return {x, y};
  }
}

// Turned here rather than by WIC's flip-rotator, which Wine cannot turn by a quarter.
DecodedPicture Upright(const std::vector<std::uint32_t>& stored, int width, int height,
                       int orientation) {
  const bool swaps = OrientationSwapsSides(orientation);
  DecodedPicture upright{
      .Width = swaps ? height : width, .Height = swaps ? width : height, .Pixels = {}};
  upright.Pixels.resize(stored.size());
  for (int y = 0; y < upright.Height; ++y) {
    for (int x = 0; x < upright.Width; ++x) {
      const auto [sx, sy] = StoredAt(x, y, width, height, orientation);
      upright.Pixels[static_cast<std::size_t>(y) * upright.Width + x] =
          stored[static_cast<std::size_t>(sy) * width + sx];
    }
  }
  return upright;
}

}  // namespace

DecodedPicture DecodePicture(CommentPicture& picture, PictureSize box) {
  const PictureSize fitted = FittedSize(picture, box);
  if (fitted.Width <= 0 || fitted.Height <= 0) {
    return {};
  }
  const bool swaps = OrientationSwapsSides(picture.Orientation);
  const UINT width = static_cast<UINT>(swaps ? fitted.Height : fitted.Width);
  const UINT height = static_cast<UINT>(swaps ? fitted.Width : fitted.Height);
  std::vector<BYTE> bytes = ReadRest(picture.File.get());
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  // Read as what its extension says, as the album reads it.
  const GUID container = picture.IsGif ? GUID_ContainerFormatGif : GUID_ContainerFormatJpeg;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const bool decoded =
      com.ok && !bytes.empty() &&
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(factory.out()))) &&
      SUCCEEDED(factory->CreateStream(stream.out())) &&
      SUCCEEDED(stream->InitializeFromMemory(bytes.data(), static_cast<DWORD>(bytes.size()))) &&
      SUCCEEDED(factory->CreateDecoder(container, nullptr, decoder.out())) &&
      SUCCEEDED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) &&
      SUCCEEDED(decoder->GetFrame(0, frame.out())) &&
      SUCCEEDED(factory->CreateBitmapScaler(scaler.out())) &&
      SUCCEEDED(scaler->Initialize(frame.get(), width, height, WICBitmapInterpolationModeFant)) &&
      SUCCEEDED(factory->CreateFormatConverter(converter.out())) &&
      SUCCEEDED(converter->Initialize(scaler.get(), GUID_WICPixelFormat32bppBGR,
                                      WICBitmapDitherTypeNone, nullptr, 0.0,
                                      WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                      reinterpret_cast<BYTE*>(pixels.data())));
  if (!decoded) {
    return {};
  }
  return Upright(pixels, static_cast<int>(width), static_cast<int>(height), picture.Orientation);
}
