#include "album/picture_copies.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/picture_files.h"
#include "tests/test_support.h"

namespace {

constexpr unsigned kRed = 0xFF0000;
constexpr unsigned kBlue = 0x0000FF;
constexpr unsigned kWhite = 0xFFFFFF;

// A picture whose pixel (x, y) has the colour `colour(x, y)`, as 0xRRGGBB.
PixelImage Painted(int width, int height, const std::function<unsigned(int, int)>& colour) {
  PixelImage image;
  image.Resize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned rgb = colour(x, y);
      unsigned char* pixel = image.Row(y) + x * 4;
      pixel[0] = static_cast<unsigned char>(rgb >> 16);
      pixel[1] = static_cast<unsigned char>(rgb >> 8);
      pixel[2] = static_cast<unsigned char>(rgb);
    }
  }
  return image;
}

// Red on the left, blue on the right.
PixelImage Halves(int width, int height) {
  return Painted(width, height, [=](int x, int) { return x < width / 2 ? kRed : kBlue; });
}

std::string Jpeg(const PixelImage& image) {
  PictureCodec codec;
  std::string bytes;
  EXPECT_TRUE(codec.EncodeJpeg(image.Pixels.data(), image.Width, image.Height, 90, bytes));
  return bytes;
}

// `jpeg` with an Exif block naming `orientation` after its start.
std::string WithOrientation(const std::string& jpeg, int orientation) {
  const std::string exif = std::string("Exif\0\0MM\0\x2A\0\0\0\x08", 14) + Bytes(1, 2) +
                           Bytes(0x0112, 2) + Bytes(3, 2) + Bytes(1, 4) + Bytes(orientation, 2) +
                           Bytes(0, 2) + Bytes(0, 4);
  return jpeg.substr(0, 2) + JpegSegment(0xE1, exif) + jpeg.substr(2);
}

// `jpeg` whose first frame header claims another size.
std::string WithFrameSize(std::string jpeg, int width, int height) {
  const std::size_t frame = jpeg.find("\xFF\xC0");
  jpeg.replace(frame + 5, 4, Bytes(height, 2) + Bytes(width, 2));
  return jpeg;
}

// A frame header and nothing a decoder could use, as a camera of another kind writes it.
std::string JpegOfFrame(int marker, int precision, const std::string& components, int width = 64,
                        int height = 48) {
  return "\xFF\xD8" +
         JpegSegment(marker, Bytes(precision, 1) + Bytes(height, 2) + Bytes(width, 2) +
                                 Bytes(components.size() / 3, 1) + components) +
         "\xFF\xD9";
}

struct GifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::function<int(int, int)> Index;  // colour 0 red, 1 blue, 2 transparent
  bool Interlaced = false;
};

// A GIF of 128 colours. Its codes are 8 bits each: a clear code before every
// 126 pixels keeps the table from growing into wider codes.
std::string Gif(int width, int height, const std::vector<GifFrame>& frames) {
  std::string palette(128 * 3, '\0');
  palette.replace(0, 6, "\xFF\0\0\0\0\xFF", 6);
  std::string gif = "GIF89a" + Bytes(width, 2, false) + Bytes(height, 2, false) +
                    std::string("\xF6\0\0", 3) + palette;
  for (const GifFrame& frame : frames) {
    gif += std::string("\x21\xF9\x04\x01\0\0\x02\0", 8);  // colour 2 is transparent
    gif += "\x2C" + Bytes(frame.Left, 2, false) + Bytes(frame.Top, 2, false) +
           Bytes(frame.Width, 2, false) + Bytes(frame.Height, 2, false) +
           (frame.Interlaced ? '\x40' : '\0') + '\x07';
    // Interlaced rows come every 8th from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
    std::vector<int> rows;
    const auto passes = frame.Interlaced
                            ? std::vector<std::pair<int, int>>{{0, 8}, {4, 8}, {2, 4}, {1, 2}}
                            : std::vector<std::pair<int, int>>{{0, 1}};
    for (const auto& [start, step] : passes) {
      for (int y = start; y < frame.Height; y += step) {
        rows.push_back(y);
      }
    }
    std::string codes;
    for (const int y : rows) {
      for (int x = 0; x < frame.Width; ++x) {
        if (codes.size() % 127 == 0) {
          codes += '\x80';
        }
        codes += static_cast<char>(frame.Index(x, y));
      }
    }
    codes += '\x81';
    for (std::size_t at = 0; at < codes.size(); at += 255) {
      const std::string block = codes.substr(at, 255);
      gif += static_cast<char>(block.size()) + block;
    }
    gif += '\0';
  }
  return gif + "\x3B";
}

GifFrame Whole(int width, int height, int index) {
  return {0, 0, width, height, [=](int, int) { return index; }};
}

// Decodes the copy at `path`; a failed decode gives an empty picture.
PixelImage ReadCopy(const std::string& path) {
  PictureCodec codec;
  DecodedJpeg decoded;
  PixelImage image;
  if (codec.DecodeJpeg(ReadFileBytes(path), 1 << 16, 1 << 16, decoded)) {
    image.Width = decoded.Width;
    image.Height = decoded.Height;
    image.Pixels = decoded.Pixels;
  }
  return image;
}

// Whether pixel (x, y) of `image` is near `rgb`, as a JPEG's colours are.
bool Near(const PixelImage& image, int x, int y, unsigned rgb) {
  const unsigned char* pixel = image.Row(y) + x * 4;
  for (int c = 0; c < 3; ++c) {
    if (std::abs(pixel[c] - static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF)) > 48) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> FilesIn(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(MakeCopies, BrokenPicturesGetNoCopyAndNothingIsWritten) {
  const std::string good = Jpeg(Halves(64, 48));
  std::string badTables = good;
  badTables[badTables.find("\xFF\xC4") + 4] = '\x1F';  // a Huffman table number that cannot be
  const std::string rgb("\x01\x22\x00\x02\x11\x01\x03\x11\x01", 9);
  const std::string gif = Gif(64, 48, {Whole(64, 48, 0)});
  std::string badCodes = gif;
  badCodes[badCodes.size() - 5] = '\xFE';  // a code past the table's end
  const struct {
    const char* Name;
    PictureKind Kind;
    std::string Bytes;
    CopyProblem Problem;
  } cases[] = {
      {"text", PictureKind::Jpeg, "not a picture", CopyProblem::CannotDecode},
      {"a GIF named .jpg", PictureKind::Jpeg, gif, CopyProblem::CannotDecode},
      {"broken tables", PictureKind::Jpeg, badTables, CopyProblem::CannotDecode},
      {"cut short", PictureKind::Jpeg, good.substr(0, good.size() / 2), CopyProblem::CutShort},
      {"CMYK", PictureKind::Jpeg, JpegOfFrame(0xC0, 8, rgb + "\x04\x11\x01"),
       CopyProblem::Unsupported},
      {"12 bits", PictureKind::Jpeg, JpegOfFrame(0xC1, 12, rgb), CopyProblem::Unsupported},
      {"arithmetic coding", PictureKind::Jpeg, JpegOfFrame(0xC9, 8, rgb), CopyProblem::Unsupported},
      {"huge", PictureKind::Jpeg, JpegBytes(65000, 40000), CopyProblem::TooLarge},
      {"progressive, 40 megapixels", PictureKind::Jpeg, JpegOfFrame(0xC2, 8, rgb, 8000, 5000),
       CopyProblem::TooLarge},
      {"frame larger than its data", PictureKind::Jpeg, WithFrameSize(good, 640, 480),
       CopyProblem::SizeDiffers},
      {"GIF of junk", PictureKind::Gif, std::string("GIF89a\x04\0\x04\0\0\0\0junk", 17),
       CopyProblem::CannotDecode},
      {"GIF cut short", PictureKind::Gif, gif.substr(0, gif.size() / 2), CopyProblem::CutShort},
      {"GIF with a broken code", PictureKind::Gif, badCodes, CopyProblem::CannotDecode},
      {"GIF huge", PictureKind::Gif, GifBytes(65535, 65535), CopyProblem::TooLarge},
      {"GIF frame outside its screen", PictureKind::Gif, Gif(32, 24, {Whole(64, 48, 0)}),
       CopyProblem::SizeDiffers},
  };
  CopyWorker worker;
  for (const auto& c : cases) {
    const TempDir dir;
    const CopyJob job{
        dir.Write("picture", c.Bytes), c.Kind, {{32, 24, dir / "a.jpg"}, {16, 12, dir / "b.jpg"}}};
    const CopyJobResult result = MakeCopies(worker, job);
    EXPECT_EQ(result.Copies, std::vector<CopyProblem>(2, c.Problem)) << c.Name;
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"picture"}) << c.Name;
  }
  const TempDir dir;
  const CopyJob missing{dir / "gone.jpg", PictureKind::Jpeg, {{32, 24, dir / "a.jpg"}}};
  EXPECT_EQ(MakeCopies(worker, missing).Copies, std::vector{CopyProblem::CannotRead});
}

TEST(MakeCopies, CopiesHaveTheAskedSizeAndShowThePictureUpright) {
  const auto redLeft = [](const PixelImage& copy) {
    return Near(copy, 0, copy.Height / 2, kRed) &&
           Near(copy, copy.Width - 1, copy.Height / 2, kBlue);
  };
  const auto redTop = [](const PixelImage& copy) {
    return Near(copy, copy.Width / 2, 0, kRed) &&
           Near(copy, copy.Width / 2, copy.Height - 1, kBlue);
  };
  const auto redOnly = [](const PixelImage& copy) {
    return Near(copy, 0, 0, kRed) && Near(copy, copy.Width - 1, copy.Height - 1, kRed);
  };
  const auto halves = [](int x, int) { return x < 32 ? 0 : 1; };
  const struct {
    const char* Name;
    PictureKind Kind;
    std::string Bytes;
    int Width, Height;  // of the larger copy; the smaller is half as large
    std::function<bool(const PixelImage&)> Looks;
  } cases[] = {
      {"JPEG", PictureKind::Jpeg, Jpeg(Halves(160, 120)), 80, 60, redLeft},
      // Stored turned a quarter anticlockwise: its left side is the top.
      {"JPEG to be turned", PictureKind::Jpeg, WithOrientation(Jpeg(Halves(160, 120)), 6), 60, 80,
       redTop},
      {"GIF", PictureKind::Gif, Gif(64, 48, {{0, 0, 64, 48, halves}}), 32, 24, redLeft},
      {"animated GIF: its first frame", PictureKind::Gif,
       Gif(64, 48, {Whole(64, 48, 0), Whole(64, 48, 1)}), 32, 24, redOnly},
      {"interlaced GIF", PictureKind::Gif,
       Gif(48, 64, {{0, 0, 48, 64, [](int, int y) { return y < 32 ? 0 : 1; }, true}}), 24, 32,
       redTop},
      // What the first frame leaves, and its transparent pixels, are white.
      {"GIF with a smaller frame", PictureKind::Gif,
       Gif(64, 48, {{0, 0, 32, 48, [](int, int y) { return y < 24 ? 0 : 2; }}}), 32, 24,
       [](const PixelImage& copy) {
         return Near(copy, 0, 0, kRed) && Near(copy, 0, copy.Height - 1, kWhite) &&
                Near(copy, copy.Width - 1, 0, kWhite);
       }},
  };
  CopyWorker worker;
  for (const auto& c : cases) {
    const TempDir dir;
    const CopyJob job{dir.Write("picture", c.Bytes),
                      c.Kind,
                      {{c.Width / 2, c.Height / 2, dir / "small.jpg"},
                       {c.Width, c.Height, dir / "large.jpg"},
                       {c.Width, c.Height, dir / "missing folder/large.jpg"}}};
    const CopyJobResult result = MakeCopies(worker, job);
    EXPECT_EQ(result.Copies,
              (std::vector{CopyProblem::None, CopyProblem::None, CopyProblem::CannotWrite}))
        << c.Name;
    for (const CopyTarget& copy : std::vector(job.Copies.begin(), job.Copies.end() - 1)) {
      const PixelImage made = ReadCopy(copy.Path);
      EXPECT_EQ(made.Width, copy.Width) << c.Name;
      EXPECT_EQ(made.Height, copy.Height) << c.Name;
      EXPECT_TRUE(made.Width > 0 && c.Looks(made)) << c.Name << " " << copy.Path;
    }
    EXPECT_EQ(FilesIn(dir), (std::vector<std::string>{"large.jpg", "picture", "small.jpg"}));
  }
}

}  // namespace
