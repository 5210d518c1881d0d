#pragma once
// Comparing drawn pictures with stored ones, where antialiased edges and lossy encoding
// allow faint differences.
#include <cstdlib>

#include "platform/Picture.h"

// Pixels whose colour differs by more than `tolerance` in some channel; both pictures
// must have the same size.
inline int DifferingPixels(const TRasterImage& a, const TRasterImage& b, int tolerance) {
  int count = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const TColor p = a.Pixel(x, y), q = b.Pixel(x, y);
      if (std::abs(RedOf(p) - RedOf(q)) > tolerance || std::abs(GreenOf(p) - GreenOf(q)) > tolerance ||
          std::abs(BlueOf(p) - BlueOf(q)) > tolerance)
        ++count;
    }
  return count;
}
