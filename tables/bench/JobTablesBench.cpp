// The job tables under a large job: filling Dane with invoice records, reading them back
// field by field, and walking Dane while Seria follows each main record.
#include <benchmark/benchmark.h>

#include <string>

#include "tables/JobTables.h"

namespace {

constexpr int kFieldsPerRecord = 20;
constexpr int kRowsPerRecord = 10;

// Typical invoice header values, the kinds of text a data file carries.
const char* const kInvoiceValues[kFieldsPerRecord] = {
    "Hurtownia Materiałów Budowlanych \"Wisła\" sp. z o.o.", "ul. Przemysłowa 12", "30-701 Kraków",
    "NIP 677-00-12-345", "Faktura VAT nr 1234/12/2024", "2024-12-10", "2024-12-24", "przelew",
    "PKO BP 12 1020 2892 0000 5102 0123 4567", "Jan Kowalski", "Anna Nowak", "1 234,56", "283,95",
    "1 518,51", "jeden tysiąc pięćset osiemnaście złotych 51/100", "PLN", "Magazyn główny",
    "Zamówienie 88/2024", "Uwagi: towar odebrano osobiście", "Oryginał"};

void AddInvoice(TJobTables& tables, int number) {
  TRxMemoryData& dane = tables.db_Data;
  dane.Append();
  dane.Fields(0).SetAsString(std::to_string(number));
  for (int i = 0; i < kFieldsPerRecord; ++i) dane.Fields(i + 1).SetAsString(kInvoiceValues[i]);
  dane.Post();
}

void AddRows(TJobTables& tables, int number) {
  TRxMemoryData& seria = tables.db_Serial;
  for (int row = 1; row <= kRowsPerRecord; ++row) {
    seria.Append();
    seria.Fields(0).SetAsString(std::to_string(number));
    seria.Fields(1).SetAsString("Cement portlandzki CEM I 42,5R worek 25 kg");
    seria.Fields(2).SetAsString(std::to_string(row));
    seria.Fields(3).SetAsString("szt.");
    seria.Fields(4).SetAsString("18,50");
    seria.Post();
  }
}

// A job of `records` main records; the first `withRows` of them get ten Seria rows each.
void LoadJob(TJobTables& tables, int records, int withRows) {
  tables.db_Data.EmptyTable();
  tables.db_Serial.EmptyTable();
  tables.db_Serial.SetCapacity(withRows * kRowsPerRecord);
  tables.db_Data.SetCapacity(records);
  for (int n = 1; n <= records; ++n) {
    AddInvoice(tables, n);
    if (n <= withRows) AddRows(tables, n);
  }
}

void BM_FillDane(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  for (auto _ : state) {
    TJobTables tables;
    tables.CreateJobTables();
    LoadJob(tables, records, 0);
    benchmark::DoNotOptimize(tables.db_Data.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * records);  // items: Dane records
}
BENCHMARK(BM_FillDane)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadDaneByName(benchmark::State& state) {
  TJobTables tables;
  tables.CreateJobTables();
  LoadJob(tables, 10000, 0);
  const std::string names[] = {"D1", "D5", "D12", "D20"};
  int64_t reads = 0;
  for (auto _ : state) {
    for (tables.db_Data.First(); !tables.db_Data.Eof(); tables.db_Data.Next()) {
      for (const auto& name : names) benchmark::DoNotOptimize(tables.db_Data.FieldByName(name).Value());
      reads += 4;
    }
  }
  state.SetItemsProcessed(reads);
}
BENCHMARK(BM_ReadDaneByName)->Unit(benchmark::kMillisecond);

// Walks every Dane record and, inside it, every Seria row it shows, as a master band
// over Dane with a detail band over Seria does. Arguments: main records, records that
// have rows, and 1 for the tables as they are (Seria indexed by D0) or 0 for the plain
// scan that asks the filter about every row on the way, for comparison.
void BM_WalkDaneWithSeria(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  const int withRows = static_cast<int>(state.range(1));
  TJobTables tables;
  tables.CreateJobTables();
  if (state.range(2) == 0) tables.db_Serial.OnFilterKey = nullptr;
  LoadJob(tables, records, withRows);
  int64_t rowsSeen = 0;
  for (auto _ : state) {
    for (tables.db_Data.First(); !tables.db_Data.Eof(); tables.db_Data.Next()) {
      benchmark::DoNotOptimize(tables.db_Data.Fields(1).Value());
      for (tables.db_Serial.First(); !tables.db_Serial.Eof(); tables.db_Serial.Next()) {
        benchmark::DoNotOptimize(tables.db_Serial.Fields(1).Value());
        ++rowsSeen;
      }
    }
  }
  state.counters["seria_rows"] = static_cast<double>(tables.db_Serial.RecordCount());
  state.counters["rows_per_walk"] = static_cast<double>(rowsSeen) / static_cast<double>(state.iterations());
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_WalkDaneWithSeria)
    ->ArgNames({"records", "with_rows", "indexed"})
    ->ArgsProduct({{10000}, {0, 50, 300}, {0, 1}})
    ->Args({1000, 1000, 0})
    ->Args({1000, 1000, 1})
    ->Args({10000, 10000, 1})  // the plain scan takes minutes here
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
