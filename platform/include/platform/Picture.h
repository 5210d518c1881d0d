#pragma once
// Pictures as plain pixels, without any drawing library: the bitmap that JPEG and PNG
// data decode into and encode from, and that canvases draw stretched into a rectangle.
//
// Pixel layout (fixed, so that encoders, exporters and tests can read rows directly):
//   pf1bit   one bit per pixel, most significant bit first; 1 is white, 0 is black
//   pf24bit  three bytes per pixel: red, green, blue
//   pf32bit  four bytes per pixel: red, green, blue, alpha (255 opaque, not premultiplied)
// Rows run from top to bottom; each row starts on a 4-byte boundary (Stride()).
//
// Decoding reads outside data: it checks the data at the boundary, never reads out of
// bounds, never crashes, and reports what was wrong in a TPictureError whose message
// names the format and the problem. Decoders refuse pictures larger than
// kMaxPicturePixels (named in the message) instead of allocating without bound.

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Graphics.h"

enum class TPixelFormat : uint8_t { pf1bit = 1, pf24bit = 24, pf32bit = 32 };

// The largest picture a decoder accepts, in pixels (width x height).
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;  // 8192 x 8192

class TRasterImage {
 public:
  TRasterImage() = default;
  // A picture of the given size, every pixel white (opaque).
  TRasterImage(int width, int height, TPixelFormat format);

  int Width() const { return width_; }
  int Height() const { return height_; }
  TPixelFormat Format() const { return format_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  size_t Stride() const { return stride_; }

  uint8_t* Row(int y) { return data_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* Row(int y) const { return data_.data() + static_cast<size_t>(y) * stride_; }

  // One pixel as a colour (alpha ignored); out-of-range coordinates give clNone.
  TColor Pixel(int x, int y) const;
  // Alpha of one pixel: 255 for formats without alpha.
  uint8_t Alpha(int x, int y) const;
  // Sets one pixel (1-bit pictures take white for any colour brighter than mid-grey);
  // out-of-range coordinates are ignored.
  void SetPixel(int x, int y, TColor color, uint8_t alpha = 255);

  // The same picture in another format (1-bit: a threshold at mid-grey).
  TRasterImage ConvertedTo(TPixelFormat format) const;

  bool operator==(const TRasterImage&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  TPixelFormat format_ = TPixelFormat::pf24bit;
  size_t stride_ = 0;
  std::vector<uint8_t> data_;
};

// Raised by the decoders and encoders; the message is plain ASCII text.
class TPictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TPictureKind : uint8_t { None, Jpeg, Png };

// The kind of picture the bytes start with (JPEG: FF D8; PNG: its 8-byte signature).
TPictureKind DetectPictureKind(std::span<const uint8_t> data);

// Decoding: JPEG gives pf24bit (grey pictures are expanded to colour), PNG gives pf32bit
// when the picture has transparency (alpha channel or a transparent entry), else pf24bit.
TRasterImage DecodeJpeg(std::span<const uint8_t> data);
TRasterImage DecodePng(std::span<const uint8_t> data);
// Decodes by the detected kind; unknown data raises TPictureError.
TRasterImage DecodePicture(std::span<const uint8_t> data);

// Encoding. `quality` is 1..100 (values outside are clamped). A 1-bit picture gives a
// greyscale JPEG of black and white; alpha is dropped (JPEG has none).
std::vector<uint8_t> EncodeJpeg(const TRasterImage& image, int quality = 90);
// PNG keeps the format: 1-bit grey, 24-bit RGB, 32-bit RGBA.
std::vector<uint8_t> EncodePng(const TRasterImage& image);
