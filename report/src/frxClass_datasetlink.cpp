#include "report/frxClassDataSetLink.h"

void TfrxDataSetLink::Refer(TfrxComponent* dataSet) {
  if (dataSet_ && dataSet_ != dataSet) holder_.RemoveFreeNotification(dataSet_);
  dataSet_ = dataSet;
  if (dataSet_) holder_.FreeNotification(dataSet_);
}

void TfrxDataSetLink::SetDataSet(TfrxComponent* dataSet) {
  Refer(dataSet);
  name_ = dataSet ? dataSet->UserName() : std::string();
}

std::string TfrxDataSetLink::Name() const { return dataSet_ ? dataSet_->UserName() : name_; }

void TfrxDataSetLink::SetName(const std::string& name) {
  TfrxComponent* found = holder_.FindDataSet(name);
  name_ = name;
  Refer(found);
}

void TfrxDataSetLink::Forget(const TComponent* component) {
  if (dataSet_ && static_cast<const TComponent*>(dataSet_) == component) dataSet_ = nullptr;
}
