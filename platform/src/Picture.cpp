#include "platform/Picture.h"

#include <algorithm>
#include <string>

namespace {
size_t StrideOf(int width, TPixelFormat format) {
  const size_t bits = static_cast<size_t>(width) * static_cast<size_t>(format);
  return ((bits + 31) / 32) * 4;
}
int Luma(TColor c) { return (RedOf(c) * 299 + GreenOf(c) * 587 + BlueOf(c) * 114) / 1000; }
}  // namespace

TRasterImage::TRasterImage(int width, int height, TPixelFormat format)
    : width_(width > 0 && height > 0 ? width : 0),
      height_(width > 0 && height > 0 ? height : 0),
      format_(format) {
  if (static_cast<int64_t>(width_) * height_ > kMaxPicturePixels)
    throw TPictureError("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels exceeds the limit of " + std::to_string(kMaxPicturePixels) +
                        " pixels");
  stride_ = StrideOf(width_, format_);
  // White and opaque: every byte 0xFF in every format.
  data_.assign(stride_ * static_cast<size_t>(height_), 0xFF);
}

TColor TRasterImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  const uint8_t* row = Row(y);
  switch (format_) {
    case TPixelFormat::pf1bit:
      return (row[x / 8] & (0x80 >> (x % 8))) ? clWhite : clBlack;
    case TPixelFormat::pf24bit:
      return RGBColor(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    case TPixelFormat::pf32bit:
      return RGBColor(row[4 * x], row[4 * x + 1], row[4 * x + 2]);
  }
  return clNone;
}

uint8_t TRasterImage::Alpha(int x, int y) const {
  if (format_ != TPixelFormat::pf32bit || x < 0 || y < 0 || x >= width_ || y >= height_) return 255;
  return Row(y)[4 * x + 3];
}

void TRasterImage::SetPixel(int x, int y, TColor color, uint8_t alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* row = Row(y);
  switch (format_) {
    case TPixelFormat::pf1bit: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
      if (Luma(color) >= 128)
        row[x / 8] |= bit;
      else
        row[x / 8] &= static_cast<uint8_t>(~bit);
      break;
    }
    case TPixelFormat::pf24bit:
      row[3 * x] = RedOf(color);
      row[3 * x + 1] = GreenOf(color);
      row[3 * x + 2] = BlueOf(color);
      break;
    case TPixelFormat::pf32bit:
      row[4 * x] = RedOf(color);
      row[4 * x + 1] = GreenOf(color);
      row[4 * x + 2] = BlueOf(color);
      row[4 * x + 3] = alpha;
      break;
  }
}

TRasterImage TRasterImage::ConvertedTo(TPixelFormat format) const {
  if (format == format_) return *this;
  TRasterImage out(width_, height_, format);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) out.SetPixel(x, y, Pixel(x, y), Alpha(x, y));
  return out;
}

TPictureKind DetectPictureKind(std::span<const uint8_t> data) {
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) return TPictureKind::Jpeg;
  if (data.size() >= 8 && std::equal(kPng, kPng + 8, data.begin())) return TPictureKind::Png;
  return TPictureKind::None;
}

TRasterImage DecodePicture(std::span<const uint8_t> data) {
  switch (DetectPictureKind(data)) {
    case TPictureKind::Jpeg: return DecodeJpeg(data);
    case TPictureKind::Png: return DecodePng(data);
    case TPictureKind::None: break;
  }
  throw TPictureError("the data is neither a JPEG nor a PNG picture");
}
