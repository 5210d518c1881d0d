// A delivery note template with every view kind: it loads without errors, finds its
// references, and is written back to the very same bytes.

#include <gtest/gtest.h>

#include <string>

#include "platform/Stream.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxClassShapes.h"
#include "report/frxClassSubreport.h"
#include "frxTemplateTexts.h"

namespace {

const std::string kFixture = std::string(TAVREL_SOURCE_DIR) + "/report/tests/fixtures/wz_widoki.fr3";

template <class T>
T* Find(TfrxReport& report, const char* name) {
  return dynamic_cast<T*>(report.FindObject(name));
}

TEST(ViewsTemplate, EveryViewKindIsReadAndWrittenBackToTheSameBytes) {
  const std::string original = FileText(kFixture);
  TfrxReport report;
  TMemoryStream in;
  in.WriteString(original);
  in.SetPosition(0);
  report.LoadFromStream(in);
  EXPECT_TRUE(report.Errors().Empty()) << report.Errors().Text();

  auto* title = Find<TfrxMemoView>(report, "Tytul");
  auto* remarks = Find<TfrxMemoView>(report, "Uwagi");
  auto* remarksMore = Find<TfrxMemoView>(report, "UwagiCd");
  auto* total = Find<TfrxSysMemoView>(report, "Suma");
  auto* rule = Find<TfrxLineView>(report, "Linia1");
  auto* arrow = Find<TfrxLineView>(report, "Strzalka");
  auto* stamp = Find<TfrxShapeView>(report, "Pieczatka");
  auto* subreport = Find<TfrxSubreport>(report, "Podraport");
  auto* detailPage = Find<TfrxReportPage>(report, "Page2");
  ASSERT_TRUE(title && remarks && remarksMore && total && rule && arrow && stamp && subreport && detailPage);
  EXPECT_EQ(title->Text(), u"Dokument WZ nr [Dane.\"D1\"]\r\nHurtownia Morwa\r\n");
  EXPECT_EQ(title->Style(), "Naglowek");
  EXPECT_EQ(remarks->FlowTo(), remarksMore);
  EXPECT_EQ(total->Text(), u"[SUM(<Dane.\"D5\">,MasterData1)]\r\n");
  EXPECT_EQ(rule->Frame().Typ(), 1 << ftTop);
  EXPECT_TRUE(arrow->Diagonal());
  EXPECT_EQ(stamp->Shape(), skRoundRectangle);
  EXPECT_EQ(subreport->Page(), detailPage);
  EXPECT_EQ(detailPage->Subreport(), subreport);

  EXPECT_EQ(Saved(report), original);
}

}  // namespace
