#pragma once
// Windows bitmap files (BMP) and icon files (ICO), read by our own decoder.
//
// Bitmaps: the 14-byte file header, then a core (12-byte) or info (40-byte and later
// versions) header, an optional palette and the pixel rows. Depths 1, 4 and 8 (palette),
// 16 (5-5-5 or bit fields), 24 and 32 (bit fields allowed); rows bottom-up (positive
// height) or top-down (negative height); 4- and 8-bit run-length compression.
// A 32-bit bitmap keeps its fourth byte as alpha only when some pixel has a non-zero
// one (many writers leave it 0 for "unused").
//
// Icons: the directory (reserved 0, type 1 or 2, count), one 16-byte entry per image;
// the largest image (then the deepest) is decoded. An image is a PNG file or a device-
// independent bitmap of twice the height whose second half is the transparency mask.
//
// Every read is checked against the data: bad or cut data raises TPictureError
// (Picture.h) naming the format and the fault; sizes above kMaxPicturePixels are refused.

#include <span>

#include "platform/Picture.h"

// pf24bit, or pf32bit when the bitmap carries alpha.
TRasterImage DecodeBmp(std::span<const uint8_t> data);
// pf32bit (the mask or the image's own alpha give the transparency).
TRasterImage DecodeIcon(std::span<const uint8_t> data);
