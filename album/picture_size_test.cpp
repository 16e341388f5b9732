#include "album/picture_size.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "album/byte_stream.h"
#include "album/exif_orientation.h"
#include "album/jpeg_header.h"
#include "tests/test_support.h"

namespace {

std::string Be16(int value) {
  return {static_cast<char>((value >> 8) & 0xFF), static_cast<char>(value & 0xFF)};
}
std::string Le16(int value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}
std::string Be32(unsigned value) {
  return Be16(static_cast<int>(value >> 16)) + Be16(static_cast<int>(value & 0xFFFF));
}
std::string Le32(unsigned value) {
  return Le16(static_cast<int>(value & 0xFFFF)) + Le16(static_cast<int>(value >> 16));
}

std::string Segment(int marker, const std::string& payload) {
  return "\xFF" + std::string(1, static_cast<char>(marker)) +
         Be16(static_cast<int>(payload.size()) + 2) + payload;
}

// A frame header with three components, as an encoder writes it.
std::string Frame(int marker, int width, int height) {
  return Segment(marker, "\x08" + Be16(height) + Be16(width) +
                             std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10));
}

const std::string kSoi = "\xFF\xD8";
const std::string kJfif = Segment(0xE0, std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
const std::string kTables =
    Segment(0xDB, std::string(65, '\x01')) + Segment(0xC4, std::string(28, '\x02'));
const std::string kScanAndEnd =
    Segment(0xDA, std::string(10, '\x03')) + "\x12\x34\xFF\x00\x56\xFF\xD9";

std::string Jpeg(int sofMarker, int width, int height) {
  return kSoi + kJfif + kTables + Frame(sofMarker, width, height) + kScanAndEnd;
}

// An Exif APP1 payload as a camera writes it: IFD0 with make, orientation and
// a pointer to IFD1, whose thumbnail is a whole JPEG of its own.
std::string ExifPayload(bool bigEndian, int orientation, unsigned ifdOffset = 8) {
  const auto u16 = [&](int v) { return bigEndian ? Be16(v) : Le16(v); };
  const auto u32 = [&](unsigned v) { return bigEndian ? Be32(v) : Le32(v); };
  const auto entry = [&](int tag, int type, unsigned count, std::string value) {
    return u16(tag) + u16(type) + u32(count) + value;
  };
  const std::string thumbnail = Jpeg(0xC0, 160, 120);
  const unsigned ifd0Size = 2 + 3 * 12 + 4;
  const unsigned makeAt = ifdOffset + ifd0Size;
  const unsigned ifd1At = makeAt + 6;
  const unsigned thumbnailAt = ifd1At + 2 + 2 * 12 + 4;
  std::string tiff = (bigEndian ? "MM" : "II") + u16(42) + u32(ifdOffset);
  tiff += std::string(ifdOffset - 8, '\0');
  tiff += u16(3) + entry(0x010F, 2, 6, u32(makeAt)) +
          entry(0x0112, 3, 1, u16(orientation) + u16(0)) + entry(0x011A, 5, 1, u32(makeAt)) +
          u32(ifd1At);
  tiff += std::string("Canon\0", 6);
  tiff += u16(2) + entry(0x0201, 4, 1, u32(thumbnailAt)) +
          entry(0x0202, 4, 1, u32(static_cast<unsigned>(thumbnail.size()))) + u32(0);
  tiff += thumbnail;
  return std::string("Exif\0\0", 6) + tiff;
}

std::string CameraJpeg(bool bigEndian, int orientation, int width = 4000, int height = 3000) {
  return kSoi + Segment(0xE1, ExifPayload(bigEndian, orientation)) + kTables +
         Frame(0xC0, width, height) + kScanAndEnd;
}

std::string Gif(const char* version, int width, int height) {
  return std::string(version) + Le16(width) + Le16(height) + std::string("\xF7\0\0", 3) +
         "rest of the picture";
}

struct StreamCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The bytes in an anonymous temporary file, positioned at its start.
std::unique_ptr<std::FILE, StreamCloser> StreamOf(const std::string& bytes) {
  std::unique_ptr<std::FILE, StreamCloser> file(std::tmpfile());
  std::fwrite(bytes.data(), 1, bytes.size(), file.get());
  std::rewind(file.get());
  return file;
}

std::optional<PictureSize> JpegSizeOf(const std::string& bytes) {
  PictureSize size;
  if (!ReadJpegSize(StreamOf(bytes).get(), size)) {
    return std::nullopt;
  }
  return size;
}

struct FitCase {
  int width, height;
  const char* before;
  const char* after;
};

TEST(FitImageBox, FitsSquareBoxesToTheProportions) {
  const FitCase cases[] = {
      {800, 600, R"(width="120" height="120")", R"(width="120" height="90 ")"},
      {600, 800, R"(width="120" height="120")", R"(width="90 " height="120")"},
      {300, 300, R"(width="120" height="120")", R"(width="120" height="120")"},
      {1024, 768, R"(width="150" height="150")", R"(width="150" height="113")"},
      {1000, 333, R"(width="100" height="100")", R"(width="100" height="33 ")"},
      {7, 10, R"(width="5" height="5")", R"(width="4" height="5")"},
      {800, 600, R"(width="120" height="90")", R"(width="120" height="90")"},
      // Digits are read as "%d" reads them; the box counts as square.
      {600, 800, R"(width="0120" height="120")", R"(width="90  " height="120")"},
      // The first pair decides, wherever it stands.
      {800, 600, R"(<div width="600" height="600"><img width="120" height="120">)",
       R"(<div width="600" height="450"><img width="120" height="120">)"},
      // The two searches are independent.
      {800, 600, R"(height="120" width="120")", R"(height="90 " width="120")"},
      {0, 600, R"(width="120" height="120")", R"(width="0  " height="120")"},
      {800, 0, R"(width="120" height="120")", R"(width="120" height="0  ")"},
      {0, 0, R"(width="120" height="120")", R"(width="120" height="120")"},
      // White space and a sign are replaced along with the digits.
      {800, 600, R"(width=" 120" height=" 120")", R"(width=" 120" height="90  ")"},
      {800, 600, R"(width="+120" height="120")", R"(width="+120" height="90 ")"},
      {800, 600, R"(width="-120" height="-120")", R"(width="-120" height="-89 ")"},
      {800, 600, R"(width="auto" height="auto")", R"(width="auto" height="auto")"},
      {800, 600, R"(width="120")", R"(width="120")"},
      {800, 600, R"(width="-" height="-")", R"(width="-" height="-")"},
      {800, 600, R"(width="99999999999" height="99999999999")",
       R"(width="99999999999" height="99999999999")"},
      {800, 600, R"(WIDTH="120" HEIGHT="120")", R"(WIDTH="120" HEIGHT="120")"},
      {65535, 1, R"(width="120" height="120")", R"(width="120" height="0  ")"},
  };
  for (const FitCase& c : cases) {
    std::string text = c.before;
    FitImageBoxToSize(text, {c.width, c.height});
    EXPECT_EQ(text, c.after) << c.width << "x" << c.height << " " << c.before;
  }
}

TEST(ReadJpegSize, ReadsTheFirstFrameHeaderWhateverTheCoding) {
  EXPECT_EQ(JpegSizeOf(Jpeg(0xC0, 800, 600))->Width, 800);
  EXPECT_EQ(JpegSizeOf(Jpeg(0xC0, 800, 600))->Height, 600);
  for (int marker = 0xC0; marker <= 0xCF; ++marker) {
    const bool frame = marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    const std::string bytes =
        kSoi + Segment(marker, "\x08" + Be16(11) + Be16(22)) + Frame(0xC0, 7, 9) + kScanAndEnd;
    EXPECT_EQ(JpegSizeOf(bytes)->Width, frame ? 22 : 7) << std::hex << marker;
  }
  // Fill bytes are taken as a marker with a length.
  EXPECT_EQ(JpegSizeOf(kSoi + "\xFF\xFF" + Be16(4) + "xy" + Frame(0xC2, 5, 6))->Height, 6);
}

TEST(ReadJpegSize, RejectsWhatIsNoJpeg) {
  EXPECT_FALSE(JpegSizeOf(""));
  EXPECT_FALSE(JpegSizeOf(Gif("GIF89a", 1, 1)));
  EXPECT_FALSE(JpegSizeOf("\xFF\xD9" + Frame(0xC0, 1, 1)));
  EXPECT_FALSE(JpegSizeOf(kSoi + "\x00\xC0" + Be16(17)));
  // A length below 2 would lead backwards.
  EXPECT_FALSE(JpegSizeOf(kSoi + "\xFF\xE0" + Be16(0) + Frame(0xC0, 1, 1)));
  EXPECT_FALSE(JpegSizeOf(kSoi + "\xFF\xE0" + Be16(1) + Frame(0xC0, 1, 1)));
  // A segment that runs past the end.
  EXPECT_FALSE(JpegSizeOf(kSoi + Segment(0xE0, "abc").substr(0, 5)));
}

TEST(ReadJpegSize, TruncatedAnywhereBeforeTheFrameSizeFindsNothing) {
  for (const bool bigEndian : {false, true}) {
    const std::string whole = CameraJpeg(bigEndian, 6);
    // The main frame comes after the thumbnail's own.
    const std::size_t sizeEnd = whole.rfind("\xFF\xC0\x00\x11") + 9;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      EXPECT_EQ(JpegSizeOf(whole.substr(0, length)).has_value(), length >= sizeEnd) << length;
    }
  }
}

TEST(ReadJpegSize, ExifOrientationTurnsTheSize) {
  for (const bool bigEndian : {false, true}) {
    for (int orientation = 0; orientation <= 9; ++orientation) {
      const std::optional<PictureSize> size = JpegSizeOf(CameraJpeg(bigEndian, orientation));
      ASSERT_TRUE(size);
      const bool turned = orientation >= 5 && orientation <= 8;
      EXPECT_EQ(size->Width, turned ? 3000 : 4000) << orientation << " " << bigEndian;
      EXPECT_EQ(size->Height, turned ? 4000 : 3000) << orientation << " " << bigEndian;
    }
  }
  // Another APP1 first (XMP) does not hide the Exif block after it.
  const std::string xmp = Segment(0xE1, "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0'));
  EXPECT_EQ(
      JpegSizeOf(kSoi + xmp + Segment(0xE1, ExifPayload(true, 8)) + Frame(0xC0, 40, 30))->Width,
      30);
  // IFD0 further into the block.
  EXPECT_EQ(
      JpegSizeOf(kSoi + Segment(0xE1, ExifPayload(false, 6, 20)) + Frame(0xC0, 40, 30))->Width, 30);
  // Exif after the frame comes too late.
  EXPECT_EQ(JpegSizeOf(kSoi + Frame(0xC0, 40, 30) + Segment(0xE1, ExifPayload(true, 6)))->Width,
            40);
}

int OrientationOf(const std::string& payload, std::size_t payloadLength) {
  const auto file = StreamOf(payload);
  ByteStream in{file.get()};
  const int orientation = ReadExifOrientation(in, payloadLength);
  EXPECT_LE(in.Position, payloadLength);
  return orientation;
}

TEST(ReadExifOrientation, MalformedBlocksChangeNothing) {
  const std::string good = ExifPayload(false, 6);
  EXPECT_EQ(OrientationOf(good, good.size()), 6);
  EXPECT_EQ(OrientationOf(ExifPayload(true, 7), good.size()), 7);

  std::string wrong = good;
  wrong[0] = 'e';
  EXPECT_EQ(OrientationOf(wrong, wrong.size()), 0);
  wrong = good;
  wrong.replace(6, 2, "IM");
  EXPECT_EQ(OrientationOf(wrong, wrong.size()), 0);
  wrong = good;
  wrong[8] = 43;
  EXPECT_EQ(OrientationOf(wrong, wrong.size()), 0);
  // IFD0 inside the TIFF header, past the block, or with no room for a count.
  for (const unsigned offset : {0u, 4u, 7u, 0xFFFFFFF0u, static_cast<unsigned>(good.size() - 7)}) {
    wrong = good;
    wrong.replace(10, 4, Le32(offset));
    EXPECT_EQ(OrientationOf(wrong, wrong.size()), 0) << offset;
  }
  // An orientation stored as a long is not a sound one.
  wrong = good;
  wrong.replace(6 + 8 + 2 + 12 + 2, 2, Le16(4));
  EXPECT_EQ(OrientationOf(wrong, wrong.size()), 0);
  // An entry count beyond the block reads only the entries inside it.
  wrong = good;
  wrong.replace(6 + 8, 2, Le16(0xFFFF));
  EXPECT_EQ(OrientationOf(wrong, wrong.size()), 6);
}

TEST(ReadExifOrientation, NeverReadsPastTheSegment) {
  const std::string good = ExifPayload(true, 6);
  // Orientation is the second entry; cut the block inside it.
  const std::size_t orientationEnd = 6 + 8 + 2 + 2 * 12;
  EXPECT_EQ(OrientationOf(good, orientationEnd), 6);
  for (std::size_t length = 0; length < orientationEnd; ++length) {
    EXPECT_EQ(OrientationOf(good, length), 0) << length;
  }
}

TEST(ReadGifSize, ReadsBothVersionsAndRejectsShortOrForeignFiles) {
  PictureSize size;
  EXPECT_TRUE(ReadGifSize(StreamOf(Gif("GIF87a", 300, 200)).get(), size));
  EXPECT_EQ(size.Width, 300);
  EXPECT_EQ(size.Height, 200);
  EXPECT_TRUE(ReadGifSize(StreamOf(Gif("GIF89a", 65535, 1)).get(), size));
  EXPECT_EQ(size.Width, 65535);
  EXPECT_EQ(size.Height, 1);
  EXPECT_FALSE(ReadGifSize(StreamOf(Gif("GIF89a", 3, 3).substr(0, 9)).get(), size));
  EXPECT_FALSE(ReadGifSize(StreamOf("GIF").get(), size));
  EXPECT_FALSE(ReadGifSize(StreamOf(Gif("GIF7xa", 3, 3)).get(), size));
  EXPECT_FALSE(ReadGifSize(StreamOf(Jpeg(0xC0, 3, 3)).get(), size));
}

TEST(FitImageBox, ReadsPicturesByTheirExtension) {
  const TempDir dir;
  const std::string box = R"(<img width="120" height="120">)";
  const auto fitted = [&](const std::string& path) {
    std::string text = box;
    FitImageBox(text, path);
    return text;
  };
  EXPECT_EQ(fitted(dir.Write("beach.jpg", Jpeg(0xC0, 800, 600))),
            R"(<img width="120" height="90 ">)");
  EXPECT_EQ(fitted(dir.Write("dog.JPG", Jpeg(0xC2, 600, 800))),
            R"(<img width="90 " height="120">)");
  EXPECT_EQ(fitted(dir.Write("camera.jpg", CameraJpeg(false, 6))),
            R"(<img width="90 " height="120">)");
  EXPECT_EQ(fitted(dir.Write("camera-mm.Jpg", CameraJpeg(true, 8))),
            R"(<img width="90 " height="120">)");
  EXPECT_EQ(fitted(dir.Write("sun.gif", Gif("GIF89a", 400, 200))),
            R"(<img width="120" height="60 ">)");
  EXPECT_EQ(fitted(dir.Write("old.GIF", Gif("GIF87a", 100, 200))),
            R"(<img width="60 " height="120">)");
  // Each file is read only as what its name says.
  EXPECT_EQ(fitted(dir.Write("pic.jpg", Gif("GIF89a", 400, 200))), box);
  EXPECT_EQ(fitted(dir.Write("pic.gif", Jpeg(0xC0, 800, 600))), box);
  EXPECT_EQ(fitted(dir.Write("photo.jpeg", Jpeg(0xC0, 800, 600))), box);
  EXPECT_EQ(fitted(dir.Write("jpg", Jpeg(0xC0, 800, 600))), box);
  EXPECT_EQ(fitted(dir.Write("empty.jpg", "")), box);
  EXPECT_EQ(fitted(dir.Write("zero.gif", Gif("GIF89a", 0, 0))), box);
  EXPECT_EQ(fitted(dir / "missing.jpg"), box);
  EXPECT_EQ(fitted(dir.MakeFolder("Trip.jpg")), box);
}

}  // namespace
