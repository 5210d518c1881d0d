// Painting laid-out text: runs and their fonts, alignment, justification, the device
// corrections, rotation and the output options, checked on a canvas that keeps runs.
#include <gtest/gtest.h>

#include <cmath>

#include "LayoutTestHelpers.h"
#include "RunCanvas.h"
#include "frxGraphicUtils_spread.h"

namespace {

// The device font's own advances of a run's text.
std::vector<int> DeviceAdvances(const TCapturedRun& run) {
  TRunCanvas device;
  device.SetFont(run.Font);
  std::vector<int> own(run.Text.size());
  device.TextExtentW(run.Text, own);
  for (size_t i = own.size(); i-- > 1;) own[i] -= own[i - 1];
  return own;
}

class PaintTest : public ::testing::Test {
 protected:
  TfrxDrawText draw;
  TfrxDrawTextLock lock{draw};
  TLayoutSetup setup;
  TRect target{10, 20, 210, 120};
  double scale = 1;

  // Lays `text` out in setup's area and paints it into `target` at `scale`.
  std::vector<TCapturedRun> Paint(const std::u16string& text, TfrxHAlign h = haLeft,
                                  TfrxVAlign v = vaTop, TRunCanvas* canvas = nullptr) {
    setup.Apply(draw, text);
    draw.UseAreas({0, 0, setup.Width, setup.Height}, target, 1, scale, scale);
    TRunCanvas own;
    TRunCanvas& c = canvas ? *canvas : own;
    draw.PaintLines(c, h, v);
    return c.Runs;
  }
};

TEST_F(PaintTest, StyledTextGoesOutInRunsOfEqualStyle) {
  const auto runs = Paint(u"a <b>bold</b> c");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Text, u"a ");
  EXPECT_EQ(runs[1].Text, u"bold");
  EXPECT_EQ(runs[2].Text, u" c");
  EXPECT_EQ(runs[0].Font.Style, 0);
  EXPECT_EQ(runs[1].Font.Style, fsBold);
  EXPECT_EQ(runs[2].Font.Style, 0);
  for (const TCapturedRun& r : runs) EXPECT_EQ(r.Font.Height, -13);
  EXPECT_EQ(runs[0].Origin, (TPoint{10, 20}));
  EXPECT_EQ(runs[1].Origin.X, runs[0].Origin.X + runs[0].Width());
  EXPECT_EQ(runs[2].Origin.X, runs[1].Origin.X + runs[1].Width());

  setup.AllowTags = false;
  const auto literal = Paint(u"a <b>bold</b> c");
  ASSERT_EQ(literal.size(), 1u);
  EXPECT_EQ(literal[0].Text, u"a <b>bold</b> c");
}

TEST_F(PaintTest, ColourTagsColourTheirRuns) {
  const auto runs = Paint(u"<font color=\"#FF0000\">x</font>y<font color=navy>z");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Font.Color, clRed);
  EXPECT_EQ(runs[1].Font.Color, clBlack);
  EXPECT_EQ(runs[2].Font.Color, 0x800000);
}

TEST_F(PaintTest, SubscriptIsSmallerAndLoweredSuperscriptOnlySmaller) {
  struct Case {
    const char* name;
    std::u16string text;
    double scale;
    int height;  // of the reduced run
    int lowered;
  };
  const Case cases[] = {
      {"subscript at 100%", u"H<sub>2</sub>O", 1, -9, 7},
      {"superscript at 100%", u"x<sup>2</sup>", 1, -9, 0},
      {"subscript at 300 dpi", u"H<sub>2</sub>O", 3.125, -29, 22},
  };
  for (const Case& c : cases) {
    scale = c.scale;
    const auto runs = Paint(c.text);
    ASSERT_GE(runs.size(), 2u) << c.name;
    EXPECT_EQ(runs[1].Text, u"2") << c.name;
    EXPECT_EQ(runs[1].Font.Height, c.height) << c.name;
    EXPECT_EQ(runs[1].Origin.Y - runs[0].Origin.Y, c.lowered) << c.name;
  }
}

TEST_F(PaintTest, WysiwygLineWidthsFollowTheDesignMeasure) {
  for (double s : {1.0, 1.37, 3.125}) {
    scale = s;
    const auto runs = Paint(u"Piekarnia Kłos sp. z o.o.");
    ASSERT_EQ(runs.size(), 1u);
    const int expected = static_cast<int>(std::lround(DesignWidth(u"Piekarnia Kłos sp. z o.o.") / 6.25 * s));
    EXPECT_EQ(runs[0].Width(), expected) << s;
    // The corrections differ by at most one pixel between neighbours.
    const std::vector<int> own = DeviceAdvances(runs[0]);
    for (size_t i = 1; i < own.size(); ++i)
      EXPECT_LE(std::abs((runs[0].Advances[i] - own[i]) - (runs[0].Advances[i - 1] - own[i - 1])), 1)
          << s << " " << i;
  }
}

TEST_F(PaintTest, WysiwygLineStepsAddUpToTheDesignBlockHeight) {
  struct Case {
    double scale;
    bool wysiwyg;
    int firstToLast;  // five lines: block height minus one device step
  };
  // At 1.37 the device font is 18 pixels, the block nearest(5 x 83 / 6.25 x 1.37) = 91.
  const Case cases[] = {{1.37, true, 91 - 18}, {1.37, false, 4 * 18}, {1, true, 66 - 13}};
  for (const Case& c : cases) {
    scale = c.scale;
    setup.Wysiwyg = c.wysiwyg;
    target = {0, 0, 1000, 1000};
    const auto runs = Paint(u"1\r\n2\r\n3\r\n4\r\n5");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[4].Origin.Y - runs[0].Origin.Y, c.firstToLast) << c.scale;
    for (size_t i = 1; i < runs.size(); ++i) {
      const int step = runs[i].Origin.Y - runs[i - 1].Origin.Y;
      EXPECT_LE(std::abs(step - (c.firstToLast / 4)), 1) << c.scale << " " << i;
    }
  }
}

TEST_F(PaintTest, HorizontalAlignmentPlacesTheLine) {
  struct Case {
    const char* name;
    TfrxHAlign align;
    TFontStyles style;
    int rightGap;  // target right minus the line's end; -1: check the centre
  };
  const Case cases[] = {
      {"right", haRight, 0, 0},
      {"right, bold", haRight, fsBold, 1},
      {"right, italic", haRight, fsItalic, 1},
      {"centre", haCenter, 0, -1},
  };
  for (const Case& c : cases) {
    setup.Font.Style = c.style;
    const auto runs = Paint(u"Razem", c.align);
    ASSERT_EQ(runs.size(), 1u) << c.name;
    const int end = runs[0].Origin.X + runs[0].Width();
    if (c.rightGap >= 0) {
      EXPECT_EQ(target.Right - end, c.rightGap) << c.name;
    } else {
      const int free = target.Width() - runs[0].Width();
      EXPECT_EQ(runs[0].Origin.X, target.Left + static_cast<int>(std::lround(free / 2.0))) << c.name;
    }
  }
}

TEST_F(PaintTest, VerticalAlignmentMovesTheBlock) {
  const int block = static_cast<int>(std::lround(2 * 83 / 6.25));  // 27
  struct Case {
    TfrxVAlign align;
    int top;
  };
  const Case cases[] = {{vaTop, 20}, {vaBottom, 120 - block}, {vaCenter, 20 + static_cast<int>(std::lround((100 - block) / 2.0))}};
  for (const Case& c : cases) {
    const auto runs = Paint(u"a\r\nb", haLeft, c.align);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Origin.Y, c.top) << static_cast<int>(c.align);
  }
}

TEST_F(PaintTest, JustifiedLinesFillTheWidthAndLastLinesStayLeft) {
  setup.Width = ScreenWidthFor(u"Hurtownia Morwa sp.");
  target = {0, 0, setup.Width, 100};
  const auto runs = Paint(u"Hurtownia Morwa sp. j. Lublin\r\nKoniec", haBlock);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Text, u"Hurtownia Morwa sp.");
  // The spaces take the free space, the first quotient + 1 of them a pixel more.
  EXPECT_EQ(runs[0].Origin.X, 0);
  EXPECT_EQ(runs[0].Width(), target.Width() + 1);
  const std::vector<int> own = DeviceAdvances(runs[0]);
  for (size_t i = 0; i < own.size(); ++i)
    if (runs[0].Text[i] != u' ') {
      EXPECT_EQ(runs[0].Advances[i], own[i]) << i;
    }
  // Last lines of paragraphs: left-aligned with the design width.
  for (size_t k : {1u, 2u}) {
    EXPECT_EQ(runs[k].Origin.X, 0) << k;
    EXPECT_EQ(runs[k].Width(), static_cast<int>(std::lround(DesignWidth(runs[k].Text) / 6.25))) << k;
  }
}

TEST_F(PaintTest, ContinuedParagraphIsJustifiedToItsLastLine) {
  setup.Width = ScreenWidthFor(u"Hurtownia Morwa sp.");
  target = {0, 0, setup.Width, 100};
  setup.Apply(draw, u"Hurtownia Morwa sp. j. Lublin");
  draw.UseAreas({0, 0, setup.Width, setup.Height}, target, 1, 1, 1);
  draw.UseParagraphFlags(false, true);
  TRunCanvas canvas;
  draw.PaintLines(canvas, haBlock, vaTop);
  ASSERT_EQ(canvas.Runs.size(), 2u);
  EXPECT_EQ(canvas.Runs[1].Width(), target.Width() + 1);
}

TEST_F(PaintTest, ParagraphGapIndentsFirstLinesOfLeftAndJustifiedText) {
  setup.ParagraphGap = 12;
  setup.Width = ScreenWidthFor(u"Hurtownia Morwa");
  target = {0, 0, setup.Width, 100};
  for (TfrxHAlign align : {haLeft, haBlock}) {
    const auto runs = Paint(u"Hurtownia Morwa Lublin", align);
    ASSERT_GE(runs.size(), 2u);
    EXPECT_EQ(runs[0].Origin.X, 12) << static_cast<int>(align);
    EXPECT_EQ(runs[1].Origin.X, 0) << static_cast<int>(align);
  }
  const auto centred = Paint(u"Hurtownia Morwa Lublin", haCenter);
  EXPECT_NE(centred[0].Origin.X, 12 + 0);
}

TEST_F(PaintTest, RightAnglesStartAtTheirCornerAndStepAcross) {
  struct Case {
    int rotation;
    TPoint first;
    TPoint second;
  };
  // target 10,20 - 210,120; Arial 10 at 100%: 13-pixel lines in a block of
  // nearest(2 x 83 / 6.25) = 27, so the step is 14.
  const Case cases[] = {
      {0, {10, 20}, {10, 34}},
      {90, {10, 120}, {24, 120}},
      {180, {210, 120}, {210, 106}},
      {270, {210, 20}, {196, 20}},
  };
  for (const Case& c : cases) {
    setup.Rotation = c.rotation;
    setup.Width = 300;
    setup.Height = 300;
    const auto runs = Paint(u"a\r\nb");
    ASSERT_EQ(runs.size(), 2u) << c.rotation;
    EXPECT_EQ(runs[0].Origin, c.first) << c.rotation;
    EXPECT_EQ(runs[1].Origin, c.second) << c.rotation;
    EXPECT_EQ(runs[0].Font.Escapement, c.rotation * 10) << c.rotation;
  }
}

TEST_F(PaintTest, SlantedTextStaysInsideTheTarget) {
  for (int rotation : {30, 135, 200, 315}) {
    setup.Rotation = rotation;
    target = {100, 100, 300, 300};
    const auto runs = Paint(u"Faktura\r\nVAT");
    ASSERT_EQ(runs.size(), 2u) << rotation;
    for (const TCapturedRun& r : runs) {
      EXPECT_TRUE(target.Contains(r.Origin) || r.Origin.X == target.Right || r.Origin.Y == target.Bottom)
          << rotation << " " << r.Origin.X << "," << r.Origin.Y;
      EXPECT_EQ(r.Font.Escapement, rotation * 10);
    }
  }
}

TEST_F(PaintTest, OptionsReachTheTextOutput) {
  setup.Clipped = true;
  setup.Rtl = true;
  auto runs = Paint(u"שלום");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Flags, etoClipped | etoRtlReading);
  EXPECT_EQ(runs[0].Clip, target);

  setup.Clipped = false;
  setup.Rtl = false;
  runs = Paint(u"x");
  EXPECT_EQ(runs[0].Flags, 0);
}

TEST_F(PaintTest, RightToLeftLinesPutTheirFirstRunRightmost) {
  setup.Rtl = true;
  const auto runs = Paint(u"<b>שלום</b> עולם");
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_GT(runs[0].Origin.X, runs[1].Origin.X);
  EXPECT_EQ(runs[1].Origin.X + runs[1].Width(), runs[0].Origin.X);
}

TEST_F(PaintTest, FontCharacterSetChoosesEightBitOutput) {
  struct Case {
    int charset;
    bool useDefault;
    bool wide;
  };
  const Case cases[] = {{DEFAULT_CHARSET, false, true}, {EASTEUROPE_CHARSET, false, false},
                        {EASTEUROPE_CHARSET, true, true}};
  for (const Case& c : cases) {
    setup.Font.Charset = c.charset;
    draw.UseDefaultCharset(c.useDefault);
    const auto runs = Paint(u"Zażółć");
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Wide, c.wide) << c.charset;
    EXPECT_EQ(runs[0].Text, u"Zażółć") << c.charset;
  }
}

TEST_F(PaintTest, PrinterFontsFollowThePrinterResolution) {
  TRunCanvas printer(600, true);
  target = {0, 0, 1250, 1000};
  Paint(u"a\r\nb", haLeft, vaTop, &printer);
  ASSERT_EQ(printer.Runs.size(), 2u);
  EXPECT_EQ(printer.Runs[0].Font.Height, -83);
  EXPECT_EQ(printer.Runs[1].Origin.Y - printer.Runs[0].Origin.Y, 83);
}

TEST_F(PaintTest, PaintingLeavesTheCanvasFontAsItWas) {
  TRunCanvas canvas;
  TCanvasFont font;
  font.Name = "Courier New";
  font.Height = -20;
  canvas.SetFont(font);
  Paint(u"<b>x</b>", haLeft, vaTop, &canvas);
  EXPECT_EQ(canvas.Font(), font);
}

}  // namespace

namespace {

TEST(DeviceCorrectionsTest, IncrementsAreSpreadByHalving) {
  struct Case {
    const char* name;
    int size;
    int difference;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"one pixel goes to the middle", 8, 1, {0, 0, 0, 1, 0, 0, 0, 0}},
      {"three pixels", 8, 3, {0, 1, 0, 0, 1, 0, 1, 0}},
      {"as many as elements", 4, 4, {1, 1, 1, 1}},
      {"more than elements: an equal share first", 4, 10, {3, 2, 3, 2}},
      {"negative", 4, -3, {-1, 0, -1, -1}},
      {"nothing", 5, 0, {0, 0, 0, 0, 0}},
      {"single element", 1, 2, {2}},
  };
  for (const Case& c : cases) {
    std::vector<int> values(static_cast<size_t>(c.size), 0);
    frxDistribute(values, 0, c.size - 1, c.difference);
    EXPECT_EQ(values, c.expected) << c.name;
  }
  // A range that cannot take the increments is left alone rather than overrun.
  std::vector<int> values(2, 0);
  frxSpreadIncrements(values, 0, 1, 1, 3);
  frxSpreadIncrements(values, 1, 0, 1, 1);
  frxDistribute(values, 0, -1, 5);
  EXPECT_LE(values[0] + values[1], 3);
}

}  // namespace

namespace {

TEST(PaintLimitsTest, AbsurdSettingsStayDefined) {
  struct Case {
    const char* name;
    int fontSize;
    double lineSpacing, charSpacing, paragraphGap, scale;
    bool printer;
    bool wordWrap;
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {"huge font on a printer", 1000000, 0, 0, 0, 1, true, false},
      {"huge gaps", 10, 1e12, -1e12, 1e12, 1, false, true},
      {"gaps that are not numbers", 10, nan, nan, nan, 1, false, true},
      {"huge scale", 10, 3, 2, 5, 1e6, false, true},
      {"negative font size", -12, 0, 0, 0, 1, false, true},
  };
  std::u16string line = u"Faktura";
  while (line.size() < 50000) line += u" Piekarnia Kłos";
  for (const Case& c : cases) {
    TfrxDrawText draw;
    TfrxDrawTextLock lock(draw);
    TFont font;
    font.Size = c.fontSize;
    draw.UseFont(font);
    draw.UseOptions(c.wordWrap, true, 0, true, true, true, false);
    draw.UseAreas({0, 0, 300, 200}, {0, 0, 300, 200}, 1, c.scale, c.scale);
    draw.UseGaps(c.lineSpacing, c.charSpacing, c.paragraphGap);
    TWideStrings lines;
    lines.Add(line);
    lines.Add(u"<b>Razem</b>");
    draw.LayOutText(lines);
    EXPECT_GT(draw.WrappedLines().Count(), 0) << c.name;
    (void)draw.TextBlockHeight();
    (void)draw.WidestLineWidth();
    TRunCanvas canvas(c.printer ? 2400 : 96, c.printer);
    draw.PaintLines(canvas, haBlock, vaCenter);
    EXPECT_FALSE(canvas.Runs.empty()) << c.name;
    for (const TCapturedRun& run : canvas.Runs) EXPECT_LE(run.Text.size(), 4096u) << c.name;
    draw.SplitAtHeight();
  }
}

TEST(PaintLimitsTest, PrinterScaleShrinksFontsAndLines) {
  struct Case {
    int ppi;
    double printScale;
    int fontHeight;  // Arial 10
    int step;        // between two lines
  };
  // e = 600 / ppi / printScale; block = nearest(2 x 83 / e).
  const Case cases[] = {{600, 1, -83, 83}, {300, 0.5, -21, 21}, {1200, 1, -167, 332 - 167}};
  for (const Case& c : cases) {
    TfrxDrawText draw;
    TfrxDrawTextLock lock(draw);
    TLayoutSetup setup;
    setup.Apply(draw, u"Piekarnia\r\nKłos");
    draw.UseAreas({0, 0, setup.Width, setup.Height}, {0, 0, 5000, 5000}, c.printScale, 1, 1);
    TRunCanvas printer(c.ppi, true);
    draw.PaintLines(printer, haLeft, vaTop);
    ASSERT_EQ(printer.Runs.size(), 2u);
    EXPECT_EQ(printer.Runs[0].Font.Height, c.fontHeight) << c.ppi;
    EXPECT_EQ(printer.Runs[1].Origin.Y - printer.Runs[0].Origin.Y, c.step) << c.ppi;
    const double e = 600.0 / c.ppi / c.printScale;
    EXPECT_EQ(printer.Runs[0].Width(), static_cast<int>(std::lround(DesignWidth(u"Piekarnia") / e))) << c.ppi;
  }
}

}  // namespace
