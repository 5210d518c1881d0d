// JPEG through libjpeg(-turbo). libjpeg reports errors by calling back, and the only
// safe way back out of it is longjmp. So every libjpeg call runs inside a small
// function that owns a setjmp point and holds nothing with a destructor; allocation and
// exceptions happen between those calls, in ordinary C++.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// jpeglib.h needs size_t and FILE first.
#include <jpeglib.h>
#include <jerror.h>

#include "platform/Picture.h"

namespace {

struct ErrorSink {
  jpeg_error_mgr mgr;  // first: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX + 64];
};

extern "C" void OnJpegError(j_common_ptr cinfo) {
  auto* sink = reinterpret_cast<ErrorSink*>(cinfo->err);
  char text[JMSG_LENGTH_MAX] = {};
  (*cinfo->err->format_message)(cinfo, text);
  std::snprintf(sink->message, sizeof sink->message, "%s", text);
  std::longjmp(sink->jump, 1);
}

// Warnings are ignored, except the end of the data (or a marker) in the middle of the
// picture: libjpeg would fill the rest with grey and call it a success.
extern "C" void OnJpegMessage(j_common_ptr cinfo, int level) {
  auto* sink = reinterpret_cast<ErrorSink*>(cinfo->err);
  const int code = cinfo->err->msg_code;
  if (level == -1 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
    std::snprintf(sink->message, sizeof sink->message, "the data ends in the middle of the picture");
    std::longjmp(sink->jump, 1);
  }
}

// libjpeg's own working memory (coefficient buffers of progressive pictures).
constexpr long kJpegWorkingMemory = 512L * 1024 * 1024;
// A progressive picture needs a handful of scans; thousands only cost time.
constexpr int kMaxJpegScans = 500;

extern "C" void OnJpegProgress(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (cinfo->is_decompressor && d->input_scan_number > kMaxJpegScans) {
    auto* sink = reinterpret_cast<ErrorSink*>(cinfo->err);
    std::snprintf(sink->message, sizeof sink->message,
                  "the picture has more than %d scans (the limit)", kMaxJpegScans);
    std::longjmp(sink->jump, 1);
  }
}

struct Decoder {
  jpeg_decompress_struct cinfo;
  ErrorSink err;
  jpeg_progress_mgr progress;
  bool created = false;
  bool cmyk = false;
  bool inverted = false;  // Adobe CMYK is stored inverted
};

void InstallSink(jpeg_common_struct* cinfo, ErrorSink& sink) {
  cinfo->err = jpeg_std_error(&sink.mgr);
  sink.mgr.error_exit = OnJpegError;
  sink.mgr.emit_message = OnJpegMessage;
  sink.message[0] = '\0';
}

// Phase 1: header and start. Returns false with err.message on failure.
bool StartDecoding(Decoder& d, const uint8_t* data, size_t size) {
  std::memset(&d.cinfo, 0, sizeof d.cinfo);
  d.cinfo.err = nullptr;
  InstallSink(reinterpret_cast<jpeg_common_struct*>(&d.cinfo), d.err);
  if (setjmp(d.err.jump)) return false;
  jpeg_create_decompress(&d.cinfo);
  d.created = true;
  d.cinfo.mem->max_memory_to_use = kJpegWorkingMemory;
  std::memset(&d.progress, 0, sizeof d.progress);
  d.progress.progress_monitor = OnJpegProgress;
  d.cinfo.progress = &d.progress;
  jpeg_mem_src(&d.cinfo, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&d.cinfo, JPEG_APP0 + 14, 0);
  jpeg_read_header(&d.cinfo, TRUE);
  if (static_cast<int64_t>(d.cinfo.image_width) * d.cinfo.image_height > kMaxPicturePixels) {
    std::snprintf(d.err.message, sizeof d.err.message,
                  "a picture of %u x %u pixels exceeds the limit of %lld pixels",
                  d.cinfo.image_width, d.cinfo.image_height,
                  static_cast<long long>(kMaxPicturePixels));
    return false;
  }
  d.cmyk = d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK;
  d.inverted = d.cmyk && d.cinfo.saw_Adobe_marker;
  d.cinfo.out_color_space = d.cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&d.cinfo);
  return true;
}

// Phase 2: up to `count` rows into consecutive rows of `out`. Returns the rows read,
// or -1 with err.message.
int ReadRows(Decoder& d, uint8_t* out, size_t stride, int count) {
  if (setjmp(d.err.jump)) return -1;
  int done = 0;
  while (done < count && d.cinfo.output_scanline < d.cinfo.output_height) {
    JSAMPROW row = out + static_cast<size_t>(done) * stride;
    done += static_cast<int>(jpeg_read_scanlines(&d.cinfo, &row, 1));
  }
  return done;
}

bool FinishDecoding(Decoder& d) {
  if (setjmp(d.err.jump)) return false;
  jpeg_finish_decompress(&d.cinfo);
  return true;
}

void Destroy(Decoder& d) {
  if (d.created) jpeg_destroy_decompress(&d.cinfo);
  d.created = false;
}

[[noreturn]] void Fail(Decoder& d, const char* what) {
  std::string message = std::string("JPEG picture: ") + (d.err.message[0] ? d.err.message : what);
  Destroy(d);
  throw TPictureError(message);
}

}  // namespace

TRasterImage DecodeJpeg(std::span<const uint8_t> data) {
  if (data.size() < 4) throw TPictureError("JPEG picture: the data is too short");
  // Data that lacks only its end marker is complete; libjpeg would take the missing
  // marker for missing rows. Cut data still stops at the marker in mid-picture.
  std::vector<uint8_t> withEnd;
  if (data[data.size() - 2] != 0xFF || data[data.size() - 1] != 0xD9) {
    withEnd.reserve(data.size() + 2);
    withEnd.assign(data.begin(), data.end());
    withEnd.push_back(0xFF);
    withEnd.push_back(0xD9);
    data = withEnd;
  }
  Decoder d;
  if (!StartDecoding(d, data.data(), data.size())) Fail(d, "unreadable header");
  const int width = static_cast<int>(d.cinfo.output_width);
  const int height = static_cast<int>(d.cinfo.output_height);
  const int channels = d.cinfo.output_components;
  if (width <= 0 || height <= 0 || (channels != 3 && channels != 4)) Fail(d, "unsupported layout");

  // Rows are decoded in chunks into a buffer that grows with them, so that a huge
  // declared size over truncated data costs little before the error shows.
  const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
  std::vector<uint8_t> rows;
  int done = 0;
  constexpr int kChunk = 64;
  while (done < height) {
    const int want = std::min(kChunk, height - done);
    try {
      rows.resize(static_cast<size_t>(done + want) * stride);
    } catch (const std::bad_alloc&) {
      Fail(d, "not enough memory");
    }
    const int got = ReadRows(d, rows.data() + static_cast<size_t>(done) * stride, stride, want);
    if (got < 0) Fail(d, "corrupt data");
    if (got == 0) Fail(d, "the data ends in the middle of the picture");
    done += got;
  }
  if (!FinishDecoding(d)) Fail(d, "corrupt data");
  const bool cmyk = d.cmyk, inverted = d.inverted;
  Destroy(d);

  TRasterImage image(width, height, TPixelFormat::pf24bit);
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = rows.data() + static_cast<size_t>(y) * stride;
    uint8_t* dst = image.Row(y);
    if (!cmyk) {
      std::memcpy(dst, src, stride);
      continue;
    }
    for (int x = 0; x < width; ++x) {
      int c = src[4 * x], m = src[4 * x + 1], yy = src[4 * x + 2], k = src[4 * x + 3];
      if (!inverted) c = 255 - c, m = 255 - m, yy = 255 - yy, k = 255 - k;
      dst[3 * x] = static_cast<uint8_t>(c * k / 255);
      dst[3 * x + 1] = static_cast<uint8_t>(m * k / 255);
      dst[3 * x + 2] = static_cast<uint8_t>(yy * k / 255);
    }
  }
  return image;
}

// ---- encoding -------------------------------------------------------------------

namespace {

struct Encoder {
  jpeg_compress_struct cinfo;
  ErrorSink err;
  bool created = false;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool StartEncoding(Encoder& e, int width, int height, bool grey, int quality) {
  std::memset(&e.cinfo, 0, sizeof e.cinfo);
  InstallSink(reinterpret_cast<jpeg_common_struct*>(&e.cinfo), e.err);
  if (setjmp(e.err.jump)) return false;
  jpeg_create_compress(&e.cinfo);
  e.created = true;
  jpeg_mem_dest(&e.cinfo, &e.buffer, &e.size);
  e.cinfo.image_width = static_cast<JDIMENSION>(width);
  e.cinfo.image_height = static_cast<JDIMENSION>(height);
  e.cinfo.input_components = grey ? 1 : 3;
  e.cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&e.cinfo);
  jpeg_set_quality(&e.cinfo, quality, TRUE);
  jpeg_start_compress(&e.cinfo, TRUE);
  return true;
}

bool WriteRow(Encoder& e, uint8_t* row) {
  if (setjmp(e.err.jump)) return false;
  JSAMPROW r = row;
  jpeg_write_scanlines(&e.cinfo, &r, 1);
  return true;
}

bool FinishEncoding(Encoder& e) {
  if (setjmp(e.err.jump)) return false;
  jpeg_finish_compress(&e.cinfo);
  return true;
}

void Destroy(Encoder& e) {
  if (e.created) jpeg_destroy_compress(&e.cinfo);
  e.created = false;
  std::free(e.buffer);
  e.buffer = nullptr;
}

[[noreturn]] void Fail(Encoder& e) {
  std::string message = std::string("JPEG encoding: ") +
                        (e.err.message[0] ? e.err.message : "the encoder failed");
  Destroy(e);
  throw TPictureError(message);
}

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TRasterImage& image, int quality) {
  if (image.Empty()) throw TPictureError("JPEG encoding: the picture is empty");
  const bool grey = image.Format() == TPixelFormat::pf1bit;
  const int width = image.Width();
  std::vector<uint8_t> row(static_cast<size_t>(width) * (grey ? 1 : 3));
  Encoder e;
  if (!StartEncoding(e, width, image.Height(), grey, std::clamp(quality, 1, 100))) Fail(e);
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* src = image.Row(y);
    switch (image.Format()) {
      case TPixelFormat::pf1bit:
        for (int x = 0; x < width; ++x) row[static_cast<size_t>(x)] = (src[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
        break;
      case TPixelFormat::pf24bit:
        std::memcpy(row.data(), src, row.size());
        break;
      case TPixelFormat::pf32bit:
        for (int x = 0; x < width; ++x)
          for (int c = 0; c < 3; ++c) row[static_cast<size_t>(3 * x + c)] = src[4 * x + c];
        break;
    }
    if (!WriteRow(e, row.data())) Fail(e);
  }
  if (!FinishEncoding(e)) Fail(e);
  std::vector<uint8_t> out(e.buffer, e.buffer + e.size);
  Destroy(e);
  return out;
}
