// Filling memos in a whole run: a delivery note of 10,000 rows, each row with four memos
// (a position number, a product name from the dataset, an amount computed and formatted
// by the interpreter with a " #" format, and a text with a display format), prepared
// through the engine into the store. The time per run divided by 40,000 is the cost of
// one memo filled, recorded and placed.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "engine/frxEngine.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "script/fs_ireportscript.h"

namespace {

constexpr int kRows = 10000;

class DeliveryNoteRun {
 public:
  // Reports get the script engine from fsUseScriptEngineForReports, called before.
  DeliveryNoteRun() {
    auto pages = std::make_unique<TfrxPreviewPages>(report_);
    auto* store = pages.get();
    auto engine = std::make_unique<TfrxEngine>(report_, *store);
    engine_ = engine.get();
    report_.SetPreviewPages(std::move(pages), std::move(engine));
    report_.EngineOptions().NewSilentMode = simSilent;
    report_.EngineOptions().KeepTemplateCopy = false;

    dane_.SetUserName("Dane");
    dane_.Fields() = {"Nazwa", "Ilosc", "Cena"};
    const std::string products[] = {
        codepage::Utf8ToAnsi("Chleb żytni razowy 500 g, krojony"),
        codepage::Utf8ToAnsi("Bułka kajzerka pszenna"),
        codepage::Utf8ToAnsi("Mąka pszenna typ 650, worek 25 kg"),
    };
    dane_.OnGetValue = [this, products](const std::string& field, Variant& value) {
      if (field == "Nazwa") value = Variant(products[row_ % 3]);
      if (field == "Ilosc") value = Variant(int32_t{1 + row_ % 9});
      if (field == "Cena") value = Variant(4.5 + row_ % 7);
    };
    report_.DataSets().Add(&dane_);

    auto* page = new TfrxReportPage(&report_);
    page->SetName("Strona1");
    auto* band = new TfrxMasterData(page);
    band->SetName("Wiersz");
    band->SetBounds(0, 0, 718, 20);
    AddMemo(band, "Lp", 0, 40, u"[Line#].");
    AddMemo(band, "Nazwa", 40, 380, u"[Dane.\"Nazwa\"]");
    AddMemo(band, "Wartosc", 420, 150, u"[<Dane.\"Ilosc\"> * <Dane.\"Cena\"> #n%2,2n] zł");
    TfrxMemoView* price = AddMemo(band, "Cena", 570, 148, u"[Dane.\"Cena\"]");
    price->DisplayFormat().SetKind(fkNumeric);
    price->DisplayFormat().SetFormatStr("#,##0.00");
    report_.OnManualBuild = [this, band](TfrxComponent&) {
      for (row_ = 0; row_ < kRows; ++row_) engine_->ShowBand(band);
    };
  }

  bool Run() { return report_.Prepare(); }
  int Pages() const { return report_.PreviewPages()->Count(); }
  std::string Errors() const { return report_.Errors().Text(); }

 private:
  static TfrxMemoView* AddMemo(TfrxComponent* band, const std::string& name, double left, double width,
                               const std::u16string& text) {
    auto* memo = new TfrxMemoView(band);
    memo->SetName(name);
    memo->SetBounds(left, 0, width, 20);
    memo->SetText(text);
    return memo;
  }

  TfrxUserDataSet dane_{nullptr};
  TfrxReport report_;
  TfrxEngine* engine_ = nullptr;
  int row_ = 0;
};

void BM_FillMemosOfADeliveryNote(benchmark::State& state) {
  TScopedFormatSettings polish(PolishFormatSettings());
  fsUseScriptEngineForReports();
  DeliveryNoteRun run;
  for (auto _ : state) {
    if (!run.Run()) {
      state.SkipWithError(run.Errors().c_str());
      break;
    }
  }
  state.counters["pages"] = run.Pages();
  state.counters["memos/s"] = benchmark::Counter(4.0 * kRows, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FillMemosOfADeliveryNote)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
