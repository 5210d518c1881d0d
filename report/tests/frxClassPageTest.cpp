#include <gtest/gtest.h>

#include <cmath>

#include "platform/Paper.h"
#include "platform/Recording.h"
#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"

namespace {

struct Margins {
  double left, right, top, bottom;
};

Margins MarginsOf(const TfrxReportPage& page) {
  return {page.LeftMargin(), page.RightMargin(), page.TopMargin(), page.BottomMargin()};
}

void SetMargins(TfrxReportPage& page, Margins m) {
  page.SetLeftMargin(m.left);
  page.SetRightMargin(m.right);
  page.SetTopMargin(m.top);
  page.SetBottomMargin(m.bottom);
}

// Loads a template text into a fresh report (silent), returning the report.
std::unique_ptr<TfrxReport> LoadText(const std::string& xml) {
  auto report = std::make_unique<TfrxReport>();
  report->EngineOptions().NewSilentMode = simSilent;
  TMemoryStream stream;
  stream.WriteString("<?xml version=\"1.0\" encoding=\"utf-8\"?>" + xml);
  stream.SetPosition(0);
  report->LoadFromStream(stream);
  return report;
}

TEST(TfrxReportPage, ANewPageIsA4PortraitNamedPageN) {
  TfrxReport report;
  auto* first = new TfrxReportPage(&report);
  first->MakeUniqueName();
  auto* second = new TfrxReportPage(&report);
  second->MakeUniqueName();
  EXPECT_EQ(first->Name(), "Page1");
  EXPECT_EQ(second->Name(), "Page2");
  EXPECT_EQ(first->PaperSize(), 9);
  EXPECT_EQ(first->PaperWidth(), 210);
  EXPECT_EQ(first->PaperHeight(), 297);
  EXPECT_EQ(first->Width(), 794);
  EXPECT_EQ(first->Height(), 1123);
  EXPECT_EQ(first->Orientation(), poPortrait);
  EXPECT_EQ(MarginsOf(*first).left, 0);
  EXPECT_EQ(first->Color(), clTransparent);
}

TEST(TfrxReportPage, OrientationSwapsThePaperAndRotatesTheMargins) {
  TfrxReportPage page(nullptr);
  SetMargins(page, {10, 10, 10, 20});
  page.SetOrientation(poLandscape);
  EXPECT_EQ(page.PaperWidth(), 297);
  EXPECT_EQ(page.PaperHeight(), 210);
  EXPECT_EQ(page.Width(), 1123);
  EXPECT_EQ(page.Height(), 794);
  Margins m = MarginsOf(page);
  EXPECT_EQ((std::array{m.left, m.right, m.top, m.bottom}), (std::array<double, 4>{10, 20, 10, 10}));

  // Setting the same orientation again changes nothing.
  page.SetOrientation(poLandscape);
  EXPECT_EQ(page.PaperWidth(), 297);

  SetMargins(page, {1, 2, 3, 4});
  page.SetOrientation(poPortrait);
  m = MarginsOf(page);
  EXPECT_EQ((std::array{m.left, m.right, m.top, m.bottom}), (std::array<double, 4>{4, 3, 1, 2}));
  EXPECT_EQ(page.PaperWidth(), 210);
  EXPECT_EQ(page.Width(), 794);
}

TEST(TfrxReportPage, PaperSizeCodesAndUserSizes) {
  struct Case {
    TPrinterOrientation orientation;
    int code;
    double width, height;
  } cases[] = {
      {poPortrait, 11, 148, 210},   // A5
      {poLandscape, 11, 210, 148},  // A5 turned
      {poPortrait, 8, 297, 420},    // A3
      {poPortrait, 1, 215.9, 279.4},
      {poPortrait, 48, 210, 297},   // a reserved code keeps the size
      {poPortrait, 256, 210, 297},  // user-defined keeps the size
      {poPortrait, 300, 210, 297},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    TfrxReportPage page(nullptr);
    page.SetOrientation(c.orientation);
    page.SetPaper(9, c.orientation == poLandscape ? 297 : 210, c.orientation == poLandscape ? 210 : 297);
    page.SetPaperSize(c.code);
    EXPECT_EQ(page.PaperSize(), c.code);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), c.width);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), c.height);
    EXPECT_EQ(page.Width(), std::round(c.width * fr01cm));
    EXPECT_EQ(page.Height(), std::round(c.height * fr01cm));
  }
}

TEST(TfrxReportPage, AWidthOrHeightMakesThePaperUserDefined) {
  TfrxReportPage page(nullptr);
  page.SetPaperWidth(100);
  EXPECT_EQ(page.PaperSize(), 256);
  EXPECT_EQ(page.Width(), 378);
  page.SetPaperSize(9);
  page.SetPaperHeight(99.123456789);
  EXPECT_EQ(page.PaperSize(), 256);
  EXPECT_DOUBLE_EQ(page.PaperHeight(), 99.12345679);
}

TEST(TfrxReportPage, ColumnsGiveTheirWidthAndPositionsInTheLocaleFloatText) {
  struct Case {
    char separator;
    std::vector<std::string> positions;
  } cases[] = {{'.', {"0", "63.3333333333333", "126.666666666667"}},
               {',', {"0", "63,3333333333333", "126,666666666667"}}};
  char previous = frxDecimalSeparator();
  for (const Case& c : cases) {
    frxSetDecimalSeparator(c.separator);
    TfrxReportPage page(nullptr);
    SetMargins(page, {10, 10, 5, 5});
    page.SetColumns(3);
    EXPECT_DOUBLE_EQ(page.ColumnWidth(), 190.0 / 3);
    EXPECT_EQ(page.ColumnPositions(), c.positions);
    page.SetColumns(0);
    EXPECT_TRUE(page.ColumnPositions().empty());
  }
  frxSetDecimalSeparator(previous);
}

TEST(TfrxReportPage, PageCountBelowOneIsIgnored) {
  TfrxReportPage page(nullptr);
  page.SetPageCount(3);
  page.SetPageCount(0);
  page.SetPageCount(-2);
  EXPECT_EQ(page.PageCount(), 3);
}

TEST(TfrxReportPage, DefaultsFromThePrinterGiveTenMillimetreMargins) {
  TfrxReportPage a4(nullptr);
  a4.SetDefaultsFromPrinter();
  EXPECT_EQ(a4.PaperSize(), 9);
  EXPECT_EQ(a4.Height(), 1123);
  EXPECT_EQ(MarginsOf(a4).bottom, 10);

  paper::SetDefaultPrinterPaperSource([] { return paper::TPrinterPaper{1, 279.4, 215.9, true}; });
  TfrxReportPage letter(nullptr);
  letter.SetDefaultsFromPrinter();
  paper::SetDefaultPrinterPaperSource(nullptr);
  EXPECT_EQ(letter.PaperSize(), 1);
  EXPECT_EQ(letter.Orientation(), poLandscape);
  EXPECT_EQ(letter.PaperWidth(), 279.4);
  EXPECT_EQ(letter.Width(), 1056);
  EXPECT_EQ(MarginsOf(letter).left, 10);
}

TEST(TfrxReportPage, TemplatesEndWithTheirStoredSizeAndOrientation) {
  struct Case {
    const char* name;
    const char* attributes;
    TPrinterOrientation orientation;
    int code;
    double width, height;
    Margins margins;
  } cases[] = {
      {"landscape A5",
       R"(Orientation="poLandscape" PaperWidth="210" PaperHeight="148" PaperSize="11" LeftMargin="15" RightMargin="5" TopMargin="8" BottomMargin="12")",
       poLandscape, 11, 210, 148, {15, 5, 8, 12}},
      {"user-sized",
       R"(PaperWidth="100" PaperHeight="50,5" PaperSize="256" LeftMargin="2" RightMargin="2" TopMargin="2" BottomMargin="2")",
       poPortrait, 256, 100, 50.5, {2, 2, 2, 2}},
      {"landscape user-sized",
       R"(Orientation="poLandscape" PaperWidth="320" PaperHeight="120" PaperSize="256" LeftMargin="1" RightMargin="2" TopMargin="3" BottomMargin="4")",
       poLandscape, 256, 320, 120, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto report = LoadText(std::string("<TfrxReport><TfrxReportPage Name=\"Page1\" ") + c.attributes +
                           "/></TfrxReport>");
    EXPECT_TRUE(report->Errors().Empty()) << report->Errors().Text();
    ASSERT_EQ(report->Objects().size(), 1u);
    auto& page = static_cast<TfrxReportPage&>(*report->Objects()[0]);
    EXPECT_EQ(page.Orientation(), c.orientation);
    EXPECT_EQ(page.PaperSize(), c.code);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), c.width);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), c.height);
    Margins m = MarginsOf(page);
    EXPECT_EQ((std::array{m.left, m.right, m.top, m.bottom}),
              (std::array{c.margins.left, c.margins.right, c.margins.top, c.margins.bottom}));
    EXPECT_EQ(page.Width(), std::round(c.width * fr01cm));
  }
}

TEST(TfrxReportPage, PropertiesAreWrittenInTemplateOrder) {
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  page->SetName("Page1");
  page->SetOrientation(poLandscape);
  SetMargins(*page, {10, 10, 10, 10});
  page->SetColumns(2);
  page->SetBin(15);
  page->SetColor(clWhite);
  page->SetDuplex(dmVertical);
  page->Frame().SetTyp(15);
  page->SetTitleBeforeHeader(false);
  page->SetOnBeforePrint("Page1OnBeforePrint");
  TfrxXMLSerializer serializer;
  EXPECT_EQ(serializer.PropertiesToAttributes(*page),
            " Orientation=\"poLandscape\" PaperWidth=\"297\" PaperHeight=\"210\" PaperSize=\"9\""
            " LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\" Columns=\"2\""
            " ColumnWidth=\"138.5\" ColumnPositions.Text=\"0&#13;&#10;138.5\" Bin=\"15\" Color=\"16777215\""
            " Duplex=\"dmVertical\" Frame.Typ=\"15\" TitleBeforeHeader=\"False\" HGuides.Text=\"\""
            " VGuides.Text=\"\" OnBeforePrint=\"Page1OnBeforePrint\"");
}

TEST(TfrxReportPage, FirstBandOfClassTakesDerivedClassesInObjectOrder) {
  TfrxReportPage page(nullptr);
  auto* title = new TfrxReportTitle(&page);
  auto* master = new TfrxMasterData(&page);
  new TfrxDetailData(&page);
  EXPECT_EQ(page.FirstBandOfClass<TfrxReportTitle>(), title);
  EXPECT_EQ(page.FirstBandOfClass<TfrxDataBand>(), master);
  EXPECT_EQ(page.FirstBandOfClass<TfrxBand>(), title);
  EXPECT_EQ(page.FirstBandOfClass<TfrxGroupHeader>(), nullptr);
}

TEST(TfrxReportPage, AlignmentSizesBandsToThePrintableAreaOrAColumn) {
  TfrxReportPage page(nullptr);
  SetMargins(page, {10, 10, 10, 17});
  page.SetColumns(2);
  auto* title = new TfrxReportTitle(&page);
  auto* master = new TfrxMasterData(&page);
  auto* shifted = new TfrxFooter(&page);
  auto* vertical = new TfrxMasterData(&page);
  title->SetBounds(0, 0, 10, 20);
  master->SetBounds(0, 40, 10, 20);
  shifted->SetBounds(30, 70, 10, 20);
  vertical->SetVertical(true);
  vertical->SetBounds(0, 100, 50, 20);
  auto* filler = new TfrxView(title);
  filler->SetAlign(baClient);

  page.ApplyAlignment();
  const double printableWidth = 190 * fr01cm, printableHeight = 270 * fr01cm;
  EXPECT_DOUBLE_EQ(title->Width(), printableWidth);
  EXPECT_DOUBLE_EQ(filler->Width(), printableWidth);  // the band aligned its views
  EXPECT_DOUBLE_EQ(filler->Height(), 20);
  EXPECT_DOUBLE_EQ(master->Width(), 95 * fr01cm);
  EXPECT_DOUBLE_EQ(shifted->Width(), 95 * fr01cm);
  EXPECT_DOUBLE_EQ(vertical->Height(), printableHeight - 100);
  EXPECT_EQ(page.Width(), 794);  // the page is the whole paper again
  EXPECT_EQ(page.Height(), 1123);

  page.SetColumns(0);
  page.ApplyAlignment();
  EXPECT_DOUBLE_EQ(shifted->Width(), printableWidth - 30);
}

TEST(TfrxReportPage, BackgroundIsDrawnOverThePrintableAreaUnlessHidden) {
  struct Case {
    bool visible, printable, printing;
    bool drawn;
  } cases[] = {
      {true, true, false, true},  {true, false, false, true}, {true, false, true, false},
      {false, true, false, false}, {true, true, true, true},
  };
  for (const Case& c : cases) {
    TfrxReportPage page(nullptr);
    SetMargins(page, {10, 10, 20, 20});
    page.SetColor(clRed);
    page.SetBackPictureVisible(c.visible);
    page.SetBackPicturePrintable(c.printable);
    page.SetPrinting(c.printing);
    TRecordingCanvas canvas({800, 1200});
    page.PaintPageBackground(canvas, 1, 1, 5, 0);
    EXPECT_EQ(canvas.Recording().RecordCount() > 0, c.drawn);
    EXPECT_DOUBLE_EQ(page.BackgroundView().Width(), 190 * fr01cm);
    EXPECT_DOUBLE_EQ(page.BackgroundView().Height(), 257 * fr01cm);
    if (c.drawn) {
      const TfrxDeviceRect& r = page.BackgroundView().DeviceRect();
      EXPECT_EQ(r.Left, std::lround(5 + 10 * fr01cm));
      EXPECT_EQ(r.Top, std::lround(20 * fr01cm));
      EXPECT_EQ(r.Width, std::lround(5 + 200 * fr01cm) - r.Left);
    }
  }
}

TEST(TfrxReportPage, SubreportLinkEndsWithEitherSide) {
  TfrxReport report;
  auto* page = new TfrxReportPage(&report);
  auto* shown = new TfrxReportPage(&report);
  auto* band = new TfrxMasterData(page);
  auto* subreport = new TfrxView(band);
  shown->SetSubreport(subreport);
  EXPECT_EQ(shown->Subreport(), subreport);
  delete subreport;
  EXPECT_EQ(shown->Subreport(), nullptr);

  // The subreport's side: it hears of the page's removal.
  struct Watcher : TfrxView {
    using TfrxView::TfrxView;
    void Notification(TComponent* c, TOperation op) override {
      TfrxView::Notification(c, op);
      if (op == opRemove && c == page) page = nullptr;
    }
    TComponent* page = nullptr;
  };
  TfrxReportPage lonePage(nullptr);
  Watcher watcher(nullptr);
  {
    auto* other = new TfrxReportPage(nullptr);
    watcher.page = other;
    other->SetSubreport(&watcher);
    delete other;
  }
  EXPECT_EQ(watcher.page, nullptr);
}

// ---------------------------------------------------------------------------------------
// Data and dialog pages

TEST(TfrxDataPage, IsAThousandPixelsSquareAndWritesItsBounds) {
  TfrxReport report;
  auto* page = new TfrxDataPage(&report);
  EXPECT_EQ(page->Width(), 1000);
  EXPECT_EQ(page->Height(), 1000);
  TfrxXMLSerializer serializer;
  EXPECT_EQ(serializer.PropertiesToAttributes(*page), " Height=\"1000\" Left=\"0\" Top=\"0\" Width=\"1000\"");
}

TEST(TfrxDialogPage, StartsAsATahomaWindowCentredOnTheScreen) {
  TfrxReport report;
  auto* page = new TfrxDialogPage(&report);
  EXPECT_EQ(page->Font().Name, "Tahoma");
  EXPECT_EQ(page->Font().Size, 8);
  EXPECT_EQ(page->BorderStyle(), bsSizeable);
  EXPECT_EQ(page->Position(), poScreenCenter);
  EXPECT_EQ(page->Color(), clBtnFace);
  EXPECT_EQ(page->ClientWidth(), 0);
  EXPECT_TRUE(page->IsDialogPageObject());

  auto loaded = LoadText(
      "<TfrxReport><TfrxDialogPage Name=\"Dialog1\" BorderStyle=\"bsDialog\" Caption=\"Zakres dat\" Height=\"200\""
      " ClientHeight=\"170\" Left=\"10\" Position=\"poDesktopCenter\" Top=\"20\" Width=\"300\" ClientWidth=\"292\""
      " OnShow=\"Dialog1OnShow\"/></TfrxReport>");
  EXPECT_TRUE(loaded->Errors().Empty()) << loaded->Errors().Text();
  auto& dialog = static_cast<TfrxDialogPage&>(*loaded->Objects().at(0));
  EXPECT_EQ(dialog.BorderStyle(), bsDialog);
  EXPECT_EQ(dialog.Caption(), "Zakres dat");
  EXPECT_EQ(dialog.Width(), 300);
  EXPECT_EQ(dialog.ClientHeight(), 170);
  EXPECT_EQ(dialog.Position(), poDesktopCenter);
  EXPECT_EQ(dialog.Event(TfrxDialogPage::evShow), "Dialog1OnShow");
  EXPECT_EQ(dialog.Event(TfrxDialogPage::evHide), "");
}

// ---------------------------------------------------------------------------------------
// Where pages and bands may stand

TEST(TfrxPageNesting, MisplacedPagesAndBandsAreLoadErrorsAndTheRestLoads) {
  auto report = LoadText(
      "<TfrxReport>"
      "<TfrxMasterData Name=\"Lost1\"><TfrxView Name=\"Inside1\"/></TfrxMasterData>"
      "<TfrxReportPage Name=\"Page1\">"
      "<TfrxReportTitle Name=\"ReportTitle1\" Height=\"20\"><TfrxReportPage Name=\"Page2\"/></TfrxReportTitle>"
      "<TfrxReportSummary Name=\"ReportSummary1\"/>"
      "</TfrxReportPage>"
      "<TfrxDataPage Name=\"Data\"><TfrxPageFooter Name=\"PageFooter1\"/></TfrxDataPage>"
      "</TfrxReport>");
  EXPECT_EQ(report->Errors().Items(),
            (std::vector<std::string>{
                "<TfrxMasterData Name=\"Lost1\"> is skipped: a band belongs on a report page, not in TfrxReport",
                "<TfrxPageFooter Name=\"PageFooter1\"> is skipped: a band belongs on a report page, not in "
                "TfrxDataPage Data",
                "<TfrxReportPage Name=\"Page2\"> is skipped: a page belongs in a report, not in TfrxReportTitle "
                "ReportTitle1",
            }));
  EXPECT_EQ(report->FindObject("Lost1"), nullptr);
  EXPECT_EQ(report->FindObject("Inside1"), nullptr);
  EXPECT_EQ(report->FindObject("Page2"), nullptr);
  ASSERT_NE(report->FindObject("ReportSummary1"), nullptr);
  EXPECT_EQ(report->FindObject("ReportSummary1")->Parent(), report->FindObject("Page1"));
  EXPECT_EQ(report->Objects().size(), 2u);
}

// ---------------------------------------------------------------------------------------
// The DataSet / DataSetName pair of pages and data bands

TEST(TfrxDataSetLink, PagesAndDataBandsFollowTheirDataSet) {
  TfrxReport report;
  auto* dane = new TfrxUserDataSet(nullptr);
  dane->SetUserName("Dane");
  auto* page = new TfrxReportPage(&report);
  auto* band = new TfrxMasterData(page);
  struct Holder {
    const char* name;
    std::function<void(const std::string&)> setName;
    std::function<void(TfrxComponent*)> set;
    std::function<TfrxComponent*()> get;
    std::function<std::string()> getName;
  } holders[] = {
      {"page", [&](const std::string& n) { page->SetDataSetName(n); }, [&](TfrxComponent* d) { page->SetDataSet(d); },
       [&] { return page->DataSet(); }, [&] { return page->DataSetName(); }},
      {"band", [&](const std::string& n) { band->SetDataSetName(n); }, [&](TfrxComponent* d) { band->SetDataSet(d); },
       [&] { return band->DataSet(); }, [&] { return band->DataSetName(); }},
  };
  for (const Holder& h : holders) {
    SCOPED_TRACE(h.name);
    h.setName("DANE");
    EXPECT_EQ(h.get(), dane);
    EXPECT_EQ(h.getName(), "Dane");  // the dataset's own spelling
    h.setName("Seria");
    EXPECT_EQ(h.get(), nullptr);
    EXPECT_EQ(h.getName(), "Seria");
    h.set(dane);
    EXPECT_EQ(h.getName(), "Dane");
    h.set(nullptr);
    EXPECT_EQ(h.getName(), "");
    h.set(dane);
  }
  delete dane;
  EXPECT_EQ(page->DataSet(), nullptr);
  EXPECT_EQ(band->DataSet(), nullptr);
  EXPECT_EQ(band->DataSetName(), "Dane");
}

}  // namespace
