// TfrxEngine: vertical bands. A horizontal band whose objects lie on vertical bands
// becomes the vertical master: the page's vertical data bands run over their datasets
// and each cell (an object of a vertical band that came from the master) is evaluated
// and copied into the master, left to right. Cells that pass the page's width continue
// on the next output pages, where the master's stretches are emitted at the same Y.
#include <algorithm>

#include "engine/frxEngine.h"
#include "frxEngine_helpers.h"
#include "prepared/frxPreviewPages.h"

namespace {

// Shows only the objects of one stretch while the band is emitted, and gives every
// object back its own visibility afterwards.
class TStretchVisibility {
 public:
  explicit TStretchVisibility(TfrxBand& band) {
    for (TfrxComponent* c : band.Objects()) saved_.emplace_back(c, c->Visible());
  }
  TStretchVisibility(const TStretchVisibility&) = delete;
  TStretchVisibility& operator=(const TStretchVisibility&) = delete;
  ~TStretchVisibility() {
    for (auto& [c, visible] : saved_) c->SetVisible(visible);
  }
  void ShowOnly(size_t from, size_t to) {
    for (size_t i = 0; i < saved_.size(); ++i) saved_[i].first->SetVisible(i >= from && i < to && saved_[i].second);
  }

 private:
  std::vector<std::pair<TfrxComponent*, bool>> saved_;
};

std::vector<TfrxBand*>& VerticalBandsOf(TfrxComponent& owner) {
  if (auto* page = dynamic_cast<TfrxReportPage*>(&owner)) return page->VLinkedBands();
  return static_cast<TfrxBand&>(owner).LinkedBands();
}

}  // namespace

void TfrxEngine::RunVerticalBands(TfrxBand& band) {
  verticalMaster_ = &band;
  band.OwnObjectCount = static_cast<int>(band.Objects().size());
  verticalHeaders_.Clear();
  verticalPageBreaks_.assign(1, 0);
  curVColumn_ = 0;
  const int page = pages_.CurrentPage();
  const double x = curX_;
  RunVerticalDataBands(*currentReportPage_);
  verticalPageBreaks_.push_back(band.Objects().size());
  pages_.SetCurrentPage(page);
  curX_ = x;
  rowNo_ = band.BandRowNo;
  rowNoThrough_ = band.BandRowNoThrough;
  pages_.SetNewPageMode(TfrxNewPageMode::Append);
}

void TfrxEngine::RunVerticalDataBands(TfrxComponent& owner) {
  const std::vector<TfrxBand*> bands = VerticalBandsOf(owner);
  for (TfrxBand* band : bands) {
    RunVerticalDataBand(static_cast<TfrxDataBand&>(*band));
    if (report_.Terminated()) break;
  }
}

void TfrxEngine::RunVerticalDataBand(TfrxDataBand& band) {
  TfrxDataSet* rows = frxRowsOf(band);
  if (!rows) return;
  std::vector<TfrxGroupHeader*> groups;
  if (band.GroupBand)
    for (TfrxBand* header : band.GroupBand->LinkedBands()) groups.push_back(static_cast<TfrxGroupHeader*>(header));
  rows->First();
  band.BandRowNo = 1;
  band.BandRowNoThrough = 1;
  frxForgetRepeatedValues(band);
  bool first = true;
  while (!rows->Eof()) {
    if (first) {
      ShowBand(band.HeaderBand);
      PushHeader(band.HeaderBand);
    }
    if (!groups.empty()) {
      if (first)
        StartGroups(band, groups, true, 0);
      else
        TestGroupChange(band, groups, 0, 0);
    }
    rowNo_ = band.BandRowNo;
    rowNoThrough_ = band.BandRowNoThrough;
    ShowBand(&band);
    TellRowListeners(band);
    for (TfrxGroupHeader* group : groups) ++groupRows_[group];
    ++band.BandRowNo;
    ++band.BandRowNoThrough;
    RunVerticalDataBands(band);
    if (band.FooterAfterEach()) ShowBand(band.FooterBand);
    first = false;
    rows->Next();
    if ((band.RowCount() != 0 && band.BandRowNo > band.RowCount()) || report_.Terminated()) break;
  }
  if (first) return;
  if (!groups.empty()) EndGroups(band, groups, 0);
  PopHeader(band.HeaderBand);
  if (!band.FooterAfterEach()) ShowBand(band.FooterBand);
}

bool TfrxEngine::ShowVerticalBand(TfrxBand& band) {
  TfrxBand& master = *verticalMaster_;
  const bool isFooter = dynamic_cast<TfrxFooter*>(&band) || dynamic_cast<TfrxGroupFooter*>(&band);
  if (dynamic_cast<TfrxDataBand*>(&band)) ++curVColumn_;
  activeBand_ = isFooter ? &band : &master;
  report_.SetCurrentObjectName(band.Name());
  band.BeforePrint();
  report_.FireBeforePrint(band);
  const bool visible = band.Visible();
  if (visible) {
    // A cell wider than the page stays where it starts rather than open page after page.
    if (pageWidth_ < curX_ + band.Width() && curX_ > 0 && !reshowingVerticalHeaders_) {
      if (currentReportPage_->EndlessWidth()) {
        pageWidth_ += band.Width();
      } else {
        // The cells go on at the left of the next output page, after the headers.
        pages_.SetNewPageMode(TfrxNewPageMode::Reuse);
        pages_.StartOutputPage(*currentReportPage_);
        curX_ = 0;
        verticalPageBreaks_.push_back(master.Objects().size());
        ShowVerticalHeadersAgain();
      }
    }
    CopyCellsIntoMaster(band);
    curX_ += band.Width();
  }
  report_.SetCurrentObjectName(band.Name());
  report_.FireAfterPrint(band);
  band.AfterPrint();
  // The row counts in its column of the master's totals; a footer's cells start again.
  if (dynamic_cast<TfrxDataBand*>(&band)) aggregates_.AddRow(&master, curVColumn_);
  if (isFooter) aggregates_.ResetShownIn(&band);
  return visible;
}

void TfrxEngine::ShowVerticalHeadersAgain() {
  TFlagScope reshowing(reshowingVerticalHeaders_, true);
  for (int i = 0; i < verticalHeaders_.Count(); ++i) {
    TfrxBand* header = verticalHeaders_.Items(i).Band;
    if (!header) continue;
    const bool overflow = header->Overflow;
    header->Overflow = true;
    ShowVerticalBand(*header);
    header->Overflow = overflow;
  }
}

void TfrxEngine::CopyCellsIntoMaster(TfrxBand& band) {
  TfrxBand& master = *verticalMaster_;
  const std::vector<TfrxComponent*> objects = band.Objects();
  for (TfrxComponent* object : objects) {
    auto* cell = dynamic_cast<TfrxReportComponent*>(object);
    auto moved = std::find_if(movedCells_.begin(), movedCells_.end(),
                              [object](const TMovedCell& m) { return m.Object == object; });
    if (!cell || moved == movedCells_.end() || moved->HomeBand != &master) continue;
    report_.SetCurrentObjectName(cell->Name());
    cell->BeforePrint();
    report_.FireBeforePrint(*cell);
    if (cell->Visible()) {
      cell->FetchData();
      report_.RunScriptEvent(cell, cell->OnAfterData());
    }
    TfrxComponent* copy = cell->ClassInfo().Factory()(&master);
    copy->Assign(*cell);
    copy->SetOutputAlias(cell->OutputAlias());
    copy->SetSourceObject(cell->SourceObject());
    copy->SetLeft(cell->Left() + curX_);
    cell->AfterPrint();
  }
}

void TfrxEngine::OutputVerticalMaster(TfrxBand& band) {
  const int page = pages_.CurrentPage();
  const double y = curY_, x = curX_;
  band.SetLeft(0);
  pages_.SetNewPageMode(TfrxNewPageMode::Reuse);
  {
    TStretchVisibility stretches(band);
    const size_t count = verticalPageBreaks_.size() - 1;
    for (size_t k = 0; k < count; ++k) {
      stretches.ShowOnly(verticalPageBreaks_[k], verticalPageBreaks_[k + 1]);
      pages_.EmitBand(band);
      if (k + 1 < count) {
        // The next page of the stretch, with its page header and footer but without
        // the data headers of this page.
        TFlagScope suppressing(suppressHeaders_, true);
        NewPage();
      } else if (count > 1) {
        CompletePage();
      }
    }
  }
  pages_.SetCurrentPage(page);
  curY_ = y;
  curX_ = x;
  pages_.SetNewPageMode(TfrxNewPageMode::Append);
}
