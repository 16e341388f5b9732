#include "album/picture_size.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "album/byte_stream.h"
#include "album/exif_orientation.h"
#include "album/jpeg_header.h"
#include "tests/test_support.h"

namespace {

/// `value` as `count` bytes, most significant first unless `bigEndian` is false.
std::string Bytes(unsigned value, int count, bool bigEndian = true) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    out += static_cast<char>(value >> 8 * (bigEndian ? count - 1 - i : i));
  }
  return out;
}

std::string Segment(int marker, const std::string& payload) {
  return "\xFF" + Bytes(marker, 1) + Bytes(payload.size() + 2, 2) + payload;
}

// A frame header with three components, as an encoder writes it.
std::string Frame(int marker, int width, int height) {
  return Segment(marker, "\x08" + Bytes(height, 2) + Bytes(width, 2) +
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
  const auto u16 = [&](unsigned v) { return Bytes(v, 2, bigEndian); };
  const auto u32 = [&](unsigned v) { return Bytes(v, 4, bigEndian); };
  const auto entry = [&](int tag, int type, std::string value) {
    return u16(tag) + u16(type) + u32(1) + value;
  };
  const std::string thumbnail = Jpeg(0xC0, 160, 120);
  const unsigned makeAt = ifdOffset + 2 + 3 * 12 + 4;
  const unsigned ifd1At = makeAt + 6;
  const unsigned thumbnailAt = ifd1At + 2 + 2 * 12 + 4;
  std::string tiff = (bigEndian ? "MM" : "II") + u16(42) + u32(ifdOffset);
  tiff += std::string(ifdOffset - 8, '\0');
  tiff += u16(3) + entry(0x010F, 2, u32(makeAt)) + entry(0x0112, 3, u16(orientation) + u16(0)) +
          entry(0x011A, 5, u32(makeAt)) + u32(ifd1At);
  tiff += std::string("Canon\0", 6);
  tiff += u16(2) + entry(0x0201, 4, u32(thumbnailAt)) + entry(0x0202, 4, u32(thumbnail.size())) +
          u32(0) + thumbnail;
  return std::string("Exif\0\0", 6) + tiff;
}

std::string CameraJpeg(bool bigEndian, int orientation) {
  return kSoi + Segment(0xE1, ExifPayload(bigEndian, orientation)) + kTables +
         Frame(0xC0, 4000, 3000) + kScanAndEnd;
}

std::string Gif(const char* version, int width, int height) {
  return version + Bytes(width, 2, false) + Bytes(height, 2, false) + "\xF7 rest of the picture";
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

// {width, height} read from `bytes` as a JPEG, or as a GIF.
std::optional<std::pair<int, int>> SizeOf(const std::string& bytes, bool gif = false) {
  PictureSize size;
  const auto file = StreamOf(bytes);
  if (!(gif ? ReadGifSize(file.get(), size) : ReadJpegSize(file.get(), size))) {
    return std::nullopt;
  }
  return std::pair(size.Width, size.Height);
}

TEST(FitImageBox, FitsSquareBoxesToTheProportions) {
  const struct {
    int Width, Height;
    const char* Before;
    const char* After;
  } cases[] = {
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
  for (const auto& c : cases) {
    std::string text = c.Before;
    FitImageBoxToSize(text, {c.Width, c.Height});
    EXPECT_EQ(text, c.After) << c.Width << "x" << c.Height << " " << c.Before;
  }
}

TEST(ReadJpegSize, ReadsTheFirstFrameHeaderWhateverTheCoding) {
  EXPECT_EQ(SizeOf(Jpeg(0xC0, 800, 600)), std::pair(800, 600));
  EXPECT_EQ(SizeOf(Jpeg(0xC2, 600, 800)), std::pair(600, 800));
  for (int marker = 0xC0; marker <= 0xCF; ++marker) {
    const bool frame = marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    const std::string bytes = kSoi + Segment(marker, "\x08" + Bytes(11, 2) + Bytes(22, 2)) +
                              Frame(0xC0, 7, 9) + kScanAndEnd;
    EXPECT_EQ(SizeOf(bytes), frame ? std::pair(22, 11) : std::pair(7, 9)) << std::hex << marker;
  }
  // Fill bytes are taken as a marker with a length.
  EXPECT_EQ(SizeOf(kSoi + "\xFF\xFF" + Bytes(4, 2) + "xy" + Frame(0xC2, 5, 6)), std::pair(5, 6));
}

TEST(ReadJpegSize, RejectsWhatIsNoJpeg) {
  for (const std::string& bytes : {
           std::string(),
           "\xFF\xD9" + Frame(0xC0, 1, 1),
           kSoi + std::string("\0\xC0", 2) + Bytes(17, 2),
           // A length below 2 would lead backwards.
           kSoi + "\xFF\xE0" + Bytes(0, 2) + Frame(0xC0, 1, 1),
           kSoi + "\xFF\xE0" + Bytes(1, 2) + Frame(0xC0, 1, 1),
           // A segment that runs past the end.
           kSoi + Segment(0xE0, "abc").substr(0, 5),
       }) {
    EXPECT_FALSE(SizeOf(bytes)) << testing::PrintToString(bytes);
  }
}

TEST(ReadJpegSize, CameraFilesTurnedByExifOrTruncatedAnywhere) {
  for (const bool bigEndian : {false, true}) {
    const std::string whole = CameraJpeg(bigEndian, 6);
    // Truncated before the main frame's size (after the thumbnail's own), nothing is found.
    const std::size_t sizeEnd = whole.rfind(std::string("\xFF\xC0\x00\x11", 4)) + 9;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      EXPECT_EQ(SizeOf(whole.substr(0, length)).has_value(), length >= sizeEnd) << length;
    }
    for (int orientation = 0; orientation <= 9; ++orientation) {
      const bool turned = orientation >= 5 && orientation <= 8;
      EXPECT_EQ(SizeOf(CameraJpeg(bigEndian, orientation)),
                turned ? std::pair(3000, 4000) : std::pair(4000, 3000))
          << orientation << " " << bigEndian;
    }
  }
  const std::string app1 = Segment(0xE1, ExifPayload(true, 8));
  // Another APP1 first (XMP) does not hide the Exif block after it.
  const std::string xmp = Segment(0xE1, "http://ns.adobe.com/xap/1.0/" + std::string(1, '\0'));
  EXPECT_EQ(SizeOf(kSoi + xmp + app1 + Frame(0xC0, 40, 30)), std::pair(30, 40));
  // IFD0 further into the block.
  EXPECT_EQ(SizeOf(kSoi + Segment(0xE1, ExifPayload(false, 6, 20)) + Frame(0xC0, 40, 30)),
            std::pair(30, 40));
  // Exif after the frame comes too late.
  EXPECT_EQ(SizeOf(kSoi + Frame(0xC0, 40, 30) + app1), std::pair(40, 30));
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
  const std::size_t ifd0 = 6 + 8;
  const auto changed = [&](std::size_t at, const std::string& bytes) {
    std::string payload = good;
    payload.replace(at, bytes.size(), bytes);
    return OrientationOf(payload, payload.size());
  };
  EXPECT_EQ(changed(0, "Exif"), 6);
  EXPECT_EQ(changed(0, "e"), 0);
  EXPECT_EQ(changed(6, "IM"), 0);
  EXPECT_EQ(changed(8, "\x2B"), 0);
  // IFD0 inside the TIFF header, past the block, or with no room for a count.
  for (const unsigned offset : {0u, 7u, 0xFFFFFFF0u, static_cast<unsigned>(good.size() - 7)}) {
    EXPECT_EQ(changed(10, Bytes(offset, 4, false)), 0) << offset;
  }
  // An orientation stored as a long is not a sound one.
  EXPECT_EQ(changed(ifd0 + 2 + 12 + 2, Bytes(4, 2, false)), 0);
  // An entry count beyond the block reads only the entries inside it.
  EXPECT_EQ(changed(ifd0, Bytes(0xFFFF, 2, false)), 6);
  EXPECT_EQ(OrientationOf(ExifPayload(true, 7), good.size()), 7);
  // Orientation is the second entry: a block cut inside it gives nothing.
  const std::size_t orientationEnd = ifd0 + 2 + 2 * 12;
  EXPECT_EQ(OrientationOf(good, orientationEnd), 6);
  for (std::size_t length = 0; length < orientationEnd; ++length) {
    EXPECT_EQ(OrientationOf(good, length), 0) << length;
  }
}

TEST(ReadGifSize, ReadsBothVersionsAndRejectsShortOrForeignFiles) {
  EXPECT_EQ(SizeOf(Gif("GIF87a", 300, 200), true), std::pair(300, 200));
  EXPECT_EQ(SizeOf(Gif("GIF89a", 65535, 1), true), std::pair(65535, 1));
  for (const std::string& bytes : {Gif("GIF89a", 3, 3).substr(0, 9), std::string("GIF"),
                                   Gif("GIF7xa", 3, 3), Jpeg(0xC0, 3, 3)}) {
    EXPECT_FALSE(SizeOf(bytes, true)) << bytes;
  }
}

TEST(FitImageBox, ReadsPicturesOnlyAsWhatTheirExtensionSays) {
  const TempDir dir;
  const std::string box = R"(<img width="120" height="120">)";
  const auto fitted = [&](const std::string& path) {
    std::string text = box;
    FitImageBox(text, path);
    return text;
  };
  EXPECT_EQ(fitted(dir.Write("old.GIF", Gif("GIF87a", 100, 200))),
            R"(<img width="60 " height="120">)");
  for (const std::string& path :
       {dir.Write("pic.jpg", Gif("GIF89a", 400, 200)), dir.Write("pic.gif", Jpeg(0xC0, 800, 600)),
        dir.Write("photo.jpeg", Jpeg(0xC0, 800, 600)), dir.Write("jpg", Jpeg(0xC0, 800, 600)),
        dir.Write("empty.jpg", ""), dir / "missing.jpg", dir.MakeFolder("Trip.jpg")}) {
    EXPECT_EQ(fitted(path), box) << path;
  }
}

}  // namespace
