// The job's invoice template over the job tables: Dane as master, Seria and Sumy
// following its current record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/frxEngine.h"
#include "platform/CodePage.h"
#include "prepared/frxPreviewPages.h"
#include "tables/JobDataSets.h"

namespace {

const std::string kInvoiceTemplate = std::string(TAVREL_SOURCE_DIR) + "/engine/tests/fixtures/faktura_pozycje.fr3";

// A line of the invoice as it was printed: its page, its document and its goods.
struct PrintedLine {
  int Page = 0;
  std::string Document, Goods;
  bool operator==(const PrintedLine&) const = default;
};

class InvoiceJobTest : public ::testing::Test {
 protected:
  InvoiceJobTest() {
    tables.CreateJobTables();
    auto pages = std::make_unique<TfrxPreviewPages>(report);
    store = pages.get();
    report.SetPreviewPages(std::move(pages), std::make_unique<TfrxEngine>(report, *store));
    report.EngineOptions().NewSilentMode = simSilent;
    // What the lines printed show, read when each has been placed on its page.
    report.OnAfterPrint = [this](TfrxComponent& object) {
      if (object.Name() != "Pozycja") return;
      printed.push_back({store->CurrentPage(), report.Calc("Dane.\"D95\"").toString8(),
                         report.Calc("Seria.\"S2\"").toString8()});
    };
  }

  // One invoice as the data file loader leaves it: Dane's D0 numbers it, its lines and
  // its VAT rate carry that number.
  void AddInvoice(int number, int lines) {
    TRxMemoryData& dane = tables.db_Data;
    if (dane.State() != TDataSetState::dsBrowse) dane.Post();
    dane.Append();
    dane.FieldByName("D0").SetAsString(std::to_string(number));
    dane.FieldByName("D1").SetAsString(codepage::Utf8ToAnsi("Hurtownia Morwa sp. z o.o."));
    dane.FieldByName("D95").SetAsString(DocumentName(number));
    dane.Post();
    for (int i = 1; i <= lines; ++i) AddDetail(tables.db_Serial, number, {std::to_string(i), GoodsName(number, i), "szt.", "2", "4,50", "9,00"});
    AddDetail(tables.db_sumy, number, {"23%", "180,00", "41,40"});
  }
  static std::string DocumentName(int number) { return "Faktura nr " + std::to_string(number) + "/2025"; }
  static std::string GoodsName(int number, int line) {
    return codepage::Utf8ToAnsi("Chleb żytni " + std::to_string(number) + "." + std::to_string(line));
  }
  static void AddDetail(TRxMemoryData& table, int number, const std::vector<std::string>& cells) {
    table.Append();
    table.Fields(0).SetAsString(std::to_string(number));
    for (size_t i = 0; i < cells.size(); ++i) table.Fields(static_cast<int>(i + 1)).SetAsString(cells[i]);
    table.Post();
  }

  void Prepare() {
    ASSERT_TRUE(report.LoadFromFile(kInvoiceTemplate, true));
    ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  }

  // The names of the bands on one output page, in order.
  std::vector<std::string> BandsOn(int page) {
    std::vector<std::string> names;
    for (TfrxComponent* band : store->BuildPage(page)->Objects()) names.push_back(band->Name());
    return names;
  }

  TJobTables tables;
  TJobDataSets dataSets{tables};
  TfrxReport report;
  TfrxPreviewPages* store = nullptr;
  std::vector<PrintedLine> printed;
};

TEST_F(InvoiceJobTest, TwentyLinesPrintOnceInOrderWithTheirHeaderRepeatedOnTheNextPage) {
  AddInvoice(1, 20);
  Prepare();
  ASSERT_EQ(printed.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(printed[i].Document, DocumentName(1));
    EXPECT_EQ(printed[i].Goods, GoodsName(1, i + 1));
  }
  ASSERT_EQ(store->Count(), 2);
  const std::vector<std::string> first = BandsOn(0), second = BandsOn(1);
  EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 4),
            (std::vector<std::string>{"NaglowekStrony", "Faktura", "NaglowekPozycji", "Pozycja"}));
  EXPECT_EQ(first.back(), "StopkaStrony");
  EXPECT_EQ(std::vector<std::string>(second.begin(), second.begin() + 3),
            (std::vector<std::string>{"NaglowekStrony", "NaglowekPozycji", "Pozycja"}));
  EXPECT_EQ(std::vector<std::string>(second.end() - 3, second.end()),
            (std::vector<std::string>{"KoniecPozycji", "Stawki", "StopkaStrony"}));
  const long onFirst = std::count(first.begin(), first.end(), "Pozycja");
  EXPECT_EQ(onFirst + std::count(second.begin(), second.end(), "Pozycja"), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(printed[i].Page, i < onFirst ? 0 : 1) << "line " << i + 1;
}

TEST_F(InvoiceJobTest, AHundredInvoicesEachPrintExactlyTheirOwnLines) {
  for (int number = 1; number <= 100; ++number) AddInvoice(number, 20);
  Prepare();
  ASSERT_EQ(printed.size(), 2000u);
  for (int number = 1; number <= 100; ++number)
    for (int line = 1; line <= 20; ++line) {
      const PrintedLine& p = printed[static_cast<size_t>((number - 1) * 20 + line - 1)];
      ASSERT_EQ(p.Document, DocumentName(number));
      ASSERT_EQ(p.Goods, GoodsName(number, line));
    }
  // Every invoice starts a page of its own and runs onto a second one.
  EXPECT_EQ(store->Count(), 200);
  for (int page = 0; page < 200; page += 2) EXPECT_EQ(BandsOn(page).at(1), "Faktura") << "page " << page + 1;
}

}  // namespace
