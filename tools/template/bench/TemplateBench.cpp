// Loading and saving a template of 5,000 objects end to end, through the template files.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "frxTestClasses.h"
#include "platform/Stream.h"
#include "template/TemplateTool.h"

namespace {

// A long delivery note: 8 pages of 24 bands with 25 memos each, plus the pages and bands
// themselves: 5,000 objects under the report.
std::string MakeTemplate() {
  TfrxTestReport report;
  int n = 0;
  for (int p = 0; p < 8; ++p) {
    auto* page = new TfrxTestPage(&report);
    page->SetName("Page" + std::to_string(p + 1));
    ++n;
    for (int b = 0; b < 24; ++b) {
      auto* band = new TfrxTestBand(page);
      band->SetName("Band" + std::to_string(++n));
      band->SetBounds(0, 20 + b * 40, 718.1107, 18.89765);
      for (int m = 0; m < 25; ++m) {
        auto* memo = new TfrxTestMemoView(band);
        memo->SetName("Memo" + std::to_string(++n));
        memo->SetBounds(m * 28.7, 0, 28.7, 18.89765);
        memo->Frame().SetTyp(15);
        memo->SetDataSetName("Dane");
        memo->SetMemoText8("[Dane.\"Pozycja" + std::to_string(m) + "\"] szt.");
      }
    }
  }
  TMemoryStream out;
  report.SaveToStream(out);
  return out.DataString();
}

struct BenchFile {
  std::string path = SystemTempFolder() + "/tavrel-bench-" + std::to_string(::getpid()) + ".fr3";
  BenchFile() {
    TMemoryStream data;
    data.WriteString(MakeTemplate());
    data.SaveToFile(path);
  }
  ~BenchFile() { std::filesystem::remove(path); }
};

void BM_LoadTemplate5000(benchmark::State& state) {
  BenchFile file;
  size_t objects = 0;
  for (auto _ : state) {
    TTemplate t = LoadTemplate(file.path);
    objects = t.Root->AllObjects().size();
    benchmark::DoNotOptimize(t.Root.get());
  }
  state.counters["objects"] = static_cast<double>(objects);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(file.path)));
}
BENCHMARK(BM_LoadTemplate5000)->Unit(benchmark::kMillisecond);

void BM_SaveTemplate5000(benchmark::State& state) {
  BenchFile file;
  TTemplate t = LoadTemplate(file.path);
  std::string out = file.path + ".out";
  for (auto _ : state) SaveTemplate(*t.Root, out);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(std::filesystem::file_size(out)));
  std::filesystem::remove(out);
}
BENCHMARK(BM_SaveTemplate5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
