#pragma once
// The DataSet / DataSetName pair that views, report pages and data bands share.
//
// Setting the dataset stores it and copies its user name (empty for none); setting the
// name stores it and looks the dataset up by that name through the report. The name
// reads as the dataset's user name while a dataset is set, else as stored. The holder
// asks for the dataset's removal notification and passes it on to Forget, which clears
// the reference (the stored name stays).

#include <string>

#include "report/frxClassComponent.h"

class TfrxDataSetLink {
 public:
  explicit TfrxDataSetLink(TfrxComponent& holder) : holder_(holder) {}
  TfrxDataSetLink(const TfrxDataSetLink&) = delete;
  TfrxDataSetLink& operator=(const TfrxDataSetLink&) = delete;

  TfrxComponent* DataSet() const { return dataSet_; }
  void SetDataSet(TfrxComponent* dataSet);
  std::string Name() const;
  void SetName(const std::string& name);
  // The holder's removal notification: a dataset that goes is no longer referred to.
  void Forget(const TComponent* component);

 private:
  void Refer(TfrxComponent* dataSet);

  TfrxComponent& holder_;
  TfrxComponent* dataSet_ = nullptr;
  std::string name_;
};
