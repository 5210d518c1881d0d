#include <gtest/gtest.h>

#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"

namespace {

TEST(TfrxBand, KindIndexAndKindNameOfEveryKind) {
  struct Case {
    const char* className;
    int index;
    const char* kindName;
  } cases[] = {
      {"TfrxReportTitle", 0, "ReportTitle"},   {"TfrxReportSummary", 1, "ReportSummary"},
      {"TfrxPageHeader", 2, "PageHeader"},     {"TfrxPageFooter", 3, "PageFooter"},
      {"TfrxHeader", 4, "Header"},             {"TfrxFooter", 5, "Footer"},
      {"TfrxMasterData", 6, "MasterData"},     {"TfrxDetailData", 7, "DetailData"},
      {"TfrxSubdetailData", 8, "SubdetailData"}, {"TfrxDataBand4", 9, "Data4"},
      {"TfrxDataBand5", 10, "Data5"},          {"TfrxDataBand6", 11, "Data6"},
      {"TfrxGroupHeader", 12, "GroupHeader"},  {"TfrxGroupFooter", 13, "GroupFooter"},
      {"TfrxChild", 14, "Child"},              {"TfrxColumnHeader", 15, "ColumnHeader"},
      {"TfrxColumnFooter", 16, "ColumnFooter"}, {"TfrxOverlay", 17, "Overlay"},
      {"TfrxNullBand", 0, "Null"},
  };
  TfrxReportPage page(nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    const TfrxClassInfo* cls = frxFindClass(c.className);
    ASSERT_NE(cls, nullptr);
    ASSERT_NE(cls->Factory(), nullptr);
    auto* band = dynamic_cast<TfrxBand*>(cls->Factory()(&page));
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->KindIndex(), c.index);
    EXPECT_EQ(band->KindName(), c.kindName);
  }
}

TEST(TfrxBand, EachKindPublishesItsOwnFlagsInTemplateOrder) {
  // Every shared flag set, so each kind writes exactly the ones it publishes.
  struct Case {
    const char* className;
    const char* own;  // attributes after the common band ones
  } cases[] = {
      {"TfrxReportTitle",
       " AllowSplit=\"True\" Child=\"Child1\" KeepChild=\"True\" PrintChildIfInvisible=\"True\" StartNewPage=\"True\""
       " Stretched=\"True\""},
      {"TfrxPageHeader",
       " Child=\"Child1\" PrintChildIfInvisible=\"True\" PrintOnFirstPage=\"False\" Stretched=\"True\""},
      {"TfrxPageFooter", " PrintOnFirstPage=\"False\""},
      {"TfrxHeader",
       " AllowSplit=\"True\" Child=\"Child1\" KeepChild=\"True\" PrintChildIfInvisible=\"True\""
       " ReprintOnNewPage=\"True\" StartNewPage=\"True\" Stretched=\"True\""},
      {"TfrxFooter", " AllowSplit=\"True\" Child=\"Child1\" KeepChild=\"True\" PrintChildIfInvisible=\"True\""
                     " Stretched=\"True\""},
      {"TfrxMasterData",
       " AllowSplit=\"True\" Child=\"Child1\" ColumnWidth=\"0\" ColumnGap=\"0\" KeepChild=\"True\""
       " KeepTogether=\"True\" OutlineText=\"&#60;Dane.&#34;Nr&#34;&#62;\" PrintChildIfInvisible=\"True\""
       " RowCount=\"1\" StartNewPage=\"True\" Stretched=\"True\""},
      {"TfrxGroupHeader",
       " AllowSplit=\"True\" Child=\"Child1\" KeepChild=\"True\" KeepTogether=\"True\" ReprintOnNewPage=\"True\""
       " OutlineText=\"&#60;Dane.&#34;Nr&#34;&#62;\" PrintChildIfInvisible=\"True\" StartNewPage=\"True\""
       " Stretched=\"True\""},
      {"TfrxGroupFooter", " AllowSplit=\"True\" Child=\"Child1\" KeepChild=\"True\" PrintChildIfInvisible=\"True\""
                          " Stretched=\"True\""},
      {"TfrxColumnHeader", " Child=\"Child1\" Stretched=\"True\""},
      {"TfrxColumnFooter", ""},
      {"TfrxNullBand", ""},
      {"TfrxOverlay", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    TfrxReport report;
    auto* page = new TfrxReportPage(&report);
    auto* child = new TfrxChild(page);
    child->SetName("Child1");
    auto* band = static_cast<TfrxBand*>(frxFindClass(c.className)->Factory()(page));
    band->SetBounds(0, 18.89765, 718.1107, 22.67718);
    band->SetAllowSplit(true);
    band->SetChild(child);
    band->SetKeepChild(true);
    band->SetKeepTogether(true);
    band->SetOutlineText("<Dane.\"Nr\">");
    band->SetPrintChildIfInvisible(true);
    band->SetPrintOnFirstPage(false);
    band->SetReprintOnNewPage(true);
    band->SetStartNewPage(true);
    band->SetStretched(true);
    band->SetOnBeforePrint("PasekOnBeforePrint");
    TfrxXMLSerializer serializer;
    serializer.RootOwner = &report;
    EXPECT_EQ(serializer.PropertiesToAttributes(*band),
              std::string(" Height=\"22.67718\" Left=\"0\" Top=\"18.89765\" Width=\"718.1107\""
                          " OnBeforePrint=\"PasekOnBeforePrint\"") +
                  c.own);
  }
}

TEST(TfrxBand, DataBandAndGroupHeaderWriteTheirOwnProperties) {
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  auto* master = new TfrxMasterData(page);
  master->SetColumns(2);
  master->SetColumnWidth(300);
  master->SetColumnGap(10.5);
  master->SetDataSetName("Dane");
  master->SetFooterAfterEach(true);
  master->SetKeepFooter(true);
  master->SetPrintIfDetailEmpty(true);
  master->SetRowCount(0);
  master->SetOnMasterDetail("M");
  TfrxXMLSerializer serializer;
  EXPECT_EQ(serializer.PropertiesToAttributes(*master),
            " Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" Columns=\"2\" ColumnWidth=\"300\" ColumnGap=\"10.5\""
            " DataSetName=\"Dane\" FooterAfterEach=\"True\" KeepFooter=\"True\" PrintIfDetailEmpty=\"True\""
            " RowCount=\"0\" OnMasterDetail=\"M\"");

  auto* group = new TfrxGroupHeader(page);
  group->SetCondition("Dane.\"Nabywca\"");
  group->SetDrillDown(true);
  group->SetResetPageNumbers(true);
  group->SetShowChildIfDrillDown(true);
  group->SetDrillName("GroupHeader1");
  EXPECT_EQ(serializer.PropertiesToAttributes(*group),
            " Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" Condition=\"Dane.&#34;Nabywca&#34;\""
            " DrillDown=\"True\" ResetPageNumbers=\"True\" ShowChildIfDrillDown=\"True\" DrillName=\"GroupHeader1\"");

  auto* footer = new TfrxGroupFooter(page);
  footer->SetHideIfSingleDataRecord(true);
  EXPECT_EQ(serializer.PropertiesToAttributes(*footer),
            " Height=\"0\" Left=\"0\" Top=\"0\" Width=\"0\" HideIfSingleDataRecord=\"True\"");
  auto* overlay = new TfrxOverlay(page);
  overlay->SetPrintOnTop(true);
  overlay->SetVertical(true);
  EXPECT_EQ(serializer.PropertiesToAttributes(*overlay),
            " Height=\"0\" Left=\"0\" Top=\"0\" Vertical=\"True\" Width=\"0\" PrintOnTop=\"True\"");
}

TEST(TfrxBand, CircularChildChainsAreRefusedAndChangeNothing) {
  TfrxReportPage page(nullptr);
  auto* master = new TfrxMasterData(&page);
  auto* a = new TfrxChild(&page);
  auto* b = new TfrxChild(&page);
  auto* c = new TfrxChild(&page);
  master->SetChild(a);
  a->SetChild(b);
  b->SetChild(c);
  struct Case {
    TfrxBand* band;
    TfrxChild* child;
  } cycles[] = {{c, a}, {b, a}, {a, a}, {c, b}};
  for (const Case& cycle : cycles) {
    TfrxChild* before = cycle.band->Child();
    try {
      cycle.band->SetChild(cycle.child);
      ADD_FAILURE() << "no error";
    } catch (const EfrxBandError& e) {
      EXPECT_STREQ(e.what(), "Circular child reference is not allowed");
    }
    EXPECT_EQ(cycle.band->Child(), before);
  }
  // Not a cycle: a chain may be joined from another band.
  auto* other = new TfrxFooter(&page);
  other->SetChild(b);
  EXPECT_EQ(other->Child(), b);

  delete b;
  EXPECT_EQ(a->Child(), nullptr);
  EXPECT_EQ(other->Child(), nullptr);
}

TEST(TfrxBand, ACircularChildInATemplateIsALoadErrorAndTheRestResolves) {
  TfrxUserDataSet dane(nullptr);
  dane.SetUserName("Dane");
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  TMemoryStream stream;
  stream.WriteString(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxReportPage Name=\"Page1\">"
      "<TfrxMasterData Name=\"MasterData1\" Child=\"Child1\" DataSetName=\"Dane\"/>"
      "<TfrxChild Name=\"Child1\" Child=\"Child2\"/>"
      "<TfrxChild Name=\"Child2\" Child=\"Child1\"/>"
      "<TfrxFooter Name=\"Footer1\" Child=\"Child2\"/>"
      "</TfrxReportPage></TfrxReport>");
  stream.SetPosition(0);
  report.LoadFromStream(stream);
  EXPECT_EQ(report.Errors().Items(), (std::vector<std::string>{"Circular child reference is not allowed"}));
  auto* master = static_cast<TfrxMasterData*>(report.FindObject("MasterData1"));
  auto* child1 = static_cast<TfrxChild*>(report.FindObject("Child1"));
  EXPECT_EQ(master->Child(), child1);
  EXPECT_EQ(child1->Child(), report.FindObject("Child2"));
  EXPECT_EQ(static_cast<TfrxChild*>(report.FindObject("Child2"))->Child(), nullptr);
  EXPECT_EQ(static_cast<TfrxFooter*>(report.FindObject("Footer1"))->Child(), report.FindObject("Child2"));
  EXPECT_EQ(master->DataSet(), &dane);
}

TEST(TfrxDataBand, RowCountBoundsTheRecordCounter) {
  TfrxReportPage page(nullptr);
  TfrxMasterData band(&page);
  band.SetRowCount(3);
  EXPECT_EQ(band.RowCount(), 3);
  TfrxUserDataSet& counter = band.RecordCounter();
  int rows = 0;
  for (counter.First(); !counter.Eof(); counter.Next()) ++rows;
  EXPECT_EQ(rows, 3);
}

TEST(TfrxDataBand, CurrentColumnMovesTheBandAndWrapsPastTheLastColumn) {
  TfrxReportPage page(nullptr);
  TfrxMasterData band(&page);
  band.SetColumns(3);
  band.SetColumnWidth(100);
  band.SetColumnGap(10);
  struct Case {
    int column;
    int current;
    double left;
  } cases[] = {{2, 2, 110}, {3, 3, 220}, {4, 1, 0}, {1, 1, 0}};
  for (const Case& c : cases) {
    band.ColumnsBottom = 500;
    band.SetCurrentColumn(c.column);
    EXPECT_EQ(band.CurrentColumn(), c.current);
    EXPECT_EQ(band.Left(), c.left);
    EXPECT_EQ(band.ColumnsBottom, c.current == 1 ? 0 : 500);
  }
}

TEST(TfrxBand, DifferencesAlwaysCarryTopAndADrillDownGroupItsName) {
  TfrxReportPage page(nullptr);
  TfrxGroupHeader reference(&page), group(&page);
  group.SetDrillName("GroupHeader1.2");
  EXPECT_EQ(group.WriteDifferences(&reference), " t=\"0\"");
  group.SetDrillDown(true);
  group.SetHeight(20);
  EXPECT_EQ(group.WriteDifferences(&reference), " t=\"0\" h=\"20\" DrillName=\"GroupHeader1.2\"");
  TfrxPageFooter footer(&page), footerReference(&page);
  footer.SetTop(1000.5);
  EXPECT_EQ(footer.WriteDifferences(&footerReference), " t=\"1000.5\"");
}

}  // namespace
