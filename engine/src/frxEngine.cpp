// TfrxEngine: the run and its passes, the page run of each report page, page and column
// breaks, the bands placed at fixed places of a page (footer, overlays, column footer)
// and the header list repeated on every new page or column.
#include "engine/frxEngine.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "prepared/frxPreviewPages.h"
#include "report/frxClassDataSet.h"

#include "frxEngine_helpers.h"

namespace {

TfrxDataSet* AsDataSet(TfrxComponent* c) { return dynamic_cast<TfrxDataSet*>(c); }

double ColumnOffset(const TfrxReportPage& page, int column) {
  const std::vector<std::string>& positions = page.ColumnPositions();
  if (column < 1 || column > static_cast<int>(positions.size())) return 0;
  return std::strtod(positions[static_cast<size_t>(column - 1)].c_str(), nullptr) * fr01cm;
}

}  // namespace

void TfrxHeaderList::RemoveItem(const TfrxBand* band) {
  for (auto it = items_.begin(); it != items_.end(); ++it)
    if (it->Band == band) {
      items_.erase(it);
      return;
    }
}

void TfrxCustomEngine::AddAnchor(const std::string& text) { pages_.AddAnchor(text); }

int TfrxCustomEngine::GetAnchorPage(const std::string& text) const { return pages_.GetAnchorPage(text); }

// --- the run -----------------------------------------------------------------------------------

std::vector<TfrxReportPage*> TfrxEngine::ReportPages() const {
  std::vector<TfrxReportPage*> pages;
  for (TfrxComponent* c : report_.Objects())
    if (auto* page = dynamic_cast<TfrxReportPage*>(c)) pages.push_back(page);
  return pages;
}

bool TfrxEngine::CheckDataSetConflicts() {
  TfrxComponent* reportDataSet = report_.DataSet();
  for (TfrxReportPage* page : ReportPages()) {
    if (reportDataSet && page->DataSet() == reportDataSet) {
      report_.Errors().Add("Cannot use the same dataset for Report.DataSet and Page.DataSet");
      break;
    }
    const char* conflict = nullptr;
    for (TfrxBand* band : page->LinkedBands()) {
      auto* data = dynamic_cast<TfrxDataBand*>(band);
      if (data && reportDataSet && data->DataSet() == reportDataSet) {
        conflict = "Cannot use the same dataset for Report.DataSet and Band.DataSet";
        break;
      }
    }
    if (!conflict && page->DataSet())
      for (TfrxBand* band : page->LinkedBands()) {
        auto* data = dynamic_cast<TfrxDataBand*>(band);
        if (data && data->DataSet() == page->DataSet()) {
          conflict = "Cannot use the same dataset for Page.DataSet and Band.DataSet";
          break;
        }
      }
    if (conflict) report_.Errors().Add(conflict);
  }
  return report_.Errors().Empty();
}

bool TfrxEngine::RunReport() {
  lastFooterHeight_ = 0;
  pages_.StartRun();
  pages_.SetNewPageMode(TfrxNewPageMode::Append);
  startDate_ = startTime_ = frxNow();
  running_ = true;
  holding_ = false;
  curVColumn_ = 0;
  aggregates_.ClearList();
  bool started = false;
  auto cleanUp = [&] {
    PutCellsBack();
    verticalMaster_ = nullptr;
    bandPath_.clear();
    groupRows_.clear();
    openOutlines_.clear();
    // The items point at template bands, which a reload after the run may replace.
    aggregates_.ClearList();
    pages_.EndRun();
    running_ = false;
    try {
      report_.DataSets().Finalize();
    } catch (const std::exception& e) {
      report_.Errors().Add(e.what());
    }
  };
  try {
    LinkAllPages();
    if (!CheckDataSetConflicts()) {
      cleanUp();
      return false;
    }
    report_.DataSets().Initialize();
    started = true;
    report_.RunScriptEvent(&report_, report_.OnStartReport);
    RunPasses();
  } catch (...) {
    if (started) {
      try {
        report_.RunScriptEvent(&report_, report_.OnStopReport);
      } catch (...) {
        // The first error is the one the caller must see.
      }
    }
    cleanUp();
    throw;
  }
  report_.RunScriptEvent(&report_, report_.OnStopReport);
  cleanUp();
  return true;
}

void TfrxEngine::RunPasses() {
  for (TfrxReportPage* page : ReportPages()) {
    pages_.RegisterSourcePage(*page);
    aggregates_.CollectPage(*page, [this](const TfrxComponent& cell) { return HomeBandOf(cell); });
  }
  finalPass_ = !DoublePass();
  totalPages_ = 0;
  pages_.StartPass();
  RunPages();
  if (!DoublePass()) return;
  totalPages_ = pages_.Count();
  pages_.SetCurrentPage(pages_.Count() - 1);
  pages_.DropPassOutput();
  aggregates_.ClearValues();
  finalPass_ = true;
  // The first pass records positions only, so its pages cannot stand as the result: a
  // run stopped during it is run again in full and stops at the same place when a script
  // stopped it.
  report_.SetTerminated(false);
  RunPages();
}

void TfrxEngine::RunPages() {
  isOpeningPage_ = true;
  TfrxDataSet* dataSet = report_.DataSet();
  if (!dataSet) {
    RunPageList();
    return;
  }
  dataSet->First();
  while (!dataSet->Eof() && !report_.Terminated()) {
    RunPageList();
    dataSet->Next();
  }
}

void TfrxEngine::RunPageList() {
  for (TfrxReportPage* page : ReportPages()) {
    currentReportPage_ = page;
    if (!page->Subreport() && page->Visible()) RunReportPage(*page);
    isOpeningPage_ = false;
    if (report_.Terminated()) break;
  }
}

void TfrxEngine::RunReportPage(TfrxReportPage& page) {
  noBandPlaced_ = true;
  report_.RunScriptEvent(&page, page.OnBeforePrint());
  if (TfrxDataSet* dataSet = AsDataSet(page.DataSet())) {
    dataSet->First();
    while (!dataSet->Eof() && !report_.Terminated()) {
      RunPageInstance(page);
      dataSet->Next();
    }
  } else {
    for (int i = 0; i < page.PageCount() && !report_.Terminated(); ++i) RunPageInstance(page);
  }
  report_.RunScriptEvent(&page, page.OnAfterPrint());
}

void TfrxEngine::RunPageInstance(TfrxReportPage& page) {
  if (!HasDetailData(page, report_.EngineOptions().PrintIfEmpty)) return;
  BeginPageRun(page);
  ShowPageObjects(page);
  if (report_.OnManualBuild)
    report_.OnManualBuild(page);
  else if (!page.OnManualBuild().empty())
    report_.RunScriptEvent(&page, page.OnManualBuild());
  else
    RunDataBands(page);
  onLastPage_ = true;
  if (page.EndlessHeight() || page.EndlessWidth()) UpdateEndlessPageSize();
  CompletePage();
  onLastPage_ = false;
}

// --- pages -------------------------------------------------------------------------------------

void TfrxEngine::BeginPageRun(TfrxReportPage& page) {
  auto* title = page.FirstBandOfClass<TfrxReportTitle>();
  auto* header = page.FirstBandOfClass<TfrxPageHeader>();
  repeatHeaders_.Clear();
  if (page.TitleBeforeHeader()) {
    repeatHeaders_.Add(title);
    repeatHeaders_.Add(header);
  } else {
    repeatHeaders_.Add(header);
    repeatHeaders_.Add(title);
  }
  pageHeight_ = page.PaperHeight() * fr01cm - page.TopMargin() * fr01cm - page.BottomMargin() * fr01cm;
  pageWidth_ = page.PaperWidth() * fr01cm - page.LeftMargin() * fr01cm - page.RightMargin() * fr01cm;
  curX_ = curY_ = 0;
  curColumn_ = 1;
  pageOriginX_ = 0;
  onFirstPage_ = true;
  onLastPage_ = false;
  pages_.Outline().LevelRoot();
  if (page.ResetPageNumbers()) pages_.CloseLogicalNumbering();
  if (pages_.Count() > 0 && page.PrintOnPreviousPage()) {
    pages_.SetCurrentPage(pages_.Count() - 1);
    curY_ = pages_.LowestBandBottom(0);
    repeatHeaders_.RemoveItem(title);
    ShowBandOfClass(TfrxReportTitle::StaticClassInfo());
  } else {
    OpenPage();
  }
  if (isOpeningPage_) pages_.SetRunFirstPage(pages_.CurrentPage());
  columnTopY_ = curY_;
  auto* columnHeader = page.FirstBandOfClass<TfrxColumnHeader>();
  ShowBand(columnHeader);
  repeatHeaders_.Add(columnHeader, 0);
  repeatHeaders_.RemoveItem(title);
  AddPageOutline();
}

void TfrxEngine::ShowPageObjects(TfrxReportPage& page) {
  std::vector<TfrxComponent*> objects;
  for (TfrxComponent* c : page.Objects())
    if (!dynamic_cast<TfrxBand*>(c)) objects.push_back(c);
  if (objects.empty()) return;
  // A band of the whole printable area carries them for one output; they go back to
  // the page afterwards, in their order, whatever happens.
  TfrxNullBand carrier(nullptr);
  carrier.SetBounds(0, 0, pageWidth_, pageHeight_);
  for (TfrxComponent* c : objects) c->SetParent(&carrier);
  const double savedY = curY_;
  try {
    carrier.ApplyAlignment();
    ShowBand(&carrier);
  } catch (...) {
    for (TfrxComponent* c : objects) c->SetParent(&page);
    throw;
  }
  for (TfrxComponent* c : objects) c->SetParent(&page);
  curY_ = savedY;
}

void TfrxEngine::AddPageOutline() {
  if (!currentReportPage_ || currentReportPage_->OutlineText().empty()) return;
  pages_.Outline().LevelRoot();
  report_.SetCurrentObjectName(currentReportPage_->Name());
  pages_.Outline().AddItem(report_.ExpressionText(currentReportPage_->OutlineText()), 0);
}

void TfrxEngine::OpenPage() {
  lastFooterHeight_ = 0;
  pages_.StartOutputPage(*currentReportPage_);
  curY_ = 0;
  auto* overlay = PageBand<TfrxOverlay>();
  if (overlay && !overlay->PrintOnTop()) {
    ShowBand(overlay);
    curY_ = 0;
    columnTopY_ = 0;
  }
  const double savedX = curX_;
  for (int i = 0; i < repeatHeaders_.Count(); ++i) {
    TfrxHeaderListItem& item = repeatHeaders_.Items(i);
    TfrxBand* band = item.Band;
    if (!band || band == pageBreakBand_) continue;
    const bool isHeader = dynamic_cast<TfrxHeader*>(band) != nullptr;
    if (((isHeader && keepHeader_) || item.InKeep) && !keepFooter_) continue;
    if (suppressHeaders_ && (isHeader || dynamic_cast<TfrxGroupHeader*>(band))) continue;
    if (isHeader && band == lastPlacedBand_) continue;
    const bool isPageHeader = dynamic_cast<TfrxPageHeader*>(band) != nullptr;
    const bool isTitle = dynamic_cast<TfrxReportTitle*>(band) != nullptr;
    TfrxBand* shown = band;
    if (isPageHeader && onFirstPage_ && !band->PrintOnFirstPage()) {
      if (!band->PrintChildIfInvisible()) continue;
      shown = band->Child();
    }
    curX_ = item.Left;
    const bool savedOverflow = shown ? shown->Overflow : false;
    const int savedRowNo = rowNo_, savedRowNoThrough = rowNoThrough_;
    if (shown) {
      shown->Overflow = true;
      rowNo_ = shown->BandRowNo;
      rowNoThrough_ = shown->BandRowNoThrough;
    }
    if (isTitle) item.Band = nullptr;  // the title prints once only
    {
      TFlagScope opening(inOpenPage_, true);
      TFlagScope pageHeader(inPageHeader_, isPageHeader);
      ShowBand(shown);
    }
    if (isPageHeader) columnTopY_ = band->GrownHeight;
    if (isTitle) noBandPlaced_ = false;
    if (shown) shown->Overflow = savedOverflow;
    rowNo_ = savedRowNo;
    rowNoThrough_ = savedRowNoThrough;
  }
  curX_ = savedX;
}

void TfrxEngine::CompletePage() {
  if (!inCompletePage_) ShowColumnFooter();
  if (!onLastPage_) {
    curX_ = pageOriginX_;
    curColumn_ = 1;
  }
  if (onLastPage_ && !inCompletePage_) {
    TFlagScope completing(inCompletePage_, true);
    auto* summary = PageBand<TfrxReportSummary>();
    const double before = curY_;
    ShowBand(summary);
    if (summary && currentReportPage_->EndlessHeight()) {
      pageHeight_ += curY_ - before;
      UpdateEndlessPageSize();
    }
  }
  if (auto* footer = PageBand<TfrxPageFooter>()) {
    curY_ = PageHeight() - footer->Height();
    lastFooterHeight_ = onLastPage_ && footer->PrintOnLastPage() && !inCompletePage_ ? footer->Height() : 0;
    ShowFixedBand(*footer);
  }
  auto* overlay = PageBand<TfrxOverlay>();
  if (overlay && overlay->PrintOnTop()) {
    curY_ = 0;
    ShowFixedBand(*overlay);
  }
  onFirstPage_ = false;
}

void TfrxEngine::ShowFixedBand(TfrxBand& band) {
  PrepareBand(band);
  if (band.Visible()) {
    band.SetLeft(0);
    band.SetTop(curY_);
    auto* footer = dynamic_cast<TfrxPageFooter*>(&band);
    const bool skipped = footer && ((onFirstPage_ && !footer->PrintOnFirstPage()) ||
                                    (onLastPage_ && !footer->PrintOnLastPage() && !inCompletePage_));
    if (skipped) {
      // Its totals are not reset, so they carry over to the next footer.
      ReleaseBand(band);
      return;
    }
    if (!pages_.PageHasBand(band)) pages_.EmitBand(band);
    curY_ += band.Height();
  }
  ReleaseBand(band);
  aggregates_.ResetShownIn(&band);
}

void TfrxEngine::ShowColumnFooter() {
  auto* footer = PageBand<TfrxColumnFooter>();
  if (!footer) return;
  PrepareBand(*footer);
  if (footer->Visible()) {
    footer->SetLeft(curX_ - pageOriginX_);
    footer->SetTop(curY_);
    pages_.EmitBand(*footer);
    curY_ += footer->Height();
  }
  ReleaseBand(*footer);
  aggregates_.ResetShownIn(footer);
}

void TfrxEngine::UpdateEndlessPageSize() {
  TfrxReportPage& page = *currentReportPage_;
  double width = page.PaperWidth() * fr01cm;
  double height = page.PaperHeight() * fr01cm;
  if (page.EndlessWidth()) width = page.LeftMargin() * fr01cm + pageWidth_ + page.RightMargin() * fr01cm;
  if (page.EndlessHeight()) {
    pageHeight_ = BottomBandsHeight() + curY_;
    height = pageHeight_ + page.TopMargin() * fr01cm + page.BottomMargin() * fr01cm;
  }
  pages_.SetSourcePageSize(page, height, width);
}

// --- page and column breaks ----------------------------------------------------------------------

void TfrxEngine::SetAsideKept() {
  // The last row moves with its data footer: it counts on the next page.
  if (keepFooter_) aggregates_.UndoRow(heldBand_);
  pages_.SetAsideFrom(heldPosition_);
  curY_ = pages_.LowestBandBottom(0);
}

void TfrxEngine::PutBackKept(double x) {
  aggregates_.EndKeeping();
  pages_.PutBackSetAside(curY_, x);
  if (heldOutline_) pages_.Outline().ShiftFrom(heldOutline_, static_cast<int>(std::lround(curY_)));
  pages_.MoveAnchorsDown(heldAnchor_, static_cast<int>(std::lround(curY_)));
  curY_ = pages_.LowestBandBottom(x);
  if (keepFooter_) aggregates_.RedoRow(heldBand_);
}

void TfrxEngine::NewPage() {
  if (holding_ && heldBand_ && curY_ - heldTopY_ + heldBand_->Height() > PageHeight() - BottomBandsHeight()) {
    holding_ = false;  // the kept bands would not fit on an empty page either
    aggregates_.EndKeeping();
  }
  if (holding_) SetAsideKept();
  lastPlacedBand_ = activeBand_;
  CompletePage();
  TfrxReportPage& page = *currentReportPage_;
  if (page.EndlessHeight()) {
    // The page just completed keeps the height of what it holds.
    if (TfrxComponent* built = pages_.BuildPage(pages_.CurrentPage())) {
      if (auto* builtPage = dynamic_cast<TfrxReportPage*>(built)) {
        builtPage->SetPaperWidth(pageWidth_ / fr01cm + page.LeftMargin() + page.RightMargin());
        builtPage->SetPaperHeight((BottomBandsHeight() + curY_) / fr01cm + page.TopMargin() + page.BottomMargin());
        builtPage->SetPaperSize(256);
      }
      pages_.ReplacePage(pages_.CurrentPage(), *built);
    }
  }
  OpenPage();
  lastPlacedBand_ = nullptr;
  if (holding_) PutBackKept(0);
  holding_ = keepHeader_ = false;
  heldTopY_ = 0;
  AddPageOutline();
}

void TfrxEngine::NewColumn() {
  if (!currentReportPage_ || curColumn_ >= currentReportPage_->Columns()) {
    NewPage();
    return;
  }
  if (holding_) SetAsideKept();
  lastPlacedBand_ = activeBand_;
  ShowColumnFooter();
  OpenColumn();
  lastPlacedBand_ = nullptr;
  if (holding_) PutBackKept(curX_);
  holding_ = keepHeader_ = false;
}

void TfrxEngine::OpenColumn() {
  ++curColumn_;
  const double offset = ColumnOffset(*currentReportPage_, curColumn_);
  curY_ = columnTopY_;
  for (int i = 0; i < repeatHeaders_.Count(); ++i) {
    TfrxHeaderListItem& item = repeatHeaders_.Items(i);
    if (!item.Band || dynamic_cast<TfrxPageHeader*>(item.Band) || item.Band == lastPlacedBand_ || item.InKeep ||
        keepHeader_)
      continue;
    curX_ = item.Left + offset;
    ReshowBand(item.Band);
  }
  curX_ = pageOriginX_ + offset;
}

void TfrxEngine::ReshowBand(TfrxBand* band) {
  while (band) {
    band->Overflow = true;
    PrepareBand(*band);
    const bool visible = band->Visible();
    if (visible) {
      band->SetLeft(curX_);
      band->SetTop(curY_);
      pages_.EmitBand(*band);
      curY_ += band->Height();
    }
    ReleaseBand(*band);
    band->Overflow = false;
    if (!visible && !band->PrintChildIfInvisible()) break;
    band = band->Child();
  }
}

// --- measures ------------------------------------------------------------------------------------

double TfrxEngine::PageHeight() const {
  if (running_ && currentReportPage_ && currentReportPage_->EndlessHeight()) return BottomBandsHeight() + curY_;
  return pageHeight_;
}

double TfrxEngine::TopBandsHeight() const {
  double height = 0;
  for (TfrxBand* band : {static_cast<TfrxBand*>(PageBand<TfrxColumnHeader>()),
                         static_cast<TfrxBand*>(PageBand<TfrxPageHeader>())})
    for (TfrxBand* b = band; b; b = b->Child()) height += b->Height();
  return height;
}

double TfrxEngine::BottomBandsHeight() const {
  double height = 0;
  if (auto* footer = PageBand<TfrxColumnFooter>()) height += footer->Height();
  if (auto* footer = PageBand<TfrxPageFooter>()) height += footer->Height();
  return height;
}

double TfrxEngine::FreeSpace() const {
  if (currentReportPage_ && currentReportPage_->EndlessHeight()) return 1000000;
  if (lastFooterHeight_ != 0) return PageHeight() - lastFooterHeight_ - curY_;
  return PageHeight() - BottomBandsHeight() - curY_;
}

Variant TfrxEngine::FetchAggregateValue(const std::string& function, const std::string& expression, int flags,
                                        const Variant& band) {
  const TfrxComponent* dataBand = nullptr;  // any
  if (!(band.isOrdinal() && band.toInt64() == 0)) {
    dataBand = report_.Script() ? report_.Script()->ComponentOfValue(band) : nullptr;
    if (!dataBand) return Variant::Null();  // no object: no total collected for it
  }
  return aggregates_.FindValue(activeBand_, curVColumn_, function, expression, flags, dataBand);
}

// --- keeping together ------------------------------------------------------------------------------

void TfrxEngine::BeginKeep(TfrxBand* band, int position) {
  if (holding_ || noBandPlaced_) return;
  heldTopY_ = curY_;
  holding_ = true;
  heldBand_ = band;
  heldPosition_ = position != 0 ? position : pages_.ObjectPosition();
  heldOutline_ = pages_.Outline().LastItem();
  heldAnchor_ = pages_.AnchorPosition();
  aggregates_.StartKeeping();
}

void TfrxEngine::FinishKeep(const TfrxBand* band) {
  if (band != heldBand_) return;
  DropKeeping();
}

void TfrxEngine::DropKeeping() {
  heldTopY_ = 0;
  holding_ = false;
  heldBand_ = nullptr;
  keepHeader_ = false;
  aggregates_.EndKeeping();
}

void frxRegisterEngine() {
  TfrxReportCollaborators with = frxReportCollaborators();
  with.Engine = [](TfrxReport& report, TfrxReportPages* pages) -> std::unique_ptr<TfrxReportEngine> {
    auto* store = dynamic_cast<TfrxCustomPreviewPages*>(pages);
    if (!store) return nullptr;
    return std::make_unique<TfrxEngine>(report, *store);
  };
  frxSetReportCollaborators(std::move(with));
}
