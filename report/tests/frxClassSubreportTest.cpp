// Subreports: the page link both ways, the template form and the placeholder drawing.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Canvas.h"
#include "platform/Stream.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxClassSubreport.h"
#include "GuiTestApp.h"

namespace {

struct TwoPages {
  TfrxReport report;
  TfrxReportPage* main = new TfrxReportPage(&report);
  TfrxReportPage* detail = new TfrxReportPage(&report);
  TfrxSubreport* subreport = new TfrxSubreport(main);
  TwoPages() {
    main->SetName("Page1");
    detail->SetName("Page2");
    subreport->SetName("Subreport1");
  }
};

TEST(Subreport, DefaultsAtCreation) {
  TfrxSubreport subreport(nullptr);
  EXPECT_EQ(subreport.Frame().Typ(), 15);
  EXPECT_EQ(subreport.Font().Name, "Tahoma");
  EXPECT_EQ(subreport.Font().Size, 8);
  EXPECT_FALSE(subreport.ParentFont());
  EXPECT_EQ(subreport.Color(), 12632256u);
  EXPECT_FALSE(subreport.PrintOnParent());
  EXPECT_EQ(subreport.StyleFlags() & csoCopiedToOutput, 0);
}

TEST(Subreport, SettingThePageLinksItBack) {
  TwoPages t;
  t.subreport->SetPage(t.detail);
  EXPECT_EQ(t.subreport->Page(), t.detail);
  EXPECT_EQ(t.detail->Subreport(), t.subreport);
  t.subreport->SetPage(t.main);
  EXPECT_EQ(t.detail->Subreport(), nullptr);
  EXPECT_EQ(t.main->Subreport(), t.subreport);
  t.subreport->SetPage(nullptr);
  EXPECT_EQ(t.main->Subreport(), nullptr);
}

TEST(Subreport, ALinkGoesWithEitherSide) {
  {
    TwoPages t;
    t.subreport->SetPage(t.detail);
    delete t.detail;
    EXPECT_EQ(t.subreport->Page(), nullptr);
  }
  {
    TwoPages t;
    t.subreport->SetPage(t.detail);
    delete t.subreport;
    EXPECT_EQ(t.detail->Subreport(), nullptr);
  }
}

TEST(Subreport, ASecondSubreportKeepsThePageWhenTheFirstLetsGo) {
  TwoPages t;
  auto* second = new TfrxSubreport(t.main);
  t.subreport->SetPage(t.detail);
  second->SetPage(t.detail);
  t.subreport->SetPage(nullptr);
  EXPECT_EQ(t.detail->Subreport(), second);
}

TEST(Subreport, ThePageReferenceIsResolvedWhenATemplateIsRead) {
  TwoPages t;
  t.subreport->SetPage(t.detail);
  t.subreport->SetPrintOnParent(true);
  TMemoryStream stream;
  t.report.SaveToStream(stream);
  const std::string saved = stream.DataString();
  EXPECT_NE(saved.find(" Page=\"Page2\" PrintOnParent=\"True\""), std::string::npos) << saved;

  TfrxReport copy;
  stream.SetPosition(0);
  copy.LoadFromStream(stream);
  auto* subreport = dynamic_cast<TfrxSubreport*>(copy.FindObject("Subreport1"));
  auto* detail = dynamic_cast<TfrxReportPage*>(copy.FindObject("Page2"));
  ASSERT_NE(subreport, nullptr);
  ASSERT_NE(detail, nullptr);
  EXPECT_EQ(subreport->Page(), detail);
  EXPECT_EQ(detail->Subreport(), subreport);
}

TEST(Subreport, DrawsFillFrameAndItsName) {
  EnsureGuiApp();
  TfrxSubreport subreport(nullptr);
  subreport.SetName("Subreport1");
  subreport.SetBounds(10, 10, 150, 40);
  auto bitmap = NewBitmap(200, 70, TPixelFormat::pf24bit);
  subreport.Draw(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(10, 30), clBlack);
  EXPECT_EQ(bitmap->Pixel(160, 30), clBlack);
  EXPECT_EQ(bitmap->Pixel(80, 10), clBlack);
  EXPECT_EQ(bitmap->Pixel(150, 45), 12632256u);
  // The name's glyphs: dark pixels in the band of text below the top-left corner, none
  // above or left of where it starts.
  int dark = 0;
  for (int y = 12; y < 26; ++y)
    for (int x = 12; x < 90; ++x)
      if ((bitmap->Pixel(x, y) & 0xFF) < 0x80) ++dark;
  EXPECT_GT(dark, 20);
  for (int x = 11; x < 90; ++x) EXPECT_EQ(bitmap->Pixel(x, 11), 12632256u) << x;
}

}  // namespace
