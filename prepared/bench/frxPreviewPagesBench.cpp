// A run of 10,000 pages recorded with paging on (UseFileCache, MaxMemSize 10 MB), as a
// long delivery note gives: 20 rows of 6 texts and a box per page. Records the time to
// record the run, the resident memory after it (and the process's peak), and the time
// to build one page back (the page cache kept small, so each build reads the tree and
// pages the element in).
#include <benchmark/benchmark.h>

#include <fstream>
#include <random>
#include <string>

#include "../tests/frxStoreTestClasses.h"

namespace {

constexpr int kPages = 10000;
constexpr int kRows = 20;
constexpr int kTexts = 6;

long StatusKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  return -1;
}

// A report with one page: a row strip of texts and a box, and the store with paging on.
struct LongRun {
  LongRun() {
    auto pages = std::make_unique<TfrxPreviewPages>(report);
    auto e = std::make_unique<TfrxStoreTestEngine>();
    store = pages.get();
    engine = e.get();
    report.SetPreviewPages(std::move(pages), std::move(e));
    report.EngineOptions().UseFileCache = true;
    report.EngineOptions().MaxMemSize = 10;
    report.PreviewOptions().PagesInCache = 4;
    page = new TfrxStoreSheet(&report);
    page->SetName("Page1");
    row = new TfrxStoreStrip(page);
    row->SetName("Row");
    row->SetBounds(0, 0, 718, 18.9);
    for (int t = 0; t < kTexts; ++t) {
      auto* text = new TfrxStoreText(row);
      text->SetName("Text" + std::to_string(t + 1));
      text->SetBounds(t * 118, 0, 118, 18.9);
      text->Frame().SetTyp(15);
      texts.push_back(text);
    }
    auto* box = new TfrxStoreBox(row);
    box->SetName("Box1");
    box->SetBounds(700, 2, 14, 14);
  }

  void Record() {
    engine->running = true;
    store->StartRun();
    store->RegisterSourcePage(*page);
    store->StartPass();
    for (int p = 0; p < kPages; ++p) {
      store->StartOutputPage(*page);
      for (int r = 0; r < kRows; ++r) {
        row->SetTop(40 + r * 18.9);
        for (int t = 0; t < kTexts; ++t)
          texts[t]->SetText("Hurtownia Morwa, poz. " + std::to_string(p * kRows + r) + " kol. " + std::to_string(t) +
                            ": śruba M8x40 ocynk, 100 szt.");
        store->EmitBand(*row);
      }
    }
    store->EndRun();
    engine->running = false;
  }

  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  TfrxStoreTestEngine* engine = nullptr;
  TfrxStoreSheet* page = nullptr;
  TfrxStoreStrip* row = nullptr;
  std::vector<TfrxStoreText*> texts;
};

void BM_Record10000PagesWithPaging(benchmark::State& state) {
  for (auto _ : state) {
    LongRun run;
    run.Record();
    state.counters["pages"] = run.store->Count();
    state.counters["resident_MB"] = static_cast<double>(StatusKilobytes("VmRSS")) / 1024.0;
    state.counters["peak_resident_MB"] = static_cast<double>(StatusKilobytes("VmHWM")) / 1024.0;
  }
}
BENCHMARK(BM_Record10000PagesWithPaging)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BuildPageOf10000(benchmark::State& state) {
  LongRun run;
  run.Record();
  std::mt19937 random(2026);
  std::uniform_int_distribution<int> anyPage(0, kPages - 1);
  size_t objects = 0;
  for (auto _ : state) {
    TfrxComponent* built = run.store->BuildPage(anyPage(random));
    objects = built->AllObjects().size();
    benchmark::DoNotOptimize(built);
  }
  state.counters["objects_per_page"] = static_cast<double>(objects);
  state.counters["resident_MB"] = static_cast<double>(StatusKilobytes("VmRSS")) / 1024.0;
  state.counters["peak_resident_MB"] = static_cast<double>(StatusKilobytes("VmHWM")) / 1024.0;
}
BENCHMARK(BM_BuildPageOf10000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
