#pragma once
// Small helpers shared by the engine's sources.

#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"

// Sets a flag for the life of a scope and puts the old value back, also on failure.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  ~TFlagScope() { flag_ = old_; }

 private:
  bool& flag_;
  bool old_;
};

// The records a data band prints: its dataset, or, without one, its own counter of
// RowCount records; none when it has neither.
inline TfrxDataSet* frxRowsOf(TfrxDataBand& band) {
  if (auto* dataSet = dynamic_cast<TfrxDataSet*>(band.DataSet())) return dataSet;
  return band.RowCount() > 0 ? &band.RecordCounter() : nullptr;
}

// The memos of a band that hide a value repeating the row before print it again.
void frxForgetRepeatedValues(TfrxBand& band);
