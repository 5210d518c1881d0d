// JPEG and PNG decoding and encoding: round trips, and clear errors on bad data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Picture.h"

namespace {

// A small picture like a company logo: a red bar, a blue bar, white elsewhere.
TRasterImage Logo(TPixelFormat format, int w = 24, int h = 16) {
  TRasterImage img(w, h, format);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (y < h / 2 && x < w / 2) img.SetPixel(x, y, clRed, 255);
      if (y >= h / 2) img.SetPixel(x, y, clBlue, format == TPixelFormat::pf32bit ? 128 : 255);
      if (x == w - 1) img.SetPixel(x, y, clBlack, 0);
    }
  return img;
}

TEST(PictureTest, PngRoundTripKeepsEveryPixel) {
  for (TPixelFormat f : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    const TRasterImage img = Logo(f);
    const TRasterImage back = DecodePng(EncodePng(img));
    EXPECT_EQ(back.Format(), f);
    EXPECT_TRUE(back == img) << int(f);
  }
}

TEST(PictureTest, OneBitPngComesBackAsBlackAndWhite) {
  const TRasterImage img = Logo(TPixelFormat::pf1bit, 13, 5);
  const TRasterImage back = DecodePng(EncodePng(img));
  ASSERT_EQ(back.Format(), TPixelFormat::pf24bit);
  EXPECT_TRUE(back.ConvertedTo(TPixelFormat::pf1bit) == img);
}

TEST(PictureTest, JpegRoundTripIsClose) {
  const TRasterImage img = Logo(TPixelFormat::pf24bit, 64, 32);
  const std::vector<uint8_t> jpeg = EncodeJpeg(img, 95);
  ASSERT_EQ(DetectPictureKind(jpeg), TPictureKind::Jpeg);
  const TRasterImage back = DecodePicture(jpeg);
  ASSERT_EQ(back.Width(), 64);
  ASSERT_EQ(back.Height(), 32);
  for (auto [x, y] : {std::pair{4, 4}, std::pair{40, 4}, std::pair{10, 28}}) {
    const TColor a = img.Pixel(x, y), b = back.Pixel(x, y);
    EXPECT_NEAR(RedOf(a), RedOf(b), 12) << x << "," << y;
    EXPECT_NEAR(GreenOf(a), GreenOf(b), 12) << x << "," << y;
    EXPECT_NEAR(BlueOf(a), BlueOf(b), 12) << x << "," << y;
  }
}

TEST(PictureTest, MonochromeJpegIsGrey) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(Logo(TPixelFormat::pf1bit, 16, 16));
  const TRasterImage back = DecodeJpeg(jpeg);
  EXPECT_LT(RedOf(back.Pixel(2, 2)), 40);     // red became black
  EXPECT_GT(RedOf(back.Pixel(12, 2)), 215);   // white stayed
  EXPECT_EQ(RedOf(back.Pixel(2, 2)), BlueOf(back.Pixel(2, 2)));
}

TEST(PictureTest, QualityChangesTheSize) {
  const TRasterImage img = Logo(TPixelFormat::pf24bit, 64, 64);
  EXPECT_LT(EncodeJpeg(img, 10).size(), EncodeJpeg(img, 100).size());
  EXPECT_EQ(EncodeJpeg(img, 500), EncodeJpeg(img, 100));  // clamped
}

std::vector<uint8_t> Cut(std::vector<uint8_t> data, size_t keep) {
  data.resize(std::min(keep, data.size()));
  return data;
}

std::vector<uint8_t> Patched(std::vector<uint8_t> data, size_t at, std::vector<uint8_t> bytes) {
  for (size_t i = 0; i < bytes.size() && at + i < data.size(); ++i) data[at + i] = bytes[i];
  return data;
}

// Offset of the first JPEG marker `code` (FF code), or 0.
size_t MarkerAt(const std::vector<uint8_t>& jpeg, uint8_t code) {
  for (size_t i = 2; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == code) return i;
  return 0;
}

TEST(PictureTest, BadAndTruncatedDataGiveClearErrors) {
  const std::vector<uint8_t> png = EncodePng(Logo(TPixelFormat::pf24bit, 64, 48));
  const std::vector<uint8_t> jpeg = EncodeJpeg(Logo(TPixelFormat::pf24bit, 64, 48));
  const size_t sof = MarkerAt(jpeg, 0xC0);
  ASSERT_GT(sof, 0u);
  struct Case {
    const char* name;
    std::vector<uint8_t> data;
    const char* messagePart;
  };
  const Case cases[] = {
      {"empty", {}, "neither a JPEG nor a PNG"},
      {"text", {'F', 'a', 'k', 't', 'u', 'r', 'a'}, "neither a JPEG nor a PNG"},
      {"jpeg start only", {0xFF, 0xD8}, "JPEG picture:"},
      {"jpeg garbage after start", {0xFF, 0xD8, 0x12, 0x34, 0x56, 0x78, 0x9A}, "JPEG picture:"},
      {"jpeg cut in the header", Cut(jpeg, sof + 4), "JPEG picture:"},
      {"jpeg cut in the middle", Cut(jpeg, jpeg.size() / 2), "ends in the middle"},
      {"jpeg cut before the last rows", Cut(jpeg, jpeg.size() - 40), "ends in the middle"},
      {"jpeg of zero width", Patched(jpeg, sof + 7, {0, 0}), "JPEG picture:"},
      {"jpeg too large", Patched(jpeg, sof + 5, {0x4E, 0x20, 0x4E, 0x20}), "exceeds the limit"},
      {"png signature only", Cut(png, 8), "PNG picture:"},
      {"png cut in the header", Cut(png, 20), "PNG picture:"},
      {"png cut in the data", Cut(png, png.size() / 2), "PNG picture:"},
      {"png without its end", Cut(png, png.size() - 6), "PNG picture:"},
      {"png header checksum broken", Patched(png, 29, {0x00, 0x00}), "PNG picture:"},
      {"png too large", Patched(png, 16, {0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00}), "PNG picture:"},
      {"png unknown colour type", Patched(png, 25, {7}), "PNG picture:"},
  };
  for (const Case& c : cases) {
    try {
      DecodePicture(c.data);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const TPictureError& e) {
      EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos)
          << c.name << ": " << e.what();
    }
  }
}

TEST(PictureTest, JpegWithoutItsEndMarkerStillDecodes) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(Logo(TPixelFormat::pf24bit));
  ASSERT_EQ(jpeg[jpeg.size() - 2], 0xFF);
  ASSERT_EQ(jpeg[jpeg.size() - 1], 0xD9);
  EXPECT_EQ(DecodeJpeg(Cut(jpeg, jpeg.size() - 2)).Width(), 24);
}

TEST(PictureTest, EmptyPicturesCannotBeEncoded) {
  EXPECT_THROW(EncodePng(TRasterImage()), TPictureError);
  EXPECT_THROW(EncodeJpeg(TRasterImage()), TPictureError);
}

TEST(PictureTest, PixelAccessOutsideThePictureIsHarmless) {
  TRasterImage img(3, 2, TPixelFormat::pf24bit);
  img.SetPixel(-1, 0, clRed);
  img.SetPixel(3, 0, clRed);
  EXPECT_EQ(img.Pixel(3, 0), clNone);
  EXPECT_EQ(img.Pixel(0, -1), clNone);
  EXPECT_TRUE(img == TRasterImage(3, 2, TPixelFormat::pf24bit));
}

}  // namespace
