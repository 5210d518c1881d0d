// TfrxEngine: showing one band. Preparing it for the current row (stretching its
// objects and shifting those below), placing it on the page, splitting it over pages
// and columns when it does not fit, and releasing it back to its template state.
#include <algorithm>
#include <map>

#include "engine/frxEngine.h"
#include "prepared/frxPreviewPages.h"

namespace {

constexpr double kEpsilon = 0.0001;

// Whether two ranges overlap: each starts more than kEpsilon before the other ends.
bool RangesOverlap(double start1, double end1, double start2, double end2) {
  return start1 < end2 - kEpsilon && start2 < end1 - kEpsilon;
}

TfrxStretcheable* AsStretcheable(TfrxComponent* c) { return dynamic_cast<TfrxStretcheable*>(c); }

TfrxShiftMode ShiftModeOf(const TfrxReportComponent& c) {
  auto* view = dynamic_cast<const TfrxView*>(&c);
  return view ? view->ShiftMode() : smAlways;
}

bool IsNullBand(const TfrxBand& band) { return dynamic_cast<const TfrxNullBand*>(&band) != nullptr; }

// An object's rectangle in page coordinates, for the shift tree.
struct TShiftRect {
  TfrxReportComponent* Object = nullptr;  // none: the sentinel above the band
  double Left = 0, Top = 0, Width = 0, Height = 0;
  double Right() const { return Left + Width; }
  double Bottom() const { return Top + Height; }
};

bool OverlapY(const TShiftRect& a, const TShiftRect& b) { return RangesOverlap(a.Top, a.Bottom(), b.Top, b.Bottom()); }

// Moves the shift children of `parent` (an object, or the band) as their ShiftMode says,
// depth first. An object below two growing neighbours is reached twice: it moves by the
// larger offset, not by their sum, so `reached` remembers the offset each object got.
class TShifter {
 public:
  void Shift(TfrxReportComponent& parent, bool parentIsBand, double dy) {
    for (TfrxReportComponent* c : parent.ShiftDependents()) {
      double passOn = 0;
      switch (ShiftModeOf(*c)) {
        case smAlways: {
          auto found = reached_.find(c);
          if (found != reached_.end() && found->second >= dy) continue;
          const double before = found == reached_.end() ? 0 : found->second;
          reached_[c] = dy;
          c->SetTop(c->Top() + dy - before);
          passOn = dy + c->ExtraHeight;
          break;
        }
        case smWhenOverlapped: {
          const double parentBottom = parent.Top() + parent.Height();
          if (parentIsBand || c->Top() >= parentBottom) {
            passOn = c->ExtraHeight;
          } else {
            passOn = parentBottom - c->Top() + c->ExtraHeight;
            c->SetTop(parentBottom);
          }
          break;
        }
        case smDontShift: {
          auto found = reached_.find(c);
          if (found != reached_.end() && found->second >= dy) continue;
          reached_[c] = dy;
          passOn = dy + c->ExtraHeight;
          break;
        }
      }
      Shift(*c, false, passOn);
    }
  }

 private:
  std::map<const TfrxReportComponent*, double> reached_;
};

}  // namespace

// --- showing -------------------------------------------------------------------------------------

void TfrxEngine::ShowBand(TfrxBand* band) { ShowBandReturningVisible(band); }

bool TfrxEngine::ShowBandReturningVisible(TfrxBand* band) {
  if (!band) return false;
  if (band->KeepChild()) BeginKeep(band);
  const bool visible = PlaceBand(*band);
  if (band->Child() && (visible || band->PrintChildIfInvisible())) ShowBand(band->Child());
  if (band->KeepChild()) FinishKeep(band);
  // A printed data row opens the page run for keeping.
  if (visible && dynamic_cast<TfrxDataBand*>(band) && !band->Vertical()) noBandPlaced_ = false;
  // A row counts once the band and its children are out.
  if (dynamic_cast<TfrxDataBand*>(band)) aggregates_.AddRow(band, 0);
  return visible;
}

void TfrxEngine::ShowBandOfClass(const TfrxClassInfo& bandClass) {
  if (currentReportPage_) ShowBand(currentReportPage_->FirstBandOfClass(bandClass));
}

bool TfrxEngine::PlaceBand(TfrxBand& band) {
  if (band.Vertical()) return ShowVerticalBand(band);
  const bool withCells = band.HasVerticalCells && !dynamic_cast<TfrxPageHeader*>(&band);
  if (withCells) {
    // The cells are produced first; the band then carries them, and is never split.
    const bool allowSplit = band.AllowSplit();
    band.SetAllowSplit(false);
    RunVerticalBands(band);
    try {
      const bool visible = PlaceBandItself(band);
      band.SetAllowSplit(allowSplit);
      verticalMaster_ = nullptr;
      return visible;
    } catch (...) {
      band.SetAllowSplit(allowSplit);
      verticalMaster_ = nullptr;
      throw;
    }
  }
  return PlaceBandItself(band);
}

bool TfrxEngine::PlaceBandItself(TfrxBand& band) {
  auto* dataBand = dynamic_cast<TfrxDataBand*>(&band);
  const bool rowBand = dataBand || dynamic_cast<TfrxGroupHeader*>(&band);
  if (!inOpenPage_ && band.Visible() && band.StartNewPage() && (!rowBand || band.BandRowNo != 1)) {
    pageBreakBand_ = &band;
    auto* group = dynamic_cast<TfrxGroupHeader*>(&band);
    if (group && group->ResetPageNumbers()) pages_.CloseLogicalNumbering();
    NewPage();
    pageBreakBand_ = nullptr;
  }

  PrepareBand(band);
  band.GrownHeight = band.Height();
  const bool visible = band.Visible();
  if (visible) {
    const bool multiColumn = dataBand && dataBand->Columns() > 1;
    const bool fitTested = !multiColumn && !dynamic_cast<TfrxOverlay*>(&band) && !IsNullBand(band);
    bool split = false;
    if (fitTested && FreeSpace() < band.Height()) {
      const bool tallerThanPage = band.Height() > PageHeight() - BottomBandsHeight();
      if ((band.AllowSplit() && !holding_) || tallerThanPage) {
        if (!band.AllowSplit() && band.BandRowNoThrough > 1 && !band.StartNewPage()) {
          activeBand_ = &band;
          NewColumn();
        }
        if (holding_ && heldBand_ == &band) DropKeeping();
        SplitBand(band);
        split = true;
      } else if (!(dynamic_cast<TfrxChild*>(&band) && inPageHeader_)) {
        // The child of a page header never breaks the page.
        NewColumn();
      }
    }
    if (!split) {
      if (!IsNullBand(band)) {
        band.SetLeft(multiColumn ? curX_ + dataBand->Left() : curX_);
        band.SetTop(curY_);
      }
      if (&band == verticalMaster_)
        OutputVerticalMaster(band);
      else if (!inOpenPage_ || !pages_.PageHasBand(band))
        pages_.EmitBand(band);
      if (!IsNullBand(band)) curY_ += band.Height();
    }
  }
  ReleaseBand(band);
  aggregates_.ResetShownIn(&band);
  return visible;
}

// --- preparing -------------------------------------------------------------------------------------

std::vector<TfrxComponent*> TfrxEngine::OwnObjects(const TfrxBand& band) const {
  std::vector<TfrxComponent*> objects = band.Objects();
  // The cells copied into the band that carries vertical bands are already evaluated.
  if (&band == verticalMaster_ && band.OwnObjectCount >= 0 &&
      static_cast<size_t>(band.OwnObjectCount) < objects.size())
    objects.resize(static_cast<size_t>(band.OwnObjectCount));
  return objects;
}

void TfrxEngine::PrepareBand(TfrxBand& band) {
  activeBand_ = &band;
  if (band.ShiftDependents().empty()) BuildShiftTree(band);
  report_.SetCurrentObjectName(band.Name());
  band.BeforePrint();
  report_.FireBeforePrint(band);

  bool grew = false;
  for (TfrxComponent* object : OwnObjects(band)) {
    auto* c = dynamic_cast<TfrxReportComponent*>(object);
    if (!c) continue;
    report_.SetCurrentObjectName(c->Name());
    c->BeforePrint();
    c->ExtraHeight = 0;
    if (!band.Visible()) continue;
    report_.FireBeforePrint(*c);
    if (!c->Visible()) continue;
    c->FetchData();
    report_.RunScriptEvent(c, c->OnAfterData());
    TfrxStretcheable* s = AsStretcheable(c);
    if (!s || s->StretchMode() == smDontStretch) continue;
    const double h = s->CalcHeight();
    if (h > s->Height()) {
      s->ExtraHeight = h - s->Height();
      s->SetHeight(h);
      grew = true;
    }
  }
  if (!band.Visible()) return;
  if (grew) ShiftObjects(band);

  double bottom = 0;
  for (TfrxComponent* c : band.Objects()) bottom = std::max(bottom, c->Top() + c->Height());
  if (band.Stretched()) band.SetHeight(bottom);
  report_.SetCurrentObjectName(band.Name());
  report_.RunScriptEvent(&band, band.OnAfterCalcHeight());
  for (TfrxComponent* c : band.Objects())
    if (TfrxStretcheable* s = AsStretcheable(c); s && s->StretchMode() == smMaxHeight) s->SetHeight(bottom - s->Top());
}

void TfrxEngine::ReleaseBand(TfrxBand& band) {
  const std::vector<TfrxComponent*> own = OwnObjects(band);
  if (band.Visible())
    for (TfrxComponent* object : own)
      if (auto* c = dynamic_cast<TfrxReportComponent*>(object)) {
        report_.SetCurrentObjectName(c->Name());
        report_.FireAfterPrint(*c);
      }
  for (TfrxComponent* object : own)
    if (auto* c = dynamic_cast<TfrxReportComponent*>(object)) c->AfterPrint();
  report_.FireAfterPrint(band);
  band.AfterPrint();
  if (band.OwnObjectCount != -1) {
    // Objects added during output (merged subreports, cells of vertical bands) go with it.
    while (static_cast<int>(band.Objects().size()) > band.OwnObjectCount) delete band.Objects().back();
    band.OwnObjectCount = -1;
  }
}

// --- shifting ---------------------------------------------------------------------------------------

void TfrxEngine::BuildShiftTree(TfrxBand& band) {
  std::vector<TShiftRect> rects;
  rects.push_back({nullptr, 0, band.Top() - 2, band.Width(), 1});
  std::vector<TShiftRect> objects;
  for (TfrxComponent* object : band.Objects())
    if (auto* c = dynamic_cast<TfrxReportComponent*>(object)) {
      c->ShiftDependents().clear();
      objects.push_back({c, c->AbsLeft(), c->AbsTop(), c->Width(), c->Height()});
    }
  std::stable_sort(objects.begin(), objects.end(),
                   [](const TShiftRect& a, const TShiftRect& b) { return a.Top < b.Top; });
  rects.insert(rects.end(), objects.begin(), objects.end());

  for (size_t i = 0; i < rects.size(); ++i) {
    const TShiftRect& a = rects[i];
    std::vector<TfrxReportComponent*>& children = a.Object ? a.Object->ShiftDependents() : band.ShiftDependents();
    for (size_t j = i + 1; j < rects.size(); ++j) {
      const TShiftRect& b = rects[j];
      if (OverlapY(a, b) || b.Top <= a.Top || !RangesOverlap(a.Left, a.Right(), b.Left, b.Right())) continue;
      const double commonLeft = std::max(a.Left, b.Left), commonRight = std::min(a.Right(), b.Right());
      bool screened = false;
      for (size_t k = i + 1; k < j && !screened; ++k) {
        const TShiftRect& c = rects[k];
        screened = !OverlapY(c, a) && !OverlapY(c, b) && RangesOverlap(c.Left, c.Right(), commonLeft, commonRight);
      }
      if (!screened) children.push_back(b.Object);
    }
  }
}

void TfrxEngine::ShiftObjects(TfrxBand& band) {
  TShifter().Shift(band, true, 0);
  for (TfrxComponent* object : band.Objects())
    if (auto* c = dynamic_cast<TfrxReportComponent*>(object)) c->ExtraHeight = 0;
}
