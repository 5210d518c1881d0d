// Bitmaps over QImage. Drawing always goes to a 32-bit RGB image, where every raster
// operation works; the pixels are converted to the bitmap's own depth when they are
// read, and only when something was drawn since the last read.
#include <QImage>
#include <QPainter>

#include "platform/QtCanvas.h"

namespace {

class TQtBitmap : public TBitmap {
 public:
  TQtBitmap(int width, int height, TPixelFormat format, int pixelsPerInch)
      : format_(format),
        image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32),
        pixels_(std::max(width, 0), std::max(height, 0), format) {
    image_.fill(Qt::white);
    if (!image_.isNull()) painter_.begin(&image_);
    canvas_ = std::make_unique<TPainterCanvas>(painter_, TSize{width, height}, pixelsPerInch,
                                               pixelsPerInch);
    synced_ = canvas_->Changes();
  }
  ~TQtBitmap() override {
    canvas_.reset();
    if (painter_.isActive()) painter_.end();
  }

  int Width() const override { return pixels_.Width(); }
  int Height() const override { return pixels_.Height(); }
  TPixelFormat PixelFormat() const override { return format_; }
  TCanvas& Canvas() override { return *canvas_; }

  const TRasterImage& Pixels() override {
    if (canvas_->Changes() != synced_) {
      Convert();
      synced_ = canvas_->Changes();
    }
    return pixels_;
  }

 private:
  void Convert() {
    for (int y = 0; y < pixels_.Height(); ++y) {
      const auto* src = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
      uint8_t* dst = pixels_.Row(y);
      switch (format_) {
        case TPixelFormat::pf24bit:
          for (int x = 0; x < pixels_.Width(); ++x) {
            dst[3 * x] = static_cast<uint8_t>(qRed(src[x]));
            dst[3 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[3 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
          }
          break;
        case TPixelFormat::pf32bit:
          for (int x = 0; x < pixels_.Width(); ++x) {
            dst[4 * x] = static_cast<uint8_t>(qRed(src[x]));
            dst[4 * x + 1] = static_cast<uint8_t>(qGreen(src[x]));
            dst[4 * x + 2] = static_cast<uint8_t>(qBlue(src[x]));
            dst[4 * x + 3] = 255;
          }
          break;
        case TPixelFormat::pf1bit:
          std::fill(dst, dst + pixels_.Stride(), uint8_t{0});
          for (int x = 0; x < pixels_.Width(); ++x)
            if (qGray(src[x]) >= 128) dst[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
          break;
      }
    }
  }

  TPixelFormat format_;
  QImage image_;
  QPainter painter_;
  TRasterImage pixels_;
  std::unique_ptr<TPainterCanvas> canvas_;
  uint64_t synced_ = 0;
};

}  // namespace

std::unique_ptr<TBitmap> NewBitmap(int width, int height, TPixelFormat format, int pixelsPerInch) {
  if (width < 0 || height < 0)
    throw TPictureError("a bitmap cannot have a negative size (" + std::to_string(width) + " x " +
                        std::to_string(height) + ")");
  if (static_cast<int64_t>(width) * height > kMaxPicturePixels)
    throw TPictureError("a bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                        " pixels exceeds the picture limit of " +
                        std::to_string(kMaxPicturePixels) + " pixels");
  return std::make_unique<TQtBitmap>(width, height, format, pixelsPerInch);
}
