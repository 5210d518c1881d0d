// Data bands: which band prints when, for the rows of which dataset.
#include <gtest/gtest.h>

#include <functional>

#include "EngineTestRun.h"
#include "platform/CodePage.h"

namespace {

using Bands = std::vector<std::string>;

// The invoices of Piekarnia Kłos: Dane holds the documents, Seria their lines by number.
struct Bakery {
  TTestTable dane{"Dane", {"Nr", "Numer", "Odbiorca"}};
  TTestTable seria{"Seria", {"Nr", "Towar", "Grupa"}};
  Bakery() {
    dane.AddRow({1, "FV 1/2025", "Hurtownia Morwa"});
    dane.AddRow({2, "FV 2/2025", "Sklep Pod Lipą"});
    dane.AddRow({3, "FV 3/2025", "Kawiarnia Ziarno"});
    seria.AddRow({1, "Chleb żytni", "Pieczywo"});
    seria.AddRow({1, "Bułka kajzerka", "Pieczywo"});
    seria.AddRow({1, "Sernik", "Ciasta"});
    seria.AddRow({2, "Rogal", "Pieczywo"});
    seria.AddRow({3, "Makowiec", "Ciasta"});
    seria.AddRow({3, "Szarlotka", "Ciasta"});
    seria.Follow(dane, "Nr");
  }
};

class DataBandsTest : public ::testing::Test, public TemplateRun, public Bakery {
 protected:
  DataBandsTest() {
    UseDataBands();
    report.DataSets().Add(&dane);
    report.DataSets().Add(&seria);
  }
  // Master "Faktura" over Dane showing the number, detail "Pozycja" over Seria.
  TfrxMasterData* InvoiceWithLines() {
    auto* invoice = AddDataBand<TfrxMasterData>("Faktura", dane);
    Show(*invoice, "Dane.\"Numer\"");
    auto* line = AddDataBand<TfrxDetailData>("Pozycja", seria);
    Show(*line, "Seria.\"Towar\"");
    return invoice;
  }
  Bands Prepared() {
    EXPECT_TRUE(report.Prepare()) << report.Errors().Text();
    return Rows();
  }
};

TEST_F(DataBandsTest, EachDocumentPrintsWithExactlyItsOwnLines) {
  InvoiceWithLines();
  EXPECT_EQ(Prepared(), (Bands{"Faktura[FV 1/2025]", "Pozycja[Chleb żytni]", "Pozycja[Bułka kajzerka]",
                               "Pozycja[Sernik]", "Faktura[FV 2/2025]", "Pozycja[Rogal]", "Faktura[FV 3/2025]",
                               "Pozycja[Makowiec]", "Pozycja[Szarlotka]"}));
}

TEST_F(DataBandsTest, HeadersAndFootersFrameTheRowsOfTheirBand) {
  AddBand<TfrxHeader>("NaglowekFaktur", 20);
  AddDataBand<TfrxMasterData>("Faktura", dane);
  AddBand<TfrxFooter>("StopkaFaktur", 20);
  EXPECT_EQ(Prepared(), (Bands{"NaglowekFaktur", "Faktura", "Faktura", "Faktura", "StopkaFaktur"}));
}

TEST_F(DataBandsTest, DetailBelowAGroupFooterOfItsMasterIsStillItsDetail) {
  auto* group = AddBand<TfrxGroupHeader>("Grupa", 20);
  group->SetCondition("Dane.\"Odbiorca\"");
  AddDataBand<TfrxMasterData>("Faktura", dane);
  AddBand<TfrxGroupFooter>("StopkaGrupy", 20);
  Show(*AddDataBand<TfrxDetailData>("Pozycja", seria), "Seria.\"Towar\"");
  const Bands bands = Prepared();
  EXPECT_EQ(std::count(bands.begin(), bands.end(), "Pozycja[Rogal]"), 1);
  EXPECT_EQ(bands.size(), 3u * 3 + 6);  // per document a group header, row and footer; six lines
}

TEST_F(DataBandsTest, OfTwoBandsAtTheSameTopOnlyTheFirstTakesPart) {
  AddDataBand<TfrxMasterData>("Faktura", dane);
  auto* twin = AddDataBand<TfrxMasterData>("Druga", dane);
  twin->SetTop(page->Objects().front()->Top() + 0.001);
  EXPECT_EQ(Prepared(), (Bands{"Faktura", "Faktura", "Faktura"}));
}

// Band structures the engine refuses, with the message naming the band; nothing prints.
struct StructureErrorCase {
  const char* name;
  std::function<void(TemplateRun&, Bakery&)> setUp;
  const char* message;
};

TEST(DataBandsStructure, BandsThatBelongToNothingStopTheRunWithTheirName) {
  const StructureErrorCase cases[] = {
      {"a header with no data band below it",
       [](TemplateRun& t, Bakery& b) {
         t.AddDataBand<TfrxMasterData>("Faktura", b.dane);
         t.AddBand<TfrxHeader>("NaglowekPozycji", 20);
       },
       "Niepołączony nagłówek/stopka NaglowekPozycji"},
      {"a footer far from its data band",
       [](TemplateRun& t, Bakery& b) {
         t.AddBand<TfrxFooter>("StopkaPozycji", 20);
         t.AddDataBand<TfrxMasterData>("Faktura", b.dane);
       },
       "Niepołączony nagłówek/stopka StopkaPozycji"},
      {"a group without a data band",
       [](TemplateRun& t, Bakery& b) {
         t.AddDataBand<TfrxMasterData>("Faktura", b.dane);
         t.AddBand<TfrxGroupHeader>("GrupaOdbiorcy", 20);
       },
       "Brak wstęgi danych dla grupy GrupaOdbiorcy"},
      {"a group footer without a group header",
       [](TemplateRun& t, Bakery& b) {
         t.AddDataBand<TfrxMasterData>("Faktura", b.dane);
         t.AddBand<TfrxGroupFooter>("StopkaGrupy", 20);
       },
       "Brak nagłówka grupy dla StopkaGrupy"},
      {"a detail band without a master",
       [](TemplateRun& t, Bakery& b) { t.AddDataBand<TfrxDetailData>("Pozycja", b.seria); },
       "Nieprawidłowa pozycja wstęgi: Pozycja"},
  };
  for (const StructureErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    TemplateRun t;
    Bakery b;
    t.UseDataBands();
    t.report.DataSets().Add(&b.dane);
    t.report.DataSets().Add(&b.seria);
    c.setUp(t, b);
    EXPECT_FALSE(t.report.Prepare());
    EXPECT_EQ(t.report.Errors().Items(), std::vector<std::string>{codepage::Utf8ToAnsi(c.message)});
    EXPECT_EQ(t.store->Count(), 0);
  }
}

TEST_F(DataBandsTest, RowCountPrintsThatManyRowsWithoutADatasetAndAtMostThatManyWithOne) {
  auto* blank = AddBand<TfrxMasterData>("Pusty", 20);
  blank->SetRowCount(3);
  Show(*blank, "Line");
  auto* two = AddDataBand<TfrxMasterData>("Dwie", dane);
  two->SetRowCount(2);
  Show(*two, "Dane.\"Numer\"");
  EXPECT_EQ(Prepared(), (Bands{"Pusty[1]", "Pusty[2]", "Pusty[3]", "Dwie[FV 1/2025]", "Dwie[FV 2/2025]"}));
}

TEST_F(DataBandsTest, FooterAfterEachFollowsEveryRowAndNotAgainAtTheEnd) {
  auto* invoice = AddDataBand<TfrxMasterData>("Faktura", dane);
  invoice->SetFooterAfterEach(true);
  Show(*AddBand<TfrxFooter>("Podpis", 20), "Dane.\"Numer\"");
  EXPECT_EQ(Prepared(), (Bands{"Faktura", "Podpis[FV 1/2025]", "Faktura", "Podpis[FV 2/2025]", "Faktura",
                               "Podpis[FV 3/2025]"}));
}

TEST_F(DataBandsTest, DocumentWithoutLinesIsSkippedWithItsNumberUnlessAskedToPrint) {
  dane.AddRow({4, "FV 4/2025", "Piekarnia Kłos"});  // no lines
  dane.AddRow({5, "FV 5/2025", "Hurtownia Morwa"});
  seria.AddRow({5, "Pączek", "Ciasta"});
  auto* invoice = AddDataBand<TfrxMasterData>("Faktura", dane);
  Show(*invoice, "Line");
  Show(*invoice, "Dane.\"Numer\"");
  AddDataBand<TfrxDetailData>("Pozycja", seria);
  auto documents = [this] {
    Bands printed;
    for (const std::string& band : Prepared())
      if (band.rfind("Faktura", 0) == 0) printed.push_back(band);
    return printed;
  };
  EXPECT_EQ(documents(), (Bands{"Faktura[1 FV 1/2025]", "Faktura[2 FV 2/2025]", "Faktura[3 FV 3/2025]",
                                "Faktura[4 FV 5/2025]"}));
  invoice->SetPrintIfDetailEmpty(true);
  EXPECT_EQ(documents(), (Bands{"Faktura[1 FV 1/2025]", "Faktura[2 FV 2/2025]", "Faktura[3 FV 3/2025]",
                                "Faktura[4 FV 4/2025]", "Faktura[5 FV 5/2025]"}));
}

TEST_F(DataBandsTest, LineRestartsInEveryGroupAndLineHashRunsThroughTheMasterRow) {
  AddDataBand<TfrxMasterData>("Faktura", dane);
  auto* group = AddBand<TfrxGroupHeader>("Grupa", 20);
  group->SetCondition("Seria.\"Grupa\"");
  Show(*group, "Line");
  auto* line = AddDataBand<TfrxDetailData>("Pozycja", seria);
  Show(*line, "Line");
  Show(*line, "Line#");
  EXPECT_EQ(Prepared(), (Bands{"Faktura", "Grupa[1]", "Pozycja[1 1]", "Pozycja[2 2]", "Grupa[2]", "Pozycja[1 3]",
                               "Faktura", "Grupa[1]", "Pozycja[1 1]",  //
                               "Faktura", "Grupa[1]", "Pozycja[1 1]", "Pozycja[2 2]"}));
}

// Sales of the day by route and customer: two nested groups.
class NestedGroupsTest : public DataBandsTest {
 protected:
  TTestTable sprzedaz{"Sprzedaz", {"Trasa", "Klient", "Towar"}};
  NestedGroupsTest() {
    report.DataSets().Add(&sprzedaz);
    for (const auto& [route, customer, item] : std::vector<std::tuple<const char*, const char*, const char*>>{
             {"Północ", "Morwa", "Chleb"},
             {"Północ", "Morwa", "Bułki"},
             {"Północ", "Lipa", "Rogale"},
             {"Południe", "Lipa", "Sernik"},
             {"Południe", "Ziarno", "Makowiec"}})
      sprzedaz.AddRow({route, customer, item});
    auto* outer = AddBand<TfrxGroupHeader>("Trasa", 20);
    outer->SetCondition("Sprzedaz.\"Trasa\"");
    Show(*outer, "Sprzedaz.\"Trasa\"");
    auto* inner = AddBand<TfrxGroupHeader>("Klient", 20);
    inner->SetCondition("Sprzedaz.\"Klient\"");
    Show(*inner, "Sprzedaz.\"Klient\"");
    Show(*AddDataBand<TfrxMasterData>("Sprzedaz", sprzedaz), "Sprzedaz.\"Towar\"");
    innerFooter = AddBand<TfrxGroupFooter>("KoniecKlienta", 20);
    Show(*innerFooter, "Sprzedaz.\"Klient\"");
    Show(*AddBand<TfrxGroupFooter>("KoniecTrasy", 20), "Sprzedaz.\"Trasa\"");
  }
  TfrxGroupFooter* innerFooter = nullptr;
};

TEST_F(NestedGroupsTest, OuterChangeEndsInnerFirstAndStartsOuterFirst) {
  EXPECT_EQ(Prepared(),
            (Bands{"Trasa[Północ]", "Klient[Morwa]", "Sprzedaz[Chleb]", "Sprzedaz[Bułki]", "KoniecKlienta[Morwa]",
                   "Klient[Lipa]", "Sprzedaz[Rogale]", "KoniecKlienta[Lipa]", "KoniecTrasy[Północ]",
                   "Trasa[Południe]", "Klient[Lipa]", "Sprzedaz[Sernik]", "KoniecKlienta[Lipa]", "Klient[Ziarno]",
                   "Sprzedaz[Makowiec]", "KoniecKlienta[Ziarno]", "KoniecTrasy[Południe]"}));
}

TEST_F(NestedGroupsTest, FooterHiddenForAGroupOfOneRowShownForTwo) {
  innerFooter->SetHideIfSingleDataRecord(true);
  Bands footers;
  for (const std::string& band : Prepared())
    if (band.rfind("Koniec", 0) == 0) footers.push_back(band);
  // Lipa on the south route had one row as well, the south route two.
  EXPECT_EQ(footers, (Bands{"KoniecKlienta[Morwa]", "KoniecTrasy[Północ]", "KoniecTrasy[Południe]"}));
}

TEST_F(DataBandsTest, ReprintedHeaderOpensEveryPageTheRowsRunOnto) {
  auto* header = AddBand<TfrxHeader>("Naglowek", 30);
  header->SetReprintOnNewPage(true);
  for (int i = 0; i < 30; ++i) seria.AddRow({1, "Bułka " + std::to_string(i), "Pieczywo"});
  AddDataBand<TfrxMasterData>("Faktura", dane)->SetRowCount(1);
  AddBand<TfrxHeader>("NaglowekPozycji", 20)->SetReprintOnNewPage(true);
  AddDataBand<TfrxDetailData>("Pozycja", seria, 20);
  AddBand<TfrxFooter>("Razem", 20);
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  const std::vector<std::string> pages = Layout();
  ASSERT_EQ(pages.size(), 3u);
  // 378 pixels: header 30, the invoice 20, the lines' header 20, then 15 lines of 20;
  // on the next pages 16 lines below both headers, and the last two with the footer.
  EXPECT_TRUE(pages[0].starts_with("Naglowek@0 Faktura@30 NaglowekPozycji@50 Pozycja@70 ")) << pages[0];
  EXPECT_TRUE(pages[0].ends_with(" Pozycja@350")) << pages[0];
  EXPECT_TRUE(pages[1].starts_with("Naglowek@0 NaglowekPozycji@30 Pozycja@50 ")) << pages[1];
  EXPECT_EQ(pages[2], "Naglowek@0 NaglowekPozycji@30 Pozycja@50 Pozycja@70 Razem@90");
  size_t lines = 0;
  for (const std::string& band : Rows()) lines += band == "Pozycja";
  EXPECT_EQ(lines, 33u);
}

TEST_F(DataBandsTest, BandColumnsFillLeftToRightThenStartANewRow) {
  auto* invoice = AddDataBand<TfrxMasterData>("Faktura", dane);
  invoice->SetColumns(2);
  invoice->SetColumnWidth(150);
  invoice->SetColumnGap(10);
  AddBand<TfrxReportSummary>("Podsumowanie", 20);
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), (std::vector<std::string>{"Faktura@0 Faktura@160,0 Faktura@20 Podsumowanie@40"}));
}

TEST_F(DataBandsTest, DataRowsAndGroupsGoIntoTheOutlineUnderEachOther) {
  auto* invoice = InvoiceWithLines();
  invoice->SetOutlineText("Dane.\"Numer\"");
  static_cast<TfrxBand*>(report.FindObject("Pozycja"))->SetOutlineText("Seria.\"Towar\"");
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  TfrxCustomOutline& outline = store->Outline();
  outline.LevelRoot();
  ASSERT_EQ(outline.Count(), 3);
  EXPECT_EQ(outline.ItemAt(1).Text, "FV 2/2025");
  outline.LevelInto(2);
  ASSERT_EQ(outline.Count(), 2);
  EXPECT_EQ(outline.ItemAt(1).Text, "Szarlotka");
}

TEST_F(DataBandsTest, CollapsedDrillDownGroupsShowOnlyTheirHeaders) {
  AddDataBand<TfrxMasterData>("Faktura", dane);
  auto* group = AddBand<TfrxGroupHeader>("Grupa", 20);
  group->SetCondition("Seria.\"Grupa\"");
  group->SetDrillDown(true);
  AddDataBand<TfrxDetailData>("Pozycja", seria);
  AddBand<TfrxGroupFooter>("KoniecGrupy", 20);
  report.DrillState() = {"Faktura.1.Grupa.2"};  // the second group of the first document
  EXPECT_EQ(Prepared(), (Bands{"Faktura", "Grupa", "Grupa", "Pozycja", "KoniecGrupy", "Faktura", "Grupa",
                               "Faktura", "Grupa"}));
  EXPECT_EQ(group->DrillName(), "Faktura.3.Grupa.1");
}

TEST_F(DataBandsTest, EmptyReportPrintsNothingWhenPagesWithoutDataAreNotWanted) {
  TTestTable empty{"Puste", {"Nr"}};
  report.DataSets().Add(&empty);
  AddDataBand<TfrxMasterData>("Faktura", empty);
  report.EngineOptions().PrintIfEmpty = false;
  EXPECT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(store->Count(), 0);
  report.EngineOptions().PrintIfEmpty = true;
  EXPECT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(store->Count(), 1);
}

// A script that only records the event procedures it is asked to run.
class TRecordingScript : public TfrxReportScript {
 public:
  explicit TRecordingScript(std::vector<std::string>& calls) : calls_(calls) {}
  void Reset(const std::string&) override {}
  void AddObject(const std::string&, TfrxComponent*) override {}
  void RegisterReport(TfrxReport&) override {}
  bool Compile(const std::vector<std::string>&, const std::string&, TfrxScriptError&) override { return true; }
  bool HasMainStatements() const override { return false; }
  void Execute() override {}
  void Terminate() override {}
  void CallProcedure(const std::string& name, TfrxComponent* argument) override {
    calls_.push_back(name + " " + argument->Name());
  }
  bool Evaluate(const std::string& expression, Variant&, std::string& errorText) override {
    errorText = "no expressions here: " + expression;
    return false;
  }
  bool FindVariable(const std::string&, Variant&) const override { return false; }
  void SetValueVariable(const Variant&) override {}
  void SetSelfVariable(TfrxComponent*) override {}

 private:
  std::vector<std::string>& calls_;
};

TEST_F(DataBandsTest, OnMasterDetailRunsForTheDetailBeforeEachDocumentIsTested) {
  std::vector<std::string> calls;
  report.SetScript(std::make_unique<TRecordingScript>(calls));
  InvoiceWithLines();
  static_cast<TfrxDataBand*>(report.FindObject("Pozycja"))->SetOnMasterDetail("FiltrujPozycje");
  EXPECT_EQ(Prepared().size(), 9u);
  EXPECT_EQ(calls, std::vector<std::string>(3, "FiltrujPozycje Pozycja"));
}

// A dataset that counts its BeginUse and EndUse, and can refuse to begin.
class TCountingDataSet : public TfrxUserDataSet {
 public:
  TCountingDataSet(const std::string& alias, bool fails) : TfrxUserDataSet(nullptr), fails_(fails) {
    SetUserName(alias);
  }
  void BeginUse() override {
    if (fails_) throw EfrxDataSetError("Źródło " + UserName() + " jest niepodłączone");
    ++begun;
  }
  void EndUse() override { ++ended; }
  int begun = 0, ended = 0;

 private:
  bool fails_;
};

TEST_F(DataBandsTest, EveryDatasetThatBeganEndsOnceAndNoOtherEnds) {
  TCountingDataSet first{"Pierwszy", false}, broken{"Zepsuty", true}, last{"Ostatni", false};
  for (TfrxDataSet* d : {static_cast<TfrxDataSet*>(&first), static_cast<TfrxDataSet*>(&first),
                         static_cast<TfrxDataSet*>(&broken), static_cast<TfrxDataSet*>(&last)})
    report.DataSets().Add(d);
  AddDataBand<TfrxMasterData>("Faktura", dane);
  EXPECT_FALSE(report.Prepare());
  EXPECT_EQ(report.Errors().Items(), std::vector<std::string>{"Źródło Zepsuty jest niepodłączone"});
  EXPECT_EQ(first.begun, 1);
  EXPECT_EQ(first.ended, 1);
  EXPECT_EQ(last.begun, 0);
  EXPECT_EQ(last.ended, 0);
  // A good run after a failed one pairs them again.
  report.DataSets().Delete(4);
  EXPECT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(first.begun, 2);
  EXPECT_EQ(first.ended, 2);
  EXPECT_EQ(last.begun, 1);
  EXPECT_EQ(last.ended, 1);
}

// Monthly sales: the months are vertical columns, each product a row of cells.
TEST_F(DataBandsTest, VerticalBandsLayCellsOfEachRowToTheRight) {
  TTestTable miesiace{"Miesiace", {"Nazwa"}};
  for (const char* month : {"styczeń", "luty", "marzec"}) miesiace.AddRow({month});
  report.DataSets().Add(&miesiace);
  auto* products = AddDataBand<TfrxMasterData>("Produkt", dane, 20);
  auto* name = Show(*products, "Dane.\"Numer\"");
  name->SetWidth(80);
  auto* months = AddDataBand<TfrxMasterData>("Miesiac", miesiace, 0);
  months->SetVertical(true);
  months->SetBounds(100, 0, 60, 400);
  auto* cell = Show(*products, "Miesiace.\"Nazwa\"");
  cell->SetBounds(100, 0, 60, 20);
  EXPECT_EQ(Prepared(), (Bands{"Produkt[FV 1/2025 styczeń luty marzec]", "Produkt[FV 2/2025 styczeń luty marzec]",
                               "Produkt[FV 3/2025 styczeń luty marzec]"}));
  // The template is as it was: the cell back on its band where the designer put it.
  EXPECT_EQ(cell->Parent(), products);
  EXPECT_EQ(cell->Left(), 100);
}

}  // namespace
