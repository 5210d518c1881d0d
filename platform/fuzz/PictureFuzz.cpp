// Fuzz entry point of picture decoding: any bytes either decode or raise
// TPictureError; a decoded picture survives a PNG round trip unchanged.
#include <cstdint>
#include <cstdlib>

#include "platform/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TRasterImage image;
  try {
    image = DecodePicture(std::span<const uint8_t>(data, size));
  } catch (const TPictureError&) {
    return 0;
  }
  if (image.Empty()) std::abort();  // a decoder said yes to nothing
  if (static_cast<int64_t>(image.Width()) * image.Height() <= 4096) {
    if (!(DecodePng(EncodePng(image)) == image)) std::abort();
  }
  return 0;
}
