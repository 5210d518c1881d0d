// The picture holder: every kind of graphic loads from its own bytes and draws the
// expected pixels; bad or cut data of each kind raises a clear error and leaves the
// holder as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "PictureSamples.h"
#include "TempFolder.h"
#include "platform/BitmapFile.h"
#include "platform/PictureHolder.h"
#include "platform/QtCanvas.h"
#include "platform/Recording.h"
#include "platform/Stream.h"

namespace {

using samples::Bytes;

struct TSampleCase {
  const char* Name;
  TGraphicKind Kind;
  std::function<Bytes()> Make;
  bool ClearColumns;   // the two right-most columns are transparent
  int Tolerance;       // per channel (lossy or smoothed kinds)
};

const TSampleCase kSamples[] = {
    {"bmp1", TGraphicKind::Bitmap, [] { return samples::Bmp(1); }, false, 0},
    {"bmp4", TGraphicKind::Bitmap, [] { return samples::Bmp(4); }, false, 0},
    {"bmp8", TGraphicKind::Bitmap, [] { return samples::Bmp(8); }, false, 0},
    {"bmp8_top_down", TGraphicKind::Bitmap, [] { return samples::Bmp(8, true); }, false, 0},
    {"bmp16", TGraphicKind::Bitmap, [] { return samples::Bmp(16); }, false, 0},
    {"bmp24", TGraphicKind::Bitmap, [] { return samples::Bmp(24); }, false, 0},
    {"bmp24_top_down", TGraphicKind::Bitmap, [] { return samples::Bmp(24, true); }, false, 0},
    {"bmp32", TGraphicKind::Bitmap, [] { return samples::Bmp(32); }, false, 0},
    {"jpeg", TGraphicKind::Jpeg, samples::Jpeg, false, 40},
    {"png_alpha", TGraphicKind::Png, samples::Png, true, 0},
    {"icon", TGraphicKind::Icon, samples::Icon, true, 0},
    {"wmf", TGraphicKind::Metafile, samples::Wmf, false, 40},
    {"emf", TGraphicKind::Metafile, samples::Emf, false, 40},
};

void ExpectColor(TColor expected, TColor actual, int tolerance, const std::string& where) {
  EXPECT_NEAR(RedOf(expected), RedOf(actual), tolerance) << where;
  EXPECT_NEAR(GreenOf(expected), GreenOf(actual), tolerance) << where;
  EXPECT_NEAR(BlueOf(expected), BlueOf(actual), tolerance) << where;
}

// Draws the picture ten times enlarged at (10, 10) on a white bitmap and checks points
// a whole unit of the drawing away from every edge (smoothed and vector kinds blend
// near edges).
void ExpectSampleDrawn(TBitmap& bitmap, const TSampleCase& c, int originX = 10, int originY = 10) {
  struct TSpot {
    int X, Y;
  };
  for (TSpot s : {TSpot{2, 1}, TSpot{5, 1}, TSpot{2, 3}, TSpot{5, 3}, TSpot{7, 2}}) {
    const TColor expected = c.ClearColumns && samples::IsClear(s.X) ? clWhite : samples::SampleColor(s.X, s.Y);
    ExpectColor(expected, bitmap.Pixel(originX + 10 * s.X, originY + 10 * s.Y), c.Tolerance,
                std::string(c.Name) + " at " + std::to_string(s.X) + "," + std::to_string(s.Y));
  }
  // Nothing outside the destination.
  ExpectColor(clWhite, bitmap.Pixel(originX - 3, originY - 3), 0, std::string(c.Name) + " outside");
  ExpectColor(clWhite, bitmap.Pixel(originX + 83, originY + 43), 0, std::string(c.Name) + " outside");
}

std::span<const uint8_t> View(const Bytes& b) { return {b.data(), b.size()}; }

TEST(PictureHolderTest, EveryKindLoadsAndDrawsItsPixels) {
  for (const TSampleCase& c : kSamples) {
    const Bytes bytes = c.Make();
    TPicture picture;
    ASSERT_NO_THROW(picture.Load(c.Kind, View(bytes))) << c.Name;
    EXPECT_EQ(picture.Kind(), c.Kind) << c.Name;
    EXPECT_EQ(picture.Data(), bytes) << c.Name;
    const int scale = c.Kind == TGraphicKind::Jpeg ? samples::kJpegScale : 1;
    EXPECT_EQ(picture.Width(), samples::kWidth * scale) << c.Name;
    EXPECT_EQ(picture.Height(), samples::kHeight * scale) << c.Name;
    auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
    picture.Draw(bitmap->Canvas(), TRect{10, 10, 90, 50});
    ExpectSampleDrawn(*bitmap, c);
  }
}

TEST(PictureHolderTest, RecordedPicturesReplayLikeDirectDrawing) {
  for (const TSampleCase& c : kSamples) {
    TPicture picture;
    picture.Load(c.Kind, View(c.Make()));
    TRecordingCanvas recorder(TSize{50, 30});
    picture.Draw(recorder, TRect{5, 5, 45, 25});
    auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
    recorder.Recording().Play(bitmap->Canvas(), 2, 2);
    ExpectSampleDrawn(*bitmap, c);
  }
}

TEST(PictureHolderTest, TransparentColourIsLeftOut) {
  TPicture picture;
  picture.Load(TGraphicKind::Bitmap, View(samples::Bmp(24)));
  auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
  picture.Draw(bitmap->Canvas(), TRect{10, 10, 90, 50}, clBlue);
  EXPECT_EQ(bitmap->Pixel(15, 15), clRed);
  EXPECT_EQ(bitmap->Pixel(65, 35), clWhite);
}

TEST(PictureHolderTest, BitmapWithAlphaKeepsIt) {
  // A 32-bit bitmap whose fourth bytes are not all zero carries alpha.
  Bytes bytes = samples::Bmp(32);
  const size_t pixels = bytes[10];
  bytes[pixels + 3] = 255;  // the bottom-left pixel opaque, the rest fully clear
  const TRasterImage image = DecodeBmp(View(bytes));
  ASSERT_EQ(image.Format(), TPixelFormat::pf32bit);
  EXPECT_EQ(image.Alpha(0, samples::kHeight - 1), 255);
  EXPECT_EQ(image.Alpha(1, samples::kHeight - 1), 0);
}

TEST(PictureHolderTest, RunLengthBitmapsDecode) {
  // 8-bit and 4-bit run-length rows of the sample: each row a red run and a blue run.
  for (int depth : {8, 4}) {
    Bytes b = {'B', 'M'};
    samples::Put32(b, 0);
    samples::Put32(b, 0);
    samples::Put32(b, 0);
    samples::InfoHeader(b, samples::kHeight, depth, 0);
    b[14 + 16] = depth == 8 ? 1 : 2;  // compression
    const auto pal = samples::PaletteFor(depth);
    const size_t paletteAt = b.size();
    samples::Palette(b, depth);
    if (depth == 8) b.resize(paletteAt + 4 * 256, 0);
    samples::Set32(b, 10, static_cast<uint32_t>(b.size()));
    const uint8_t red = static_cast<uint8_t>(depth == 4 ? pal.Red * 17 : pal.Red);
    const uint8_t blue = static_cast<uint8_t>(depth == 4 ? pal.Blue * 17 : pal.Blue);
    for (int y = samples::kHeight - 1; y >= 0; --y) {
      if (y < 2) b.insert(b.end(), {4, red, 4, blue});
      else b.insert(b.end(), {8, blue});
      b.insert(b.end(), {0, 0});
    }
    b.insert(b.end(), {0, 1});
    const TRasterImage image = DecodeBmp(View(b));
    for (int y = 0; y < samples::kHeight; ++y)
      for (int x = 0; x < samples::kWidth; ++x)
        EXPECT_EQ(image.Pixel(x, y), samples::SampleColor(x, y)) << depth << " bits at " << x << "," << y;
  }
}

TEST(PictureHolderTest, FilesLoadByTheirExtension) {
  TempFolder folder;
  struct TFileCase {
    const char* Name;
    TGraphicKind Kind;
    Bytes Data;
  };
  const TFileCase files[] = {{"logo.BMP", TGraphicKind::Bitmap, samples::Bmp(24)},
                             {"logo.jpeg", TGraphicKind::Jpeg, samples::Jpeg()},
                             {"logo.png", TGraphicKind::Png, samples::Png()},
                             {"logo.ico", TGraphicKind::Icon, samples::Icon()},
                             {"logo.wmf", TGraphicKind::Metafile, samples::Wmf()},
                             {"logo.emf", TGraphicKind::Metafile, samples::Emf()}};
  for (const TFileCase& f : files) {
    const std::string path = folder.Write(f.Name, std::string(f.Data.begin(), f.Data.end()));
    TPicture picture;
    picture.LoadFromFile(path);
    EXPECT_EQ(picture.Kind(), f.Kind) << f.Name;
    EXPECT_EQ(picture.Data(), f.Data) << f.Name;
  }
  TPicture picture;
  EXPECT_THROW(picture.LoadFromFile(folder.Write("logo.txt", "logo")), TPictureError);
  EXPECT_THROW(picture.LoadFromFile(folder.Folder() + "missing.png"), EFOpenError);
}

// Bad data of each kind: the message names the format, and the holder keeps its picture.
struct TBadCase {
  const char* Name;
  TGraphicKind Kind;
  std::function<Bytes()> Make;
  const char* Message;  // part of the error text
};

Bytes Cut(Bytes b, size_t keep) {
  b.resize(keep);
  return b;
}
Bytes Patched(Bytes b, size_t at, std::initializer_list<uint8_t> bytes) {
  for (uint8_t v : bytes) b[at++] = v;
  return b;
}

const TBadCase kBadCases[] = {
    {"bmp_header_cut", TGraphicKind::Bitmap, [] { return Cut(samples::Bmp(24), 20); }, "Bitmap: the bitmap header is cut short"},
    {"bmp_rows_cut", TGraphicKind::Bitmap, [] { auto b = samples::Bmp(24); return Cut(b, b.size() - 5); }, "Bitmap: the pixel data is cut short"},
    {"bmp_palette_cut", TGraphicKind::Bitmap, [] { return Cut(samples::Bmp(8), 14 + 40 + 10); }, "Bitmap: the palette is cut short"},
    {"bmp_depth", TGraphicKind::Bitmap, [] { return Patched(samples::Bmp(24), 28, {7, 0}); }, "unsupported depth of 7"},
    {"bmp_palette_too_big", TGraphicKind::Bitmap, [] { return Patched(samples::Bmp(4), 46, {17}); }, "a palette of 17 colours"},
    {"bmp_huge", TGraphicKind::Bitmap, [] { return Patched(samples::Bmp(24), 18, {0, 0, 0, 0x40}); }, "exceeds the limit"},
    {"bmp_no_pixels", TGraphicKind::Bitmap, [] { return Patched(samples::Bmp(24), 22, {0, 0, 0, 0}); }, "no pixels"},
    {"bmp_not_bm", TGraphicKind::Bitmap, [] { return Patched(samples::Bmp(24), 0, {'X'}); }, "does not start with"},
    {"jpeg_cut", TGraphicKind::Jpeg, [] { return Cut(samples::Jpeg(), 40); }, "JPEG"},
    {"png_cut", TGraphicKind::Png, [] { auto b = samples::Png(); return Cut(b, b.size() / 2); }, "PNG"},
    {"icon_no_images", TGraphicKind::Icon, [] { return Bytes{0, 0, 1, 0, 0, 0}; }, "Icon: the icon holds no images"},
    {"icon_directory_cut", TGraphicKind::Icon, [] { return Bytes{0, 0, 1, 0, 1, 0}; }, "Icon: the icon directory is cut short"},
    {"icon_image_cut", TGraphicKind::Icon, [] { auto b = samples::Icon(); return Cut(b, b.size() - 20); }, "Icon: the icon image is cut short"},
    {"icon_mask_cut", TGraphicKind::Icon, [] { auto b = samples::Icon(); samples::Set32(b, 14, static_cast<uint32_t>(b.size() - 22 - 8)); return Cut(b, b.size() - 8); }, "the transparency mask is cut short"},
    {"wmf_cut", TGraphicKind::Metafile, [] { auto b = samples::Wmf(); return Cut(b, b.size() - 4); }, "Windows metafile: "},
    {"wmf_record_size", TGraphicKind::Metafile, [] { return Patched(samples::Wmf(), 40, {0xFF, 0xFF}); }, "has a bad size"},
    {"wmf_no_size", TGraphicKind::Metafile, [] { return Patched(samples::Wmf(), 10, {0, 0}); }, "the picture has no size"},
    {"emf_cut", TGraphicKind::Metafile, [] { auto b = samples::Emf(); return Cut(b, b.size() - 4); }, "Enhanced metafile: the records are cut short"},
    {"emf_record_size", TGraphicKind::Metafile, [] { return Patched(samples::Emf(), 92, {3}); }, "has a bad size"},
    {"emf_no_end", TGraphicKind::Metafile, [] { auto b = samples::Emf(); b[b.size() - 20] = 70; return b; }, "the end record is missing"},
    {"metafile_unknown", TGraphicKind::Metafile, [] { return Bytes(64, 1); }, "neither a placeable Windows metafile nor an enhanced metafile"},
};

TEST(PictureHolderTest, BadDataGivesClearErrorsAndKeepsThePicture) {
  for (const TBadCase& c : kBadCases) {
    TPicture picture;
    picture.Load(TGraphicKind::Png, View(samples::Png()));
    const Bytes bytes = c.Make();
    try {
      picture.Load(c.Kind, View(bytes));
      ADD_FAILURE() << c.Name << ": no error";
    } catch (const TPictureError& e) {
      EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << c.Name << ": " << e.what();
    }
    EXPECT_EQ(picture.Kind(), TGraphicKind::Png) << c.Name;
  }
}

TEST(PictureHolderTest, EveryCutOfEverySampleIsAnErrorOrAPicture) {
  // No length of any sample reads past its data (the sanitizers watch) or half-loads.
  for (const TSampleCase& c : kSamples) {
    const Bytes bytes = c.Make();
    for (size_t keep = 0; keep < bytes.size(); ++keep) {
      TPicture picture;
      try {
        picture.Load(c.Kind, std::span(bytes.data(), keep));
        EXPECT_FALSE(picture.Empty()) << c.Name << " cut at " << keep;
      } catch (const TPictureError&) {
        EXPECT_TRUE(picture.Empty()) << c.Name << " cut at " << keep;
      }
    }
  }
}

TEST(PictureHolderTest, SurfacesWithoutVectorSupportSayHonestly) {
  struct TPlainCanvas : TRecordingCanvas {
    TPlainCanvas() : TRecordingCanvas(TSize{10, 10}) {}
    void DrawVectorPicture(const TRect& dest, const TVectorPicture& picture) override {
      TCanvas::DrawVectorPicture(dest, picture);
    }
  } canvas;
  TPicture picture;
  picture.Load(TGraphicKind::Metafile, View(samples::Emf()));
  EXPECT_THROW(picture.Draw(canvas, TRect{0, 0, 8, 4}), TPictureError);
}

}  // namespace
