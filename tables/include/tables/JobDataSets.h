#pragma once
// The report datasets of the job tables, as the main window carries them: "Dane",
// "Seria" and "Sumy" over the three tables, and frxDBDataset1 without a table. All read
// the tables as they are (no field aliases) and leave them open after a run.
//
// Moving "Dane" (First, Next) moves db_Data, whose after-scroll handler re-filters Seria
// and Sumy to the current main record: detail bands over "Seria" and "Sumy" inside a
// master band over "Dane" read exactly that record's rows, while RecordCount of a
// detail dataset still counts every row of the job.
//
// The tables must outlive the datasets; both live as long as the main window.

#include "tables/JobTables.h"
#include "tables/frxDBSet.h"

class TJobDataSets {
 public:
  explicit TJobDataSets(TJobTables& tables);
  TJobDataSets(const TJobDataSets&) = delete;
  TJobDataSets& operator=(const TJobDataSets&) = delete;

  TfrxDBDataset src_Data{nullptr};       // "Dane" over db_Data
  TfrxDBDataset src_Serial{nullptr};     // "Seria" over db_Serial
  TfrxDBDataset src_sumy{nullptr};       // "Sumy" over db_sumy
  TfrxDBDataset frxDBDataset1{nullptr};  // "frxDBDataset1", no table
};
