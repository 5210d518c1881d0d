// TfrxEngine: groups around a data band. A chain of group headers starts before the
// first row; before every later row each header's Condition is evaluated again, and at
// the first one whose value changed that group and all groups inside it end (footers
// while the dataset still stands on the old group's last record) and start again.
#include <algorithm>

#include "engine/frxEngine.h"
#include "frxEngine_helpers.h"
#include "prepared/frxPreviewPages.h"

namespace {

// Whether two condition values differ: numbers by value, texts by their characters,
// anything else by kind and value.
bool ConditionChanged(const Variant& a, const Variant& b) {
  const bool aNone = a.isNull() || a.isEmpty(), bNone = b.isNull() || b.isEmpty();
  if (aNone || bNone) return aNone != bNone;
  if (a.isNumeric() && b.isNumeric()) {
    if (a.isOrdinal() && b.isOrdinal()) return a.toInt64() != b.toInt64();
    return a.toDouble() != b.toDouble();
  }
  if (a.isText() && b.isText()) return a.toWide() != b.toWide();
  return !a.identical(b);
}

}  // namespace

Variant TfrxEngine::GroupCondition(TfrxGroupHeader& group) {
  report_.SetCurrentObjectName(group.Name());
  // A group without a condition never changes.
  if (group.Condition().empty()) return Variant::Null();
  return report_.Calc(group.Condition());
}

void TfrxEngine::StartGroups(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, bool firstTime,
                             size_t from) {
  for (size_t i = from; i < chain.size(); ++i) {
    TfrxGroupHeader& group = *chain[i];
    if (firstTime) {
      group.BandRowNo = 1;
      group.BandRowNoThrough = 1;
      frxForgetRepeatedValues(group);
    } else {
      ++group.BandRowNo;
      ++group.BandRowNoThrough;
      if (i + 1 < chain.size()) chain[i + 1]->BandRowNo = 0;  // becomes 1 in its own step
    }
  }
  ApplyDrillDown(band, chain);
  for (size_t i = from; i < chain.size(); ++i) {
    TfrxGroupHeader& group = *chain[i];
    rowNo_ = group.BandRowNo;
    rowNoThrough_ = group.BandRowNoThrough;
    group.LastValue = GroupCondition(group);
    groupRows_[&group] = 0;
    if (group.KeepTogether() && !group.Vertical()) BeginKeep(&group);
    const bool visible = ShowBandReturningVisible(&group);
    if (AddBandOutline(group, visible)) openOutlines_.insert(&group);
    PushHeader(&group);
  }
}

void TfrxEngine::TestGroupChange(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, double rowY,
                                 int columnPosition) {
  ApplyDrillDown(band, chain);
  for (size_t i = 0; i < chain.size(); ++i) {
    TfrxGroupHeader& group = *chain[i];
    if (!ConditionChanged(GroupCondition(group), group.LastValue)) continue;
    if (band.Columns() > 1) CloseColumnRow(band, rowY, columnPosition);
    // The footers show the old group's last record.
    TfrxDataSet* rows = frxRowsOf(band);
    bool movedBack = true;
    try {
      rows->Prior();
    } catch (const std::exception&) {
      movedBack = false;  // the footers then show the new group's first record
    }
    EndGroups(band, chain, i);
    if (movedBack) rows->Next();
    StartGroups(band, chain, false, i);
    band.BandRowNo = 1;
    frxForgetRepeatedValues(band);
    return;
  }
}

void TfrxEngine::EndGroups(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain, size_t from) {
  for (size_t i = chain.size(); i-- > from;) {
    TfrxGroupHeader& group = *chain[i];
    if (auto* footer = dynamic_cast<TfrxGroupFooter*>(group.FooterBand)) {
      // Hidden for a group of a single row: that group's own rows count, not those of
      // the innermost group.
      if (!footer->HideIfSingleDataRecord() || groupRows_[&group] > 1) ShowBand(footer);
      // A hidden footer's totals start again with the next group all the same.
      aggregates_.ResetShownIn(footer);
    }
    if (openOutlines_.erase(&group)) pages_.Outline().LevelUp();
    PopHeader(&group);
    if (group.KeepTogether()) FinishKeep(&group);
  }
}

void TfrxEngine::ApplyDrillDown(TfrxDataBand& band, const std::vector<TfrxGroupHeader*>& chain) {
  for (size_t i = 0; i < chain.size(); ++i) {
    TfrxGroupHeader& group = *chain[i];
    if (!group.DrillDown()) continue;
    std::string name;
    for (const TfrxBandPathEntry& entry : bandPath_) name += entry.Name + "." + std::to_string(entry.Number) + ".";
    name += group.Name() + "." + std::to_string(group.BandRowNoThrough);
    group.SetDrillName(name);
    const std::vector<std::string>& listed = report_.DrillState();
    const bool inList = std::find(listed.begin(), listed.end(), name) != listed.end();
    const bool expanded = group.ExpandDrillDown() ? !inList : inList;
    if (group.Child() && !group.ShowChildIfDrillDown()) group.Child()->SetVisible(expanded);
    for (size_t j = i + 1; j < chain.size(); ++j) {
      chain[j]->SetVisible(expanded);
      if (chain[j]->FooterBand) chain[j]->FooterBand->SetVisible(expanded);
    }
    band.SetVisible(expanded);
    if (!group.ShowFooterIfDrillDown() && group.FooterBand) group.FooterBand->SetVisible(expanded);
    if (!expanded) return;
  }
}
