// Measuring and drawing text, as the memo layout does for every line.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <vector>

#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/Recording.h"

namespace {

void EnsureApp() {
  static int argc = 1;
  static char name[] = "tavrel-bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  (void)app;
}

std::string InvoiceLine(size_t length) {
  const std::string unit = codepage::Utf8ToAnsi("Usługa transportowa, Łódź – Gdańsk; ");
  std::string line;
  while (line.size() < length) line += unit;
  line.resize(length);
  return line;
}

// The longest line the layout measures: 32768 characters at 600 dpi.
void BM_MeasureLongLine(benchmark::State& state) {
  TRecordingCanvas canvas({1, 1}, 600, 600);
  canvas.SetFont(CanvasFont(TFont{}, 600));
  const std::string line = InvoiceLine(32768);
  std::vector<int> after(line.size());
  for (auto _ : state) benchmark::DoNotOptimize(canvas.TextExtent(line, after));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_MeasureLongLine);

// One A4 page of 60 lines drawn with given advances on a 96-dpi bitmap.
void BM_DrawTextPage(benchmark::State& state) {
  EnsureApp();
  auto bmp = NewBitmap(794, 1123, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  c.SetFont(CanvasFont(TFont{}, 96));
  const std::string line = InvoiceLine(110);
  std::vector<int> after(line.size());
  c.TextExtent(line, after);
  std::vector<int> adv(line.size());
  for (size_t i = 0; i < line.size(); ++i) adv[i] = after[i] - (i ? after[i - 1] : 0);
  for (auto _ : state)
    for (int y = 0; y < 60; ++y) c.ExtTextOut(20, 20 + y * 18, 0, nullptr, line, adv);
}
BENCHMARK(BM_DrawTextPage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
