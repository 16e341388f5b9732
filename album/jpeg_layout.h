#pragma once

#include <cstdint>
#include <string_view>

/// What a JPEG's frame header says, and whether the file reaches its end.
struct JpegLayout {
  int FrameMarker = 0;  ///< 0xC0 baseline, 0xC1 extended, 0xC2 progressive, ...
  int Precision = 0;    ///< bits a sample
  int Components = 0;   ///< 1 grey, 3 colour, 4 CMYK
  int Width = 0;        ///< as stored, not turned
  int Height = 0;
  bool Ends = false;            ///< an end-of-image marker follows the scans
  std::int64_t Blocks = 0;      ///< 8x8 blocks of all components the frame needs
  std::int64_t CodedBytes = 0;  ///< bytes of coded data in all scans
};

/// True when the coded data cannot hold the frame the header gives: every
/// block takes at least one bit (its first DC code), so a header claiming a
/// larger picture than its data is caught without decoding.
bool DataTooShortForFrame(const JpegLayout& layout);

/// Reads the layout of the JPEG file held in `bytes`: its first frame header,
/// then through the segments and the coded data of every scan to the
/// end-of-image marker. A file cut short lacks that marker, whatever a
/// decoder makes of the rest. False when there is no frame header.
bool ReadJpegLayout(std::string_view bytes, JpegLayout& layout);
