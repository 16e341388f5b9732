#include "platform/picture_codec.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "platform/com_ptr_win32.h"

namespace {

// Decoding scaled in the DCT, where the system's JPEG decoder offers it
// (Windows does, Wine does not). Debian's mingw-w64 headers lack it.
MIDL_INTERFACE("3B16811B-6A43-4EC9-B713-3D5A0C13B940")
IWICBitmapSourceTransform : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(
      const WICRect* rect, UINT width, UINT height, WICPixelFormatGUID* format,
      WICBitmapTransformOptions transform, UINT stride, UINT bufferSize, BYTE* buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT * width, UINT * height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID * format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                         BOOL * supported) = 0;
};
const IID kSourceTransformId = {
    0x3B16811B, 0x6A43, 0x4EC9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

// Blue, green, red rows as WIC gives them (grey: one byte a pixel), as red,
// green, blue, unused.
void FromBgr(const std::vector<BYTE>& bgr, std::size_t bgrPixelBytes,
             std::vector<unsigned char>& pixels) {
  const std::size_t count = bgr.size() / bgrPixelBytes;
  const bool grey = bgrPixelBytes == 1;
  pixels.resize(count * 4);
  for (std::size_t i = 0; i < count; ++i) {
    const BYTE* in = bgr.data() + i * bgrPixelBytes;
    unsigned char* out = pixels.data() + i * 4;
    out[0] = in[grey ? 0 : 2];
    out[1] = in[grey ? 0 : 1];
    out[2] = in[0];
    out[3] = 0xFF;
  }
}

// The smallest of the decoder's own sizes (a half, a quarter, an eighth)
// that keeps at least the wanted size; false when it offers none.
bool ScaledDecode(IWICBitmapFrameDecode* frame, int minWidth, int minHeight, DecodedJpeg& out) {
  ComPtr<IWICBitmapSourceTransform> transform;
  if (FAILED(
          frame->QueryInterface(kSourceTransformId, reinterpret_cast<void**>(transform.out())))) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(transform->GetClosestPixelFormat(&format)) ||
      (format != GUID_WICPixelFormat24bppBGR && format != GUID_WICPixelFormat8bppGray)) {
    return false;
  }
  const UINT pixelBytes = format == GUID_WICPixelFormat8bppGray ? 1 : 3;
  UINT width = static_cast<UINT>(out.FullWidth);
  UINT height = static_cast<UINT>(out.FullHeight);
  for (const UINT divisor : {8u, 4u, 2u}) {
    UINT w = (static_cast<UINT>(out.FullWidth) + divisor - 1) / divisor;
    UINT h = (static_cast<UINT>(out.FullHeight) + divisor - 1) / divisor;
    if (SUCCEEDED(transform->GetClosestSize(&w, &h)) && w >= static_cast<UINT>(minWidth) &&
        h >= static_cast<UINT>(minHeight)) {
      width = w;
      height = h;
      break;
    }
  }
  std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * pixelBytes);
  if (FAILED(transform->CopyPixels(nullptr, width, height, &format, WICBitmapTransformRotate0,
                                   width * pixelBytes, static_cast<UINT>(bgr.size()),
                                   bgr.data()))) {
    return false;
  }
  out.Width = static_cast<int>(width);
  out.Height = static_cast<int>(height);
  FromBgr(bgr, pixelBytes, out.Pixels);
  return true;
}

}  // namespace

struct PictureCodec::State {
  ComThread Com;
  ComPtr<IWICImagingFactory> Factory;

  IWICImagingFactory* GetFactory() {
    if (!Factory && Com.Usable()) {
      CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                       IID_PPV_ARGS(Factory.out()));
    }
    return Factory.get();
  }

  bool WholeDecode(IWICBitmapFrameDecode* frame, DecodedJpeg& out);
};

bool PictureCodec::State::WholeDecode(IWICBitmapFrameDecode* frame, DecodedJpeg& out) {
  ComPtr<IWICFormatConverter> converter;
  std::vector<BYTE> bgr(static_cast<std::size_t>(out.FullWidth) * out.FullHeight * 4);
  if (FAILED(Factory->CreateFormatConverter(converter.out())) ||
      FAILED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(out.FullWidth) * 4,
                                   static_cast<UINT>(bgr.size()), bgr.data()))) {
    return false;
  }
  out.Width = out.FullWidth;
  out.Height = out.FullHeight;
  FromBgr(bgr, 4, out.Pixels);
  return true;
}

PictureCodec::PictureCodec() : state_(std::make_unique<State>()) {}
PictureCodec::~PictureCodec() = default;

bool PictureCodec::DecodeJpeg(std::string_view file, int minWidth, int minHeight,
                              DecodedJpeg& out) {
  IWICImagingFactory* factory = state_->GetFactory();
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  UINT width = 0;
  UINT height = 0;
  if (factory == nullptr || file.size() > 0xFFFFFFFFu ||
      FAILED(factory->CreateStream(stream.out())) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(file.data())),
                                          static_cast<DWORD>(file.size()))) ||
      FAILED(factory->CreateDecoder(GUID_ContainerFormatJpeg, nullptr, decoder.out())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height))) {
    return false;
  }
  out.FullWidth = static_cast<int>(width);
  out.FullHeight = static_cast<int>(height);
  return ScaledDecode(frame.get(), minWidth, minHeight, out) ||
         state_->WholeDecode(frame.get(), out);
}

namespace {

// The encoder writes blue, green, red rows.
std::vector<BYTE> ToBgr(const unsigned char* pixels, int width, int height) {
  std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < bgr.size() / 3; ++i) {
    bgr[i * 3] = pixels[i * 4 + 2];
    bgr[i * 3 + 1] = pixels[i * 4 + 1];
    bgr[i * 3 + 2] = pixels[i * 4];
  }
  return bgr;
}

// The bytes written to a stream on global memory, from its start to where it stands.
bool StreamBytes(IStream* stream, std::string& out) {
  ULARGE_INTEGER end{};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &end)) ||
      FAILED(GetHGlobalFromStream(stream, &memory))) {
    return false;
  }
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) {
    return false;
  }
  out.assign(static_cast<const char*>(bytes), static_cast<std::size_t>(end.QuadPart));
  GlobalUnlock(memory);
  return true;
}

// The quality is the encoder's option "ImageQuality", from 0 to 1.
bool SetQuality(IPropertyBag2* options, int quality) {
  PROPBAG2 name{};
  name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
  VARIANT value{};
  value.vt = VT_R4;
  value.fltVal = static_cast<float>(quality) / 100.0f;
  return SUCCEEDED(options->Write(1, &name, &value));
}

}  // namespace

bool PictureCodec::EncodeJpeg(const unsigned char* pixels, int width, int height, int quality,
                              std::string& out) {
  IWICImagingFactory* factory = state_->GetFactory();
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  std::vector<BYTE> bgr = ToBgr(pixels, width, height);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return factory != nullptr && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.out())) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.out())) &&
         SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.out(), options.out())) &&
         SetQuality(options.get(), quality) && SUCCEEDED(frame->Initialize(options.get())) &&
         SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
         SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR &&
         SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 3,
                                      static_cast<UINT>(bgr.size()), bgr.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) &&
         StreamBytes(stream.get(), out);
}
