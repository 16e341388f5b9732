#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// A JPEG decoded: its full size as stored (not turned), and its pixels at
/// the size they were decoded to: rows of four bytes a pixel (red, green,
/// blue, one unused), no padding.
struct DecodedJpeg {
  int FullWidth = 0;
  int FullHeight = 0;
  int Width = 0;
  int Height = 0;
  std::vector<unsigned char> Pixels;
};

/// The system's JPEG decoder and encoder for one thread: libjpeg-turbo on
/// Linux, the Windows Imaging Component on Windows (with COM set up for the
/// thread that made the codec, and undone when it goes). Make one per worker
/// thread and use it only there; it keeps what it set up between pictures.
class PictureCodec {
 public:
  PictureCodec();
  ~PictureCodec();
  PictureCodec(const PictureCodec&) = delete;
  PictureCodec& operator=(const PictureCodec&) = delete;

  /// Decodes the JPEG file held in `file`, as small as the decoder can while
  /// keeping at least `minWidth` by `minHeight` pixels (stored sides, not
  /// turned), or whole where it cannot scale while decoding. Damaged data
  /// the decoder can pass (grey where data is missing) still decodes. False
  /// when it cannot decode.
  bool DecodeJpeg(std::string_view file, int minWidth, int minHeight, DecodedJpeg& out);

  /// Encodes `pixels` (`width` by `height`, four bytes a pixel as decoded,
  /// no padding) as a baseline JPEG file of the given quality (1 to 100)
  /// into `out`. False when the encoder fails.
  bool EncodeJpeg(const unsigned char* pixels, int width, int height, int quality,
                  std::string& out);

 private:
  struct State;
  std::unique_ptr<State> state_;
};
