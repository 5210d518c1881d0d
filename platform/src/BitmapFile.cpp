#include "platform/BitmapFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

// Little-endian reads that check the data first.
class TBytes {
 public:
  TBytes(std::span<const uint8_t> data, const char* format) : data_(data), format_(format) {}

  [[noreturn]] void Fail(const std::string& what) const { throw TPictureError(std::string(format_) + ": " + what); }
  size_t Size() const { return data_.size(); }
  bool Has(size_t offset, size_t count) const { return offset <= data_.size() && count <= data_.size() - offset; }
  void Need(size_t offset, size_t count, const char* what) const {
    if (!Has(offset, count)) Fail(std::string(what) + " is cut short");
  }
  uint8_t U8(size_t offset) const { return data_[offset]; }
  uint16_t U16(size_t offset) const {
    return static_cast<uint16_t>(data_[offset] | (data_[offset + 1] << 8));
  }
  uint32_t U32(size_t offset) const {
    return static_cast<uint32_t>(data_[offset]) | (static_cast<uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<uint32_t>(data_[offset + 2]) << 16) | (static_cast<uint32_t>(data_[offset + 3]) << 24);
  }
  int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
  std::span<const uint8_t> Span(size_t offset, size_t count) const { return data_.subspan(offset, count); }
  const char* Format() const { return format_; }

 private:
  std::span<const uint8_t> data_;
  const char* format_;
};

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One colour channel of a bit-field pixel.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;  // the largest value of the channel

  static TChannel Of(uint32_t mask) {
    TChannel c;
    c.Mask = mask;
    if (mask == 0) return c;
    while (((mask >> c.Shift) & 1) == 0) ++c.Shift;
    c.Max = mask >> c.Shift;
    return c;
  }
  // 0..255; `absent` for a channel without bits.
  uint8_t Value(uint32_t pixel, uint8_t absent) const {
    if (Mask == 0) return absent;
    return static_cast<uint8_t>((((pixel & Mask) >> Shift) * 255 + Max / 2) / Max);
  }
};

// What the header of a device-independent bitmap says.
struct TDib {
  int Width = 0;
  int Height = 0;       // rows of the picture (an icon's mask half not counted)
  bool TopDown = false;
  int Depth = 0;
  uint32_t Compression = kRgb;
  std::array<TChannel, 4> Channels;  // red, green, blue, alpha
  bool HasAlphaChannel = false;
  std::vector<TColor> Palette;
  size_t PixelOffset = 0;            // from the start of the header, unless given
};

size_t RowStride(int width, int depth) { return ((static_cast<size_t>(width) * depth + 31) / 32) * 4; }

// Reads the header and palette of the bitmap that starts at `at`. `icon`: the height
// counts the mask too.
TDib ReadDibHeader(const TBytes& b, size_t at, bool icon) {
  TDib dib;
  b.Need(at, 4, "the bitmap header");
  const uint32_t headerSize = b.U32(at);
  bool core = false;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  if (headerSize == 12) {
    b.Need(at, 12, "the bitmap header");
    core = true;
    dib.Width = b.U16(at + 4);
    height = b.U16(at + 6);
    dib.Depth = b.U16(at + 10);
  } else if (headerSize >= 40 && headerSize <= 1024) {
    b.Need(at, headerSize, "the bitmap header");
    dib.Width = b.I32(at + 4);
    height = b.I32(at + 8);
    dib.Depth = b.U16(at + 14);
    dib.Compression = b.U32(at + 16);
    colorsUsed = b.U32(at + 32);
  } else {
    b.Fail("unsupported header size " + std::to_string(headerSize));
  }
  if (dib.Width <= 0 || height == 0) b.Fail("the picture has no pixels");
  dib.TopDown = height < 0;
  height = height < 0 ? -height : height;
  if (icon) height /= 2;
  if (height == 0) b.Fail("the picture has no pixels");
  if (static_cast<int64_t>(dib.Width) * height > kMaxPicturePixels)
    b.Fail("a picture of " + std::to_string(dib.Width) + " x " + std::to_string(height) +
           " pixels exceeds the limit of " + std::to_string(kMaxPicturePixels) + " pixels");
  dib.Height = static_cast<int>(height);

  const int d = dib.Depth;
  if (d != 1 && d != 4 && d != 8 && d != 16 && d != 24 && d != 32)
    b.Fail("unsupported depth of " + std::to_string(d) + " bits per pixel");
  const uint32_t c = dib.Compression;
  const bool fields = c == kBitFields || c == kAlphaBitFields;
  if (!(c == kRgb || (c == kRle8 && d == 8) || (c == kRle4 && d == 4) || (fields && (d == 16 || d == 32))))
    b.Fail("unsupported compression " + std::to_string(c) + " for " + std::to_string(d) + " bits per pixel");
  if (dib.TopDown && (c == kRle8 || c == kRle4)) b.Fail("compressed rows cannot run top-down");

  size_t next = at + headerSize;
  if (fields) {
    uint32_t masks[4] = {0, 0, 0, 0};
    const int count = c == kAlphaBitFields ? 4 : 3;
    if (headerSize >= 52) {
      for (int i = 0; i < 4; ++i)
        if (headerSize >= 40u + 4u * (i + 1)) masks[i] = b.U32(at + 40 + 4 * i);
      if (c == kBitFields && headerSize < 56) masks[3] = 0;
    } else {
      // The masks follow a 40-byte header.
      b.Need(next, 4 * count, "the colour mask data");
      for (int i = 0; i < count; ++i) masks[i] = b.U32(next + 4 * i);
      next += 4 * count;
    }
    for (int i = 0; i < 4; ++i) dib.Channels[i] = TChannel::Of(masks[i]);
    if (masks[0] == 0 && masks[1] == 0 && masks[2] == 0) b.Fail("the colour masks are empty");
    dib.HasAlphaChannel = masks[3] != 0;
  } else if (d == 16) {
    dib.Channels = {TChannel::Of(0x7C00), TChannel::Of(0x03E0), TChannel::Of(0x001F), TChannel{}};
  }

  if (d <= 8) {
    const uint32_t full = 1u << d;
    const uint32_t count = colorsUsed == 0 ? full : colorsUsed;
    if (count > full)
      b.Fail("a palette of " + std::to_string(count) + " colours for " + std::to_string(d) + " bits per pixel");
    const size_t entry = core ? 3 : 4;
    b.Need(next, entry * count, "the palette");
    dib.Palette.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
      const size_t p = next + entry * i;
      dib.Palette.push_back(RGBColor(b.U8(p + 2), b.U8(p + 1), b.U8(p)));
    }
    next += entry * count;
  }
  dib.PixelOffset = next;
  return dib;
}

TColor PaletteColor(const TDib& dib, uint32_t index) {
  return index < dib.Palette.size() ? dib.Palette[index] : clBlack;
}

// Pixel rows of an uncompressed bitmap into a 32-bit picture; true when any alpha was read.
bool ReadRows(const TBytes& b, const TDib& dib, size_t pixels, TRasterImage& out) {
  const size_t stride = RowStride(dib.Width, dib.Depth);
  b.Need(pixels, stride * static_cast<size_t>(dib.Height), "the pixel data");
  bool alphaSeen = false;
  for (int row = 0; row < dib.Height; ++row) {
    const int y = dib.TopDown ? row : dib.Height - 1 - row;
    std::span<const uint8_t> src = b.Span(pixels + stride * static_cast<size_t>(row), stride);
    for (int x = 0; x < dib.Width; ++x) {
      TColor color = clBlack;
      uint8_t alpha = 255;
      switch (dib.Depth) {
        case 1: color = PaletteColor(dib, (src[x / 8] >> (7 - x % 8)) & 1); break;
        case 4: color = PaletteColor(dib, (src[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0x0F); break;
        case 8: color = PaletteColor(dib, src[x]); break;
        case 16:
        case 32: {
          uint32_t v = src[(dib.Depth / 8) * x] | (src[(dib.Depth / 8) * x + 1] << 8);
          if (dib.Depth == 32)
            v |= (static_cast<uint32_t>(src[4 * x + 2]) << 16) | (static_cast<uint32_t>(src[4 * x + 3]) << 24);
          if (dib.Depth == 32 && dib.Compression == kRgb) {
            color = RGBColor(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
            alpha = src[4 * x + 3];
            alphaSeen = alphaSeen || alpha != 0;
          } else {
            color = RGBColor(dib.Channels[0].Value(v, 0), dib.Channels[1].Value(v, 0), dib.Channels[2].Value(v, 0));
            alpha = dib.Channels[3].Value(v, 255);
            alphaSeen = alphaSeen || dib.HasAlphaChannel;
          }
          break;
        }
        case 24: color = RGBColor(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
      }
      out.SetPixel(x, y, color, alpha);
    }
  }
  return alphaSeen;
}

// Run-length compressed rows (always bottom-up). Pixels the runs skip keep colour 0.
void ReadRunLengthRows(const TBytes& b, const TDib& dib, size_t at, TRasterImage& out) {
  const bool four = dib.Compression == kRle4;
  const TColor background = PaletteColor(dib, 0);
  for (int y = 0; y < dib.Height; ++y)
    for (int x = 0; x < dib.Width; ++x) out.SetPixel(x, y, background);
  int x = 0, row = 0;
  auto put = [&](uint32_t index) {
    if (x < dib.Width && row < dib.Height) out.SetPixel(x, dib.Height - 1 - row, PaletteColor(dib, index));
    ++x;
  };
  size_t p = at;
  while (row < dib.Height) {
    b.Need(p, 2, "the compressed pixel data");
    const uint8_t count = b.U8(p), value = b.U8(p + 1);
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      b.Need(p, 2, "the compressed pixel data");
      x += b.U8(p);
      row += b.U8(p + 1);
      p += 2;
    } else {
      // An absolute run of `value` pixels, padded to a 16-bit boundary.
      const size_t bytes = four ? (value + 1u) / 2u : value;
      b.Need(p, bytes, "the compressed pixel data");
      for (int i = 0; i < value; ++i) {
        const uint8_t byte = b.U8(p + (four ? i / 2 : i));
        put(four ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
      }
      p += bytes + (bytes % 2);
    }
  }
}

// The whole picture of a bitmap whose header starts at `at`. `pixelOffset` (from the
// start of the data) when the file says where the rows are, else 0.
TRasterImage DecodeDib(const TBytes& b, size_t at, size_t pixelOffset, bool icon) {
  const TDib dib = ReadDibHeader(b, at, icon);
  const size_t pixels = pixelOffset != 0 ? pixelOffset : dib.PixelOffset;
  TRasterImage image(dib.Width, dib.Height, TPixelFormat::pf32bit);
  bool alpha = false;
  if (dib.Compression == kRle8 || dib.Compression == kRle4)
    ReadRunLengthRows(b, dib, pixels, image);
  else
    alpha = ReadRows(b, dib, pixels, image);
  if (icon && !alpha) {
    // The mask after the colour rows: 1 marks a transparent pixel.
    const size_t maskAt = pixels + RowStride(dib.Width, dib.Depth) * static_cast<size_t>(dib.Height);
    const size_t maskStride = RowStride(dib.Width, 1);
    b.Need(maskAt, maskStride * static_cast<size_t>(dib.Height), "the transparency mask");
    for (int row = 0; row < dib.Height; ++row) {
      const int y = dib.TopDown ? row : dib.Height - 1 - row;
      for (int x = 0; x < dib.Width; ++x)
        if ((b.U8(maskAt + maskStride * row + x / 8) >> (7 - x % 8)) & 1) image.SetPixel(x, y, image.Pixel(x, y), 0);
    }
    return image;
  }
  if (!alpha && !icon) return image.ConvertedTo(TPixelFormat::pf24bit);
  return image;
}

}  // namespace

TRasterImage DecodeBmp(std::span<const uint8_t> data) {
  const TBytes b(data, "Bitmap");
  b.Need(0, 14, "the file header");
  if (b.U8(0) != 'B' || b.U8(1) != 'M') b.Fail("the data does not start with \"BM\"");
  const uint32_t offBits = b.U32(10);
  if (offBits != 0 && offBits < 14 + 12) b.Fail("the pixel rows start inside the header");
  return DecodeDib(b, 14, offBits, false);
}

TRasterImage DecodeIcon(std::span<const uint8_t> data) {
  const TBytes b(data, "Icon");
  b.Need(0, 6, "the icon directory");
  const uint16_t type = b.U16(2);
  if (b.U16(0) != 0 || (type != 1 && type != 2)) b.Fail("the data is not an icon directory");
  const uint16_t count = b.U16(4);
  if (count == 0) b.Fail("the icon holds no images");
  b.Need(6, 16u * count, "the icon directory");

  // The largest image, then the deepest.
  int best = -1;
  int64_t bestArea = -1;
  int bestDepth = -1;
  for (int i = 0; i < count; ++i) {
    const size_t e = 6 + 16u * i;
    const int w = b.U8(e) == 0 ? 256 : b.U8(e), h = b.U8(e + 1) == 0 ? 256 : b.U8(e + 1);
    const int depth = type == 1 ? b.U16(e + 6) : 0;
    const int64_t area = static_cast<int64_t>(w) * h;
    if (area > bestArea || (area == bestArea && depth > bestDepth)) {
      best = i;
      bestArea = area;
      bestDepth = depth;
    }
  }
  const size_t e = 6 + 16u * static_cast<size_t>(best);
  const uint32_t size = b.U32(e + 8), offset = b.U32(e + 12);
  b.Need(offset, size, "the icon image");
  std::span<const uint8_t> image = b.Span(offset, size);
  if (DetectPictureKind(image) == TPictureKind::Png) {
    TRasterImage png = DecodePng(image);
    return png.Format() == TPixelFormat::pf32bit ? png : png.ConvertedTo(TPixelFormat::pf32bit);
  }
  const TBytes dib(image, "Icon");
  return DecodeDib(dib, 0, 0, true);
}
