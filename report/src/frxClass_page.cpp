// Report pages: the page base, the report page's paper, columns, alignment and
// background, and the data and dialog pages.
#include <cmath>
#include <utility>

#include "platform/Paper.h"
#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassPage.h"

// ---------------------------------------------------------------------------------------
// Enumeration types

const TfrxEnumType& frxPrinterOrientationType() {
  static const TfrxEnumType type{"TPrinterOrientation", {"poPortrait", "poLandscape"}};
  return type;
}
const TfrxEnumType& frxDuplexModeType() {
  static const TfrxEnumType type{"TfrxDuplexMode", {"dmNone", "dmVertical", "dmHorizontal", "dmSimplex"}};
  return type;
}
const TfrxEnumType& frxFormBorderStyleType() {
  static const TfrxEnumType type{"TFormBorderStyle",
                                 {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
  return type;
}
const TfrxEnumType& frxPositionType() {
  static const TfrxEnumType type{"TPosition",
                                 {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                                  "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
  return type;
}
const TfrxEnumType& frxWindowStateType() {
  static const TfrxEnumType type{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};
  return type;
}

// ---------------------------------------------------------------------------------------
// TfrxPage

const TfrxClassInfo& TfrxPage::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxPage", &TfrxComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    TfrxPublish<TfrxPage> p(c);
    p.Publish("Font");
    p.Publish("Visible");
    // A page stands in a report, never inside another object.
    c.SetParentRule([](const TfrxComponent& parent) { return parent.IsReportObject(); }, "a page belongs in a report");
  });
  return info;
}

// ---------------------------------------------------------------------------------------
// TfrxReportPage

namespace {

// Paper lengths are kept to the nearest multiple of 0.00000001 mm.
double RoundPaperLength(double mm) { return std::round(mm * 1e8) / 1e8; }

}  // namespace

TfrxReportPage::TfrxReportPage(TfrxComponent* owner)
    : TfrxPage(owner), background_(std::make_unique<TfrxPictureView>(nullptr)), dataSetLink_(*this) {
  SetNameStem("Page");
  // The background has no colour of its own and keeps no aspect ratio: a picture
  // fills the printable area.
  background_->SetColor(clTransparent);
  background_->SetKeepAspectRatio(false);
  UpdatePageSize();
}

const TfrxClassInfo& TfrxReportPage::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxReportPage", &TfrxPage::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxReportPage(owner); }, [](TfrxClassInfo& c) {
        using P = TfrxReportPage;
        TfrxPublish<P> p(c);
        p.Enum("Orientation", frxPrinterOrientationType(), &P::Orientation, &P::SetOrientation).Default(poPortrait);
        p.Float("PaperWidth", &P::PaperWidth, &P::SetPaperWidth);
        p.Float("PaperHeight", &P::PaperHeight, &P::SetPaperHeight);
        p.Integer("PaperSize", &P::PaperSize, &P::SetPaperSize);
        p.Float("LeftMargin", &P::LeftMargin, &P::SetLeftMargin);
        p.Float("RightMargin", &P::RightMargin, &P::SetRightMargin);
        p.Float("TopMargin", &P::TopMargin, &P::SetTopMargin);
        p.Float("BottomMargin", &P::BottomMargin, &P::SetBottomMargin);
        p.Boolean("MirrorMargins", &P::MirrorMargins, &P::SetMirrorMargins).Default(0);
        p.Integer("Columns", &P::Columns, &P::SetColumns).Default(0);
        p.Float("ColumnWidth", &P::ColumnWidth, &P::SetColumnWidth);
        p.Strings("ColumnPositions", &P::ColumnPositionsText, &P::SetColumnPositionsText);
        p.Integer("Bin", &P::Bin, &P::SetBin).Default(kfrxDefaultBin);
        p.Integer("BinOtherPages", &P::BinOtherPages, &P::SetBinOtherPages).Default(kfrxDefaultBin);
        p.Object("BackPicture", "TPicture", &P::BackPicturePtr).Stored(&P::IsBackPictureStored);
        p.Boolean("BackPictureVisible", &P::BackPictureVisible, &P::SetBackPictureVisible).Default(1);
        p.Boolean("BackPicturePrintable", &P::BackPicturePrintable, &P::SetBackPicturePrintable).Default(1);
        p.Integer("PageCount", &P::PageCount, &P::SetPageCount).Default(1);
        p.Integer("Color", &P::Color, &P::SetColor).Default(clTransparent);
        p.Reference("DataSet", "TfrxDataSet", &P::DataSet, &P::SetDataSet);
        p.String("DataSetName", &P::DataSetName, &P::SetDataSetName);
        p.Enum("Duplex", frxDuplexModeType(), &P::Duplex, &P::SetDuplex).Default(dmNone);
        p.Object("Frame", "TfrxFrame", &P::FramePtr);
        p.Boolean("EndlessHeight", &P::EndlessHeight, &P::SetEndlessHeight).Default(0);
        p.Boolean("EndlessWidth", &P::EndlessWidth, &P::SetEndlessWidth).Default(0);
        p.Boolean("LargeDesignHeight", &P::LargeDesignHeight, &P::SetLargeDesignHeight).Default(0);
        p.String("OutlineText", &P::OutlineText, &P::SetOutlineText);
        p.Boolean("PrintIfEmpty", &P::PrintIfEmpty, &P::SetPrintIfEmpty).Default(1);
        p.Boolean("PrintOnPreviousPage", &P::PrintOnPreviousPage, &P::SetPrintOnPreviousPage).Default(0);
        p.Boolean("ResetPageNumbers", &P::ResetPageNumbers, &P::SetResetPageNumbers).Default(0);
        p.Boolean("TitleBeforeHeader", &P::TitleBeforeHeader, &P::SetTitleBeforeHeader).Default(1);
        p.Strings("HGuides", &P::HGuidesText, &P::SetHGuidesText);
        p.Strings("VGuides", &P::VGuidesText, &P::SetVGuidesText);
        p.String("OnAfterPrint", &P::OnAfterPrint, &P::SetOnAfterPrint);
        p.String("OnBeforePrint", &P::OnBeforePrint, &P::SetOnBeforePrint);
        p.String("OnManualBuild", &P::OnManualBuild, &P::SetOnManualBuild);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxReportPage);

void TfrxReportPage::UpdatePageSize() {
  SetWidth(std::round(paperWidth_ * fr01cm));
  SetHeight(std::round(paperHeight_ * fr01cm));
}

void TfrxReportPage::SetOrientation(TPrinterOrientation value) {
  if (value != orientation_) {
    std::swap(paperWidth_, paperHeight_);
    double left = leftMargin_, right = rightMargin_, top = topMargin_, bottom = bottomMargin_;
    if (value == poLandscape) {
      leftMargin_ = top;
      rightMargin_ = bottom;
      topMargin_ = right;
      bottomMargin_ = left;
    } else {
      leftMargin_ = bottom;
      rightMargin_ = top;
      topMargin_ = left;
      bottomMargin_ = right;
    }
    orientation_ = value;
    UpdatePageSize();
  }
}

void TfrxReportPage::SetPaperWidth(double value) {
  paperWidth_ = RoundPaperLength(value);
  paperSize_ = paper::kCustomPaper;
  UpdatePageSize();
}

void TfrxReportPage::SetPaperHeight(double value) {
  paperHeight_ = RoundPaperLength(value);
  paperSize_ = paper::kCustomPaper;
  UpdatePageSize();
}

void TfrxReportPage::SetPaperSize(int32_t code) {
  paperSize_ = code;
  if (code < paper::kCustomPaper) {
    if (std::optional<paper::TPaperDimensions> size = paper::DimensionsOf(code)) {
      paperWidth_ = size->Width;
      paperHeight_ = size->Height;
      if (orientation_ == poLandscape) std::swap(paperWidth_, paperHeight_);
    }
  }
  UpdatePageSize();
}

void TfrxReportPage::SetPaper(int32_t code, double width, double height) {
  paperSize_ = code;
  paperWidth_ = width;
  paperHeight_ = height;
  UpdatePageSize();
}

void TfrxReportPage::SetDefaultsFromPrinter() {
  leftMargin_ = rightMargin_ = topMargin_ = bottomMargin_ = 10;
  paper::TPrinterPaper printer = paper::DefaultPrinterPaper();
  paperSize_ = printer.Code;
  paperWidth_ = printer.Width;
  paperHeight_ = printer.Height;
  orientation_ = printer.Landscape ? poLandscape : poPortrait;
  UpdatePageSize();
}

void TfrxReportPage::SetColumns(int32_t value) {
  columns_ = value;
  columnPositions_.clear();
  if (value <= 0) return;
  columnWidth_ = (paperWidth_ - leftMargin_ - rightMargin_) / value;
  for (int32_t i = 0; i < value; ++i) columnPositions_.push_back(frxFloatToStr(i * columnWidth_));
}

void TfrxReportPage::SetPageCount(int32_t v) {
  if (v >= 1) pageCount_ = v;
}

std::string TfrxReportPage::ColumnPositionsText() const { return frxJoinLines(columnPositions_); }
void TfrxReportPage::SetColumnPositionsText(const std::string& text) { columnPositions_ = frxSplitLines(text); }
std::string TfrxReportPage::HGuidesText() const { return frxJoinLines(hGuides_); }
void TfrxReportPage::SetHGuidesText(const std::string& text) { hGuides_ = frxSplitLines(text); }
std::string TfrxReportPage::VGuidesText() const { return frxJoinLines(vGuides_); }
void TfrxReportPage::SetVGuidesText(const std::string& text) { vGuides_ = frxSplitLines(text); }

void TfrxReportPage::SetSubreport(TfrxComponent* subreport) {
  if (subreport_ && subreport_ != subreport) RemoveFreeNotification(subreport_);
  subreport_ = subreport;
  if (subreport_) FreeNotification(subreport_);
}

void TfrxReportPage::Notification(TComponent* component, TOperation operation) {
  TfrxPage::Notification(component, operation);
  if (operation != opRemove) return;
  dataSetLink_.Forget(component);
  if (subreport_ && static_cast<TComponent*>(subreport_) == component) subreport_ = nullptr;
  // A band the engine linked may go before the engine empties its lists.
  std::erase_if(linkedBands_, [component](TfrxBand* b) { return static_cast<TComponent*>(b) == component; });
  std::erase_if(vLinkedBands_, [component](TfrxBand* b) { return static_cast<TComponent*>(b) == component; });
}

TfrxBand* TfrxReportPage::FirstBandOfClass(const TfrxClassInfo& bandClass) const {
  for (TfrxComponent* child : Objects())
    if (child->InheritsFrom(bandClass)) return static_cast<TfrxBand*>(child);
  return nullptr;
}

double TfrxReportPage::PrintableWidth() const { return (paperWidth_ - leftMargin_ - rightMargin_) * fr01cm; }
double TfrxReportPage::PrintableHeight() const { return (paperHeight_ - topMargin_ - bottomMargin_) * fr01cm; }

namespace {

// Bands that span the whole page even when it has columns.
bool SpansAllColumns(const TfrxComponent& band) {
  for (const TfrxClassInfo* cls :
       {&TfrxNullBand::StaticClassInfo(), &TfrxReportSummary::StaticClassInfo(), &TfrxPageHeader::StaticClassInfo(),
        &TfrxPageFooter::StaticClassInfo(), &TfrxReportTitle::StaticClassInfo(), &TfrxOverlay::StaticClassInfo()})
    if (band.InheritsFrom(*cls)) return true;
  return false;
}

}  // namespace

void TfrxReportPage::ApplyAlignment() {
  SetWidth(PrintableWidth());
  SetHeight(PrintableHeight());
  TfrxComponent::ApplyAlignment();
  for (TfrxComponent* child : Objects()) {
    if (!child->InheritsFrom(TfrxBand::StaticClassInfo())) continue;
    auto& band = static_cast<TfrxBand&>(*child);
    if (band.Vertical())
      band.SetHeight(PrintableHeight() - band.Top());
    else if (columns_ > 1 && !SpansAllColumns(band))
      band.SetWidth(columnWidth_ * fr01cm);
    else
      band.SetWidth(Width() - band.Left());
    band.ApplyAlignment();
  }
  UpdatePageSize();
}

void TfrxReportPage::PaintPageBackground(TCanvas& canvas, double scaleX, double scaleY, double offsetX,
                                         double offsetY) {
  background_->SetBounds(0, 0, PrintableWidth(), PrintableHeight());
  if (!backPictureVisible_ || (Printing() && !backPicturePrintable_)) return;
  background_->Draw(canvas, scaleX, scaleY, offsetX + scaleX * leftMargin_ * fr01cm,
                    offsetY + scaleY * topMargin_ * fr01cm);
}

// ---------------------------------------------------------------------------------------
// TfrxDataPage

TfrxDataPage::TfrxDataPage(TfrxComponent* owner) : TfrxPage(owner) {
  SetWidth(1000);
  SetHeight(1000);
}

const TfrxClassInfo& TfrxDataPage::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxDataPage", &TfrxPage::StaticClassInfo(),
                                  [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxDataPage(owner); },
                                  [](TfrxClassInfo& c) {
                                    TfrxPublish<TfrxDataPage> p(c);
                                    p.Publish("Height");
                                    p.Publish("Left");
                                    p.Publish("Top");
                                    p.Publish("Width");
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxDataPage);

// ---------------------------------------------------------------------------------------
// TfrxDialogPage

TfrxDialogPage::TfrxDialogPage(TfrxComponent* owner) : TfrxPage(owner) {
  TFont font = Font();
  font.Name = "Tahoma";
  font.Size = 8;
  SetFont(font);
}

namespace {

template <TfrxDialogPage::TEvent E>
void PublishEvent(TfrxPublish<TfrxDialogPage>& p, std::string name) {
  p.String(
      std::move(name), [](const TfrxDialogPage& page) -> const std::string& { return page.Event(E); },
      [](TfrxDialogPage& page, const std::string& v) { page.SetEvent(E, v); });
}

}  // namespace

const TfrxClassInfo& TfrxDialogPage::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxDialogPage", &TfrxPage::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxDialogPage(owner); }, [](TfrxClassInfo& c) {
        using D = TfrxDialogPage;
        TfrxPublish<D> p(c);
        p.Enum("BorderStyle", frxFormBorderStyleType(), &D::BorderStyle, &D::SetBorderStyle).Default(bsSizeable);
        p.String("Caption", &D::Caption, &D::SetCaption);
        p.Integer("Color", &D::Color, &D::SetColor).Default(clBtnFace);
        p.Publish("Height");
        p.Integer("ClientHeight", &D::ClientHeight, &D::SetClientHeight);
        p.Publish("Left");
        p.Enum("Position", frxPositionType(), &D::Position, &D::SetPosition).Default(poScreenCenter);
        p.Publish("Top");
        p.Publish("Width");
        p.Integer("ClientWidth", &D::ClientWidth, &D::SetClientWidth);
        p.Enum("WindowState", frxWindowStateType(), &D::WindowState, &D::SetWindowState).Default(wsNormal);
        PublishEvent<evActivate>(p, "OnActivate");
        PublishEvent<evClick>(p, "OnClick");
        PublishEvent<evCloseQuery>(p, "OnCloseQuery");
        PublishEvent<evDeactivate>(p, "OnDeactivate");
        PublishEvent<evHide>(p, "OnHide");
        PublishEvent<evKeyDown>(p, "OnKeyDown");
        PublishEvent<evKeyPress>(p, "OnKeyPress");
        PublishEvent<evKeyUp>(p, "OnKeyUp");
        PublishEvent<evShow>(p, "OnShow");
        PublishEvent<evResize>(p, "OnResize");
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxDialogPage);
