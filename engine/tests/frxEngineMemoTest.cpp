// Memos through a whole run: the engine fills them row by row through the interpreter,
// the store records them, and drawing a page puts in the final page count.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/frxEngine.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "platform/Recording.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "script/fs_ireportscript.h"

namespace {

std::string Utf8(const std::u16string& text) { return codepage::WideToUtf8(text); }

// A delivery note of Hurtownia Morwa: a page header with the page count, and rows of
// 100 pixels (three to a page of 100 mm) built by the host from a list of goods.
class DeliveryNote : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = frxReportCollaborators();
    fsUseScriptEngineForReports();
    report = std::make_unique<TfrxReport>();
    auto pages = std::make_unique<TfrxPreviewPages>(*report);
    store = pages.get();
    auto e = std::make_unique<TfrxEngine>(*report, *store);
    engine = e.get();
    report->SetPreviewPages(std::move(pages), std::move(e));
    report->EngineOptions().NewSilentMode = simSilent;
    report->EngineOptions().KeepTemplateCopy = false;

    page = new TfrxReportPage(report.get());
    page->SetName("Strona1");
    page->SetPaper(256, 100, 100);
    for (auto margin : {&TfrxReportPage::SetLeftMargin, &TfrxReportPage::SetRightMargin,
                        &TfrxReportPage::SetTopMargin, &TfrxReportPage::SetBottomMargin})
      (page->*margin)(0);
    auto* header = new TfrxPageHeader(page);
    header->SetName("Naglowek");
    header->SetBounds(0, 0, 378, 20);
    pageCount = AddMemo(header, "Strony", u"Strona [Page#] z [TotalPages#]");
    row = new TfrxMasterData(page);
    row->SetName("Wiersz");
    row->SetBounds(0, 0, 378, 100);
    group = AddMemo(row, "Grupa", u"[Grupa]");
    group->SetSuppressRepeated(true);
    amount = AddMemo(row, "Kwota", u"[<Ilosc> * <Cena> #n%2,2n] zł");
    amount->SetLeft(150);
    amount->SetWidth(200);

    report->OnManualBuild = [this](TfrxComponent&) {
      for (const Item& item : items) {
        report->Variables().Set("Grupa", Variant("'" + codepage::Utf8ToAnsi(item.group) + "'"));
        report->Variables().Set("Ilosc", Variant(item.quantity));
        report->Variables().Set("Cena", Variant(item.price));
        engine->ShowBand(row);
      }
    };
  }
  void TearDown() override {
    report.reset();
    frxSetReportCollaborators(previous_);
  }

  TfrxMemoView* AddMemo(TfrxComponent* band, const std::string& name, const std::u16string& text) {
    auto* memo = new TfrxMemoView(band);
    memo->SetName(name);
    memo->SetBounds(0, 0, 150, 20);
    memo->SetText(text);
    return memo;
  }

  // The texts drawn on each page, in drawing order, joined by "|".
  std::vector<std::string> DrawnPages() {
    std::vector<std::string> pages;
    for (int i = 0; i < store->Count(); ++i) {
      TRecordingCanvas canvas(TSize{400, 400});
      store->DrawPageTo(i, canvas, 1, 1, 0, 0);
      std::string text;
      for (const TRecordedText& run : canvas.Recording().TextRuns()) text += (text.empty() ? "" : "|") + Utf8(run.Text);
      pages.push_back(text);
    }
    return pages;
  }

  struct Item {
    const char* group;
    int32_t quantity;
    double price;
  };
  std::vector<Item> items;
  TScopedFormatSettings polish{PolishFormatSettings()};
  std::unique_ptr<TfrxReport> report;
  TfrxPreviewPages* store = nullptr;
  TfrxEngine* engine = nullptr;
  TfrxReportPage* page = nullptr;
  TfrxMasterData* row = nullptr;
  TfrxMemoView *pageCount = nullptr, *group = nullptr, *amount = nullptr;

 private:
  TfrxReportCollaborators previous_;
};

TEST_F(DeliveryNote, RowsArePrintedWithTheirValuesAndEveryPageKnowsTheCount) {
  items = {{"Pieczywo", 2, 3.5}, {"Pieczywo", 10, 1.25}, {"Nabiał", 1000, 2.99},
           {"Nabiał", 3, 4.2},   {"Słodycze", 1, 12}};
  ASSERT_TRUE(report->Prepare()) << report->Errors().Text();
  EXPECT_EQ(DrawnPages(), (std::vector<std::string>{
                              "Strona 1 z 2|Pieczywo|7,00 zł|12,50 zł|Nabiał|2\u00a0990,00 zł",
                              "Strona 2 z 2|12,60 zł|Słodycze|12,00 zł",
                          }));
}

TEST_F(DeliveryNote, AFailingExpressionStopsThePreparationWithTheMemosName) {
  items = {{"Pieczywo", 2, 3.5}};
  amount->SetText(u"[<Ilosc> / 0]");
  EXPECT_FALSE(report->Prepare());
  ASSERT_EQ(report->Errors().Count(), 1) << report->Errors().Text();
  EXPECT_EQ(report->Errors()[0].rfind("Kwota: ", 0), 0u) << report->Errors()[0];

  // Real and integer division alike.
  report->EngineOptions().IgnoreDevByZero = true;
  EXPECT_TRUE(report->Prepare()) << report->Errors().Text();
  amount->SetText(u"[<Ilosc> div 0]");
  EXPECT_TRUE(report->Prepare()) << report->Errors().Text();
}

}  // namespace
