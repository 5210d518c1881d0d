#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "EngineTestRun.h"
#include "engine/frxEngine.h"
#include "prepared/frxPreviewPages.h"

namespace {

class EngineTest : public ::testing::Test, public TemplateRun {};

using Pages = std::vector<std::string>;

// One template of ours: how it is set up, and where its bands come out.
struct LayoutCase {
  const char* name;
  std::function<void(TemplateRun&)> setUp;
  Pages expected;
};

TEST(EngineLayout, PageFurnitureBreaksAndKeepingPutBandsWhereTheReportSays) {
  const LayoutCase cases[] = {
      {"title, header, rows, summary and footer on one page",
       [](TemplateRun& t) {
         t.AddBand<TfrxReportTitle>("Tytul", 30);
         t.AddBand<TfrxPageHeader>("Naglowek", 20);
         t.AddBand<TfrxPageFooter>("Stopka", 18);
         t.AddBand<TfrxReportSummary>("Podsumowanie", 25);
         t.AddRow(40);
         t.rows = 3;
       },
       {"Tytul@0 Naglowek@30 Wiersz@50 Wiersz@90 Wiersz@130 Podsumowanie@170 Stopka@360"}},
      {"rows break the page above the footer; header repeats, the title does not",
       [](TemplateRun& t) {
         t.AddBand<TfrxReportTitle>("Tytul", 30);
         t.AddBand<TfrxPageHeader>("Naglowek", 20);
         t.AddBand<TfrxPageFooter>("Stopka", 18);
         t.AddRow(100);
         t.rows = 4;
       },
       {"Tytul@0 Naglowek@30 Wiersz@50 Wiersz@150 Wiersz@250 Stopka@360", "Naglowek@0 Wiersz@20 Stopka@360"}},
      {"header above the title when the title does not come first",
       [](TemplateRun& t) {
         t.page->SetTitleBeforeHeader(false);
         t.AddBand<TfrxReportTitle>("Tytul", 30);
         t.AddBand<TfrxPageHeader>("Naglowek", 20);
         t.AddRow(40);
         t.rows = 1;
       },
       {"Naglowek@0 Tytul@20 Wiersz@50"}},
      {"a footer not printed on the first page",
       [](TemplateRun& t) {
         t.AddBand<TfrxPageFooter>("Stopka", 18)->SetPrintOnFirstPage(false);
         t.AddRow(150);
         t.rows = 3;
       },
       {"Wiersz@0 Wiersz@150", "Wiersz@0 Stopka@360"}},
      {"a footer not printed on the last page",
       [](TemplateRun& t) {
         t.AddBand<TfrxPageFooter>("Stopka", 18)->SetPrintOnLastPage(false);
         t.AddRow(150);
         t.rows = 3;
       },
       {"Wiersz@0 Wiersz@150 Stopka@360", "Wiersz@0"}},
      {"a page header not printed on the first page",
       [](TemplateRun& t) {
         t.AddBand<TfrxPageHeader>("Naglowek", 20)->SetPrintOnFirstPage(false);
         t.AddRow(150);
         t.rows = 3;
       },
       {"Wiersz@0 Wiersz@150", "Naglowek@0 Wiersz@20"}},
      {"overlays under and over everything",
       [](TemplateRun& t) {
         t.AddBand<TfrxOverlay>("Pod", 50);
         auto* over = t.AddBand<TfrxOverlay>("Nad", 50, t.AddPage("Strona2"));
         over->SetPrintOnTop(true);
         t.AddRow(40);
         t.rows = 1;
       },
       {"Pod@0 Wiersz@0", "Nad@0"}},
      {"column header and footer around the rows of a page",
       [](TemplateRun& t) {
         t.AddBand<TfrxColumnHeader>("NaglowekKolumny", 15);
         t.AddBand<TfrxColumnFooter>("StopkaKolumny", 12);
         t.AddRow(150);
         t.rows = 3;
       },
       {"NaglowekKolumny@0 Wiersz@15 Wiersz@165 StopkaKolumny@315", "NaglowekKolumny@0 Wiersz@15 StopkaKolumny@165"}},
      {"a page continues the last page with PrintOnPreviousPage",
       [](TemplateRun& t) {
         t.AddRow(100);
         t.rows = 1;
         TfrxReportPage* second = t.AddPage("Strona2");
         second->SetPrintOnPreviousPage(true);
         t.AddBand<TfrxReportTitle>("Tytul2", 30, second);
       },
       {"Wiersz@0 Tytul2@100"}},
      {"a band starting a new page (not the first of its rows)",
       [](TemplateRun& t) {
         t.AddRow(40)->SetStartNewPage(true);
         t.build = [&t](TfrxReportPage&) {
           for (int i = 1; i <= 3; ++i) {
             t.row->BandRowNo = i;
             t.engine->ShowBand(t.row);
           }
         };
       },
       {"Wiersz@0", "Wiersz@0", "Wiersz@0"}},
      {"NewColumn on a page without columns opens a new page",
       [](TemplateRun& t) {
         t.AddRow(40);
         t.build = [&t](TfrxReportPage&) {
           t.engine->ShowBand(t.row);
           t.engine->NewColumn();
           t.engine->ShowBand(t.row);
         };
       },
       {"Wiersz@0", "Wiersz@0"}},
      {"a child kept with its band moves to the next page with it",
       [](TemplateRun& t) {
         t.AddBand<TfrxReportTitle>("Tytul", 30);
         t.AddRow(150);
         auto* child = t.AddBand<TfrxChild>("Dziecko", 100);
         auto* kept = t.AddBand<TfrxMasterData>("Trzymany", 100);
         kept->SetChild(child);
         kept->SetKeepChild(true);
         t.build = [&t, kept](TfrxReportPage&) {
           t.engine->ShowBand(t.row);
           t.engine->ShowBand(kept);
         };
       },
       {"Tytul@0 Wiersz@30", "Trzymany@0 Dziecko@100"}},
      {"a band taller than a page without AllowSplit is split where it starts",
       [](TemplateRun& t) {
         t.AddRow(100);
         TfrxMasterData* tall = t.AddTallBand();
         t.build = [&t, tall](TfrxReportPage&) {
           t.engine->ShowBand(t.row);
           t.engine->ShowBand(tall);
         };
       },
       {"Wiersz@0 Wysoki@100", "Wysoki@0"}},
      {"a later row taller than a page starts on a new page before it is split",
       [](TemplateRun& t) {
         t.AddRow(100);
         TfrxMasterData* tall = t.AddTallBand();
         t.build = [&t, tall](TfrxReportPage&) {
           t.engine->ShowBand(t.row);
           tall->BandRowNoThrough = 2;
           t.engine->ShowBand(tall);
         };
       },
       {"Wiersz@0", "Wysoki@0", "Wysoki@0"}},
      {"two columns: the column header repeats at the top of the second column",
       [](TemplateRun& t) {
         t.page->SetColumns(2);
         t.AddBand<TfrxPageHeader>("Naglowek", 20);
         t.AddBand<TfrxColumnHeader>("NaglowekKolumny", 15);
         t.AddBand<TfrxColumnFooter>("StopkaKolumny", 12);
         t.AddRow(150);
         t.rows = 5;
       },
       {"Naglowek@0 NaglowekKolumny@20 Wiersz@35 Wiersz@185 StopkaKolumny@335 NaglowekKolumny@189,20 "
        "Wiersz@189,35 Wiersz@189,185 StopkaKolumny@189,335",
        "Naglowek@0 NaglowekKolumny@20 Wiersz@35 StopkaKolumny@185"}},
      {"a band that does not fit moves whole to the next page",
       [](TemplateRun& t) {
         t.AddRow(300);
         t.rows = 2;
       },
       {"Wiersz@0", "Wiersz@0"}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    TemplateRun t;
    c.setUp(t);
    ASSERT_TRUE(t.report.Prepare()) << t.report.Errors().Text();
    EXPECT_EQ(t.Layout(), c.expected);
  }
}

TEST_F(EngineTest, AReportWithoutBandsPreparesOneEmptyPage) {
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), Pages{""});
}

TEST_F(EngineTest, EndlessPageHoldsAllRowsOnOnePageSizedToThem) {
  page->SetEndlessHeight(true);
  AddRow(100);
  rows = 7;
  double freeSpace = 0;
  report.OnBeforePrint = [&](TfrxComponent&) { freeSpace = engine->FreeSpace(); };
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), Pages{"Wiersz@0 Wiersz@100 Wiersz@200 Wiersz@300 Wiersz@400 Wiersz@500 Wiersz@600"});
  EXPECT_EQ(freeSpace, 1000000);
  EXPECT_EQ(store->PageSize(0).Height, 700);
}

TEST_F(EngineTest, EndlessPageBrokenByTheHostKeepsTheHeightOfEachPart) {
  page->SetEndlessHeight(true);
  AddRow(100);
  build = [this](TfrxReportPage&) {
    engine->ShowBand(row);
    engine->ShowBand(row);
    engine->NewPage();
    engine->ShowBand(row);
  };
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), (Pages{"Wiersz@0 Wiersz@100", "Wiersz@0"}));
  EXPECT_EQ(store->PageSize(0).Height, 200);
  EXPECT_EQ(store->PageSize(1).Height, 100);
}

// An object below a growing one, by its ShiftMode: where it ends up.
struct ShiftCase {
  TfrxShiftMode mode;
  double top;       // of the object below; the growing object is 0..20 and grows to 50
  double expected;  // its top after preparation
};

TEST_F(EngineTest, ObjectsBelowAGrowingObjectMoveByTheirShiftMode) {
  const ShiftCase cases[] = {
      {smAlways, 30, 60},          // moves by the 30 pixels of growth
      {smAlways, 80, 110},
      {smWhenOverlapped, 30, 50},  // moves just below the grown object
      {smWhenOverlapped, 80, 80},  // not overlapped: stays
      {smDontShift, 30, 30},
  };
  AddRow(200);
  auto* text = new TfrxTestLines(row);
  text->SetName("Opis");
  text->SetBounds(0, 0, 100, 20);
  text->SetLines(5);
  text->SetStretchMode(smActualHeight);
  auto* below = new TfrxTestLines(row);
  below->SetName("Suma");
  below->SetWidth(100);
  below->SetHeight(10);
  // Two levels: what stands below the shifted object follows it when it moved.
  auto* last = new TfrxTestLines(row);
  last->SetName("Podpis");
  last->SetBounds(0, 150, 100, 10);
  for (const ShiftCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << int{c.mode} << " top " << c.top);
    below->SetTop(c.top);
    below->SetShiftMode(c.mode);
    for (TfrxComponent* o : row->Objects()) static_cast<TfrxReportComponent*>(o)->ShiftDependents().clear();
    row->ShiftDependents().clear();
    engine->PrepareBand(*row);
    EXPECT_EQ(text->Height(), 50);
    EXPECT_EQ(below->Top(), c.expected);
    EXPECT_EQ(last->Top(), 150 + (c.mode == smWhenOverlapped ? c.expected - c.top : 30));
    engine->ReleaseBand(*row);
    EXPECT_EQ(below->Top(), c.top);
  }
}

TEST_F(EngineTest, ObjectsOnThePageItselfPrintOnTheFirstPageOfEachInstance) {
  page->SetPageCount(2);
  auto* stamp = new TfrxTestLines(page);
  stamp->SetName("Pieczec");
  stamp->SetBounds(250, 300, 100, 30);
  AddRow(300);
  rows = 2;
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  ASSERT_EQ(store->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    std::vector<std::string> stamps;
    for (TfrxComponent* c : store->BuildPage(i)->AllObjects())
      if (c->Name() == "Pieczec") stamps.push_back(std::to_string(std::lround(c->AbsLeft())) + "," +
                                                  std::to_string(std::lround(c->AbsTop())));
    EXPECT_EQ(stamps, i % 2 == 0 ? std::vector<std::string>{"250,300"} : std::vector<std::string>{});
  }
  // Back on its page, where the template had it.
  EXPECT_EQ(stamp->Parent(), page);
  EXPECT_EQ(row->Top(), 0);
}

TEST_F(EngineTest, PageOutlineTextAddsAnItemOnEveryOutputPage) {
  page->SetOutlineText("Page#");
  AddRow(300);
  rows = 3;
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  TfrxCustomOutline& outline = store->Outline();
  outline.LevelRoot();
  ASSERT_EQ(outline.Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(outline.ItemAt(i).Text, std::to_string(i + 1));
    EXPECT_EQ(outline.ItemAt(i).Page, i);
  }
}

TEST_F(EngineTest, TotalPagesIsZeroInOnePassAndTheFirstPassCountWithTwo) {
  AddRow(150);
  rows = 5;  // three pages
  for (bool doublePass : {false, true}) {
    SCOPED_TRACE(doublePass);
    report.EngineOptions().DoublePass = doublePass;
    std::vector<int64_t> seen;
    report.OnBeforePrint = [&](TfrxComponent&) {
      bool found = false;
      if (engine->FinalPass()) seen.push_back(report.LookupValue("TotalPages#", found).toInt64());
    };
    ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
    EXPECT_EQ(store->Count(), 3);
    ASSERT_FALSE(seen.empty());
    for (int64_t total : seen) EXPECT_EQ(total, doublePass ? 3 : 0);
  }
}

TEST_F(EngineTest, StopReportKeepsThePagesSoFar) {
  page->SetPageCount(5);
  AddRow(40);
  rows = 2;
  int shown = 0;
  report.OnBeforePrint = [&](TfrxComponent& band) {
    if (&band == row && ++shown == 3) engine->StopReport();
  };
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), (Pages{"Wiersz@0 Wiersz@40", "Wiersz@0 Wiersz@40"}));
}

TEST_F(EngineTest, GrowingObjectStretchesItsBandAndShiftsWhatIsBelow) {
  AddRow(60)->SetStretched(true);
  auto* text = new TfrxTestLines(row);
  text->SetName("Opis");
  text->SetBounds(0, 0, 100, 20);
  text->SetLines(5);
  text->SetStretchMode(smActualHeight);
  auto* below = new TfrxTestLines(row);
  below->SetName("Suma");
  below->SetBounds(0, 30, 100, 20);
  auto* beside = new TfrxTestLines(row);
  beside->SetName("Obok");
  beside->SetBounds(200, 30, 100, 20);
  rows = 2;
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  EXPECT_EQ(Layout(), Pages{"Wiersz@0 Wiersz@80"});
  TfrxComponent* built = store->BuildPage(0);
  TfrxComponent* band = built->Objects()[1];
  ASSERT_EQ(band->Objects().size(), 3u);
  EXPECT_EQ(band->Objects()[0]->Height(), 50);
  EXPECT_EQ(band->Objects()[1]->Top(), 60);  // moved down by the 30 pixels Opis grew
  EXPECT_EQ(band->Objects()[2]->Top(), 30);  // not under Opis: stays
  // The template is as it was.
  EXPECT_EQ(text->Height(), 20);
  EXPECT_EQ(below->Top(), 30);
}

TEST_F(EngineTest, LinesSpanningThreePagesAreSplitAtWholeLinesWithNothingLostOrDoubled) {
  AddRow(900);
  auto* text = new TfrxTestLines(row);
  text->SetName("Opis");
  text->SetBounds(0, 0, 100, 20);
  text->SetLines(90);
  text->SetStretchMode(smActualHeight);
  auto* total = new TfrxTestLines(row);
  total->SetName("Suma");
  total->SetBounds(0, 25, 100, 10);
  row->SetAllowSplit(true);
  row->SetStretched(true);
  rows = 1;
  ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
  // 378 pixels a page: 37 whole lines, 37 more, and the 16 left.
  std::vector<int> parts;
  for (int i = 0; i < store->Count(); ++i) {
    TfrxComponent* band = store->BuildPage(i)->Objects().at(0);
    auto* part = dynamic_cast<TfrxTestLines*>(band->Objects().at(0));
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->Top(), 0) << "page " << i + 1;
    parts.push_back(part->PartLines());
  }
  EXPECT_EQ(parts, (std::vector<int>{37, 37, 16}));
  // What stood below the text follows its last line, 5 pixels apart as in the template.
  TfrxComponent* last = store->BuildPage(2)->Objects().at(0);
  ASSERT_EQ(last->Objects().size(), 2u);
  EXPECT_EQ(last->Objects()[1]->Name(), "Suma");
  EXPECT_DOUBLE_EQ(last->Objects()[1]->Top(), 165);
}

TEST_F(EngineTest, DateAndTimeAreTakenWhenTheRunStarts) {
  AddRow(40);
  rows = 1;
  Variant date;
  report.OnBeforePrint = [&](TfrxComponent&) {
    bool found = false;
    date = report.LookupValue("Date", found);
  };
  ASSERT_TRUE(report.Prepare());
  EXPECT_EQ(date.toDouble(), engine->StartDate());
  EXPECT_GT(engine->StartDate(), 40000);  // a date of this century
}

TEST(EngineRegistration, PreparedReportsGetPagesThroughTheSeam) {
  TfrxReportCollaborators saved = frxReportCollaborators();
  frxRegisterPreviewPages();
  frxRegisterEngine();
  {
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    page->SetName("Strona1");
    auto* title = new TfrxReportTitle(page);
    title->SetName("Tytul");
    title->SetHeight(30);
    EXPECT_NE(dynamic_cast<TfrxEngine*>(report.Engine()), nullptr);
    ASSERT_TRUE(report.Prepare()) << report.Errors().Text();
    EXPECT_EQ(report.PreviewPages()->Count(), 1);
  }
  frxSetReportCollaborators(saved);
}

}  // namespace
