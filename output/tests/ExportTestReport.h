#pragma once
// A report with prepared pages made the way the engine makes them, without running the
// engine: an invoice page (margins, a page header, rows in a master data band, a page
// footer with the page count), and a filter that records every call the walk makes.

#include <memory>
#include <string>
#include <vector>

#include "frxStoreTestClasses.h"
#include "output/frxClassExport.h"
#include "platform/CodePage.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"

// The invoice of "Piekarnia Kłos sp. z o.o.", as many pages as asked.
class TExportTestReport {
 public:
  TExportTestReport() {
    auto pages = std::make_unique<TfrxPreviewPages>(report);
    auto engine = std::make_unique<TfrxStoreTestEngine>();
    store = pages.get();
    engine_ = engine.get();
    report.SetPreviewPages(std::move(pages), std::move(engine));
    page = new TfrxReportPage(&report);
    page->SetName("Page1");
    page->SetLeftMargin(10);
    page->SetTopMargin(10);
    page->SetRightMargin(10);
    page->SetBottomMargin(10);
    header = new TfrxPageHeader(page);
    header->SetName("PageHeader1");
    header->SetBounds(0, 0, 718, 40);
    title = Memo(*header, "Title", 0, 0, 600, 24);
    title->SetText(codepage::Utf8ToWide("Faktura VAT nr FV/12/2026 - Piekarnia Kłos sp. z o.o."));
    TFont font = title->Font();
    font.Size = 12;
    font.Style = fsBold;
    title->SetFont(font);
    master = new TfrxMasterData(page);
    master->SetName("MasterData1");
    master->SetBounds(0, 60, 718, 20);
    row = Memo(*master, "Row", 0, 0, 500, 20);
    amount = Memo(*master, "Amount", 520, 0, 120, 20);
    amount->SetHAlign(haRight);
    footer = new TfrxPageFooter(page);
    footer->SetName("PageFooter1");
    footer->SetBounds(0, 1000, 718, 20);
    pageNo = Memo(*footer, "PageNo", 500, 0, 200, 20);
    pageNo->SetHAlign(haRight);
  }

  // Records `count` pages of `rows` rows each; the footer reads "Strona n z [TOTALPAGES#]".
  void Prepare(int count, int rows = 20) {
    engine_->running = true;
    store->StartRun();
    store->RegisterSourcePage(*page);
    store->StartPass();
    static const char* const goods[] = {"Chleb żytni 500 g", "Bułka kajzerka", "Rogal świętomarciński",
                                        "Chałka maślana", "Pączek z różą"};
    for (int p = 0; p < count; ++p) {
      store->SetNewPageMode(TfrxNewPageMode::Append);
      store->StartOutputPage(*page);
      header->SetTop(0);
      store->EmitBand(*header);
      for (int r = 0; r < rows; ++r) {
        const int n = p * rows + r + 1;
        row->SetText(codepage::Utf8ToWide(std::to_string(n) + ". " + goods[n % 5]));
        amount->SetText(codepage::Utf8ToWide(std::to_string(n * 3) + ",50 zł"));
        master->SetTop(60 + 20 * r);
        store->EmitBand(*master);
      }
      pageNo->SetText(u"Strona " + codepage::ToWide(std::to_string(p + 1)) + u" z [TOTALPAGES#]");
      footer->SetTop(1000);
      store->EmitBand(*footer);
    }
    store->EndRun();
    engine_->running = false;
  }

  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  TfrxReportPage* page = nullptr;
  TfrxPageHeader* header = nullptr;
  TfrxMasterData* master = nullptr;
  TfrxPageFooter* footer = nullptr;
  TfrxMemoView *title = nullptr, *row = nullptr, *amount = nullptr, *pageNo = nullptr;

 private:
  static TfrxMemoView* Memo(TfrxComponent& band, const std::string& name, double left, double top, double width,
                            double height) {
    auto* memo = new TfrxMemoView(&band);
    memo->SetName(name);
    memo->SetBounds(left, top, width, height);
    return memo;
  }
  TfrxStoreTestEngine* engine_ = nullptr;
};
