#include "album/picture_size.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

const std::string kSoi = "\xFF\xD8";

// An Exif APP1 payload as a camera writes it: IFD0 with make and orientation,
// the make's text, and a whole JPEG thumbnail of its own behind them.
std::string ExifPayload(bool bigEndian, int orientation, unsigned ifdOffset = 8) {
  const auto u16 = [&](unsigned v) { return Bytes(v, 2, bigEndian); };
  const auto u32 = [&](unsigned v) { return Bytes(v, 4, bigEndian); };
  return std::string("Exif\0\0", 6) + (bigEndian ? "MM" : "II") + u16(42) + u32(ifdOffset) +
         std::string(ifdOffset - 8, '\0') + u16(2) + u16(0x010F) + u16(2) + u32(6) +
         u32(ifdOffset + 2 + 2 * 12 + 4) + u16(0x0112) + u16(3) + u32(1) + u16(orientation) +
         u16(0) + u32(0) + std::string("Canon\0", 6) + JpegBytes(160, 120);
}

std::string CameraJpeg(const std::string& exifPayload, int width = 4000, int height = 3000) {
  return kSoi + JpegSegment(0xE1, exifPayload) + JpegFrame(0xC0, width, height) + "\xFF\xD9";
}

// {width, height} read from `bytes` as a JPEG; a failed read leaves kNone.
const std::pair kNone(-1, -1);
std::pair<int, int> SizeOf(const std::string& bytes) {
  const TempDir dir;
  PictureSize size{-1, -1};
  ReadJpegSize(dir.Write("picture.jpg", bytes), size);
  return {size.Width, size.Height};
}

TEST(FitImageBox, FitsSquareBoxesToTheProportions) {
  const std::tuple<int, int, const char*, const char*> cases[] = {
      // Rounded to the nearest, in both directions.
      {1024, 768, R"(width="150" height="150")", R"(width="150" height="113")"},
      {1000, 333, R"(width="100" height="100")", R"(width="100" height="33 ")"},
      {7, 10, R"(width="5" height="5")", R"(width="4" height="5")"},
      {800, 600, R"(width="120" height="100")", R"(width="120" height="100")"},
      // Digits are read as "%d" reads them: white space and a sign are replaced along with them.
      {600, 800, R"(width="0120" height="120")", R"(width="90  " height="120")"},
      {800, 600, R"(width=" 120" height=" 120")", R"(width=" 120" height="90  ")"},
      {800, 600, R"(width="+120" height="120")", R"(width="+120" height="90 ")"},
      // The first pair decides, wherever it stands, and the two searches are independent.
      {800, 600, R"(<div width="600" height="600"><img width="120" height="120">)",
       R"(<div width="600" height="450"><img width="120" height="120">)"},
      {800, 600, R"(height="120" width="120")", R"(height="90 " width="120")"},
      {800, 0, R"(width="120" height="120")", R"(width="120" height="0  ")"},
      {800, 600, R"(width="120")", R"(width="120")"},
      {800, 600, R"(width="99999999999" height="99999999999")",
       R"(width="99999999999" height="99999999999")"},
  };
  for (const auto& [width, height, before, after] : cases) {
    std::string text = before;
    FitImageBoxToSize(text, {width, height});
    EXPECT_EQ(text, after) << width << "x" << height << " " << before;
  }
}

TEST(ReadJpegSize, ReadsTheFirstFrameHeaderAndRejectsWhatIsNoJpeg) {
  for (int marker = 0xC0; marker <= 0xCF; ++marker) {
    const bool frame = marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    const std::string bytes =
        kSoi + JpegSegment(marker, "\x08" + Bytes(11, 2) + Bytes(22, 2)) + JpegFrame(0xC0, 7, 9);
    EXPECT_EQ(SizeOf(bytes), frame ? std::pair(22, 11) : std::pair(7, 9)) << std::hex << marker;
  }
  // No start of image, no marker, or a length below 2 (which would lead backwards).
  for (const std::string& bytes :
       {"\xFF\xD9" + JpegFrame(0xC0, 1, 1), kSoi + std::string("\0\xC0", 2) + Bytes(17, 2),
        kSoi + "\xFF\xE1" + Bytes(1, 2) + JpegFrame(0xC0, 1, 1)}) {
    EXPECT_EQ(SizeOf(bytes), kNone) << testing::PrintToString(bytes);
  }
}

TEST(ReadJpegSize, CameraFilesTurnedBySoundExifOnlyOrTruncatedAnywhere) {
  for (const bool bigEndian : {false, true}) {
    const std::string whole = CameraJpeg(ExifPayload(bigEndian, 6));
    // Truncated before the main frame's size (after the thumbnail's own), nothing is found.
    const std::size_t sizeEnd = whole.rfind(std::string("\xFF\xC0\x00\x11", 4)) + 9;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      EXPECT_EQ(SizeOf(whole.substr(0, length)) != kNone, length >= sizeEnd) << length;
    }
    for (int orientation = 0; orientation <= 9; ++orientation) {
      const bool quarter = orientation >= 5 && orientation <= 8;
      // Big-endian with IFD0 further into the block.
      EXPECT_EQ(SizeOf(CameraJpeg(ExifPayload(bigEndian, orientation, bigEndian ? 20 : 8))),
                quarter ? std::pair(3000, 4000) : std::pair(4000, 3000))
          << orientation << " " << bigEndian;
    }
  }
  // Another APP1 first (XMP) does not hide the Exif block after it.
  const std::string xmp = JpegSegment(0xE1, "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0'));
  EXPECT_EQ(SizeOf(kSoi + xmp + JpegSegment(0xE1, ExifPayload(true, 8)) + JpegFrame(0xC0, 4, 3)),
            std::pair(3, 4));

  // Malformed blocks turn nothing. A reader that strays past its APP1 segment
  // loses the frame header after it.
  const std::string good = ExifPayload(false, 6);
  const std::size_t ifd0 = 6 + 8;
  const auto changed = [&](std::size_t at, const std::string& bytes) {
    const auto size = SizeOf(CameraJpeg(std::string(good).replace(at, bytes.size(), bytes), 4, 3));
    EXPECT_NE(size, kNone) << at;
    return size == std::pair(3, 4);
  };
  EXPECT_FALSE(changed(0, "e") || changed(6, "IM") || changed(8, "\x2B"));
  // IFD0 inside the TIFF header, past the block, or with no room for a count.
  for (const unsigned offset : {7u, 0xFFFFFFF0u, static_cast<unsigned>(good.size() - 7)}) {
    EXPECT_FALSE(changed(10, Bytes(offset, 4, false))) << offset;
  }
  // An orientation stored as a long is not a sound one.
  EXPECT_FALSE(changed(ifd0 + 2 + 12 + 2, Bytes(4, 2, false)));
  // An entry count beyond the block reads only the entries inside it.
  EXPECT_TRUE(changed(ifd0, Bytes(0xFFFF, 2, false)));
}

TEST(FitImageBox, ReadsPicturesOnlyAsWhatTheirExtensionSays) {
  const TempDir dir;
  const std::string box = R"(<img width="120" height="120">)";
  std::string text = box;
  FitImageBox(text, dir.Write("old.GIF", GifBytes(100, 200)));  // GIF headers are fuzzed
  EXPECT_EQ(text, R"(<img width="60 " height="120">)");
  for (const std::string& path :
       {dir.Write("pic.jpg", GifBytes(400, 200)), dir.Write("pic.gif", JpegBytes(800, 600)),
        dir / "missing.jpg", dir.MakeFolder("Trip.jpg")}) {
    FitImageBox(text = box, path);
    EXPECT_EQ(text, box) << path;
  }
}

}  // namespace
