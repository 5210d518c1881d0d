#pragma once
// Report pages: TfrxPage (the base of every page), TfrxReportPage (paper, margins,
// columns and the bands placed on it), TfrxDataPage (holds the report's data
// components) and TfrxDialogPage (a window shown before the report runs).
//
// Contract
// - Pages are children of the report; bands (frxClassBand.h) are children of a report
//   page. The template reader refuses other nestings with an error naming the element.
// - Paper lengths are millimetres, Width and Height pixels: a report page's Width and
//   Height follow its paper (UpdatePageSize: the nearest integers to the paper's
//   millimetres times fr01cm) after every change of paper size, width, height or
//   orientation.
// - Attributes are read in write order (Orientation, PaperWidth, PaperHeight,
//   PaperSize, margins), so whatever the setters' side effects, a template ends with
//   its stored size and orientation.
// - The page's Color, Frame and BackPicture live in its background picture view, which
//   the page owns but does not hold as a child; PaintPageBackground draws it.
// - A subreport that shows a page links itself with SetSubreport; the link is dropped
//   when either side is destroyed (both receive the other's removal notification).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "report/frxClassDataSetLink.h"
#include "report/frxClassPicture.h"
#include "report/frxClassView.h"

class TfrxBand;

enum TPrinterOrientation : uint8_t { poPortrait, poLandscape };
enum TfrxDuplexMode : uint8_t { dmNone, dmVertical, dmHorizontal, dmSimplex };
enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition : uint8_t {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

const TfrxEnumType& frxPrinterOrientationType();  // "TPrinterOrientation"
const TfrxEnumType& frxDuplexModeType();          // "TfrxDuplexMode"
const TfrxEnumType& frxFormBorderStyleType();     // "TFormBorderStyle"
const TfrxEnumType& frxPositionType();            // "TPosition"
const TfrxEnumType& frxWindowStateType();         // "TWindowState"

// The paper-source code for "the printer chooses".
constexpr int kfrxDefaultBin = 7;
// The system's button-face colour, the default background of a dialog page.
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);

class TfrxPage : public TfrxComponent {
 public:
  explicit TfrxPage(TfrxComponent* owner) : TfrxComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  bool IsPageObject() const override { return true; }
};

class TfrxReportPage : public TfrxPage {
 public:
  explicit TfrxReportPage(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS

  // --- paper -------------------------------------------------------------------------------
  TPrinterOrientation Orientation() const { return orientation_; }
  // A change swaps the paper's width and height and rotates the margins.
  void SetOrientation(TPrinterOrientation value);
  double PaperWidth() const { return paperWidth_; }
  double PaperHeight() const { return paperHeight_; }
  // Either makes the paper user-defined (PaperSize 256).
  void SetPaperWidth(double value);
  void SetPaperHeight(double value);
  int32_t PaperSize() const { return paperSize_; }
  // A code of the paper table sets width and height (swapped in landscape); 256 and
  // above, or a code the table does not know, change only the code.
  void SetPaperSize(int32_t code);
  // Sets the three values as given, without swapping.
  void SetPaper(int32_t code, double width, double height);
  // All margins 10 mm, paper and orientation from the current printer's default paper.
  virtual void SetDefaultsFromPrinter();
  // Width and Height from the paper: nearest integers of millimetres × fr01cm.
  void UpdatePageSize();

  double LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(double v) { leftMargin_ = v; }
  double RightMargin() const { return rightMargin_; }
  void SetRightMargin(double v) { rightMargin_ = v; }
  double TopMargin() const { return topMargin_; }
  void SetTopMargin(double v) { topMargin_ = v; }
  double BottomMargin() const { return bottomMargin_; }
  void SetBottomMargin(double v) { bottomMargin_ = v; }
  bool MirrorMargins() const { return mirrorMargins_; }
  void SetMirrorMargins(bool v) { mirrorMargins_ = v; }

  // --- columns -----------------------------------------------------------------------------
  int32_t Columns() const { return columns_; }
  // Recomputes ColumnWidth and ColumnPositions from the paper and margins.
  void SetColumns(int32_t value);
  double ColumnWidth() const { return columnWidth_; }
  void SetColumnWidth(double v) { columnWidth_ = v; }
  // One left position per column, millimetres as float text.
  std::vector<std::string>& ColumnPositions() { return columnPositions_; }
  const std::vector<std::string>& ColumnPositions() const { return columnPositions_; }

  // --- printing ----------------------------------------------------------------------------
  int32_t Bin() const { return bin_; }
  void SetBin(int32_t v) { bin_ = v; }
  int32_t BinOtherPages() const { return binOtherPages_; }
  void SetBinOtherPages(int32_t v) { binOtherPages_ = v; }
  TfrxDuplexMode Duplex() const { return duplex_; }
  void SetDuplex(TfrxDuplexMode v) { duplex_ = v; }
  int32_t PageCount() const { return pageCount_; }
  // Values below 1 are ignored.
  void SetPageCount(int32_t v);

  // --- background ---------------------------------------------------------------------------
  bool BackPictureVisible() const { return backPictureVisible_; }
  void SetBackPictureVisible(bool v) { backPictureVisible_ = v; }
  bool BackPicturePrintable() const { return backPicturePrintable_; }
  void SetBackPicturePrintable(bool v) { backPicturePrintable_ = v; }
  TColor Color() const { return background_->Color(); }
  void SetColor(TColor v) { background_->SetColor(v); }
  TfrxFrame& Frame() { return background_->Frame(); }
  const TfrxFrame& Frame() const { return background_->Frame(); }
  TfrxPictureView& BackgroundView() { return *background_; }
  TfrxPicture& BackPicture() { return background_->Picture(); }
  // Draws the background view over the printable area, unless hidden (or, while the
  // page is printing, not printable).
  void PaintPageBackground(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY);

  // --- data and engine ----------------------------------------------------------------------
  TfrxComponent* DataSet() const { return dataSetLink_.DataSet(); }
  void SetDataSet(TfrxComponent* dataSet) { dataSetLink_.SetDataSet(dataSet); }
  std::string DataSetName() const { return dataSetLink_.Name(); }
  void SetDataSetName(const std::string& name) { dataSetLink_.SetName(name); }
  bool EndlessHeight() const { return endlessHeight_; }
  void SetEndlessHeight(bool v) { endlessHeight_ = v; }
  bool EndlessWidth() const { return endlessWidth_; }
  void SetEndlessWidth(bool v) { endlessWidth_ = v; }
  bool LargeDesignHeight() const { return largeDesignHeight_; }
  void SetLargeDesignHeight(bool v) { largeDesignHeight_ = v; }
  const std::string& OutlineText() const { return outlineText_; }
  void SetOutlineText(const std::string& v) { outlineText_ = v; }
  bool PrintIfEmpty() const { return printIfEmpty_; }
  void SetPrintIfEmpty(bool v) { printIfEmpty_ = v; }
  bool PrintOnPreviousPage() const { return printOnPreviousPage_; }
  void SetPrintOnPreviousPage(bool v) { printOnPreviousPage_ = v; }
  bool ResetPageNumbers() const { return resetPageNumbers_; }
  void SetResetPageNumbers(bool v) { resetPageNumbers_ = v; }
  bool TitleBeforeHeader() const { return titleBeforeHeader_; }
  void SetTitleBeforeHeader(bool v) { titleBeforeHeader_ = v; }
  // Designer guide lines, one position per line.
  std::vector<std::string>& HGuides() { return hGuides_; }
  std::vector<std::string>& VGuides() { return vGuides_; }
  // Names of script procedures, empty for none.
  const std::string& OnAfterPrint() const { return onAfterPrint_; }
  void SetOnAfterPrint(const std::string& v) { onAfterPrint_ = v; }
  const std::string& OnBeforePrint() const { return onBeforePrint_; }
  void SetOnBeforePrint(const std::string& v) { onBeforePrint_ = v; }
  const std::string& OnManualBuild() const { return onManualBuild_; }
  void SetOnManualBuild(const std::string& v) { onManualBuild_ = v; }

  // The engine's lists: the page's master bands, horizontal and vertical.
  std::vector<TfrxBand*>& LinkedBands() { return linkedBands_; }
  std::vector<TfrxBand*>& VLinkedBands() { return vLinkedBands_; }

  // The subreport view that shows this page, or none.
  TfrxComponent* Subreport() const { return subreport_; }
  void SetSubreport(TfrxComponent* subreport);

  // The first child band of `bandClass` or a class derived from it, or none.
  TfrxBand* FirstBandOfClass(const TfrxClassInfo& bandClass) const;
  template <class B>
  B* FirstBandOfClass() const {
    return static_cast<B*>(FirstBandOfClass(B::StaticClassInfo()));
  }

  // Sizes the bands to the printable area (or to a column) and aligns their views.
  void ApplyAlignment() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The printable area in pixels, without rounding.
  double PrintableWidth() const;
  double PrintableHeight() const;
  TfrxFrame* FramePtr() { return &background_->Frame(); }
  TfrxPicture* BackPicturePtr() { return &background_->Picture(); }
  bool IsBackPictureStored() const { return !background_->Picture().Empty(); }
  std::string ColumnPositionsText() const;
  void SetColumnPositionsText(const std::string& text);
  std::string HGuidesText() const;
  void SetHGuidesText(const std::string& text);
  std::string VGuidesText() const;
  void SetVGuidesText(const std::string& text);

  TPrinterOrientation orientation_ = poPortrait;
  double paperWidth_ = 210, paperHeight_ = 297;
  int32_t paperSize_ = 9;
  double leftMargin_ = 0, rightMargin_ = 0, topMargin_ = 0, bottomMargin_ = 0;
  bool mirrorMargins_ = false;
  int32_t columns_ = 0;
  double columnWidth_ = 0;
  std::vector<std::string> columnPositions_;
  int32_t bin_ = kfrxDefaultBin, binOtherPages_ = kfrxDefaultBin;
  bool backPictureVisible_ = true, backPicturePrintable_ = true;
  int32_t pageCount_ = 1;
  TfrxDuplexMode duplex_ = dmNone;
  bool endlessHeight_ = false, endlessWidth_ = false, largeDesignHeight_ = false;
  std::string outlineText_;
  bool printIfEmpty_ = true, printOnPreviousPage_ = false, resetPageNumbers_ = false, titleBeforeHeader_ = true;
  std::vector<std::string> hGuides_, vGuides_;
  std::string onAfterPrint_, onBeforePrint_, onManualBuild_;
  std::unique_ptr<TfrxPictureView> background_;
  TfrxDataSetLink dataSetLink_;
  std::vector<TfrxBand*> linkedBands_, vLinkedBands_;
  TfrxComponent* subreport_ = nullptr;
};

// Holds the report's data components (datasets and the like) for the designer.
class TfrxDataPage : public TfrxPage {
 public:
  explicit TfrxDataPage(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS
};

// A page shown as a modal window before the report is prepared. It holds no controls
// here; its window comes with page generation.
class TfrxDialogPage : public TfrxPage {
 public:
  explicit TfrxDialogPage(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS
  bool IsDialogPageObject() const override { return true; }

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v) { borderStyle_ = v; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { color_ = v; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState v) { windowState_ = v; }
  // The window's inner size; 0 × 0 at creation.
  int32_t ClientWidth() const { return clientWidth_; }
  void SetClientWidth(int32_t v) { clientWidth_ = v; }
  int32_t ClientHeight() const { return clientHeight_; }
  void SetClientHeight(int32_t v) { clientHeight_ = v; }

  // The window's events: names of script procedures, empty for none.
  enum TEvent : uint8_t {
    evActivate, evClick, evCloseQuery, evDeactivate, evHide, evKeyDown, evKeyPress, evKeyUp, evShow, evResize,
    kEventCount
  };
  const std::string& Event(TEvent e) const { return events_[e]; }
  void SetEvent(TEvent e, const std::string& procedure) { events_[e] = procedure; }

 private:
  TFormBorderStyle borderStyle_ = bsSizeable;
  std::string caption_;
  TColor color_ = clBtnFace;
  TPosition position_ = poScreenCenter;
  TWindowState windowState_ = wsNormal;
  int32_t clientWidth_ = 0, clientHeight_ = 0;
  std::string events_[kEventCount];
};
