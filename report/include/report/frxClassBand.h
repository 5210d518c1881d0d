#pragma once
// Bands: the horizontal (or vertical) strips of a report page that hold views. TfrxBand
// is the base; each kind of band is a class of its own (report title, page header,
// master data, group header, ...), and the engine decides what a kind means.
//
// Contract
// - A band stands on a report page (frxClassPage.h); the template reader refuses a
//   band elsewhere. Bands are report components, not views: Draw does nothing.
// - The flags most kinds share (AllowSplit, Child, KeepChild, ...) are declared once
//   by TfrxBand and published by each kind in its own order, which is the template's.
// - Child: setting a band's child follows the chain of children; a chain that comes
//   back to the band raises "Circular child reference is not allowed" and changes
//   nothing. A child band that is destroyed is dropped from the chain.
// - KindIndex numbers the kinds for the engine (0 report title ... 17 overlay; a kind
//   the table does not list gets 0); KindName is the class name without its first
//   "Tfrx" and its first "Band".

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Variant.h"
#include "report/frxClassDataSetLink.h"
#include "report/frxClassView.h"

class TfrxChild;
class TfrxUserDataSet;

// Raised by the Child setter of a band.
class EfrxBandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TfrxBand : public TfrxReportComponent {
 public:
  explicit TfrxBand(TfrxComponent* owner) : TfrxReportComponent(owner) {}
  TFRX_PERSISTENT_CLASS

  void Draw(TCanvas&, double, double, double, double) override {}

  int KindIndex() const;
  std::string KindName() const;

  bool Vertical() const { return vertical_; }
  void SetVertical(bool v) { vertical_ = v; }
  const std::string& OnAfterCalcHeight() const { return onAfterCalcHeight_; }
  void SetOnAfterCalcHeight(const std::string& v) { onAfterCalcHeight_ = v; }

  // The band printed after this one, or none.
  TfrxChild* Child() const { return child_; }
  void SetChild(TfrxChild* child);

  // Shared flags, published by the kinds that have them.
  bool AllowSplit() const { return allowSplit_; }
  void SetAllowSplit(bool v) { allowSplit_ = v; }
  bool KeepChild() const { return keepChild_; }
  void SetKeepChild(bool v) { keepChild_ = v; }
  bool KeepTogether() const { return keepTogether_; }
  void SetKeepTogether(bool v) { keepTogether_ = v; }
  const std::string& OutlineText() const { return outlineText_; }
  void SetOutlineText(const std::string& v) { outlineText_ = v; }
  bool PrintChildIfInvisible() const { return printChildIfInvisible_; }
  void SetPrintChildIfInvisible(bool v) { printChildIfInvisible_ = v; }
  bool PrintOnFirstPage() const { return printOnFirstPage_; }
  void SetPrintOnFirstPage(bool v) { printOnFirstPage_ = v; }
  bool ReprintOnNewPage() const { return reprintOnNewPage_; }
  void SetReprintOnNewPage(bool v) { reprintOnNewPage_ = v; }
  bool StartNewPage() const { return startNewPage_; }
  void SetStartNewPage(bool v) { startNewPage_ = v; }
  bool Stretched() const { return stretched_; }
  void SetStretched(bool v) { stretched_ = v; }

  // Engine state: the bands linked to this one, the count of its own objects (-1 until
  // counted) and whether it is being printed again on a new page or column.
  std::vector<TfrxBand*>& LinkedBands() { return linkedBands_; }
  int OwnObjectCount = -1;
  bool Overflow = false;
  // Row counters of the band (under its master row or group, and through the run) and
  // its height after its last preparation.
  int BandRowNo = 0, BandRowNoThrough = 0;
  double GrownHeight = 0;
  // Links made when the engine links a page's bands: a data band's header and footer, a
  // group header's footer, and the outermost group header around a data band.
  TfrxBand* HeaderBand = nullptr;
  TfrxBand* FooterBand = nullptr;
  TfrxBand* GroupBand = nullptr;
  // Cells of vertical bands were moved into this band from it.
  bool HasVerticalCells = false;

  void Notification(TComponent* component, TOperation operation) override;

 protected:
  bool DifferencesAlwaysWriteTop() const override { return true; }

 private:
  TfrxComponent* ChildRef() const;
  void SetChildRef(TfrxComponent* c);

  bool vertical_ = false;
  std::string onAfterCalcHeight_;
  TfrxChild* child_ = nullptr;
  bool allowSplit_ = false, keepChild_ = false, keepTogether_ = false;
  std::string outlineText_;
  bool printChildIfInvisible_ = false, printOnFirstPage_ = true, reprintOnNewPage_ = false;
  bool startNewPage_ = false, stretched_ = false;
  std::vector<TfrxBand*> linkedBands_;
};

// Declares a band kind that adds nothing but its published choice of the shared flags.
#define TFRX_BAND_KIND(Kind, Base)                                   \
  class Kind : public Base {                                          \
   public:                                                            \
    explicit Kind(TfrxComponent* owner) : Base(owner) {}              \
    TFRX_PERSISTENT_CLASS                                             \
  }

TFRX_BAND_KIND(TfrxReportTitle, TfrxBand);
TFRX_BAND_KIND(TfrxReportSummary, TfrxBand);
TFRX_BAND_KIND(TfrxChild, TfrxBand);
TFRX_BAND_KIND(TfrxPageHeader, TfrxBand);
TFRX_BAND_KIND(TfrxHeader, TfrxBand);
TFRX_BAND_KIND(TfrxFooter, TfrxBand);
TFRX_BAND_KIND(TfrxColumnHeader, TfrxBand);
TFRX_BAND_KIND(TfrxColumnFooter, TfrxBand);
TFRX_BAND_KIND(TfrxNullBand, TfrxBand);

class TfrxPageFooter : public TfrxBand {
 public:
  explicit TfrxPageFooter(TfrxComponent* owner) : TfrxBand(owner) {}
  TFRX_PERSISTENT_CLASS
  bool PrintOnLastPage() const { return printOnLastPage_; }
  void SetPrintOnLastPage(bool v) { printOnLastPage_ = v; }

 private:
  bool printOnLastPage_ = true;
};

class TfrxOverlay : public TfrxBand {
 public:
  explicit TfrxOverlay(TfrxComponent* owner) : TfrxBand(owner) {}
  TFRX_PERSISTENT_CLASS
  bool PrintOnTop() const { return printOnTop_; }
  void SetPrintOnTop(bool v) { printOnTop_ = v; }

 private:
  bool printOnTop_ = false;
};

class TfrxGroupFooter : public TfrxBand {
 public:
  explicit TfrxGroupFooter(TfrxComponent* owner) : TfrxBand(owner) {}
  TFRX_PERSISTENT_CLASS
  bool HideIfSingleDataRecord() const { return hideIfSingleDataRecord_; }
  void SetHideIfSingleDataRecord(bool v) { hideIfSingleDataRecord_ = v; }

 private:
  bool hideIfSingleDataRecord_ = false;
};

// The base of the six data band levels (master, detail, subdetail, 4, 5, 6).
class TfrxDataBand : public TfrxBand {
 public:
  explicit TfrxDataBand(TfrxComponent* owner);
  ~TfrxDataBand() override;
  TFRX_PERSISTENT_CLASS

  // Band columns (printed across), with their width and gap in pixels.
  int32_t Columns() const { return columns_; }
  void SetColumns(int32_t v) { columns_ = v; }
  double ColumnWidth() const { return columnWidth_; }
  void SetColumnWidth(double v) { columnWidth_ = v; }
  double ColumnGap() const { return columnGap_; }
  void SetColumnGap(double v) { columnGap_ = v; }
  TfrxComponent* DataSet() const { return dataSetLink_.DataSet(); }
  void SetDataSet(TfrxComponent* dataSet) { dataSetLink_.SetDataSet(dataSet); }
  std::string DataSetName() const { return dataSetLink_.Name(); }
  void SetDataSetName(const std::string& name) { dataSetLink_.SetName(name); }
  bool FooterAfterEach() const { return footerAfterEach_; }
  void SetFooterAfterEach(bool v) { footerAfterEach_ = v; }
  bool KeepFooter() const { return keepFooter_; }
  void SetKeepFooter(bool v) { keepFooter_ = v; }
  bool KeepHeader() const { return keepHeader_; }
  void SetKeepHeader(bool v) { keepHeader_ = v; }
  bool PrintIfDetailEmpty() const { return printIfDetailEmpty_; }
  void SetPrintIfDetailEmpty(bool v) { printIfDetailEmpty_ = v; }
  const std::string& OnMasterDetail() const { return onMasterDetail_; }
  void SetOnMasterDetail(const std::string& v) { onMasterDetail_ = v; }

  // The number of rows the band prints without a dataset: its record counter ends
  // after that many records.
  int32_t RowCount() const;
  void SetRowCount(int32_t count);
  // The dataset that counts RowCount records, used when no DataSet is given.
  TfrxUserDataSet& RecordCounter() { return *recordCounter_; }

  // The band column (1-based). A column past Columns wraps to 1, which also starts a
  // new row of columns (ColumnsBottom 0); Left moves to the column.
  int CurrentColumn() const { return currentColumn_; }
  void SetCurrentColumn(int column);
  // Engine state: the lowest point the columns of the current row have reached.
  double ColumnsBottom = 0;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  int32_t columns_ = 0;
  double columnWidth_ = 0, columnGap_ = 0;
  TfrxDataSetLink dataSetLink_;
  bool footerAfterEach_ = false, keepFooter_ = false, keepHeader_ = false, printIfDetailEmpty_ = false;
  std::string onMasterDetail_;
  std::unique_ptr<TfrxUserDataSet> recordCounter_;
  int currentColumn_ = 1;
};

TFRX_BAND_KIND(TfrxMasterData, TfrxDataBand);
TFRX_BAND_KIND(TfrxDetailData, TfrxDataBand);
TFRX_BAND_KIND(TfrxSubdetailData, TfrxDataBand);
TFRX_BAND_KIND(TfrxDataBand4, TfrxDataBand);
TFRX_BAND_KIND(TfrxDataBand5, TfrxDataBand);
TFRX_BAND_KIND(TfrxDataBand6, TfrxDataBand);

class TfrxGroupHeader : public TfrxBand {
 public:
  explicit TfrxGroupHeader(TfrxComponent* owner) : TfrxBand(owner) {}
  TFRX_PERSISTENT_CLASS

  // The expression whose value change starts a new group.
  const std::string& Condition() const { return condition_; }
  void SetCondition(const std::string& v) { condition_ = v; }
  bool DrillDown() const { return drillDown_; }
  void SetDrillDown(bool v) { drillDown_ = v; }
  bool ExpandDrillDown() const { return expandDrillDown_; }
  void SetExpandDrillDown(bool v) { expandDrillDown_ = v; }
  bool ResetPageNumbers() const { return resetPageNumbers_; }
  void SetResetPageNumbers(bool v) { resetPageNumbers_ = v; }
  bool ShowFooterIfDrillDown() const { return showFooterIfDrillDown_; }
  void SetShowFooterIfDrillDown(bool v) { showFooterIfDrillDown_ = v; }
  bool ShowChildIfDrillDown() const { return showChildIfDrillDown_; }
  void SetShowChildIfDrillDown(bool v) { showChildIfDrillDown_ = v; }
  const std::string& DrillName() const { return drillName_; }
  void SetDrillName(const std::string& v) { drillName_ = v; }

  // The value Condition had for the current group (engine state).
  Variant LastValue;

  // With DrillDown the drill name follows the component differences, in quotes and
  // unescaped (drill names are object names, digits and dots).
  std::string WriteDifferences(const TfrxComponent* reference) const override;

 private:
  std::string condition_;
  bool drillDown_ = false, expandDrillDown_ = false, resetPageNumbers_ = false;
  bool showFooterIfDrillDown_ = false, showChildIfDrillDown_ = false;
  std::string drillName_;
};
