// The image export: pages rendered into Qt bitmaps by the views' own drawing, cropped,
// stacked or one per page, and saved as JPEG files.
#include "output/frxExportImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "platform/Stream.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassReport.h"
#include "report/frxClassView.h"
#include "report/frxRes.h"

namespace {

// Whole pixels, a half going to the even neighbour.
int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

// The pixels of `area` (inside the image) as an image of their own.
TRasterImage CopyArea(const TRasterImage& image, const TRect& area) {
  TRasterImage copy(area.Width(), area.Height(), image.Format());
  if (image.Format() == TPixelFormat::pf1bit) {
    for (int y = 0; y < area.Height(); ++y)
      for (int x = 0; x < area.Width(); ++x) copy.SetPixel(x, y, image.Pixel(area.Left + x, area.Top + y));
    return copy;
  }
  const size_t bytesPerPixel = image.Format() == TPixelFormat::pf32bit ? 4 : 3;
  for (int y = 0; y < area.Height(); ++y)
    std::memcpy(copy.Row(y), image.Row(area.Top + y) + bytesPerPixel * static_cast<size_t>(area.Left),
                bytesPerPixel * static_cast<size_t>(area.Width()));
  return copy;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TfrxCustomImageExport

TfrxCustomImageExport::TfrxCustomImageExport(TComponent* owner, bool noRegistration)
    : TfrxCustomExportFilter(owner, noRegistration) {}

TfrxCustomImageExport::~TfrxCustomImageExport() = default;

const TfrxClassInfo& TfrxCustomImageExport::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxCustomImageExport", &TfrxCustomExportFilter::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using F = TfrxCustomImageExport;
                                    TfrxPublish<F> p(c);
                                    p.Boolean("CropImages", &F::CropImages, &F::SetCropImages).Default(0);
                                    p.Boolean("Monochrome", &F::Monochrome, &F::SetMonochrome).Default(0);
                                  });
  return info;
}

bool TfrxCustomImageExport::StartExport() {
  if (SlaveExport()) {
    // Inside another operation the image goes to a temporary file of its own, whole.
    const std::string stem = Report() && !Report()->FileName().empty()
                                 ? std::filesystem::path(Report()->FileName()).stem().string()
                                 : "Raport";
    SetFileName(SystemTempFolder() + "/" + stem + DefaultExt());
    separateFiles_ = false;
  }
  SetCurrentPageOnly(false);
  pageCounter_ = 0;
  yOffset_ = 0;
  stackedSized_ = false;
  image_.reset();
  WrittenFiles().clear();
  // The canvas of a bitmap counts 96 pixels per inch, as report units do.
  scale_ = std::max(resolution_, 1) / 96.0;
  TfrxPreviewPages* pages = Report() ? frxPreviewPagesOf(*Report()) : nullptr;
  selected_ = frxParsePageNumbers(PageNumbers(), pages ? pages->Count() : 0);
  if (FileName().find_first_of("/\\") == std::string::npos && !DefaultPath().empty())
    SetFileName(DefaultPath() + "/" + FileName());
  return !FileName().empty() || outputStream_;
}

void TfrxCustomImageExport::NewImage(int width, int height) {
  image_ = NewBitmap(width, height, monochrome_ ? TPixelFormat::pf1bit : TPixelFormat::pf24bit);
  used_ = TRect{width, height, 0, 0};
}

void TfrxCustomImageExport::BeginPage(TfrxComponent& page, int index) {
  ++pageCounter_;
  const int pageWidth = Nearest(page.Width() * scale_), pageHeight = Nearest(page.Height() * scale_);
  if (separateFiles_) {
    NewImage(pageWidth, pageHeight);
    yOffset_ = 0;
  } else if (!stackedSized_) {
    // One image as wide as the widest page and as high as the pages exported.
    TfrxPreviewPages& pages = *frxPreviewPagesOf(*Report());
    double width = 0, height = 0;
    for (int i = 0; i < pages.Count(); ++i) {
      if (!selected_.empty() && !selected_.count(i + 1)) continue;
      const TfrxCustomPreviewPages::TPageSize size = pages.PageSize(i);
      width = std::max(width, static_cast<double>(size.Width));
      height += size.Height;
    }
    NewImage(std::min(Nearest(width * scale_), kMaxStackedSize), std::min(Nearest(height * scale_), kMaxStackedSize));
    stackedSized_ = true;
  }
  (void)index;
  pageArea_ = TRect{0, yOffset_, image_->Width(), yOffset_ + pageHeight};
  image_->Canvas().SaveClip();
  image_->Canvas().IntersectClip(pageArea_);
}

void TfrxCustomImageExport::WidenUsedArea(const TRect& r) {
  used_.Left = std::min(used_.Left, r.Left);
  used_.Top = std::min(used_.Top, r.Top);
  used_.Right = std::max(used_.Right, r.Right);
  used_.Bottom = std::max(used_.Bottom, r.Bottom);
}

void TfrxCustomImageExport::ExportItem(TfrxComponent& object) {
  auto* view = dynamic_cast<TfrxView*>(&object);
  if (!view || !image_) return;
  if (!view->Printable() && !ExportNotPrintable()) return;
  if (view->Name() != "_pagebackground") {
    const double left = view->AbsLeft(), top = view->AbsTop();
    WidenUsedArea(TRect{Nearest(left * scale_), Nearest(top * scale_) + yOffset_,
                        Nearest((left + view->Width()) * scale_) + 1,
                        Nearest((top + view->Height()) * scale_) + yOffset_ + 1});
  }
  view->Draw(image_->Canvas(), scale_, scale_, 0, yOffset_);
}

void TfrxCustomImageExport::EndPage(TfrxComponent& page, int index) {
  (void)index;
  if (!image_) return;
  image_->Canvas().RestoreClip();
  if (separateFiles_)
    FinishImage();
  else
    yOffset_ += Nearest(page.Height() * scale_);
}

void TfrxCustomImageExport::EndExport() {
  if (!separateFiles_ && image_) FinishImage();
}

TRasterImage TfrxCustomImageExport::ImagePixels() {
  const TRasterImage& pixels = image_->Pixels();
  if (!cropImages_) return pixels;
  const TRect area{std::max(used_.Left, 0), std::max(used_.Top, 0), std::min(used_.Right, pixels.Width()),
                   std::min(used_.Bottom, pixels.Height())};
  // A page without objects has nothing to crop to: it stays whole.
  if (area.IsEmpty()) return pixels;
  return CopyArea(pixels, area);
}

void TfrxCustomImageExport::FinishImage() {
  try {
    const TRasterImage pixels = ImagePixels();
    image_.reset();
    SaveImage(pixels);
  } catch (const std::exception& e) {
    image_.reset();
    ReportSaveError(e.what());
  }
}

void TfrxCustomImageExport::ReportSaveError(const std::string& message) {
  SetIncomplete(true);
  TfrxReport* report = Report();
  switch (report ? report->EngineOptions().NewSilentMode : simReThrow) {
    case simMessageBoxes:
      frxShowErrorBox(message, frxResources().Get("mbError"));
      break;
    case simSilent:
      report->Errors().Add(message);
      break;
    case simReThrow:
      throw EfrxReportError(message);
  }
}

std::string TfrxCustomImageExport::ImageFileName(const std::string& extension) const {
  const std::string& name = FileName();
  const std::string suffix = separateFiles_ ? "." + std::to_string(pageCounter_) : "";
  const size_t folderEnd = name.find_last_of("/\\");
  const size_t dot = name.rfind('.');
  const bool hasExtension = dot != std::string::npos && (folderEnd == std::string::npos || dot > folderEnd);
  return (hasExtension ? name.substr(0, dot) : name) + suffix + extension;
}

// ---------------------------------------------------------------------------------------
// TfrxJPEGExport

TfrxJPEGExport::TfrxJPEGExport(TComponent* owner, bool noRegistration)
    : TfrxCustomImageExport(owner, noRegistration) {
  SetDefaultExt(".jpg");
  SetFilterDesc(frxResources().Get("JPEGexportFilter"));
}

const TfrxClassInfo& TfrxJPEGExport::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxJPEGExport", &TfrxCustomImageExport::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using F = TfrxJPEGExport;
                                    TfrxPublish<F> p(c);
                                    p.Integer("JPEGQuality", &F::JPEGQuality, &F::SetJPEGQuality).Default(90);
                                  });
  return info;
}

std::string TfrxJPEGExport::FilterDescription() const { return frxResources().Get("JPEGexport"); }

void TfrxJPEGExport::SaveImage(const TRasterImage& image) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(image, jpegQuality_);
  if (OutputStream()) {
    OutputStream()->WriteBuffer(jpeg.data(), static_cast<int64_t>(jpeg.size()));
    return;
  }
  const std::string name = ImageFileName(".jpg");
  try {
    TFileStream file(name, TFileMode::Create);
    file.WriteBuffer(jpeg.data(), static_cast<int64_t>(jpeg.size()));
  } catch (...) {
    // A file cut short by a full disk is no picture: nothing stays under its name.
    fsys::DeleteFile(name);
    throw;
  }
  WrittenFiles().push_back(name);
}
