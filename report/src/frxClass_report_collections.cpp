// The report's dataset list.
#include <algorithm>
#include <exception>

#include "report/frxClassReport.h"

// ---------------------------------------------------------------------------------------
// TfrxDataSetItem

const TfrxClassInfo& TfrxDataSetItem::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxDataSetItem", nullptr, nullptr, [](TfrxClassInfo& c) {
    using I = TfrxDataSetItem;
    TfrxPublish<I> p(c);
    p.Reference("DataSet", "TfrxDataSet", &I::DataSetRef, &I::SetDataSetRef);
    p.String("DataSetName", &I::DataSetName, &I::SetDataSetName);
  });
  return info;
}

TfrxComponent* TfrxDataSetItem::DataSetRef() const { return dataSet_; }

void TfrxDataSetItem::SetDataSetRef(TfrxComponent* c) { SetDataSet(dynamic_cast<TfrxDataSet*>(c)); }

void TfrxDataSetItem::SetDataSet(TfrxDataSet* dataSet) {
  dataSet_ = dataSet;
  if (dataSet) {
    dataSetName_ = dataSet->UserName();
    owner_.Report().FreeNotification(dataSet);
  }
}

std::string TfrxDataSetItem::DataSetName() const { return dataSet_ ? dataSet_->UserName() : dataSetName_; }

void TfrxDataSetItem::SetDataSetName(const std::string& name) {
  dataSetName_ = name;
  dataSet_ = nullptr;
  if (TfrxComponent* found = owner_.Report().FindDataSetByName(name)) {
    dataSet_ = dynamic_cast<TfrxDataSet*>(found);
    if (dataSet_) owner_.Report().FreeNotification(dataSet_);
  }
}

// ---------------------------------------------------------------------------------------
// TfrxReportDataSets

TfrxDataSetItem& TfrxReportDataSets::Add() {
  return *items_.emplace_back(std::make_unique<TfrxDataSetItem>(*this));
}

void TfrxReportDataSets::Add(TfrxDataSet* dataSet) { Add().SetDataSet(dataSet); }

void TfrxReportDataSets::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  if (TfrxDataSet* d = Items(index).DataSet()) d->SetReport(nullptr);
  items_.erase(items_.begin() + index);
}

void TfrxReportDataSets::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

TfrxDataSetItem* TfrxReportDataSets::Find(const TfrxDataSet* dataSet) const {
  for (const auto& item : items_)
    if (dataSet && item->DataSet() == dataSet) return item.get();
  return nullptr;
}

TfrxDataSet* TfrxReportDataSets::FindByAlias(std::string_view alias) const {
  for (const auto& item : items_)
    if (item->DataSet() && frxSameText(item->DataSet()->UserName(), alias)) return item->DataSet();
  return nullptr;
}

void TfrxReportDataSets::Initialize() {
  Finalize();
  try {
    for (const auto& item : items_) {
      TfrxDataSet* d = item->DataSet();
      // A dataset listed twice is begun (and ended) once.
      if (!d || std::find(inUse_.begin(), inUse_.end(), d) != inUse_.end()) continue;
      d->SetReport(&report_);
      inUse_.push_back(d);
      d->BeginUse();
    }
  } catch (...) {
    // Those begun so far end again, so no dataset stays hooked to its table.
    Finalize();
    throw;
  }
}

void TfrxReportDataSets::Finalize() {
  std::vector<TfrxDataSet*> inUse;
  inUse.swap(inUse_);
  std::exception_ptr firstError;
  for (TfrxDataSet* d : inUse) {
    try {
      d->EndUse();
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
    d->SetReport(nullptr);
  }
  if (firstError) std::rethrow_exception(firstError);
}

void TfrxReportDataSets::Forget(const TComponent* dataSet) {
  std::erase_if(inUse_, [dataSet](TfrxDataSet* d) { return static_cast<const TComponent*>(d) == dataSet; });
  for (const auto& item : items_)
    if (item->DataSet() && static_cast<const TComponent*>(item->DataSet()) == dataSet) item->SetDataSet(nullptr);
}
