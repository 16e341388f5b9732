#include "tools/sndrec32/win32/picture_wic.h"

#include <objbase.h>
#include <wincodec.h>

#include "album/exif_orientation.h"
#include "album/picture_turn.h"
#include "platform/com_ptr_win32.h"

namespace {

std::vector<BYTE> ReadRest(std::FILE* file) {
  std::vector<BYTE> bytes;
  BYTE chunk[65536];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
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
  ComThread com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICBitmapScaler> scaler;
  ComPtr<IWICFormatConverter> converter;
  // Read as what its extension says, as the album reads it.
  const GUID container = picture.IsGif ? GUID_ContainerFormatGif : GUID_ContainerFormatJpeg;
  PixelImage stored;
  stored.Resize(static_cast<int>(width), static_cast<int>(height));
  const bool decoded =
      com.Usable() && !bytes.empty() &&
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
      SUCCEEDED(converter->CopyPixels(nullptr, static_cast<UINT>(stored.Stride()),
                                      static_cast<UINT>(stored.Pixels.size()),
                                      stored.Pixels.data()));
  if (!decoded) {
    return {};
  }
  // Turned here rather than by WIC's flip-rotator, which Wine cannot turn by a quarter.
  DecodedPicture upright;
  TurnUpright(stored, picture.Orientation, upright);
  return upright;
}
