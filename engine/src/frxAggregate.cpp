// Totals: the items' accumulation, keeping, undo and results, and the list operations
// the engine calls while it prints. Finding the calls is frxAggregate_scan.cpp.
#include "engine/frxAggregate.h"

#include "frxAggregate_text.h"
#include "platform/TextCase.h"
#include "report/frxClassBand.h"
#include "report/frxClassReport.h"
#include "script/fs_iexpression.h"

TfrxAggregateKind frxAggregateKindOf(std::string_view functionName) {
  const std::string name = AnsiUpperCase(functionName);
  if (name == "SUM") return TfrxAggregateKind::Sum;
  if (name == "AVG") return TfrxAggregateKind::Avg;
  if (name == "MIN") return TfrxAggregateKind::Min;
  if (name == "MAX") return TfrxAggregateKind::Max;
  return TfrxAggregateKind::Count;
}

// --- one item ---------------------------------------------------------------------------

Variant TfrxAggregateItem::RowValue() const {
  if (kind_ == TfrxAggregateKind::Count) return Variant::Null();
  Variant v = report_.Calc(Expression);
  // A condition counts its rows: true adds 1, false 0 (so a total of booleans is a number).
  if (v.kind() == VarKind::Boolean) return Variant(int32_t{v.toBool() ? 1 : 0});
  // Unassigned is nothing to add, like null.
  if (v.isEmpty()) return Variant::Null();
  return v;
}

void TfrxAggregateItem::Combine(Variant& into, const Variant& v) const {
  if (into.isNull()) {
    into = v;
    return;
  }
  if (v.isNull()) return;
  try {
    switch (kind_) {
      case TfrxAggregateKind::Min:
        if (fsVarCompare(TfsComparison::Less, v, into)) into = v;
        break;
      case TfrxAggregateKind::Max:
        if (fsVarCompare(TfsComparison::Greater, v, into)) into = v;
        break;
      default:
        into = fsVarOperate(TfsOperator::Add, into, v);
    }
  } catch (const EVariantError& e) {
    throw EfrxReportError(MemoName + ": " + e.what());
  }
}

void TfrxAggregateItem::Accumulate(TAccumulator& into, const Variant& v) const {
  if (kind_ != TfrxAggregateKind::Avg || !v.isNull()) ++into.Count;
  Combine(into.Value, v);
}

void TfrxAggregateItem::CheckColumn(int column) const {
  if (column < 0 || column > kMaxVerticalColumn)
    throw EfrxReportError(MemoName + ": column " + std::to_string(column) + " is past the " +
                          std::to_string(kMaxVerticalColumn) + " columns a total keeps");
}

void TfrxAggregateItem::AddValue(int column) {
  if (!includeInvisible_ && !dataBand_->Visible()) return;
  report_.SetCurrentObjectName(MemoName);
  const Variant v = RowValue();
  if (column >= 1) {
    CheckColumn(column);
    if (columns_.empty()) columns_.resize(kMaxVerticalColumn + 1);
    Accumulate(columns_[static_cast<size_t>(column)], v);
    return;
  }
  if (keeping_) {
    keepWithoutLastRow_ = keep_;
    withoutLastRow_.reset();  // the value does not hold the last row
    Accumulate(keep_, v);
  } else {
    withoutLastRow_ = count_;
    Accumulate(count_, v);
  }
  undone_ = false;
}

void TfrxAggregateItem::ResetItem(bool evenRunning) {
  if (!evenRunning && runningTotal_ && count_.Count != 0) return;
  count_ = {};
  columns_.clear();
  // What the value held before the reset can never come back.
  withoutLastRow_.reset();
}

void TfrxAggregateItem::ClearValues() {
  ResetItem(true);
  keeping_ = false;
  keep_ = {};
  keepWithoutLastRow_.reset();
  undone_ = false;
}

Variant TfrxAggregateItem::ResultOf(const Variant& value, int count) const {
  Variant result = value;
  if (kind_ == TfrxAggregateKind::Count) {
    result = Variant(int32_t{count});
  } else if (kind_ == TfrxAggregateKind::Avg && !value.isNull() && count != 0) {
    try {
      result = fsVarOperate(TfsOperator::Divide, value, Variant(int32_t{count}));
    } catch (const EVariantError& e) {
      throw EfrxReportError(MemoName + ": " + e.what());
    }
  }
  return result.isNull() ? Variant(int32_t{0}) : result;
}

Variant TfrxAggregateItem::ItemResult(int column) const {
  if (columns_.empty()) return ResultOf(count_.Value, count_.Count);
  CheckColumn(column);
  const TAccumulator& cell = columns_[static_cast<size_t>(column)];
  return ResultOf(cell.Value, cell.Count);
}

void TfrxAggregateItem::StartKeeping() {
  if (!IsPageFooter || keeping_) return;
  keeping_ = true;
  keep_ = {};
  keepWithoutLastRow_.reset();
}

void TfrxAggregateItem::EndKeeping() {
  if (!IsPageFooter || !keeping_) return;
  keeping_ = false;
  if (keepWithoutLastRow_) {
    // The last row now reaches the value with the rest of the buffer; an undo must still
    // be able to take it out.
    TAccumulator without = count_;
    without.Count += keepWithoutLastRow_->Count;
    Combine(without.Value, keepWithoutLastRow_->Value);
    withoutLastRow_ = without;
  }
  count_.Count += keep_.Count;
  Combine(count_.Value, keep_.Value);
  keep_ = {};
  keepWithoutLastRow_.reset();
}

void TfrxAggregateItem::UndoRow() {
  // A last row still in the keep buffer moves with the kept bands by itself.
  if (!withoutLastRow_) return;
  count_ = *withoutLastRow_;
  withoutLastRow_.reset();
  undone_ = true;
}

void TfrxAggregateItem::RedoRow() {
  if (!undone_) return;
  undone_ = false;
  AddValue(0);
}

// --- the list ----------------------------------------------------------------------------

TfrxAggregateList::~TfrxAggregateList() = default;

void TfrxAggregateList::ClearList() { items_.clear(); }

TfrxAggregateItem& TfrxAggregateList::AddItem(TfrxAggregateKind kind, const TfrxBand* dataBand, int flags) {
  items_.push_back(std::make_unique<TfrxAggregateItem>(report_, kind, dataBand, flags));
  return *items_.back();
}

void TfrxAggregateList::AddRow(const TfrxBand* band, int column) {
  for (const auto& item : items_)
    if (item->DataBand() == band) item->AddValue(column);
}

void TfrxAggregateList::UndoRow(const TfrxBand* band) {
  for (const auto& item : items_)
    if (item->DataBand() == band) item->UndoRow();
}

void TfrxAggregateList::RedoRow(const TfrxBand* band) {
  for (const auto& item : items_)
    if (item->DataBand() == band) item->RedoRow();
}

void TfrxAggregateList::ResetShownIn(const TfrxBand* band) {
  for (const auto& item : items_)
    if (item->ParentBand == band) item->ResetItem();
}

void TfrxAggregateList::StartKeeping() {
  for (const auto& item : items_) item->StartKeeping();
}

void TfrxAggregateList::EndKeeping() {
  for (const auto& item : items_) item->EndKeeping();
}

void TfrxAggregateList::ClearValues() {
  for (const auto& item : items_) item->ClearValues();
}

Variant TfrxAggregateList::FindValue(const TfrxBand* shownIn, int column, std::string_view function,
                                     std::string_view expression, int flags, const TfrxComponent* band) const {
  const TfrxAggregateKind kind = frxAggregateKindOf(function);
  const std::string wanted = frx_aggregate::Trim(expression);
  for (const auto& item : items_) {
    if (item->ParentBand != shownIn || item->Kind() != kind) continue;
    if (AnsiCompareText(item->Expression, wanted) != 0) continue;
    if (band && static_cast<const TfrxComponent*>(item->DataBand()) != band) continue;
    if (item->IncludeInvisible() != ((flags & 1) != 0) || item->RunningTotal() != ((flags & 2) != 0)) continue;
    return item->ItemResult(column);
  }
  return Variant::Null();
}
