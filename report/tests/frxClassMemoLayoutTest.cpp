// Memo views through the text layout: measuring, splitting, the overflow into a FlowTo
// memo, the second-pass values and drawing.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Recording.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"
#include "report/frxVariables.h"
#include "GuiTestApp.h"
#include "frxTestClasses.h"

namespace {

// Arial 10 measures 83 pixels at 600 per inch: a line pitch of 83 / 6.25 + 2 = 15.28.
constexpr double kPitch10 = 83 / 6.25 + 2;

std::vector<std::u16string> DrawnTexts(TfrxView& view, bool designing = false) {
  view.SetDesigning(designing);
  TRecordingCanvas canvas(TSize{400, 200});
  view.Draw(canvas, 1, 1, 0, 0);
  std::vector<std::u16string> texts;
  for (const TRecordedText& run : canvas.Recording().TextRuns()) texts.push_back(run.Text);
  return texts;
}

std::u16string Joined(const std::vector<std::u16string>& parts) {
  std::u16string all;
  for (const auto& p : parts) all += p;
  return all;
}

TEST(MemoMeasuring, AnEmptyMemoIsAsHighAsItsGaps) {
  TfrxMemoView memo(nullptr);
  memo.SetBounds(0, 0, 100, 50);
  EXPECT_EQ(memo.CalcHeight(), 2);
  memo.SetGapY(3);
  memo.Frame().SetTyp(15);
  memo.Frame().SetWidth(3);
  // 2 x 3, (3 - 1) / 2 on top, 3 / 2 below: 8.5, whose nearest even integer is 8.
  EXPECT_EQ(memo.CalcHeight(), 8);
}

TEST(MemoMeasuring, HeightIsLinesTimesPitchPlusTheGaps) {
  TfrxMemoView memo(nullptr);
  memo.SetBounds(0, 0, 300, 50);
  TFont font;
  font.Size = 9;  // 75 pixels at 600 per inch: 12 screen pixels
  memo.SetFont(font);
  memo.SetText(u"Piekarnia Kłos sp. z o.o.\r\nul. Młyńska 3\r\n60-001 Poznań");
  EXPECT_EQ(memo.CalcHeight(), 3 * (12 + 2) + 2);
  memo.SetLineSpacing(-2);
  EXPECT_EQ(memo.CalcHeight(), 3 * (12 - 2) + 2 + 2);
}

TEST(MemoMeasuring, AutoWidthMeasuresWithoutWrapping) {
  TfrxMemoView memo(nullptr);
  memo.SetBounds(0, 0, 60, 20);
  memo.SetText(u"Hurtownia Morwa, ul. Długa 14, Gdańsk");
  const double wrapped = memo.CalcHeight();
  EXPECT_GT(wrapped, 2 * kPitch10);
  memo.SetAutoWidth(true);
  EXPECT_EQ(memo.CalcHeight(), std::nearbyint(kPitch10 + 2));
  const double width = memo.CalcWidth();
  EXPECT_GT(width, 150);
  memo.SetGapX(10);
  EXPECT_EQ(memo.CalcWidth(), width + 16);
  TfrxMemoView empty(nullptr);
  EXPECT_EQ(empty.CalcWidth(), 4);
}

struct SplitCase {
  const char* what;
  std::u16string text;
  double height;
  std::u16string kept, rest;
  bool lastParaBreak;
  double result;
};

TEST(MemoSplitting, LinesThatFitStayTheRestBecomesThePartText) {
  const SplitCase cases[] = {
      {"two lines, room for one", u"Pozycja pierwsza\r\nPozycja druga", 20, u"Pozycja pierwsza\r\n",
       u"Pozycja druga\r\n", false, 20 - kPitch10},
      {"two lines, room for both", u"Pozycja pierwsza\r\nPozycja druga", 40, u"Pozycja pierwsza\r\nPozycja druga\r\n",
       u"", false, 40 - 2 * kPitch10},
      {"no whole line fits", u"Pozycja pierwsza\r\nPozycja druga", 10, u"",
       u"Pozycja pierwsza\r\nPozycja druga\r\n", false, 10},
      {"a paragraph cut in the middle", u"jeden dwa trzy cztery", 20, u"jeden \r\n", u"dwa trzy cztery\r\n", true,
       20 - kPitch10},
  };
  for (const SplitCase& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetBounds(0, 0, c.what[0] == 'a' ? 50 : 300, c.height);
    memo.SetText(c.text);
    memo.SetLastParaBreak(true);
    memo.StartParts();
    EXPECT_FALSE(memo.LastParaBreak()) << c.what;
    EXPECT_NEAR(memo.SplitPart(), c.result, 1e-9) << c.what;
    EXPECT_EQ(memo.Text(), c.kept) << c.what;
    EXPECT_EQ(memo.PartText(), c.rest) << c.what;
    EXPECT_EQ(memo.LastParaBreak(), c.lastParaBreak) << c.what;
  }
}

TEST(MemoSplitting, FlowToTakesTheOverflowAndDoesNotExpandItAgain) {
  TfrxTestReport report;
  auto* first = new TfrxMemoView(&report);
  auto* second = new TfrxMemoView(&report);
  first->SetBounds(0, 0, 300, 20);
  first->SetText(u"Razem: 120,00 zł\r\n[Dane.\"Uwagi\"]");
  first->SetFlowTo(second);
  second->SetText(u"stary tekst");
  first->ApplyFlowTo();
  EXPECT_EQ(first->Text(), u"Razem: 120,00 zł\r\n");
  EXPECT_EQ(second->Text(), u"[Dane.\"Uwagi\"]\r\n");
  EXPECT_FALSE(second->AllowExpressions());
  EXPECT_TRUE(first->AllowExpressions());
}

// The copy's name is the global variable "CopyName" followed by the copy number.
TEST(MemoSecondPass, TotalPagesAndCopyNameAreFilledInOnce) {
  frxGlobalVariables().Set("CopyName1", Variant(std::string("Kopia")));
  const struct {
    bool allowExpressions;
    int copyNumber;
    std::u16string text, result;
  } cases[] = {
      {true, 1, u"Strona 1 z [TotalPages#]", u"Strona 1 z 7\r\n"},
      {true, 1, u"[TOTALPAGES#] [totalpages#]", u"7 [totalpages#]\r\n"},
      {true, 1, u"[CopyName#]: [TotalPages#]", u"Kopia: 7\r\n"},
      {true, 2, u"[CopyName#]", u"\r\n"},
      {false, 1, u"z [TotalPages#]", u"z [TotalPages#]\r\n"},
  };
  for (const auto& c : cases) {
    TfrxMemoView memo(nullptr);
    memo.SetAllowExpressions(c.allowExpressions);
    memo.SetTotalPagesValue(7);
    memo.SetCopyNumber(c.copyNumber);
    memo.SetText(c.text);
    memo.SubstituteSecondPass();
    EXPECT_EQ(memo.Text(), c.result);
  }
  frxGlobalVariables().DeleteVariable("CopyName1");
}

// Glyphs on Qt bitmaps need the application object.
class MemoDrawing : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(MemoDrawing, TextOutsideAndInsideTheDesigner) {
  TfrxTestReport report;
  auto* dataSet = new TfrxTestDataSet(&report);
  dataSet->userName = "Dane";
  report.dataSets.push_back(dataSet);
  auto* memo = new TfrxMemoView(&report);
  memo->SetBounds(10, 10, 300, 20);
  memo->SetText(u"Strona 2 z [TotalPages#]");
  memo->SetTotalPagesValue(5);
  EXPECT_EQ(Joined(DrawnTexts(*memo)), u"Strona 2 z 5");

  memo->SetDataSet(dataSet);
  memo->SetDataField("D1");
  memo->SetText(u"Hurtownia Morwa");
  EXPECT_EQ(Joined(DrawnTexts(*memo, true)), u"[Dane.\"D1\"]");
  EXPECT_EQ(Joined(DrawnTexts(*memo, false)), u"Hurtownia Morwa");
  EXPECT_EQ(memo->Text(), u"Hurtownia Morwa\r\n");
}

int CountColor(TBitmap& bitmap, TColor color, const TRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (bitmap.Pixel(x, y) == color) ++n;
  return n;
}

TEST_F(MemoDrawing, BackgroundFrameTextAndUnderlinesOnABitmap) {
  TfrxMemoView memo(nullptr);
  memo.SetBounds(10, 10, 200, 60);
  memo.SetColor(0x00FFFF);
  memo.Frame().SetTyp(15);
  memo.SetText(u"Faktura VAT");
  auto bitmap = NewBitmap(240, 90, TPixelFormat::pf24bit);
  memo.Draw(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(10, 40), clBlack);
  EXPECT_EQ(bitmap->Pixel(150, 60), 0x00FFFFu);
  // Glyphs in the first line, from the text area's left edge.
  EXPECT_GT(CountColor(*bitmap, clBlack, TRect{12, 12, 100, 26}), 20);
  EXPECT_EQ(CountColor(*bitmap, clBlack, TRect{12, 30, 200, 69}), 0);

  // Underlines every line pitch: the first at 10 + (1 - 2 + 1) + 15.28, then 40.56, 55.84.
  memo.SetUnderlines(true);
  memo.SetText(u"");
  auto lined = NewBitmap(240, 90, TPixelFormat::pf24bit);
  memo.Draw(lined->Canvas(), 1, 1, 0, 0);
  for (int y : {25, 41, 56}) EXPECT_EQ(lined->Pixel(100, y), clBlack) << y;
  for (int y : {24, 26, 40, 42, 55, 57, 69}) EXPECT_EQ(lined->Pixel(100, y), 0x00FFFFu) << y;
}

TEST_F(MemoDrawing, HighlightColourAndFontOnlyWhileDrawing) {
  TfrxMemoView memo(nullptr);
  memo.SetBounds(10, 10, 200, 30);
  memo.SetColor(clWhite);
  memo.SetText(u"-120,00");
  memo.Highlight().SetColor(0x00FFFF);
  memo.Highlight().SetActive(true);
  auto bitmap = NewBitmap(240, 60, TPixelFormat::pf24bit);
  memo.Draw(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(150, 30), 0x00FFFFu);
  // Red glyphs, smoothed over the yellow: strong red, little green.
  int red = 0;
  for (int y = 12; y < 30; ++y)
    for (int x = 12; x < 100; ++x) {
      const TColor c = bitmap->Pixel(x, y);
      if ((c & 0xFF) > 200 && ((c >> 8) & 0xFF) < 100) ++red;
    }
  EXPECT_GT(red, 10);
  EXPECT_EQ(memo.Color(), clWhite);
}

TEST_F(MemoDrawing, AutoWidthKeepsTheRightEdgeOfARightAlignedMemo) {
  TfrxTestReport report;
  auto* memo = new TfrxMemoView(&report);
  memo->SetBounds(100, 10, 300, 20);
  memo->SetAutoWidth(true);
  memo->SetHAlign(haRight);
  memo->SetText(u"1 234,56");
  const double width = memo->CalcWidth();
  DrawnTexts(*memo);
  EXPECT_NEAR(memo->Width(), width, 0.5);
  EXPECT_NEAR(memo->Left() + memo->Width(), 400, 1e-9);
}

}  // namespace
