// TfrxEngine: printing data bands row by row. A page's master bands and each data row's
// details run over their datasets; headers print before the first row and footers after
// the last, rows are numbered, kept together with their headers and footers when asked,
// laid out in band columns, and recorded in the outline.
#include <cmath>

#include "engine/frxEngine.h"
#include "frxEngine_helpers.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassMemo.h"

namespace {

std::vector<TfrxBand*>& LinkedBandsOf(TfrxComponent& owner) {
  if (auto* page = dynamic_cast<TfrxReportPage*>(&owner)) return page->LinkedBands();
  return static_cast<TfrxBand&>(owner).LinkedBands();
}

std::vector<TfrxGroupHeader*> GroupChainOf(const TfrxDataBand& band) {
  std::vector<TfrxGroupHeader*> chain;
  if (band.GroupBand)
    for (TfrxBand* header : band.GroupBand->LinkedBands()) chain.push_back(static_cast<TfrxGroupHeader*>(header));
  return chain;
}

}  // namespace

void frxForgetRepeatedValues(TfrxBand& band) {
  for (TfrxComponent* c : band.Objects())
    if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c); memo && memo->SuppressRepeated())
      memo->SetLastValue(Variant::Null());
}

bool TfrxEngine::HasDetailData(TfrxComponent& owner, bool printIfEmpty) {
  if (printIfEmpty) return true;
  const bool isPage = dynamic_cast<TfrxReportPage*>(&owner) != nullptr;
  // A copy: a script event may relink nothing, but the list must not move under us.
  const std::vector<TfrxBand*> bands = LinkedBandsOf(owner);
  if (bands.empty()) return !isPage;
  for (TfrxBand* b : bands) {
    auto& band = static_cast<TfrxDataBand&>(*b);
    report_.RunScriptEvent(&band, band.OnMasterDetail());
    TfrxDataSet* rows = frxRowsOf(band);
    if (!rows) continue;
    for (rows->First(); !rows->Eof(); rows->Next())
      if (HasDetailData(band, band.PrintIfDetailEmpty())) return true;
  }
  return false;
}

void TfrxEngine::RunDataBands(TfrxComponent& owner) {
  if (ProcessMessages) ProcessMessages();
  if (report_.Terminated()) return;
  TRowRun run;
  run.RowY = curY_;
  const std::vector<TfrxBand*> bands = LinkedBandsOf(owner);
  for (TfrxBand* band : bands) {
    RunDataBand(static_cast<TfrxDataBand&>(*band), run);
    if (report_.Terminated()) break;
    noBandPlaced_ = false;
  }
}

void TfrxEngine::RunDataBand(TfrxDataBand& band, TRowRun& run) {
  TfrxDataSet* rows = frxRowsOf(band);
  if (!rows) return;
  const std::vector<TfrxGroupHeader*> groups = GroupChainOf(band);
  rows->First();
  band.BandRowNo = 1;
  band.BandRowNoThrough = 1;
  if (band.Columns() > 1) band.SetCurrentColumn(1);
  frxForgetRepeatedValues(band);
  bool first = true;
  while (!rows->Eof()) {
    if (HasDetailData(band, band.PrintIfDetailEmpty())) {
      PrintDataRow(band, groups, first, run);
      first = false;
    }
    // Each row stays together with its details on its own.
    if (groups.empty() && band.KeepTogether()) FinishKeep(&band);
    rows->Next();
    if ((band.RowCount() != 0 && band.BandRowNo > band.RowCount()) || report_.Terminated()) break;
  }
  if (band.Columns() > 1) CloseColumnRow(band, run.RowY, run.ColumnPosition);
  if (first) return;  // nothing printed: no footer either
  if (!groups.empty()) EndGroups(band, groups, 0);
  if (!band.FooterAfterEach()) ShowDataFooter(band, run);
  PopHeader(band.HeaderBand);
  if (!groups.empty() && band.KeepTogether()) FinishKeep(&band);
}

void TfrxEngine::PrintDataRow(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& groups, bool first,
                              TRowRun& run) {
  if (first) {
    if (band.KeepHeader() && band.HeaderBand && !noBandPlaced_) {
      keepHeader_ = true;
      BeginKeep(&band);
    }
    PushHeader(band.HeaderBand);
    ShowBand(band.HeaderBand);
    if (band.KeepTogether()) BeginKeep(&band);
  } else if (groups.empty() && band.KeepTogether()) {
    BeginKeep(&band);
  }
  if (!groups.empty()) {
    if (first)
      StartGroups(band, groups, true, 0);
    else
      TestGroupChange(band, groups, run.RowY, run.ColumnPosition);
  }
  if (band.KeepFooter()) run.FooterPosition = pages_.ObjectPosition();
  if (band.Columns() > 1 && band.CurrentColumn() == 1) run.ColumnPosition = pages_.ObjectPosition();

  const double rowY = curY_;
  rowNo_ = band.BandRowNo;
  rowNoThrough_ = band.BandRowNoThrough;
  const bool visible = ShowBandReturningVisible(&band);
  TellRowListeners(band);
  for (TfrxGroupHeader* group : groups) ++groupRows_[group];
  if (first && band.KeepHeader() && band.HeaderBand) FinishKeep(&band);

  bandPath_.push_back({band.Name(), band.BandRowNoThrough});
  ++band.BandRowNo;
  ++band.BandRowNoThrough;
  run.RowY = rowY;
  if (band.Columns() > 1) AdvanceColumns(band, rowY, run.ColumnPosition);
  const bool outlined = AddBandOutline(band, visible);
  RunDataBands(band);
  bandPath_.pop_back();
  if (outlined) pages_.Outline().LevelUp();
  noBandPlaced_ = false;
  if (band.FooterAfterEach()) ShowBand(band.FooterBand);
}

void TfrxEngine::ShowDataFooter(TfrxDataBand& band, const TRowRun& run) {
  // With KeepFooter the last row moves with the footer to the next page.
  if (band.KeepFooter()) BeginKeep(&band, run.FooterPosition);
  {
    TFlagScope keepingFooter(keepFooter_, true);
    ShowBand(band.FooterBand);
  }
  if (band.KeepFooter()) FinishKeep(&band);
}

void TfrxEngine::TellRowListeners(TfrxDataBand& band) {
  for (TfrxComponent* c : RowListeners)
    if (auto* listener = dynamic_cast<TfrxRowListener*>(c)) listener->DataRowPrinted(band);
}

bool TfrxEngine::AddBandOutline(TfrxBand& band, bool visible) {
  if (band.OutlineText().empty() || !visible || band.Vertical()) return false;
  report_.SetCurrentObjectName(band.Name());
  const double height = band.Stretched() ? band.GrownHeight : band.Height();
  pages_.Outline().AddItem(report_.ExpressionText(band.OutlineText()), static_cast<int>(std::lround(curY_ - height)));
  return true;
}

// --- the header lists ----------------------------------------------------------------------

void TfrxEngine::PushHeader(TfrxBand* band) {
  if (!band || !band->ReprintOnNewPage()) return;
  const bool isHeader = dynamic_cast<TfrxHeader*>(band) != nullptr;
  if (!isHeader && !dynamic_cast<TfrxGroupHeader*>(band)) return;
  (band->Vertical() ? verticalHeaders_ : repeatHeaders_).Add(band, pageOriginX_, holding_ && !isHeader);
}

void TfrxEngine::PopHeader(TfrxBand* band) {
  if (band) (band->Vertical() ? verticalHeaders_ : repeatHeaders_).RemoveItem(band);
}

// --- band columns ----------------------------------------------------------------------------

void TfrxEngine::AdvanceColumns(TfrxDataBand& band, double rowY, int columnPosition) {
  band.ColumnsBottom = std::max(band.ColumnsBottom, curY_);
  if (band.CurrentColumn() < band.Columns()) {
    curY_ = rowY;  // the next column begins level with this one
  } else if (band.ColumnsBottom <= PageHeight() - BottomBandsHeight() || currentReportPage_->EndlessHeight()) {
    curY_ = band.ColumnsBottom;
  } else if (holding_) {
    NewColumn();
  } else {
    // The row of columns does not fit: it moves whole to the next column or page.
    pages_.SetAsideFrom(columnPosition);
    NewColumn();
    pages_.PutBackSetAside(curY_, curX_);
    curY_ += band.ColumnsBottom - rowY;
  }
  if (band.Visible()) band.SetCurrentColumn(band.CurrentColumn() + 1);
}

void TfrxEngine::CloseColumnRow(TfrxDataBand& band, double rowY, int columnPosition) {
  band.SetCurrentColumn(band.Columns());
  AdvanceColumns(band, rowY, columnPosition);
}
