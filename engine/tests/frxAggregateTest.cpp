// Totals through whole runs: memos with SUM, AVG, MIN, MAX and COUNT evaluated by the
// interpreter while the engine prints data bands over test tables.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EngineTestRun.h"
#include "engine/frxAggregate.h"
#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "report/frxClassMemo.h"
#include "script/fs_ireportscript.h"

namespace {

// A memo's text without the line break that ends its last line.
std::string TextOf(const TfrxCustomMemoView& memo) {
  std::string text = codepage::WideToUtf8(memo.Text());
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  return text;
}

class AggregateRun : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = frxReportCollaborators();
    fsUseScriptEngineForReports();
    run = std::make_unique<TemplateRun>();
    run->UseDataBands();
    values.AddRow({Variant(int32_t{2}), Variant("A")});
    values.AddRow({Variant::Null(), Variant("A")});
    values.AddRow({Variant(int32_t{4}), Variant("B")});
    run->report.DataSets().Add(&values);
  }
  void TearDown() override {
    run.reset();
    frxSetReportCollaborators(previous_);
  }

  TfrxMemoView* AddMemo(TfrxBand& band, const std::string& text) {
    auto* memo = new TfrxMemoView(&band);
    memo->SetName(band.Name() + "Tekst" + std::to_string(band.Objects().size()));
    memo->SetBounds(0, 0, 100, 10);
    memo->SetText(codepage::Utf8ToWide(text));
    return memo;
  }

  // A master band over the three rows 2, null, 4, with a footer.
  void RowsWithFooter(bool withFooter = true) {
    rows = run->AddDataBand<TfrxMasterData>("Wiersz", values);
    if (withFooter) footer = run->AddBand<TfrxFooter>("Stopka", 20);
  }

  void Prepare() { ASSERT_TRUE(run->report.Prepare()) << run->report.Errors().Text(); }

  // The texts of the memos of every printed band of that name, in page order; several
  // memos of one band are joined by "|".
  std::vector<std::string> Printed(const std::string& bandName) {
    std::vector<std::string> texts;
    for (int i = 0; i < run->store->Count(); ++i)
      for (TfrxComponent* band : run->store->BuildPage(i)->Objects()) {
        if (band->Name() != bandName) continue;
        std::string text;
        for (TfrxComponent* c : band->Objects())
          if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(c))
            text += (text.empty() ? "" : "|") + TextOf(*memo);
        texts.push_back(text);
      }
    return texts;
  }

  TScopedFormatSettings polish{PolishFormatSettings()};
  std::unique_ptr<TemplateRun> run;
  TTestTable values{"T", {"x", "g"}};
  TfrxMasterData* rows = nullptr;
  TfrxBand* footer = nullptr;

 private:
  TfrxReportCollaborators previous_;
};

using Strings = std::vector<std::string>;

TEST_F(AggregateRun, FooterTotalsOfRowsWithANull) {
  run->report.EngineOptions().ConvertNulls = false;
  RowsWithFooter();
  // The null row is no value for AVG, but a row for COUNT.
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"[SUM(<T.\"x\">)]", "6"},
      {"[AVG(<T.\"x\">)]", "3"},
      {"[COUNT()]", "3"},
      {"[COUNT(Wiersz)]", "3"},
      {"[MIN(<T.\"x\">, Wiersz)]", "2"},
      {"[MAX(<T.\"x\">, Wiersz)]", "4"},
      {"[sum(<T.\"x\">)]", "6"},                 // any case
      {"[sum (<T.\"x\"> * 2)]", ""},             // a blank before "(": never collected, null
      {"[SUM(<Line> > 1)]", "2"},                // a condition counts the rows where it holds
      {"[SUM(<Line> > 5)]", "0"},                // ... and none is 0, not False
      {"[IIF(1 > 0, SUM(<T.\"x\">), 0)]", "6"},  // inside the arguments of another function
  };
  std::string expected;
  for (const auto& c : cases) {
    AddMemo(*footer, c.text);
    expected += (expected.empty() ? "" : "|") + std::string(c.shown);
  }
  Prepare();
  EXPECT_EQ(Printed("Stopka"), Strings{expected});
}

TEST_F(AggregateRun, AHeaderGetsNullAndAnEmptyBandGivesZero) {
  auto* header = run->AddBand<TfrxHeader>("Naglowek", 20);
  AddMemo(*header, "[SUM(<T.\"x\">, Wiersz)]");
  RowsWithFooter();
  TTestTable empty{"Pusta", {"x"}};
  run->report.DataSets().Add(&empty);
  auto* none = run->AddDataBand<TfrxMasterData>("Brak", empty);
  auto* summary = run->AddBand<TfrxReportSummary>("Podsumowanie", 20);
  AddMemo(*summary, "[MIN(<Pusta.\"x\">, Brak)]");
  AddMemo(*summary, "[COUNT(Brak)]");
  AddMemo(*summary, "[SUM(<T.\"x\">, Wiersz)]");
  (void)none;
  Prepare();
  EXPECT_EQ(Printed("Naglowek"), Strings{""});
  EXPECT_EQ(Printed("Podsumowanie"), Strings{"0|0|6"});
}

TEST_F(AggregateRun, RunningTotalsGrowFromGroupToGroupAndPlainOnesRestart) {
  auto* group = run->AddBand<TfrxGroupHeader>("Grupa", 20);
  group->SetCondition("T.\"g\"");
  RowsWithFooter(false);
  auto* groupFooter = run->AddBand<TfrxGroupFooter>("StopkaGrupy", 20);
  AddMemo(*groupFooter, "[SUM(<T.\"x\">, Wiersz, 2)]");
  AddMemo(*groupFooter, "[SUM(<T.\"x\">, Wiersz)]");
  AddMemo(*groupFooter, "[COUNT(Wiersz, 2)]");
  Prepare();
  EXPECT_EQ(Printed("StopkaGrupy"), (Strings{"2|2|2", "6|4|3"}));
}

TEST_F(AggregateRun, RowsOfAHiddenBandCountOnlyWithFlagOne) {
  RowsWithFooter();
  AddMemo(*footer, "[SUM(<T.\"x\">)]");
  AddMemo(*footer, "[SUM(<T.\"x\">, Wiersz, 1)]");
  AddMemo(*footer, "[COUNT(Wiersz, 3)]");
  // The row with 4 hides its band before it is printed.
  run->report.OnBeforePrint = [this](TfrxComponent& object) {
    if (&object == rows) rows->SetVisible(!values.Value("x").identical(Variant(int32_t{4})));
  };
  Prepare();
  EXPECT_EQ(Printed("Stopka"), Strings{"2|6|3"});
}

TEST_F(AggregateRun, FootersOfTwoBandsKeepTheirOwnTotalsOfTheSameCall) {
  RowsWithFooter();
  AddMemo(*footer, "[SUM(<Line>)]");
  auto* more = run->AddBand<TfrxMasterData>("Wiersz2", 20);
  more->SetRowCount(4);
  auto* moreFooter = run->AddBand<TfrxFooter>("Stopka2", 20);
  AddMemo(*moreFooter, "[SUM(<Line>)]");
  Prepare();
  EXPECT_EQ(Printed("Stopka"), Strings{"6"});
  EXPECT_EQ(Printed("Stopka2"), Strings{"10"});
}

TEST_F(AggregateRun, CallsInsideReportVariablesAreCollectedThroughTheVariable) {
  RowsWithFooter();
  run->report.Variables().Set("Suma", Variant("SUM(<T.\"x\">)"));
  run->report.Variables().Set("Razem", Variant("<Suma> * 2"));
  AddMemo(*footer, "[Suma]");
  AddMemo(*footer, "[Razem]");
  Prepare();
  EXPECT_EQ(Printed("Stopka"), Strings{"6|12"});
}

TEST_F(AggregateRun, ADoublePassShowsTheSameTotalsInTheFinalPass) {
  RowsWithFooter();
  AddMemo(*footer, "[SUM(<T.\"x\">)]");
  AddMemo(*footer, "[COUNT(Wiersz, 2)]");
  run->report.EngineOptions().DoublePass = true;
  Prepare();
  EXPECT_EQ(Printed("Stopka"), Strings{"6|3"});
}

TEST_F(AggregateRun, AFlagsArgumentThatIsNoNumberStopsThePreparationWithTheMemosName) {
  RowsWithFooter();
  AddMemo(*footer, "[SUM(<T.\"x\">, Wiersz, 1 + 1)]");
  EXPECT_FALSE(run->report.Prepare());
  EXPECT_NE(run->report.Errors().Text().find("StopkaTekst1: '1 + 1' is not a valid integer value"), std::string::npos)
      << run->report.Errors().Text();
}

// Rows of 20 pixels numbered 1 to 17 with a footer and a page footer: on a page of 378
// pixels the footer no longer fits after the 17th row, which moves with it. Rows kept
// together one by one or not at all.
class KeptFooterRun : public AggregateRun, public ::testing::WithParamInterface<bool> {
 protected:
  void Build() {
    rows = run->AddBand<TfrxMasterData>("Wiersz", 20);
    rows->SetRowCount(17);
    rows->SetKeepFooter(true);
    rows->SetKeepTogether(GetParam());
    AddMemo(*rows, "[Line]");
    footer = run->AddBand<TfrxFooter>("Stopka", 20);
    AddMemo(*footer, "[SUM(<Line>)]");
    auto* pageFooter = run->AddBand<TfrxPageFooter>("StopkaStrony", 20);
    AddMemo(*pageFooter, "[SUM(<Line>, Wiersz)]|[COUNT(Wiersz)]");
    auto* summary = run->AddBand<TfrxReportSummary>("Podsumowanie", 20);
    AddMemo(*summary, "[SUM(<Line>, Wiersz)]");
  }
};

TEST_P(KeptFooterRun, TheLastRowMovedWithTheFooterCountsOnceOnTheNextPage) {
  Build();
  Prepare();
  ASSERT_EQ(run->store->Count(), 2);
  EXPECT_EQ(Printed("Wiersz").back(), "17");
  // 1 + ... + 16 on the first page; the 17th moved with the footer.
  EXPECT_EQ(Printed("StopkaStrony"), (Strings{"136|16", "17|1"}));
  EXPECT_EQ(Printed("Stopka"), Strings{"153"});
  EXPECT_EQ(Printed("Podsumowanie"), Strings{"153"});
}

INSTANTIATE_TEST_SUITE_P(Keeping, KeptFooterRun, ::testing::Bool());

// The list itself: what a scan of linked bands collects.
class AggregateScan : public AggregateRun {
 protected:
  void SetUp() override {
    AggregateRun::SetUp();
    RowsWithFooter();
    rows->FooterBand = footer;
    run->page->LinkedBands().push_back(rows);
    list = std::make_unique<TfrxAggregateList>(run->report);
  }
  void TearDown() override {
    list.reset();
    AggregateRun::TearDown();
  }
  std::unique_ptr<TfrxAggregateList> list;
};

TEST_F(AggregateScan, AVariableThatNamesItselfEndsTheScanAndIsCollectedOnce) {
  run->report.Variables().Set("A", Variant("B + SUM(<T.\"x\">)"));
  run->report.Variables().Set("B", Variant("A + COUNT()"));
  run->report.Variables().Set("C", Variant("C"));
  AddMemo(*footer, "[A] [C] [(((A)))]");
  list->CollectPage(*run->page);
  // A's value names B, whose value names A again: B's call first, then A's.
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Items(0).CallText, "COUNT()");
  EXPECT_EQ(list->Items(1).CallText, "SUM(<T.\"x\">)");
  EXPECT_EQ(list->Items(1).DataBand(), rows);
  EXPECT_EQ(list->Items(1).ParentBand, footer);
}

TEST_F(AggregateScan, ArgumentsAreSplitOutsideQuotesAndParentheses) {
  AddMemo(*footer, "[MAX(IIF(<T.\"x\"> > 1, 'a,b', \"(\"), Wiersz, 3) + sum  (1)] <Count(Stopka , 2)>");
  auto* memo = dynamic_cast<TfrxCustomMemoView*>(footer->Objects().back());
  memo->SetExpressionDelimiters("<,>");
  list->CollectPage(*run->page);
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items(0).Kind(), TfrxAggregateKind::Count);
  EXPECT_EQ(list->Items(0).RunningTotal(), true);
  EXPECT_EQ(list->Items(0).IncludeInvisible(), false);
  EXPECT_EQ(list->Items(0).DataBand(), footer);  // the band named, whatever its kind

  memo->SetExpressionDelimiters("[,]");
  list->ClearList();
  list->CollectPage(*run->page);
  ASSERT_EQ(list->Count(), 1);
  const TfrxAggregateItem& max = list->Items(0);
  EXPECT_EQ(max.Kind(), TfrxAggregateKind::Max);
  EXPECT_EQ(max.Expression, "IIF(<T.\"x\"> > 1, 'a,b', \"(\")");
  EXPECT_EQ(max.CallText, "MAX(IIF(<T.\"x\"> > 1, 'a,b', \"(\"), Wiersz, 3)");
  EXPECT_TRUE(max.IncludeInvisible());
  EXPECT_TRUE(max.RunningTotal());
}

TEST_F(AggregateScan, DeepNestingIsAClearErrorNotACrash) {
  AddMemo(*footer, "[" + std::string(20000, '(') + "SUM(<T.\"x\">)]");
  try {
    list->CollectPage(*run->page);
    FAIL() << "no error";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("nests more than"), std::string::npos) << e.what();
  }
}

}  // namespace
