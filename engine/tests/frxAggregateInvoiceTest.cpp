// An invoice over the job tables whose totals must match its printed lines to the grosz:
// each page footer sums the lines on its page, the data footer the invoice's lines and
// the report summary every line of the job.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/frxEngine.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassMemo.h"
#include "script/fs_ireportscript.h"
#include "tables/JobDataSets.h"

namespace {

// A memo's text without the line break that ends its last line.
std::string TextOf(const TfrxCustomMemoView& memo) {
  std::string text = codepage::WideToUtf8(memo.Text());
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

const std::string kInvoiceTemplate = std::string(TAVREL_SOURCE_DIR) + "/engine/tests/fixtures/faktura_sumy.fr3";

// "123,45" as grosze; the amounts the test writes and the totals the template prints.
long Grosze(const std::string& text) {
  long zl = 0, gr = 0;
  EXPECT_EQ(std::sscanf(text.c_str(), "%ld,%2ld", &zl, &gr), 2) << text;
  return zl * 100 + gr;
}

std::string Amount(long grosze) {
  char text[32];
  std::snprintf(text, sizeof text, "%ld,%02ld", grosze / 100, grosze % 100);
  return text;
}

class InvoiceTotals : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = frxReportCollaborators();
    fsUseScriptEngineForReports();
    tables.CreateJobTables();
    report = std::make_unique<TfrxReport>();
    dataSets = std::make_unique<TJobDataSets>(tables);
    auto pages = std::make_unique<TfrxPreviewPages>(*report);
    store = pages.get();
    report->SetPreviewPages(std::move(pages), std::make_unique<TfrxEngine>(*report, *store));
    report->EngineOptions().NewSilentMode = simSilent;
  }
  void TearDown() override {
    report.reset();
    dataSets.reset();
    frxSetReportCollaborators(previous_);
  }

  // One invoice with its lines; the line values vary so that sums of any run of lines
  // differ, and every value has grosze.
  void AddInvoice(int number, int lines) {
    TRxMemoryData& dane = tables.db_Data;
    if (dane.State() != TDataSetState::dsBrowse) dane.Post();
    dane.Append();
    dane.FieldByName("D0").SetAsString(std::to_string(number));
    dane.FieldByName("D1").SetAsString(codepage::Utf8ToAnsi("Hurtownia Morwa sp. z o.o."));
    dane.FieldByName("D95").SetAsString("Faktura nr " + std::to_string(number) + "/2025");
    dane.Post();
    for (int i = 1; i <= lines; ++i) {
      TRxMemoryData& seria = tables.db_Serial;
      seria.Append();
      seria.Fields(0).SetAsString(std::to_string(number));
      seria.Fields(2).SetAsString(codepage::Utf8ToAnsi("Bułka kajzerka " + std::to_string(i)));
      seria.Fields(6).SetAsString(Amount(101 + (i * 7919 + number * 131) % 9900));
      seria.Post();
    }
  }

  void Prepare() {
    ASSERT_TRUE(report->LoadFromFile(kInvoiceTemplate, true));
    ASSERT_TRUE(report->Prepare()) << report->Errors().Text();
  }

  // The text of the named memo in every band of that name on a page.
  std::vector<std::string> Printed(int page, const std::string& bandName, const std::string& memoName) {
    std::vector<std::string> texts;
    for (TfrxComponent* band : store->BuildPage(page)->Objects()) {
      if (band->Name() != bandName) continue;
      for (TfrxComponent* c : band->Objects())
        if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c); memo && memo->Name() == memoName)
          texts.push_back(TextOf(*memo));
    }
    return texts;
  }

  TScopedFormatSettings polish{PolishFormatSettings()};
  TJobTables tables;
  std::unique_ptr<TJobDataSets> dataSets;
  std::unique_ptr<TfrxReport> report;
  TfrxPreviewPages* store = nullptr;

 private:
  TfrxReportCollaborators previous_;
};

TEST_F(InvoiceTotals, EveryTotalIsTheSumOfThePrintedLines) {
  AddInvoice(1, 20);  // runs over two pages
  AddInvoice(2, 7);   // a page of its own
  Prepare();
  ASSERT_EQ(store->Count(), 3);

  long all = 0, invoice = 0;
  std::vector<std::string> invoiceTotals, expectedInvoiceTotals;
  int lines = 0;
  for (int page = 0; page < store->Count(); ++page) {
    SCOPED_TRACE("page " + std::to_string(page + 1));
    long onPage = 0;
    for (const std::string& value : Printed(page, "Pozycja", "Wartosc")) {
      onPage += Grosze(value);
      ++lines;
    }
    EXPECT_GT(onPage, 0);
    EXPECT_EQ(Printed(page, "StopkaStrony", "RazemStrona"), std::vector<std::string>{Amount(onPage)});
    invoice += onPage;
    all += onPage;
    for (const std::string& total : Printed(page, "KoniecPozycji", "RazemFaktura")) {
      invoiceTotals.push_back(total);
      expectedInvoiceTotals.push_back(Amount(invoice));
      invoice = 0;
    }
  }
  EXPECT_EQ(lines, 27);
  EXPECT_EQ(invoiceTotals, expectedInvoiceTotals);
  EXPECT_EQ(invoiceTotals.size(), 2u);
  EXPECT_EQ(Printed(store->Count() - 1, "Podsumowanie", "RazemWszystko"), std::vector<std::string>{Amount(all)});
}

}  // namespace
