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
// - Order of one run: RunReport links nothing itself yet (the data bands' links and
//   their iteration belong to the data-band unit, reached through RunDataBands), checks
//   the dataset conflicts, initialises the report's datasets, runs OnStartReport,
//   registers the source pages, runs one or two passes, runs OnStopReport and cleans up.
// - Errors: band structure and dataset conflicts go to the report's Errors and
//   RunReport returns false; errors raised by scripts and expressions propagate out of
//   RunReport after OnStopReport and the clean-up have run.
// - Cancelling: the report's Terminated flag is tested between pages and split steps;
//   the pages produced so far stay. ProcessMessages (a host hook) runs at every split
//   step so that a progress window can set the flag.
// - Threads: the window thread only. Re-entrant calls from scripts (NewPage, ShowBand
//   inside an event) rely on the guards InOpenPage, InCompletePage and InPageHeader.

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

  // Objects told about every printed data row (the data-band unit).
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

 protected:
  // The body of a page instance without a manual build: its data bands (master/detail
  // iteration, headers, footers, groups). Prints nothing here; the data-band unit
  // derives from this engine and fills it in.
  virtual void RunDataBands(TfrxReportPage& page) {}

 private:
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

  // Placing a band (frxEngine_bands.cpp).
  bool PlaceBand(TfrxBand& band);
  void OutputBand(TfrxBand& band);
  void BuildShiftTree(TfrxBand& band);
  void ShiftObjects(TfrxBand& band);
  void SplitBand(TfrxBand& band);

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
};

// Registers TfrxEngine as the engine of reports created from now on (over the
// registered prepared pages store; a report without one gets no engine).
void frxRegisterEngine();
