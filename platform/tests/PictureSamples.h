#pragma once
// Small picture files of our own, made byte by byte, for the picture tests of the
// platform and of the report views. Every sample shows the same drawing, 8 x 4 pixels
// (the JPEG 64 x 32, so that its 16-pixel blocks do not mix the colours): red in the top-left quarter, blue elsewhere; the samples with
// transparency (PNG, icon) leave the two right-most columns transparent.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Picture.h"

namespace samples {

using Bytes = std::vector<uint8_t>;

constexpr int kWidth = 8;
constexpr int kHeight = 4;

inline void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline bool IsRed(int x, int y, int scale = 1) { return x < 4 * scale && y < 2 * scale; }
inline TColor SampleColor(int x, int y) { return IsRed(x, y) ? clRed : clBlue; }
inline bool IsClear(int x) { return x >= 6; }

// The drawing as pixels; `clearColumns` makes the two right-most columns transparent.
inline TRasterImage Raster(TPixelFormat format, bool clearColumns = false, int scale = 1) {
  TRasterImage image(kWidth * scale, kHeight * scale, format);
  for (int y = 0; y < kHeight * scale; ++y)
    for (int x = 0; x < kWidth * scale; ++x)
      image.SetPixel(x, y, IsRed(x, y, scale) ? clRed : clBlue, clearColumns && IsClear(x / scale) ? 0 : 255);
  return image;
}

// Bitmap info header (40 bytes) for the sample; `height` may be doubled (icons) or
// negative (top-down rows).
inline void InfoHeader(Bytes& b, int height, int depth, uint32_t colorsUsed) {
  Put32(b, 40);
  Put32(b, kWidth);
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(depth));
  Put32(b, 0);  // no compression
  Put32(b, 0);
  Put32(b, 3780);
  Put32(b, 3780);
  Put32(b, colorsUsed);
  Put32(b, 0);
}

// Palette of a sample bitmap: red and blue at positions of their own, grey elsewhere.
struct TPaletteLayout {
  uint32_t Count;
  uint32_t Red;
  uint32_t Blue;
};
inline TPaletteLayout PaletteFor(int depth) {
  switch (depth) {
    case 1: return {2, 1, 0};
    case 4: return {16, 3, 9};
    default: return {20, 7, 13};  // fewer entries than the depth allows
  }
}

// One pixel row in the bitmap file layout (padded to four bytes).
inline Bytes Row(int y, int depth) {
  Bytes row;
  const TPaletteLayout pal = PaletteFor(depth);
  uint32_t bits = 0;
  int used = 0;
  for (int x = 0; x < kWidth; ++x) {
    const bool red = IsRed(x, y);
    switch (depth) {
      case 1:
      case 4:
      case 8:
        bits = (bits << depth) | (red ? pal.Red : pal.Blue);
        used += depth;
        if (used == 8) {
          row.push_back(static_cast<uint8_t>(bits));
          bits = 0;
          used = 0;
        }
        break;
      case 16: Put16(row, red ? 0x7C00 : 0x001F); break;
      case 24:
      case 32:
        row.push_back(red ? 0 : 255);  // blue
        row.push_back(0);              // green
        row.push_back(red ? 255 : 0);  // red
        if (depth == 32) row.push_back(0);  // unused
        break;
    }
  }
  if (used > 0) row.push_back(static_cast<uint8_t>(bits << (8 - used)));
  while (row.size() % 4 != 0) row.push_back(0);
  return row;
}

inline void Palette(Bytes& b, int depth) {
  if (depth > 8) return;
  const TPaletteLayout pal = PaletteFor(depth);
  for (uint32_t i = 0; i < pal.Count; ++i) {
    if (i == pal.Red) Put32(b, 0x00FF0000);        // B G R 0: red
    else if (i == pal.Blue) Put32(b, 0x000000FF);  // blue
    else Put32(b, 0x00808080);
  }
}

inline Bytes Bmp(int depth, bool topDown = false) {
  Bytes b = {'B', 'M'};
  Put32(b, 0);  // file size, set below
  Put32(b, 0);
  Put32(b, 0);  // pixel offset, set below
  const TPaletteLayout pal = PaletteFor(depth);
  InfoHeader(b, topDown ? -kHeight : kHeight, depth, depth <= 8 && pal.Count < (1u << depth) ? pal.Count : 0);
  Palette(b, depth);
  Set32(b, 10, static_cast<uint32_t>(b.size()));
  for (int i = 0; i < kHeight; ++i) {
    const Bytes row = Row(topDown ? i : kHeight - 1 - i, depth);
    b.insert(b.end(), row.begin(), row.end());
  }
  Set32(b, 2, static_cast<uint32_t>(b.size()));
  return b;
}

// An icon with one 24-bit image whose mask leaves the two right-most columns clear.
inline Bytes Icon() {
  Bytes image;
  InfoHeader(image, 2 * kHeight, 24, 0);
  for (int y = kHeight - 1; y >= 0; --y) {
    const Bytes row = Row(y, 24);
    image.insert(image.end(), row.begin(), row.end());
  }
  for (int y = kHeight - 1; y >= 0; --y) Put32(image, 0x03);  // mask: bits of x = 6, 7
  Bytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, 1);
  b.push_back(kWidth);
  b.push_back(kHeight);
  b.push_back(0);
  b.push_back(0);
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, static_cast<uint32_t>(image.size()));
  Put32(b, 6 + 16);
  b.insert(b.end(), image.begin(), image.end());
  return b;
}

inline Bytes Png() { return EncodePng(Raster(TPixelFormat::pf32bit, true)); }
constexpr int kJpegScale = 8;
inline Bytes Jpeg() { return EncodeJpeg(Raster(TPixelFormat::pf24bit, false, kJpegScale), 95); }

// A placeable Windows metafile, 8 x 4 pixels at 96 units per inch: a blue rectangle over
// the whole picture, then a red one over the top-left quarter, without outlines.
inline Bytes Wmf() {
  Bytes records;
  auto record = [&](uint16_t function, std::initializer_list<uint16_t> params) {
    Put32(records, static_cast<uint32_t>(3 + params.size()));
    Put16(records, function);
    for (uint16_t p : params) Put16(records, p);
  };
  record(0x020B, {0, 0});                        // SetWindowOrg(y, x)
  record(0x020C, {kHeight, kWidth});             // SetWindowExt(y, x)
  record(0x02FA, {5, 0, 0, 0, 0});               // CreatePenIndirect: null pen
  record(0x012D, {0});                           // SelectObject(pen)
  record(0x02FC, {0, 0x0000, 0x00FF, 0});        // CreateBrushIndirect: solid blue
  record(0x012D, {1});                           // SelectObject(blue)
  record(0x041B, {kHeight, kWidth, 0, 0});       // Rectangle(bottom, right, top, left)
  record(0x02FC, {0, 0x00FF, 0x0000, 0});        // CreateBrushIndirect: solid red
  record(0x012D, {2});                           // SelectObject(red)
  record(0x041B, {2, 4, 0, 0});
  record(0x0000, {});                            // end
  Bytes b;
  Put32(b, 0x9AC6CDD7);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, kWidth);
  Put16(b, kHeight);
  Put16(b, 96);
  Put32(b, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < b.size(); i += 2) checksum ^= static_cast<uint16_t>(b[i] | (b[i + 1] << 8));
  Put16(b, checksum);
  Put16(b, 1);       // in memory
  Put16(b, 9);       // header words
  Put16(b, 0x0300);  // version
  Put32(b, static_cast<uint32_t>((18 + records.size()) / 2));
  Put16(b, 3);       // objects
  Put32(b, 8);       // largest record, in words
  Put16(b, 0);
  b.insert(b.end(), records.begin(), records.end());
  return b;
}

// An enhanced metafile of the same drawing.
inline Bytes Emf() {
  Bytes records;
  uint32_t count = 1;
  auto record = [&](uint32_t type, std::initializer_list<uint32_t> params) {
    Put32(records, type);
    Put32(records, static_cast<uint32_t>(8 + 4 * params.size()));
    for (uint32_t p : params) Put32(records, p);
    ++count;
  };
  record(37, {0x80000008});                        // SelectObject(NULL_PEN)
  record(39, {1, 0, 0x00FF0000, 0});               // CreateBrushIndirect 1: solid blue
  record(37, {1});
  record(43, {0, 0, kWidth, kHeight});             // Rectangle
  record(39, {2, 0, 0x000000FF, 0});               // CreateBrushIndirect 2: solid red
  record(37, {2});
  record(43, {0, 0, 4, 2});
  record(14, {0, 16, 20});                         // end
  Bytes b;
  Put32(b, 1);   // header record
  Put32(b, 88);
  for (uint32_t v : {0u, 0u, uint32_t{kWidth - 1}, uint32_t{kHeight - 1}}) Put32(b, v);  // bounds, pixels
  for (uint32_t v : {0u, 0u, uint32_t{kWidth * 2540 / 96}, uint32_t{kHeight * 2540 / 96}}) Put32(b, v);  // frame
  Put32(b, 0x464D4520);  // " EMF"
  Put32(b, 0x10000);
  Put32(b, static_cast<uint32_t>(88 + records.size()));
  Put32(b, count);
  Put16(b, 3);   // handles
  Put16(b, 0);
  Put32(b, 0);   // description
  Put32(b, 0);
  Put32(b, 0);   // palette entries
  Put32(b, 96 * 10);  // reference device: pixels, then millimetres (96 per inch)
  Put32(b, 96 * 10);
  Put32(b, 254);
  Put32(b, 254);
  b.insert(b.end(), records.begin(), records.end());
  return b;
}

}  // namespace samples
