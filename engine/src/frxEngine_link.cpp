// TfrxEngine: linking the bands of a report page before a run. Data bands become master
// and detail trees, headers and footers join their data bands, group headers form
// chains around a data band, and objects lying on a vertical band become its cells.
#include <algorithm>
#include <cmath>
#include <map>

#include "engine/frxEngine.h"
#include "frxEngine_helpers.h"
#include "report/frxRes.h"

namespace {

constexpr double kEpsilon = 0.0001;

// Band numbers of the engine's table of band kinds (TfrxBand::KindIndex).
constexpr int kHeaderKind = 4, kFooterKind = 5, kMasterKind = 6, kDataBand6Kind = 11, kGroupHeaderKind = 12,
              kGroupFooterKind = 13;

bool IsDataKind(int kind) { return kind >= kMasterKind && kind <= kDataBand6Kind; }

// The linking error of a key ("enBandPos", ...) for a band.
std::string LinkError(const char* key, const TfrxBand& band) { return frxResources().Get(key) + " " + band.Name(); }

// The structural bands of one orientation (headers, footers, data bands, groups) in
// page order: by Top, or by Left for vertical bands, to two decimals. A band at the
// same place as one before it in the page's object order takes no part at all.
std::vector<TfrxBand*> OrderedStructuralBands(const std::vector<TfrxBand*>& bands, bool vertical) {
  std::map<long long, TfrxBand*> byPlace;
  for (TfrxBand* band : bands) {
    const int kind = band->KindIndex();
    if (kind < kHeaderKind || kind > kGroupFooterKind) continue;
    const double place = vertical ? band->Left() : band->Top();
    byPlace.emplace(std::llround(place * 100), band);
  }
  std::vector<TfrxBand*> ordered;
  for (const auto& [place, band] : byPlace) ordered.push_back(band);
  return ordered;
}

void Compact(std::vector<TfrxBand*>& list) { std::erase(list, nullptr); }

// Group chains: each group header with the headers right after it, outermost first,
// around the next data band; group footers join the nearest open header before them.
// Every group band leaves the list.
void LinkGroups(std::vector<TfrxBand*>& list, TfrxErrorList& errors) {
  for (size_t i = 0; i < list.size();) {
    auto* first = dynamic_cast<TfrxGroupHeader*>(list[i]);
    if (!first) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < list.size() && dynamic_cast<TfrxGroupHeader*>(list[end])) first->LinkedBands().push_back(list[end++]);
    auto dataBand = std::find_if(list.begin() + static_cast<long>(end), list.end(),
                                 [](TfrxBand* b) { return IsDataKind(b->KindIndex()); });
    if (dataBand == list.end())
      errors.Add(LinkError("enUnconnGroup", *first));
    else
      (*dataBand)->GroupBand = first;
    i = end;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i] || list[i]->KindIndex() != kGroupFooterKind) continue;
    for (size_t j = i; j-- > 0;)
      if (list[j] && list[j]->KindIndex() == kGroupHeaderKind) {
        list[j]->FooterBand = list[i];
        list[j] = list[i] = nullptr;
        break;
      }
  }
  for (TfrxBand*& band : list) {
    if (!band) continue;
    if (band->KindIndex() == kGroupHeaderKind) band = nullptr;
    else if (band->KindIndex() == kGroupFooterKind) {
      errors.Add(LinkError("enUnconnGFooter", *band));
      band = nullptr;
    }
  }
  Compact(list);
}

// A header right before a data band and a footer right after it are that band's.
void LinkHeadersAndFooters(std::vector<TfrxBand*>& list, TfrxErrorList& errors) {
  std::vector<TfrxBand*> taken = list;
  for (size_t i = 0; i < list.size(); ++i) {
    if (!IsDataKind(list[i]->KindIndex())) continue;
    if (i > 0 && list[i - 1]->KindIndex() == kHeaderKind) {
      list[i]->HeaderBand = list[i - 1];
      taken[i - 1] = nullptr;
    }
    if (i + 1 < list.size() && list[i + 1]->KindIndex() == kFooterKind) {
      list[i]->FooterBand = list[i + 1];
      taken[i + 1] = nullptr;
    }
  }
  for (TfrxBand*& band : taken) {
    if (!band) continue;
    const int kind = band->KindIndex();
    if (kind == kHeaderKind || kind == kFooterKind) {
      errors.Add(LinkError("enUnconnHeader", *band));
      band = nullptr;
    }
  }
  list = taken;
  Compact(list);
}

// The details of list[at]: the bands one level deeper that follow it before the next
// band of its own level or above; each collects its own details in turn.
void CollectDetails(std::vector<TfrxBand*>& list, size_t at) {
  TfrxBand* master = list[at];
  const int level = master->KindIndex();
  list[at] = nullptr;
  for (size_t j = at + 1; j < list.size(); ++j) {
    if (!list[j]) continue;
    const int kind = list[j]->KindIndex();
    if (kind <= level) break;
    if (kind != level + 1) continue;
    auto& detail = static_cast<TfrxDataBand&>(*list[j]);
    if (frxRowsOf(detail)) master->LinkedBands().push_back(&detail);
    if (kind == kDataBand6Kind)
      list[j] = nullptr;
    else
      CollectDetails(list, j);
  }
}

}  // namespace

void TfrxEngine::LinkAllPages() {
  for (TfrxReportPage* page : ReportPages()) {
    currentReportPage_ = page;
    LinkBands(*page, false);
    LinkBands(*page, true);
  }
}

void TfrxEngine::LinkBands(TfrxReportPage& page, bool vertical) {
  page.ApplyAlignment();
  std::vector<TfrxBand*>& masters = vertical ? page.VLinkedBands() : page.LinkedBands();
  masters.clear();
  std::vector<TfrxBand*> bands;
  for (TfrxComponent* c : page.Objects())
    if (auto* band = dynamic_cast<TfrxBand*>(c); band && band->Vertical() == vertical) bands.push_back(band);
  for (TfrxBand* band : bands) {
    band->ShiftDependents().clear();
    BuildShiftTree(*band);
    band->LinkedBands().clear();
    band->HeaderBand = band->FooterBand = band->GroupBand = nullptr;
    band->HasVerticalCells = false;
  }
  if (!vertical) MoveCellsIntoVerticalBands(page);

  TfrxErrorList& errors = report_.Errors();
  std::vector<TfrxBand*> list = OrderedStructuralBands(bands, vertical);
  LinkGroups(list, errors);
  LinkHeadersAndFooters(list, errors);
  for (size_t i = 0; i < list.size(); ++i) {
    if (!list[i] || list[i]->KindIndex() != kMasterKind) continue;
    auto& master = static_cast<TfrxDataBand&>(*list[i]);
    if (frxRowsOf(master)) masters.push_back(&master);
    CollectDetails(list, i);
  }
  for (TfrxBand* band : list)
    if (band) errors.Add(LinkError("enBandPos", *band));
}

void TfrxEngine::MoveCellsIntoVerticalBands(TfrxReportPage& page) {
  std::vector<TfrxBand*> verticalBands;
  for (TfrxComponent* c : page.Objects())
    if (auto* band = dynamic_cast<TfrxBand*>(c); band && band->Vertical()) verticalBands.push_back(band);
  if (verticalBands.empty()) return;
  for (TfrxComponent* c : page.Objects()) {
    auto* home = dynamic_cast<TfrxBand*>(c);
    if (!home || home->Vertical() || dynamic_cast<TfrxOverlay*>(home)) continue;
    const std::vector<TfrxComponent*> objects = home->Objects();
    for (TfrxComponent* object : objects)
      for (TfrxBand* column : verticalBands) {
        if (object->Left() < column->Left() - kEpsilon ||
            column->Left() + column->Width() + kEpsilon < object->Left() + object->Width())
          continue;
        movedCells_.push_back({object, home, object->Left()});
        object->SetParent(column);
        object->SetLeft(object->Left() - column->Left());
        home->HasVerticalCells = true;
        break;
      }
  }
}

TfrxBand* TfrxEngine::HomeBandOf(const TfrxComponent& cell) const {
  for (const TMovedCell& moved : movedCells_)
    if (moved.Object == &cell) return moved.HomeBand;
  return nullptr;
}

void TfrxEngine::PutCellsBack() {
  for (auto cell = movedCells_.rbegin(); cell != movedCells_.rend(); ++cell) {
    cell->Object->SetParent(cell->HomeBand);
    cell->Object->SetLeft(cell->Left);
  }
  movedCells_.clear();
}
