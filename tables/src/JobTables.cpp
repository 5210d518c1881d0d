#include "tables/JobTables.h"

#include <string>

namespace {

// Suspends the updates of controls bound to a table for a scope, also when it throws.
class ControlsSuspended {
 public:
  explicit ControlsSuspended(TRxMemoryData& table) : table_(table) { table_.DisableControls(); }
  ~ControlsSuspended() { table_.EnableControls(); }
  ControlsSuspended(const ControlsSuspended&) = delete;
  ControlsSuspended& operator=(const ControlsSuspended&) = delete;

 private:
  TRxMemoryData& table_;
};

void AddTextFields(TRxMemoryData& table, char prefix, int first, int last, int size) {
  for (int i = first; i <= last; ++i) {
    table.AddFieldDef(prefix + std::to_string(i), TFieldType::ftString, size);
  }
}

}  // namespace

TJobTables::TJobTables() {
  db_Data.AfterScroll = [this](TRxMemoryData& table) { db_DataAfterScroll(table); };
  db_Serial.OnFilterRecord = [this](TRxMemoryData& table, bool& accept) { db_SerialFilterRecord(table, accept); };
  db_sumy.OnFilterRecord = [this](TRxMemoryData& table, bool& accept) { db_sumyFilterRecord(table, accept); };
  // The filters accept only rows keyed by the main record's number (or not keyed by a
  // number): the tables index D0 and offer them those rows alone.
  for (TRxMemoryData* detail : {&db_Serial, &db_sumy}) {
    detail->SetFilterKeyField("D0");
    detail->OnFilterKey = [this](TRxMemoryData&) { return CurrentMainKey(); };
  }
}

void TJobTables::CreateJobTables() {
  db_Serial.AddFieldDef("D0", TFieldType::ftString, kDetailKeySize);
  db_sumy.AddFieldDef("D0", TFieldType::ftString, kDetailKeySize);
  AddTextFields(db_Serial, 'S', 1, kDetailFieldCount, kDetailFieldSize);
  db_Serial.Open();
  AddTextFields(db_Data, 'D', 0, kMainFieldCount, kMainFieldSize);
  db_Data.Open();
  AddTextFields(db_sumy, 'U', 1, kDetailFieldCount, kDetailFieldSize);
  db_sumy.Open();
}

void TJobTables::db_DataAfterScroll(TRxMemoryData&) {
  Refilter(db_Serial);
  Refilter(db_sumy);
}

// Switching the filter off and on again re-runs it against the new main record and
// moves the detail table to its first matching row.
void TJobTables::Refilter(TRxMemoryData& detail) {
  ControlsSuspended suspended(detail);
  detail.SetFiltered(false);
  detail.SetFiltered(true);
}

void TJobTables::db_SerialFilterRecord(TRxMemoryData& DataSet, bool& Accept) {
  AcceptRowsOfCurrentMainRecord(DataSet, Accept);
}

void TJobTables::db_sumyFilterRecord(TRxMemoryData& DataSet, bool& Accept) {
  AcceptRowsOfCurrentMainRecord(DataSet, Accept);
}

std::optional<int32_t> TJobTables::CurrentMainKey() {
  try {
    return db_Data.FieldByName("D0").AsInteger();
  } catch (const std::exception&) {
    return std::nullopt;  // every row is visible
  }
}

// A row that cannot be compared (an empty or non-numeric D0 on either side, no current
// main record) stays visible: the accept flag keeps its initial true.
void TJobTables::AcceptRowsOfCurrentMainRecord(TRxMemoryData& detail, bool& accept) {
  try {
    accept = detail.FieldByName("D0").AsInteger() == db_Data.FieldByName("D0").AsInteger();
  } catch (const std::exception&) {
  }
}
