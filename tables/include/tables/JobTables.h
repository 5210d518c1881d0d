#pragma once
// The three tables that hold one job's data: Dane (the document's main records), Seria
// and Sumy (two kinds of detail rows, each belonging to a main record through D0).
// The main window owns one TJobTables for the life of the process; nothing here needs
// a window, so the loader, the report datasets and the tests use it alone.
//
// The constructor wires the handlers; CreateJobTables adds the definitions and opens the
// tables, once. Whenever Dane's current record changes (a move, an Append), Seria and
// Sumy are re-filtered to the rows whose D0 names that record, and moved to the first of
// them; their record counts still count every row of the job. The detail tables index
// their D0, so a move visits only the rows of the current main record.

#include <cstdint>
#include <optional>

#include "tables/RxMemDS.h"

class TJobTables {
 public:
  static constexpr int kMainFieldCount = 200;    // D1 .. D200 after D0
  static constexpr int kMainFieldSize = 255;
  static constexpr int kDetailFieldCount = 20;   // S1 .. S20, U1 .. U20 after D0
  static constexpr int kDetailFieldSize = 50;
  static constexpr int kDetailKeySize = 10;      // D0 of Seria and Sumy

  TJobTables();
  TJobTables(const TJobTables&) = delete;
  TJobTables& operator=(const TJobTables&) = delete;

  // Definitions and opening, in the order the program has always used: Seria's D0,
  // Sumy's D0, Seria's S1..S20, open Seria; Dane's D0..D200, open Dane; Sumy's
  // U1..U20, open Sumy.
  void CreateJobTables();

  TRxMemoryData db_Data{"db_Data"};      // report alias "Dane"
  TRxMemoryData db_Serial{"db_Serial"};  // report alias "Seria"
  TRxMemoryData db_sumy{"db_sumy"};      // report alias "Sumy"

  void db_DataAfterScroll(TRxMemoryData& DataSet);
  void db_SerialFilterRecord(TRxMemoryData& DataSet, bool& Accept);
  void db_sumyFilterRecord(TRxMemoryData& DataSet, bool& Accept);

 private:
  void Refilter(TRxMemoryData& detail);
  void AcceptRowsOfCurrentMainRecord(TRxMemoryData& detail, bool& accept);
  // Dane's D0 read as the filters read it; no value when it is not an integer.
  std::optional<int32_t> CurrentMainKey();
};
