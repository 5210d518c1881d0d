// Exporting 100 invoice pages to JPEG at 96 dpi, against encoding the same 100 page
// rasters alone with libjpeg-turbo: what the export adds on top of the encoder is
// building each page from the store, drawing it, and naming and writing its image.
// Run the release flavour: build/release/bin/output_image_bench.
#include <benchmark/benchmark.h>

#include "../tests/ExportTestReport.h"
#include "GuiTestApp.h"
#include "TempFolder.h"
#include "output/frxExportImage.h"
#include "platform/Picture.h"
#include "platform/Stream.h"

namespace {

constexpr int kPages = 100;

struct Invoice100 {
  Invoice100() {
    EnsureGuiApp();
    frxSetExportWalk(&frxExportPages);
    invoice.Prepare(kPages, 40);
    invoice.report.EngineOptions().NewSilentMode = simReThrow;
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    // The rasters of the same pages, drawn once as the preview draws them.
    for (int i = 0; i < kPages; ++i) {
      auto bitmap = NewBitmap(794, 1123, TPixelFormat::pf24bit);
      invoice.store->DrawPageTo(i, bitmap->Canvas(), 1, 1, 0, 0);
      rasters.push_back(bitmap->Pixels());
      invoice.store->ClearPageCache();
    }
  }
  TExportTestReport invoice;
  TfrxJPEGExport filter{nullptr};
  std::vector<TRasterImage> rasters;
};

Invoice100& Fixture() {
  static Invoice100 fixture;
  return fixture;
}

void BM_EncodeRastersOnly(benchmark::State& state) {
  Invoice100& f = Fixture();
  for (auto _ : state) {
    size_t bytes = 0;
    for (const TRasterImage& raster : f.rasters) bytes += EncodeJpeg(raster, 90).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_EncodeRastersOnly)->Unit(benchmark::kMillisecond);

void BM_ExportToFiles(benchmark::State& state) {
  Invoice100& f = Fixture();
  TempFolder folder;
  f.filter.SetOutputStream(nullptr);
  f.filter.SetFileName(folder.Folder() + "Faktura.jpg");
  for (auto _ : state) {
    if (!f.invoice.report.ExportTo(f.filter) || f.filter.FileNames().size() != kPages)
      state.SkipWithError("the export failed");
  }
  state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_ExportToFiles)->Unit(benchmark::kMillisecond);

void BM_ExportToMemory(benchmark::State& state) {
  Invoice100& f = Fixture();
  for (auto _ : state) {
    TMemoryStream stream;
    f.filter.SetOutputStream(&stream);
    f.invoice.report.ExportTo(f.filter);
    benchmark::DoNotOptimize(stream.Size());
  }
  f.filter.SetOutputStream(nullptr);
  state.SetItemsProcessed(state.iterations() * kPages);
}
BENCHMARK(BM_ExportToMemory)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
