#pragma once
// The report engine: turns a loaded report template into output pages in the prepared
// pages store. TfrxCustomEngine holds the state the report object, the store and scripts
// see; TfrxEngine runs the passes, the report pages, and places, stretches, shifts and
// splits bands, breaking pages and columns and keeping bands together.
//
// Contract
// - Ownership: the engine belongs to its report (created through the report's seam,
//   frxRegisterEngine) and writes into the report's store, which it only refers to. It
//   evaluates the template's bands and objects in place and restores them after every
//   output; it keeps no output objects of its own.
// - Order of one run: RunReport links the bands of every report page (horizontal, then
//   vertical), checks the dataset conflicts, initialises the report's datasets, runs
//   OnStartReport, registers the source pages, runs one or two passes, runs
//   OnStopReport and cleans up. A page body is its data bands (RunDataBands) unless the
//   host or the page's script builds it.
// - Objects of horizontal bands that lie on a vertical band are moved into it for the
//   run (their cells) and put back into their home bands when the run ends.
// - Errors: band structure and dataset conflicts go to the report's Errors and
//   RunReport returns false; errors raised by scripts and expressions propagate out of
//   RunReport after OnStopReport and the clean-up have run.
// - Cancelling: the report's Terminated flag is tested between pages and split steps;
//   the pages produced so far stay. ProcessMessages (a host hook) runs at every split
//   step so that a progress window can set the flag.
// - Threads: the window thread only. Re-entrant calls from scripts (NewPage, ShowBand
//   inside an event) rely on the guards InOpenPage, InCompletePage and InPageHeader.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/frxAggregate.h"
#include "report/frxClassBand.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"

class TfrxCustomPreviewPages;
class TfrxXMLItem;

// A band repeated at the top of each new page or column, with the X at which it was
// pushed; InKeep marks a band pushed while bands were kept together (not a header).
struct TfrxHeaderListItem {
  TfrxBand* Band = nullptr;
  double Left = 0;
  bool InKeep = false;
};

class TfrxHeaderList {
 public:
  void Add(TfrxBand* band, double left = 0, bool inKeep = false) { items_.push_back({band, left, inKeep}); }
  // Removes the first item whose band is `band`.
  void RemoveItem(const TfrxBand* band);
  void Clear() { items_.clear(); }
  int Count() const { return static_cast<int>(items_.size()); }
  TfrxHeaderListItem& Items(int index) { return items_.at(static_cast<size_t>(index)); }

 private:
  std::vector<TfrxHeaderListItem> items_;
};

// An object told about every printed data row (RowListeners): a data band has just
// been output for the current record of its dataset.
class TfrxRowListener {
 public:
  virtual void DataRowPrinted(TfrxDataBand& band) = 0;

 protected:
  ~TfrxRowListener() = default;
};

// One enclosing data row while its details print: the data band and its row number
// through the master row (BandRowNoThrough).
struct TfrxBandPathEntry {
  std::string Name;
  int Number = 0;
};

class TfrxCustomEngine : public TfrxReportEngine {
 public:
  TfrxCustomEngine(TfrxReport& report, TfrxCustomPreviewPages& pages) : report_(report), pages_(pages) {}
  TfrxCustomEngine(const TfrxCustomEngine&) = delete;
  TfrxCustomEngine& operator=(const TfrxCustomEngine&) = delete;

  TfrxReport& Report() const { return report_; }
  TfrxCustomPreviewPages& PreviewPages() const { return pages_; }

  // --- the report's seam
  bool Running() const override { return running_; }
  bool FinalPass() const override { return finalPass_; }
  double CurY() const override { return curY_; }
  void ClearNotifyList() override { RowListeners.clear(); }
  double StartDate() const override { return startDate_; }
  double StartTime() const override { return startTime_; }
  int TotalPages() const override { return totalPages_; }
  int RowNo() const override { return rowNo_; }
  int RowNoThrough() const override { return rowNoThrough_; }

  // --- page generation, for the report object, the data-band unit and scripts
  // Printable height of the current page (on a page growing without end: what it holds).
  virtual double PageHeight() const { return pageHeight_; }
  virtual void CompletePage() = 0;
  virtual void DropKeeping() {}
  virtual void NewColumn() = 0;
  virtual void NewPage() = 0;
  virtual void ShowBand(TfrxBand* band) = 0;
  // Shows the first band of that class on the current report page; nothing without one.
  virtual void ShowBandOfClass(const TfrxClassInfo& bandClass) = 0;
  virtual double TopBandsHeight() const = 0;
  virtual double BottomBandsHeight() const = 0;
  // Space left on the page for bands.
  virtual double FreeSpace() const = 0;
  // Sets the report's Terminated flag; the run winds down at its next check.
  void StopReport() { report_.SetTerminated(true); }
  void AddAnchor(const std::string& text);
  // The 1-based page of the last anchor of that text, 1 when there is none.
  int GetAnchorPage(const std::string& text) const;

  // --- published state
  int CurColumn() const { return curColumn_; }
  void SetCurColumn(int v) { curColumn_ = v; }
  int CurVColumn() const { return curVColumn_; }
  void SetCurVColumn(int v) { curVColumn_ = v; }
  double CurX() const { return curX_; }
  void SetCurX(double v) { curX_ = v; }
  void SetCurY(double v) { curY_ = v; }
  bool DoublePass() const { return report_.EngineOptions().DoublePass; }
  void SetFinalPass(bool v) { finalPass_ = v; }
  void SetPageHeight(double v) { pageHeight_ = v; }
  double PageWidth() const { return pageWidth_; }
  void SetPageWidth(double v) { pageWidth_ = v; }
  void SetTotalPages(int v) { totalPages_ = v; }
  bool SecondScriptCall() const { return secondScriptCall_; }
  void SetRowNo(int v) { rowNo_ = v; }
  void SetRowNoThrough(int v) { rowNoThrough_ = v; }

  // Objects told about every printed data row; those that are a TfrxRowListener hear
  // of it.
  std::vector<TfrxComponent*> RowListeners;
  // Lets the host's window system process pending messages during long runs.
  std::function<void()> ProcessMessages;

 protected:
  TfrxReport& report_;
  TfrxCustomPreviewPages& pages_;
  bool running_ = false;
  bool finalPass_ = true;
  bool secondScriptCall_ = false;
  int curColumn_ = 1, curVColumn_ = 0;
  double curX_ = 0, curY_ = 0;
  double pageHeight_ = 0, pageWidth_ = 0;
  double startDate_ = 0, startTime_ = 0;
  int totalPages_ = 0;
  int rowNo_ = 0, rowNoThrough_ = 0;
};

class TfrxEngine : public TfrxCustomEngine {
 public:
  TfrxEngine(TfrxReport& report, TfrxCustomPreviewPages& pages) : TfrxCustomEngine(report, pages) {}

  bool RunReport() override;
  Variant FetchAggregateValue(const std::string& function, const std::string& expression, int flags,
                              const Variant& band) override;

  double PageHeight() const override;
  void CompletePage() override;
  void DropKeeping() override;
  void NewColumn() override;
  void NewPage() override;
  void ShowBand(TfrxBand* band) override;
  void ShowBandOfClass(const TfrxClassInfo& bandClass) override;
  double TopBandsHeight() const override;
  double BottomBandsHeight() const override;
  double FreeSpace() const override;

  // Keeping bands together: output from `band` on moves as a block on a break. A
  // position of 0 keeps from the store's current object position.
  void BeginKeep(TfrxBand* band, int position = 0);
  void FinishKeep(const TfrxBand* band);

  // Evaluates a band for the current row and computes its height; ReleaseBand undoes it.
  void PrepareBand(TfrxBand& band);
  void ReleaseBand(TfrxBand& band);

  // --- data bands (frxEngine_link.cpp, frxEngine_data.cpp, frxEngine_groups.cpp)
  // Links the bands of one orientation of a page: masters and details, headers and
  // footers, group chains. Band structure errors go to the report's Errors.
  void LinkBands(TfrxReportPage& page, bool vertical);
  // Whether printing the owner (a report page or a data band) gives at least one row;
  // true at once when `printIfEmpty`.
  bool HasDetailData(TfrxComponent& owner, bool printIfEmpty);
  // Prints the data bands of the owner (a page's masters, a data band's details) for all
  // their rows, with headers, footers and groups.
  void RunDataBands(TfrxComponent& owner);
  // The enclosing data rows of the band being printed, outermost first.
  const std::vector<TfrxBandPathEntry>& BandPath() const { return bandPath_; }
  // The band whose cells of vertical bands are being produced, or none.
  TfrxBand* VerticalMaster() const { return verticalMaster_; }
  // The totals of the run (SUM, AVG, MIN, MAX, COUNT in memos).
  TfrxAggregateList& AggregateCalls() { return aggregates_; }

  TfrxReportPage* CurrentReportPage() const { return currentReportPage_; }
  TfrxBand* ActiveBand() const { return activeBand_; }
  TfrxHeaderList& RepeatHeaders() { return repeatHeaders_; }
  double ColumnTopY() const { return columnTopY_; }
  double LastFooterHeight() const { return lastFooterHeight_; }
  bool NoBandPlaced() const { return noBandPlaced_; }
  void SetNoBandPlaced(bool v) { noBandPlaced_ = v; }
  bool OnFirstPage() const { return onFirstPage_; }
  bool OnLastPage() const { return onLastPage_; }
  bool IsOpeningPage() const { return isOpeningPage_; }
  bool Holding() const { return holding_; }
  TfrxBand* HeldBand() const { return heldBand_; }
  double PageOriginX() const { return pageOriginX_; }

 private:
  // The state of one RunDataBands call, carried from one band of the list to the next:
  // the start Y of the last printed row, and the store positions where the current
  // row of band columns and the last row before the footer begin.
  struct TRowRun {
    double RowY = 0;
    int ColumnPosition = 0;
    int FooterPosition = 0;
  };
  // An object of a horizontal band moved into a vertical band for the run.
  struct TMovedCell {
    TfrxComponent* Object = nullptr;
    TfrxBand* HomeBand = nullptr;
    double Left = 0;
  };

  // The run and its pages (frxEngine.cpp).
  bool CheckDataSetConflicts();
  void RunPasses();
  void RunPages();
  void RunPageList();
  void RunReportPage(TfrxReportPage& page);
  void RunPageInstance(TfrxReportPage& page);
  void BeginPageRun(TfrxReportPage& page);
  void ShowPageObjects(TfrxReportPage& page);
  void OpenPage();
  void OpenColumn();
  void ShowFixedBand(TfrxBand& band);
  void ShowColumnFooter();
  void ReshowBand(TfrxBand* band);
  void AddPageOutline();
  void UpdateEndlessPageSize();
  void SetAsideKept();
  void PutBackKept(double x);
  std::vector<TfrxReportPage*> ReportPages() const;
  template <class B>
  B* PageBand() const {
    return currentReportPage_ ? currentReportPage_->FirstBandOfClass<B>() : nullptr;
  }

  // Linking (frxEngine_link.cpp).
  void LinkAllPages();
  void MoveCellsIntoVerticalBands(TfrxReportPage& page);
  void PutCellsBack();
  // The horizontal band a cell of a vertical band was moved from, or none.
  TfrxBand* HomeBandOf(const TfrxComponent& cell) const;

  // Data rows (frxEngine_data.cpp).
  void RunDataBand(TfrxDataBand& band, TRowRun& run);
  void PrintDataRow(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& groups, bool first, TRowRun& run);
  void ShowDataFooter(TfrxDataBand& band, const TRowRun& run);
  void PushHeader(TfrxBand* band);
  void PopHeader(TfrxBand* band);
  void AdvanceColumns(TfrxDataBand& band, double rowY, int columnPosition);
  void CloseColumnRow(TfrxDataBand& band, double rowY, int columnPosition);
  void TellRowListeners(TfrxDataBand& band);
  bool AddBandOutline(TfrxBand& band, bool visible);

  // Groups (frxEngine_groups.cpp).
  void StartGroups(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, bool firstTime, size_t from);
  void TestGroupChange(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, double rowY,
                       int columnPosition);
  void EndGroups(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, size_t from);
  void ApplyDrillDown(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain);
  Variant GroupCondition(TfrxGroupHeader& group);

  // Vertical bands (frxEngine_vertical.cpp).
  void RunVerticalBands(TfrxBand& band);
  void RunVerticalDataBands(TfrxComponent& owner);
  void RunVerticalDataBand(TfrxDataBand& band);
  bool ShowVerticalBand(TfrxBand& band);
  void ShowVerticalHeadersAgain();
  void CopyCellsIntoMaster(TfrxBand& band);
  void OutputVerticalMaster(TfrxBand& band);

  // Placing a band (frxEngine_bands.cpp). ShowBandReturningVisible is ShowBand telling
  // whether the band itself was visible.
  bool ShowBandReturningVisible(TfrxBand* band);
  bool PlaceBand(TfrxBand& band);
  bool PlaceBandItself(TfrxBand& band);
  // The band's objects evaluated with it (without the cells copied into VerticalMaster).
  std::vector<TfrxComponent*> OwnObjects(const TfrxBand& band) const;
  void OutputBand(TfrxBand& band);
  void BuildShiftTree(TfrxBand& band);
  void ShiftObjects(TfrxBand& band);
  void SplitBand(TfrxBand& band);

  TfrxAggregateList aggregates_{report_};
  TfrxHeaderList repeatHeaders_;
  TfrxReportPage* currentReportPage_ = nullptr;
  TfrxBand* activeBand_ = nullptr;
  TfrxBand* lastPlacedBand_ = nullptr;
  TfrxBand* pageBreakBand_ = nullptr;
  double pageOriginX_ = 0;
  double columnTopY_ = 0;
  double lastFooterHeight_ = 0;
  bool noBandPlaced_ = true;
  bool onFirstPage_ = false, onLastPage_ = false;
  bool isOpeningPage_ = false;
  bool inOpenPage_ = false, inCompletePage_ = false, inPageHeader_ = false;
  bool suppressHeaders_ = false;
  bool holding_ = false, keepHeader_ = false, keepFooter_ = false;
  TfrxBand* heldBand_ = nullptr;
  double heldTopY_ = 0;
  int heldPosition_ = 0;
  TfrxXMLItem* heldOutline_ = nullptr;
  int heldAnchor_ = 0;

  std::vector<TfrxBandPathEntry> bandPath_;
  std::vector<TMovedCell> movedCells_;
  // Data rows printed in the current group of each group header.
  std::map<const TfrxBand*, int> groupRows_;
  // Bands whose outline item is open (the outline stepped into it).
  std::set<const TfrxBand*> openOutlines_;
  TfrxBand* verticalMaster_ = nullptr;
  TfrxHeaderList verticalHeaders_;
  std::vector<size_t> verticalPageBreaks_;
  bool reshowingVerticalHeaders_ = false;
};

// Registers TfrxEngine as the engine of reports created from now on (over the
// registered prepared pages store; a report without one gets no engine).
void frxRegisterEngine();
