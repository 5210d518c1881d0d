// PNG through libpng. As with libjpeg, errors come back by longjmp: every libpng call
// runs inside a small function that owns the setjmp point and holds nothing with a
// destructor; allocation and exceptions happen between those calls.
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/Picture.h"

namespace {

struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  char message[256] = {};
  // reading
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  // writing
  std::vector<uint8_t>* out = nullptr;
};

extern "C" void OnPngError(png_structp png, png_const_charp text) {
  auto* s = static_cast<PngState*>(png_get_error_ptr(png));
  std::snprintf(s->message, sizeof s->message, "%s", text != nullptr ? text : "error");
  png_longjmp(png, 1);
}

extern "C" void OnPngWarning(png_structp, png_const_charp) {}

extern "C" void ReadFromMemory(png_structp png, png_bytep dest, png_size_t length) {
  auto* s = static_cast<PngState*>(png_get_io_ptr(png));
  if (length > s->size - s->pos) png_error(png, "the data ends in the middle of the picture");
  std::memcpy(dest, s->data + s->pos, length);
  s->pos += length;
}

extern "C" void WriteToMemory(png_structp png, png_bytep src, png_size_t length) {
  auto* s = static_cast<PngState*>(png_get_io_ptr(png));
  // No exception may cross libpng's frames.
  try {
    s->out->insert(s->out->end(), src, src + length);
  } catch (...) {
    png_error(png, "not enough memory");
  }
}

extern "C" void FlushMemory(png_structp) {}

struct Header {
  int width = 0;
  int height = 0;
  int channels = 0;
  size_t rowBytes = 0;
};

// Phase 1: the header and the transformations to 8-bit RGB or RGBA.
bool ReadHeader(PngState& s, Header& h) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_read_fn(s.png, &s, ReadFromMemory);
  png_read_info(s.png, s.info);
  const png_uint_32 width = png_get_image_width(s.png, s.info);
  const png_uint_32 height = png_get_image_height(s.png, s.info);
  if (static_cast<int64_t>(width) * height > kMaxPicturePixels) {
    std::snprintf(s.message, sizeof s.message,
                  "a picture of %u x %u pixels exceeds the limit of %lld pixels", width, height,
                  static_cast<long long>(kMaxPicturePixels));
    return false;
  }
  png_set_expand(s.png);
  png_set_strip_16(s.png);
  png_set_gray_to_rgb(s.png);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  h.channels = png_get_channels(s.png, s.info);
  h.rowBytes = png_get_rowbytes(s.png, s.info);
  return true;
}

bool ReadImage(PngState& s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_image(s.png, rows);
  png_read_end(s.png, nullptr);
  return true;
}

[[noreturn]] void FailRead(PngState& s, const char* what) {
  std::string message = std::string("PNG picture: ") + (s.message[0] ? s.message : what);
  png_destroy_read_struct(&s.png, &s.info, nullptr);
  throw TPictureError(message);
}

}  // namespace

TRasterImage DecodePng(std::span<const uint8_t> data) {
  PngState s;
  s.data = data.data();
  s.size = data.size();
  if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0)
    throw TPictureError("PNG picture: the signature is missing");
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
  if (s.png == nullptr) throw TPictureError("PNG picture: the decoder cannot start");
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) FailRead(s, "the decoder cannot start");

  Header h;
  if (!ReadHeader(s, h)) FailRead(s, "unreadable header");
  if (h.width <= 0 || h.height <= 0 || (h.channels != 3 && h.channels != 4))
    FailRead(s, "unsupported layout");
  // Deflate packs at most about 1032 bytes into one, so data much shorter than that
  // bound for the declared size must be cut off: refuse before allocating the rows.
  const double rawBytes = static_cast<double>(h.height) * static_cast<double>(h.rowBytes + 1);
  if (rawBytes > static_cast<double>(data.size()) * 1100.0 + 65536.0)
    FailRead(s, "the data is too short for the declared size");

  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  try {
    pixels.resize(h.rowBytes * static_cast<size_t>(h.height));
    rows.resize(static_cast<size_t>(h.height));
  } catch (const std::bad_alloc&) {
    FailRead(s, "not enough memory");
  }
  for (int y = 0; y < h.height; ++y) rows[static_cast<size_t>(y)] = pixels.data() + h.rowBytes * static_cast<size_t>(y);
  if (!ReadImage(s, rows.data())) FailRead(s, "corrupt data");
  png_destroy_read_struct(&s.png, &s.info, nullptr);

  TRasterImage image(h.width, h.height, h.channels == 4 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
  const size_t copy = static_cast<size_t>(h.width) * static_cast<size_t>(h.channels);
  for (int y = 0; y < h.height; ++y)
    std::memcpy(image.Row(y), rows[static_cast<size_t>(y)], std::min(copy, h.rowBytes));
  return image;
}

// ---- encoding -------------------------------------------------------------------

namespace {

bool WritePng(PngState& s, const TRasterImage& image, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_set_write_fn(s.png, &s, WriteToMemory, FlushMemory);
  int colorType = PNG_COLOR_TYPE_RGB;
  int depth = 8;
  switch (image.Format()) {
    case TPixelFormat::pf1bit: colorType = PNG_COLOR_TYPE_GRAY; depth = 1; break;
    case TPixelFormat::pf24bit: colorType = PNG_COLOR_TYPE_RGB; break;
    case TPixelFormat::pf32bit: colorType = PNG_COLOR_TYPE_RGB_ALPHA; break;
  }
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(image.Width()),
               static_cast<png_uint_32>(image.Height()), depth, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  png_write_image(s.png, rows);
  png_write_end(s.png, nullptr);
  return true;
}

}  // namespace

std::vector<uint8_t> EncodePng(const TRasterImage& image) {
  if (image.Empty()) throw TPictureError("PNG encoding: the picture is empty");
  std::vector<uint8_t> out;
  std::vector<png_bytep> rows(static_cast<size_t>(image.Height()));
  for (int y = 0; y < image.Height(); ++y)
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(image.Row(y));
  PngState s;
  s.out = &out;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
  if (s.png == nullptr) throw TPictureError("PNG encoding: the encoder cannot start");
  s.info = png_create_info_struct(s.png);
  const bool ok = s.info != nullptr && WritePng(s, image, rows.data());
  png_destroy_write_struct(&s.png, &s.info);
  if (!ok)
    throw TPictureError(std::string("PNG encoding: ") + (s.message[0] ? s.message : "the encoder failed"));
  return out;
}
