#pragma once
// The image export: TfrxCustomImageExport renders prepared pages into bitmaps and names
// the files; TfrxJPEGExport writes them as JPEG files.
//
// Contract
// - Drawing: every view the walk hands over is drawn by its own Draw on the canvas of a
//   Qt bitmap (NewBitmap), the surface and code the preview draws pages with, at the
//   scale Resolution / 96 (the bitmap canvas's logical resolution). A view whose
//   Printable is false is left out unless ExportNotPrintable. The page background
//   ("_pagebackground") is drawn but does not count for cropping.
// - Files: with SeparateFiles (the default) one image per exported page, named from
//   FileName with its extension replaced by "." + the number of the exported page (its
//   place among the exported pages, not its page number) + ".jpg": Raport.jpg gives
//   Raport.1.jpg, Raport.2.jpg... Without SeparateFiles all exported pages are stacked,
//   at the left edge, into one image (at most 30000 pixels either way) saved under
//   FileName with ".jpg". With an OutputStream the image goes there instead of a file.
// - Errors: an image that cannot be saved (a file that cannot be created or written, an
//   encoder failure) is reported at once by the report's NewSilentMode (a message box,
//   the report's Errors, or raised) and leaves no file behind; the export goes on with
//   the next page and the filter's Incomplete() says that something is missing.
// - Memory: one bitmap at a time with separate files.

#include <memory>
#include <set>

#include "output/frxClassExport.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"

class TStream;

class TfrxCustomImageExport : public TfrxCustomExportFilter {
 public:
  // The largest stacked image, in pixels either way.
  static constexpr int kMaxStackedSize = 30000;

  explicit TfrxCustomImageExport(TComponent* owner, bool noRegistration = false);
  ~TfrxCustomImageExport() override;
  TFRX_PERSISTENT_CLASS

  // Cut each image down to the area its objects cover (one pixel more right and below).
  bool CropImages() const { return cropImages_; }
  void SetCropImages(bool v) { cropImages_ = v; }
  // A one-bit (black and white) bitmap.
  bool Monochrome() const { return monochrome_; }
  void SetMonochrome(bool v) { monochrome_ = v; }
  // Dots per inch of the images (96: one pixel per report pixel).
  int Resolution() const { return resolution_; }
  void SetResolution(int v) { resolution_ = v; }
  // One image per page (true) or all pages stacked into one.
  bool SeparateFiles() const { return separateFiles_; }
  void SetSeparateFiles(bool v) { separateFiles_ = v; }
  // When set, the image goes into this stream instead of a file (not owned).
  TStream* OutputStream() const { return outputStream_; }
  void SetOutputStream(TStream* stream) { outputStream_ = stream; }

  bool StartExport() override;
  void BeginPage(TfrxComponent& page, int index) override;
  void ExportItem(TfrxComponent& object) override;
  void EndPage(TfrxComponent& page, int index) override;
  void EndExport() override;

 protected:
  // Writes the current image (its pixels, already cropped) into the output stream when
  // one is set, else under its file name (ImageFileName).
  virtual void SaveImage(const TRasterImage& image) = 0;
  // Crops, saves and frees the current bitmap (freed also when saving failed).
  virtual void FinishImage();

  // The file name of the current image: FileName with its extension replaced by the
  // suffix ("." and the page counter with separate files) and `extension`.
  std::string ImageFileName(const std::string& extension) const;
  int PageCounter() const { return pageCounter_; }
  double Scale() const { return scale_; }

 private:
  void NewImage(int width, int height);
  void WidenUsedArea(const TRect& r);
  TRasterImage ImagePixels();
  void ReportSaveError(const std::string& message);

  bool cropImages_ = false;
  bool monochrome_ = false;
  int resolution_ = 96;
  bool separateFiles_ = true;
  TStream* outputStream_ = nullptr;

  std::unique_ptr<TBitmap> image_;
  bool stackedSized_ = false;
  double scale_ = 1;
  int pageCounter_ = 0;
  int yOffset_ = 0;
  TRect pageArea_{};  // the current page's part of the image
  TRect used_{};      // the area the objects cover (empty: Left > Right)
  std::set<int> selected_;
};

class TfrxJPEGExport : public TfrxCustomImageExport {
 public:
  explicit TfrxJPEGExport(TComponent* owner, bool noRegistration = false);
  TFRX_PERSISTENT_CLASS

  // Compression quality, 1 to 100.
  int JPEGQuality() const { return jpegQuality_; }
  void SetJPEGQuality(int v) { jpegQuality_ = v; }

  // "JPEG obraz".
  std::string FilterDescription() const override;

 protected:
  void SaveImage(const TRasterImage& image) override;

 private:
  int jpegQuality_ = 90;
};
