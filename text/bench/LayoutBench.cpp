// Laying out the memos of invoices: 10,000 texts of an invoice line's typical length
// (a product name with quantity and price, an address, a note; some with style tags),
// measured as CalcHeight does, split as a page break does, and painted on a recording.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/Recording.h"
#include "text/frxGraphicUtils.h"

namespace {

constexpr int kMemos = 10000;

// Deterministic texts from our users' documents.
std::vector<TWideStrings> InvoiceMemos() {
  const std::u16string products[] = {
      u"Chleb żytni razowy 500 g, krojony",       u"Bułka kajzerka pszenna",
      u"Rogal świętomarciński z nadzieniem",       u"Ciasto drożdżowe ze śliwkami, blacha 2 kg",
      u"Usługa transportowa Łódź – Gdańsk",        u"Mąka pszenna typ 650, worek 25 kg",
  };
  const std::u16string notes[] = {
      u"Piekarnia Kłos sp. z o.o.\r\nul. Źródlana 12, 20-950 Lublin",
      u"<b>Termin płatności:</b> 14 dni od daty wystawienia faktury",
      u"Hurtownia Morwa – dostawa do godziny szóstej rano, rozładunek od strony zaplecza",
      u"Zapłacono przelewem <i>(rachunek 12 1020 3040 0000 1234 5678 9012)</i>",
  };
  std::vector<TWideStrings> memos(kMemos);
  uint32_t seed = 12345;
  for (TWideStrings& memo : memos) {
    seed = seed * 1103515245u + 12345u;
    std::u16string text;
    if (seed % 3 == 0) {
      text = notes[(seed >> 8) % 4];
    } else {
      const std::u16string qty = std::u16string(1, static_cast<char16_t>(u'1' + (seed >> 4) % 9));
      text = products[(seed >> 8) % 6] + u" — " + qty + u" szt. × 4,50 zł";
    }
    memo.SetText(text);
  }
  return memos;
}

void Prepare(TfrxDrawText& draw, int width, int charset = DEFAULT_CHARSET) {
  TFont font;
  font.Size = 9;
  font.Charset = charset;
  draw.UseFont(font);
  draw.UseOptions(true, true, 0, true, false, false, false);
  draw.UseAreas({0, 0, width, 40}, {0, 0, width, 40}, 1, 1, 1);
  draw.UseGaps(0, 0, 0);
}

void BM_CalcHeight10000Memos(benchmark::State& state) {
  const std::vector<TWideStrings> memos = InvoiceMemos();
  TfrxDrawText draw;
  TfrxDrawTextLock lock(draw);
  const int width = static_cast<int>(state.range(0));
  const int charset = static_cast<int>(state.range(1));
  for (auto _ : state) {
    double total = 0;
    for (const TWideStrings& memo : memos) {
      Prepare(draw, width, charset);
      draw.LayOutText(memo);
      total += draw.TextBlockHeight();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kMemos);
}
// Arguments: the memo width in pixels and the font's character set (templates written
// for Polish text often name East European, 238, which measures as 8-bit text).
BENCHMARK(BM_CalcHeight10000Memos)
    ->Args({150, DEFAULT_CHARSET})
    ->Args({400, DEFAULT_CHARSET})
    ->Args({150, EASTEUROPE_CHARSET})
    ->Unit(benchmark::kMillisecond);

void BM_SplitAndWidth10000Memos(benchmark::State& state) {
  const std::vector<TWideStrings> memos = InvoiceMemos();
  TfrxDrawText draw;
  TfrxDrawTextLock lock(draw);
  for (auto _ : state) {
    double total = 0;
    for (const TWideStrings& memo : memos) {
      Prepare(draw, 150);
      draw.LayOutText(memo);
      total += draw.WidestLineWidth();
      total += static_cast<double>(draw.SplitAtHeight().Rest.size());
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * kMemos);
}
BENCHMARK(BM_SplitAndWidth10000Memos)->Unit(benchmark::kMillisecond);

void BM_Paint10000Memos(benchmark::State& state) {
  const std::vector<TWideStrings> memos = InvoiceMemos();
  TfrxDrawText draw;
  TfrxDrawTextLock lock(draw);
  for (auto _ : state) {
    TRecordingCanvas canvas({800, 1100}, 96, 96);
    for (const TWideStrings& memo : memos) {
      Prepare(draw, 150);
      draw.LayOutText(memo);
      draw.PaintLines(canvas, haBlock, vaTop);
    }
    benchmark::DoNotOptimize(canvas.Recording().RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * kMemos);
}
BENCHMARK(BM_Paint10000Memos)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
