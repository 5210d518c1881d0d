// A report's walk over a job through the datasets: "Dane" record by record with
// First / Next, and at each record all of its "Seria" rows, reading a field of each, as
// a master band with a detail band does. Run with several job sizes so that the fitted
// complexity shows how the walk grows with the job.
#include <benchmark/benchmark.h>

#include <string>

#include "tables/JobDataSets.h"

namespace {

constexpr int kRowsPerRecord = 20;

void LoadJob(TJobTables& tables, int records) {
  tables.db_Data.EmptyTable();
  tables.db_Serial.EmptyTable();
  for (int n = 1; n <= records; ++n) {
    tables.db_Data.Append();
    tables.db_Data.Fields(0).SetAsString(std::to_string(n));
    tables.db_Data.Fields(1).SetAsString("Faktura VAT nr " + std::to_string(n) + "/12/2026");
    tables.db_Data.Post();
    for (int row = 1; row <= kRowsPerRecord; ++row) {
      tables.db_Serial.Append();
      tables.db_Serial.Fields(0).SetAsString(std::to_string(n));
      tables.db_Serial.Fields(1).SetAsString("Cement portlandzki CEM I 42,5R worek 25 kg");
      tables.db_Serial.Fields(2).SetAsString(std::to_string(row));
      tables.db_Serial.Post();
    }
  }
}

void BM_MasterDetailWalk(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  TJobTables tables;
  tables.CreateJobTables();
  LoadJob(tables, records);
  TJobDataSets sets(tables);
  TfrxDBDataset& dane = sets.src_Data;
  TfrxDBDataset& seria = sets.src_Serial;
  dane.BeginUse();
  seria.BeginUse();

  for (auto _ : state) {
    int64_t rows = 0;
    for (dane.First(); !dane.Eof(); dane.Next()) {
      int rowsOfRecord = 0;
      for (seria.First(); !seria.Eof(); seria.Next()) {
        benchmark::DoNotOptimize(seria.Value("S1"));
        benchmark::DoNotOptimize(seria.Value("s2"));
        ++rowsOfRecord;
      }
      if (rowsOfRecord != kRowsPerRecord) {
        state.SkipWithError("a main record did not get exactly its own rows");
        break;
      }
      rows += rowsOfRecord;
    }
    if (rows != static_cast<int64_t>(records) * kRowsPerRecord) state.SkipWithError("rows missing from the walk");
  }
  seria.EndUse();
  dane.EndUse();
  state.SetItemsProcessed(state.iterations() * records * kRowsPerRecord);
  state.SetComplexityN(records);
}
BENCHMARK(BM_MasterDetailWalk)->Arg(125)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond)->Complexity();

// The same walk on the tables themselves, without the datasets: the difference to the
// walk above is what the dataset layer costs.
void BM_MasterDetailWalkTablesOnly(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  TJobTables tables;
  tables.CreateJobTables();
  LoadJob(tables, records);
  TRxMemoryData& dane = tables.db_Data;
  TRxMemoryData& seria = tables.db_Serial;
  for (auto _ : state) {
    int64_t rows = 0;
    for (dane.First(); !dane.Eof(); dane.Next()) {
      for (seria.First(); !seria.Eof(); seria.Next()) {
        benchmark::DoNotOptimize(seria.FieldByName("S1").Value());
        benchmark::DoNotOptimize(seria.FieldByName("s2").Value());
        ++rows;
      }
    }
    if (rows != static_cast<int64_t>(records) * kRowsPerRecord) state.SkipWithError("rows missing from the walk");
  }
  state.SetItemsProcessed(state.iterations() * records * kRowsPerRecord);
  state.SetComplexityN(records);
}
BENCHMARK(BM_MasterDetailWalkTablesOnly)->Arg(125)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond)->Complexity();

// The per-read cost of a field by name on a wide record (Dane has 201 fields).
void BM_ValueByName(benchmark::State& state) {
  TJobTables tables;
  tables.CreateJobTables();
  LoadJob(tables, 1);
  TJobDataSets sets(tables);
  TfrxDBDataset& dane = sets.src_Data;
  dane.BeginUse();
  dane.First();
  for (auto _ : state) benchmark::DoNotOptimize(dane.Value("d150"));
  dane.EndUse();
}
BENCHMARK(BM_ValueByName);

}  // namespace

BENCHMARK_MAIN();
