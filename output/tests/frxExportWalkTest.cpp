// The export walk over prepared pages: page ranges, the order of a filter's calls, page
// positions, the values prepared into objects, errors, Cancel and progress.
#include <gtest/gtest.h>

#include <algorithm>

#include "ExportTestReport.h"
#include "platform/Convert.h"
#include "report/frxRes.h"

namespace {

// Records the walk's calls as short texts ("start", "begin 0", "item Row", "end 0",
// "finish"), and can refuse, cancel or fail where a test asks.
class TRecordingFilter : public TfrxCustomExportFilter {
 public:
  TRecordingFilter() : TfrxCustomExportFilter(nullptr) { SetShowDialog(false); }

  int ShowSettings() override {
    calls.push_back("settings");
    return settingsResult;
  }
  bool StartExport() override {
    calls.push_back("start");
    return startResult;
  }
  void BeginPage(TfrxComponent& page, int index) override {
    calls.push_back("begin " + std::to_string(index));
    pagesInCacheAtBegin = Report() ? frxPreviewPagesOf(*Report())->PagesInCache() : -1;
    (void)page;
  }
  void ExportItem(TfrxComponent& object) override {
    calls.push_back("item " + object.Name());
    if (object.Name() == "_pagebackground") backgroundLefts.push_back(object.Left());
    if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(&object)) texts.push_back(codepage::FromWide(memo->Text()));
    if (object.Name() == failAt) throw std::runtime_error("Brak miejsca na dysku");
  }
  void EndPage(TfrxComponent&, int index) override {
    calls.push_back("end " + std::to_string(index));
    if (cancelAfterPage == index) Report()->SetTerminated(true);
  }
  void EndExport() override { calls.push_back("finish"); }

  // The pages begun, in order.
  std::vector<int> Pages() const {
    std::vector<int> pages;
    for (const std::string& call : calls)
      if (call.rfind("begin ", 0) == 0) pages.push_back(std::stoi(call.substr(6)));
    return pages;
  }

  std::vector<std::string> calls, texts;
  std::vector<double> backgroundLefts;
  int settingsResult = mrOk;
  bool startResult = true;
  std::string failAt;
  int cancelAfterPage = -1;
  int pagesInCacheAtBegin = -1;
};

class ExportWalkTest : public ::testing::Test {
 protected:
  void SetUp() override { previousWalk = frxSetExportWalk(&frxExportPages); }
  void TearDown() override { frxSetExportWalk(previousWalk); }

  TExportTestReport invoice;
  TRecordingFilter filter;
  TfrxExportWalk previousWalk;
};

TEST(PageNumbersTest, SelectsWhatTheRangeTextSays) {
  const struct {
    const char* text;
    int pageCount;
    std::set<int> pages;
  } cases[] = {
      {"", 9, {}},
      {"2 - 4 , 7", 9, {2, 3, 4, 7}},
      {"5-", 9, {5, 6, 7, 8, 9}},
      {"4-2", 9, {}},
      {"4-2,7", 9, {7}},
      {"3,3,1-2", 9, {1, 2, 3}},
      {"12", 3, {12}},             // a page that does not exist: nothing, not everything
      {"5-12", 3, {5}},            // likewise for a range past the end
      {"2-2000000000", 3, {2, 3}},  // a huge range costs no more than the pages there are
  };
  for (const auto& c : cases) EXPECT_EQ(frxParsePageNumbers(c.text, c.pageCount), c.pages) << c.text;
}

TEST(PageNumbersTest, PartsThatAreNotNumbersAreConversionErrors) {
  for (const char* text : {"-5", "a", "1,,3", "1-b", "2;3", ","})
    EXPECT_THROW(frxParsePageNumbers(text, 9), EConvertError) << text;
}

TEST_F(ExportWalkTest, CallsTheFilterInOrderForEveryPage) {
  invoice.Prepare(2, 1);
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  const std::vector<std::string> page0 = {"begin 0",   "item _pagebackground", "item PageHeader1", "item Title",
                                          "item MasterData1", "item Row", "item Amount", "item PageFooter1",
                                          "item PageNo", "end 0"};
  std::vector<std::string> expected = {"start"};
  for (int p = 0; p < 2; ++p)
    for (std::string call : page0) {
      if (call == "begin 0") call = "begin " + std::to_string(p);
      if (call == "end 0") call = "end " + std::to_string(p);
      expected.push_back(call);
    }
  expected.push_back("finish");
  EXPECT_EQ(filter.calls, expected);
  EXPECT_EQ(filter.Report(), &invoice.report);
}

TEST_F(ExportWalkTest, ExportsTheSelectedPages) {
  invoice.Prepare(9, 1);
  const struct {
    const char* range;
    std::vector<int> pages;  // indexes
  } cases[] = {
      {"", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"2 - 4 , 7", {1, 2, 3, 6}},
      {"5-", {4, 5, 6, 7, 8}},
      {"4-2", {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"4-2,7", {6}},
      {"12", {}},
  };
  for (const auto& c : cases) {
    filter.calls.clear();
    filter.SetPageNumbers(c.range);
    EXPECT_TRUE(invoice.report.ExportTo(filter)) << c.range;
    EXPECT_EQ(filter.Pages(), c.pages) << c.range;
  }
}

TEST_F(ExportWalkTest, MalformedRangeRaisesToTheCallerBeforeAnything) {
  invoice.Prepare(3, 1);
  filter.SetPageNumbers("-5");
  EXPECT_THROW(invoice.report.ExportTo(filter), EConvertError);
  EXPECT_TRUE(filter.calls.empty());
}

TEST_F(ExportWalkTest, CurrentPageOnlyWithoutPreviewIsTheFirstPage) {
  invoice.Prepare(3, 1);
  filter.SetCurrentPageOnly(true);
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  EXPECT_EQ(filter.Pages(), std::vector<int>{0});
  EXPECT_EQ(filter.PageNumbers(), "1");
}

TEST_F(ExportWalkTest, RefusedStartOrCancelledSettingsCallNothingElse) {
  invoice.Prepare(3, 1);
  filter.startResult = false;
  EXPECT_TRUE(invoice.report.ExportTo(filter));  // refused, not failed
  EXPECT_EQ(filter.calls, std::vector<std::string>{"start"});

  filter.calls.clear();
  filter.SetShowDialog(true);
  filter.settingsResult = mrCancel;
  EXPECT_FALSE(invoice.report.ExportTo(filter));
  EXPECT_EQ(filter.calls, std::vector<std::string>{"settings"});
}

TEST_F(ExportWalkTest, OnBeginExportComesBeforeStartExport) {
  invoice.Prepare(1, 1);
  filter.OnBeginExport = [this](TfrxCustomExportFilter& sender) {
    EXPECT_EQ(&sender, &filter);
    filter.calls.push_back("begin export");
  };
  invoice.report.ExportTo(filter);
  ASSERT_GE(filter.calls.size(), 2u);
  EXPECT_EQ(filter.calls[0], "begin export");
  EXPECT_EQ(filter.calls[1], "start");
}

TEST_F(ExportWalkTest, PagesStandAtTheirMarginsMirroredOnOddIndexes) {
  invoice.page->SetRightMargin(25);
  invoice.page->SetMirrorMargins(true);
  invoice.Prepare(3, 1);
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  const double left = 10 * fr01cm, right = 25 * fr01cm;
  EXPECT_EQ(filter.backgroundLefts, (std::vector<double>{left, right, left}));
}

TEST_F(ExportWalkTest, MemosGetThePageCount) {
  invoice.Prepare(3, 1);
  std::vector<std::string> footers;
  invoice.report.ExportTo(filter);
  for (const std::string& text : filter.texts)
    if (text.rfind("Strona", 0) == 0) footers.push_back(text.substr(0, text.find('\r')));
  EXPECT_EQ(footers, (std::vector<std::string>{"Strona 1 z 3", "Strona 2 z 3", "Strona 3 z 3"}));
}

TEST_F(ExportWalkTest, AnErrorEndsTheExportButClosesThePageAndTheExport) {
  invoice.Prepare(3, 1);
  invoice.report.EngineOptions().NewSilentMode = simSilent;
  filter.failAt = "Row";
  EXPECT_FALSE(invoice.report.ExportTo(filter));
  EXPECT_EQ(filter.Pages(), std::vector<int>{0});
  ASSERT_GE(filter.calls.size(), 2u);
  EXPECT_EQ(filter.calls[filter.calls.size() - 2], "end 0");
  EXPECT_EQ(filter.calls.back(), "finish");
  EXPECT_EQ(invoice.report.Errors().Items(), std::vector<std::string>{"Brak miejsca na dysku"});

  invoice.report.EngineOptions().NewSilentMode = simReThrow;
  try {
    invoice.report.ExportTo(filter);
    ADD_FAILURE() << "simReThrow passes the error on";
  } catch (const EfrxReportError& e) {
    EXPECT_EQ(std::string(e.what()), frxResources().Get("clErrors") + "\r\nBrak miejsca na dysku");
  }
}

TEST_F(ExportWalkTest, TerminatedStopsAfterThePageButEndsTheExport) {
  invoice.Prepare(3, 1);
  filter.cancelAfterPage = 0;
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  EXPECT_EQ(filter.Pages(), std::vector<int>{0});
  EXPECT_EQ(filter.calls.back(), "finish");
  // The next export starts afresh.
  filter.cancelAfterPage = -1;
  filter.calls.clear();
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  EXPECT_EQ(filter.Pages(), (std::vector<int>{0, 1, 2}));
}

TEST_F(ExportWalkTest, ProgressGoesPageByPageWhenShown) {
  std::vector<std::string> events;
  invoice.report.OnProgressStart = [&](TfrxReport& report, TfrxProgressType type, int) {
    events.push_back(type == TfrxProgressType::Exporting ? "start exporting" : "start running");
  };
  invoice.report.OnProgress = [&](TfrxReport& report, TfrxProgressType, int n) {
    events.push_back(report.ProgressCaption(n));
  };
  invoice.report.OnProgressStop = [&](TfrxReport&, TfrxProgressType, int) { events.push_back("stop"); };
  invoice.Prepare(2, 1);  // the store reports the pages of a run
  EXPECT_EQ(events, (std::vector<std::string>{"start running", "Tworzenie strony 1", "Tworzenie strony 2", "stop"}));
  invoice.Prepare(1, 1);  // adds a third page
  events.clear();
  filter.SetShowProgress(false);
  invoice.report.ExportTo(filter);
  EXPECT_TRUE(events.empty());
  filter.SetShowProgress(true);
  filter.SetPageNumbers("2-3");
  invoice.report.ExportTo(filter);
  EXPECT_EQ(events, (std::vector<std::string>{"start exporting", "Eksportowanie strony 2", "Eksportowanie strony 3",
                                              "stop"}));
}

TEST_F(ExportWalkTest, ProgressWindowShowsTheCaptionAndItsCancelStops) {
  invoice.Prepare(3, 1);
  struct TWindow : TfrxProgressWindow {
    TWindow(TfrxReport& r, std::vector<std::string>& c) : report(r), captions(c) {}
    void ShowCaption(const std::string& caption) override {
      captions.push_back(caption);
      report.SetTerminated(true);  // the user presses Cancel at once
    }
    TfrxReport& report;
    std::vector<std::string>& captions;
  };
  std::vector<std::string> captions;
  TfrxReportCollaborators collaborators = frxReportCollaborators();
  collaborators.ProgressWindow = [&](TfrxReport& report) { return std::make_unique<TWindow>(report, captions); };
  const TfrxReportCollaborators previous = frxSetReportCollaborators(collaborators);
  filter.SetShowProgress(true);
  invoice.report.ExportTo(filter);
  frxSetReportCollaborators(previous);
  EXPECT_EQ(captions, std::vector<std::string>{"Eksportowanie strony 1"});
  EXPECT_EQ(filter.Pages(), std::vector<int>{0});
}

TEST_F(ExportWalkTest, RepeatedPageBandsCanBeLeftToTheFirstAndLastPage) {
  invoice.Prepare(3, 1);
  filter.SetSuppressPageHeadersFooters(true);
  invoice.report.ExportTo(filter);
  int headers = 0, footers = 0;
  for (const std::string& call : filter.calls) {
    headers += call == "item PageHeader1";
    footers += call == "item PageFooter1";
  }
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(footers, 1);
  EXPECT_LT(std::find(filter.calls.begin(), filter.calls.end(), "item PageHeader1"),
            std::find(filter.calls.begin(), filter.calls.end(), "end 0"));
  EXPECT_GT(std::find(filter.calls.begin(), filter.calls.end(), "item PageFooter1"),
            std::find(filter.calls.begin(), filter.calls.end(), "begin 2"));
}

TEST_F(ExportWalkTest, PagesLeaveTheCacheAfterTheyAreExported) {
  invoice.Prepare(4, 1);
  invoice.report.ExportTo(filter);
  EXPECT_EQ(filter.pagesInCacheAtBegin, 1);  // only the page being exported
  EXPECT_EQ(invoice.store->PagesInCache(), 0);
}

TEST(ExportFilterListTest, FiltersJoinTheListUnlessAskedNotTo) {
  const size_t before = frxExportFilters().size();
  {
    TRecordingFilter listed;
    EXPECT_EQ(frxExportFilters().size(), before + 1);
    EXPECT_EQ(frxExportFilters().back(), &listed);
    struct TUnlisted : TfrxCustomExportFilter {
      TUnlisted() : TfrxCustomExportFilter(nullptr, true) {}
      void ExportItem(TfrxComponent&) override {}
    } unlisted;
    EXPECT_TRUE(unlisted.NoRegistration());
    EXPECT_EQ(frxExportFilters().size(), before + 1);
  }
  EXPECT_EQ(frxExportFilters().size(), before);
}

TEST(ExportFilterListTest, DefaultsAreThoseOfEveryFilter) {
  TRecordingFilter filter;
  TfrxCustomExportFilter& base = filter;
  EXPECT_EQ(base.ShowSettings(), mrOk);
  EXPECT_FALSE(base.ExportNotPrintable());
  EXPECT_TRUE(base.UseFileCache());
  EXPECT_TRUE(base.ShowProgress());
  EXPECT_FALSE(base.OverwritePrompt());
  EXPECT_FALSE(base.SlaveExport());
  EXPECT_TRUE(base.FileNames().empty());
  EXPECT_EQ(base.ClassName(), "TfrxCustomExportFilter");
  EXPECT_TRUE(base.ClassInfo().FindProperty("ShowDialog"));
}

TEST(ExportWalkRegistrationTest, WithoutTheWalkExportingIsAClearError) {
  const TfrxExportWalk previous = frxSetExportWalk(nullptr);
  TExportTestReport invoice;
  invoice.Prepare(1, 1);
  TRecordingFilter filter;
  EXPECT_THROW(invoice.report.ExportTo(filter), EfrxPreparedReportError);
  frxRegisterExportFilters();
  EXPECT_TRUE(invoice.report.ExportTo(filter));
  frxSetExportWalk(previous);
}

}  // namespace
