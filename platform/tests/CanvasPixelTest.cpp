// Shapes, pens and brushes on a bitmap canvas, checked pixel by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "GuiTestApp.h"
#include "platform/Canvas.h"

namespace {

constexpr int kSize = 48;

// Which pixels differ from white, as a predicate over the whole bitmap.
using Expect = std::function<bool(int x, int y)>;

std::string Mismatches(TBitmap& bmp, const Expect& painted, TColor ink) {
  std::string out;
  int shown = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      const TColor c = bmp.Pixel(x, y);
      const bool want = painted(x, y);
      if ((want && c != ink) || (!want && c != clWhite)) {
        if (shown++ < 12)
          out += "(" + std::to_string(x) + "," + std::to_string(y) + (want ? " missing) " : " extra) ");
      }
    }
  if (shown > 12) out += "... " + std::to_string(shown) + " in all";
  return out;
}

struct ShapeCase {
  const char* name;
  std::function<void(TCanvas&, int s)> draw;  // s: the scale, 1 or 2
  std::function<bool(int x, int y, int s)> painted;
};

TPen PenOf(int width, TPenStyle style = psSolid) {
  TPen p;
  p.Color = clRed;
  p.Width = width;
  p.Style = style;
  return p;
}

// On/off pattern test along one axis.
bool PatternOn(int k, std::initializer_list<int> pattern) {
  int total = 0;
  for (int v : pattern) total += v;
  k %= total;
  bool on = true;
  for (int v : pattern) {
    if (k < v) return on;
    k -= v;
    on = !on;
  }
  return on;
}

const ShapeCase kShapes[] = {
    {"FillRectCoversLeftTopNotRightBottom",
     [](TCanvas& c, int s) {
       c.SetBrush({clRed, bsSolid});
       c.FillRect({2 * s, 3 * s, 7 * s, 9 * s});
     },
     [](int x, int y, int s) { return x >= 2 * s && x < 7 * s && y >= 3 * s && y < 9 * s; }},
    {"ClearBrushFillsNothing",
     [](TCanvas& c, int s) {
       c.SetBrush({clRed, bsClear});
       c.FillRect({2 * s, 3 * s, 7 * s, 9 * s});
     },
     [](int, int, int) { return false; }},
    {"HorizontalLineStopsBeforeItsEnd",
     [](TCanvas& c, int s) {
       c.SetPen(PenOf(s));
       c.MoveTo(2 * s, 5 * s);
       c.LineTo(10 * s, 5 * s);
     },
     [](int x, int y, int s) { return x >= 2 * s && x < 10 * s && y >= 5 * s - s / 2 && y < 5 * s - s / 2 + s; }},
    {"LineDrawnBackwardsStopsBeforeItsEnd",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(1));
       c.MoveTo(10, 5);
       c.LineTo(2, 5);
     },
     [](int x, int y, int) { return x > 2 && x <= 10 && y == 5; }},
    {"VerticalLineOfOddWidthIsCentred",
     [](TCanvas& c, int s) {
       c.SetPen(PenOf(3 * s));
       c.MoveTo(8 * s, 2 * s);
       c.LineTo(8 * s, 12 * s);
     },
     [](int x, int y, int s) {
       const int w = 3 * s;
       return x >= 8 * s - w / 2 && x < 8 * s - w / 2 + w && y >= 2 * s && y < 12 * s;
     }},
    {"EvenWidthCoversOneMoreBeforeTheLine",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(2));
       c.MoveTo(2, 5);
       c.LineTo(12, 5);
     },
     [](int x, int y, int) { return x >= 2 && x < 12 && (y == 4 || y == 5); }},
    {"SquareCapReachesPastBothPoints",
     [](TCanvas& c, int s) {
       TPen p = PenOf(3 * s);
       p.Geometric = true;
       p.Cap = pcSquare;
       c.SetPen(p);
       c.MoveTo(5 * s, 6 * s);
       c.LineTo(12 * s, 6 * s);
     },
     [](int x, int y, int s) {
       const int w = 3 * s, b = w / 2, a = w - b - 1;
       return x >= 5 * s - b && x <= 12 * s + a && y >= 6 * s - b && y <= 6 * s + a;
     }},
    {"FlatCapEndsAtThePoints",
     [](TCanvas& c, int) {
       TPen p = PenOf(3);
       p.Geometric = true;
       p.Cap = pcFlat;
       c.SetPen(p);
       c.MoveTo(5, 6);
       c.LineTo(12, 6);
     },
     [](int x, int y, int) { return x >= 5 && x < 12 && y >= 5 && y <= 7; }},
    {"DotPatternThreeOnThreeOff",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(1, psDot));
       c.MoveTo(0, 5);
       c.LineTo(40, 5);
     },
     [](int x, int y, int) { return y == 5 && x < 40 && PatternOn(x, {3, 3}); }},
    {"DashPatternKeepsItsPitchAtEveryWidth",
     [](TCanvas& c, int s) {
       c.SetPen(PenOf(s, psDash));
       c.MoveTo(0, 5 * s);
       c.LineTo(46, 5 * s);
     },
     [](int x, int y, int s) { return x < 46 && y >= 5 * s - s / 2 && y < 5 * s - s / 2 + s && PatternOn(x, {18, 6}); }},
    {"DashDotDotVertical",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(1, psDashDotDot));
       c.MoveTo(4, 0);
       c.LineTo(4, 45);
     },
     [](int x, int y, int) { return x == 4 && y < 45 && PatternOn(y, {9, 3, 3, 3, 3, 3}); }},
    {"DashDotRunsFromTheStartPointBackwards",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(1, psDashDot));
       c.MoveTo(40, 5);
       c.LineTo(0, 5);
     },
     [](int x, int y, int) { return y == 5 && x > 0 && x <= 40 && PatternOn(40 - x, {9, 6, 3, 6}); }},
    {"UserDashesWithFlatCaps",
     [](TCanvas& c, int s) {
       TPen p = PenOf(s);
       p.Geometric = true;
       p.Cap = pcFlat;
       p.UserDashes = {2 * s, 2 * s};
       c.SetPen(p);
       c.MoveTo(0, 6 * s);
       c.LineTo(40, 6 * s);
     },
     [](int x, int y, int s) { return x < 40 && y >= 6 * s - s / 2 && y < 6 * s - s / 2 + s && PatternOn(x, {2 * s, 2 * s}); }},
    {"RoundDotsEveryTwoWidths",  // the dotted frame: a geometric pen with (0, 2w)
     [](TCanvas& c, int s) {
       TPen p = PenOf(s);
       p.Geometric = true;
       p.Cap = pcRound;
       p.UserDashes = {0, 2 * s};
       c.SetPen(p);
       c.MoveTo(0, 6 * s);
       c.LineTo(40, 6 * s);
     },
     [](int x, int y, int s) {
       const int w = s, before = w / 2, after = w - before - 1;
       if (y < 6 * s - before || y > 6 * s + after) return false;
       for (int p = 0; p < 40; p += 2 * s)
         if (x >= p - before && x <= p + after) return true;
       return false;
     }},
    {"ClearPenDrawsNothing",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(3, psClear));
       c.MoveTo(0, 5);
       c.LineTo(40, 5);
     },
     [](int, int, int) { return false; }},
    {"RectangleOutlinesItsOutermostPixels",
     [](TCanvas& c, int s) {
       c.SetPen(PenOf(1));
       c.SetBrush({clRed, bsClear});
       c.Rectangle({2 * s, 3 * s, 12 * s, 9 * s});
     },
     [](int x, int y, int s) {
       const bool inBox = x >= 2 * s && x < 12 * s && y >= 3 * s && y < 9 * s;
       return inBox && (x == 2 * s || x == 12 * s - 1 || y == 3 * s || y == 9 * s - 1);
     }},
    {"ThickRectangleOutlineIsCentredOnTheBox",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(3));
       c.SetBrush({clRed, bsClear});
       c.Rectangle({5, 5, 20, 15});
     },
     [](int x, int y, int) {
       const bool outer = x >= 4 && x <= 20 && y >= 4 && y <= 15;
       const bool inner = x >= 7 && x <= 17 && y >= 7 && y <= 12;
       return outer && !inner;
     }},
    {"PolygonFillsWithoutItsRightAndBottomEdges",
     [](TCanvas& c, int s) {
       c.SetPen(PenOf(1, psClear));
       c.SetBrush({clRed, bsSolid});
       const TPoint pts[] = {{2 * s, 2 * s}, {12 * s, 2 * s}, {12 * s, 10 * s}, {2 * s, 10 * s}};
       c.Polygon(pts);
     },
     [](int x, int y, int s) { return x >= 2 * s && x < 12 * s && y >= 2 * s && y < 10 * s; }},
    {"PolylineDrawsEverySegment",
     [](TCanvas& c, int) {
       c.SetPen(PenOf(1));
       const TPoint pts[] = {{2, 2}, {10, 2}, {10, 8}};
       c.Polyline(pts);
     },
     [](int x, int y, int) { return (y == 2 && x >= 2 && x < 10) || (x == 10 && y >= 2 && y < 8); }},
    {"OnePixel",
     [](TCanvas& c, int s) { c.SetPixel(7 * s, 9 * s, clRed); },
     [](int x, int y, int s) { return x == 7 * s && y == 9 * s; }},
    {"ClipNarrowsAndRestores",
     [](TCanvas& c, int s) {
       c.SetBrush({clRed, bsSolid});
       c.SaveClip();
       c.IntersectClip({5 * s, 5 * s, 10 * s, 12 * s});
       c.IntersectClip({0, 7 * s, 40, 40});
       c.FillRect({0, 0, kSize, kSize});
       c.RestoreClip();
       c.FillRect({0, 0, 2, 2});
     },
     [](int x, int y, int s) {
       return (x >= 5 * s && x < 10 * s && y >= 7 * s && y < 12 * s) || (x < 2 && y < 2);
     }},
    {"EmptyClipHidesEverything",
     [](TCanvas& c, int s) {
       c.SetBrush({clRed, bsSolid});
       c.SaveClip();
       c.IntersectClip({5 * s, 5 * s, 10 * s, 10 * s});
       c.IntersectClip({20 * s, 20 * s, 30 * s, 30 * s});
       c.FillRect({0, 0, kSize, kSize});
       c.SetPen(PenOf(1));
       c.MoveTo(0, 1);
       c.LineTo(kSize, 1);
       c.RestoreClip();
     },
     [](int, int, int) { return false; }},
};

class ShapeTest : public ::testing::TestWithParam<std::tuple<ShapeCase, int>> {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_P(ShapeTest, LandsOnTheExpectedPixels) {
  const auto& [shape, scale] = GetParam();
  auto bmp = NewBitmap(kSize, kSize, TPixelFormat::pf24bit);
  shape.draw(bmp->Canvas(), scale);
  const int s = scale;
  EXPECT_EQ(Mismatches(*bmp, [&](int x, int y) { return shape.painted(x, y, s); }, clRed), "")
      << shape.name << " at scale " << scale;
}

INSTANTIATE_TEST_SUITE_P(Scales, ShapeTest,
                         ::testing::Combine(::testing::ValuesIn(kShapes), ::testing::Values(1, 2)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_x" +
                                  std::to_string(std::get<1>(info.param));
                         });

struct HatchCase {
  const char* name;
  TBrushStyle style;
  std::function<bool(int x, int y)> on;
};

int Mod8(int v) { return ((v % 8) + 8) % 8; }

const HatchCase kHatches[] = {
    {"bsHorizontal", bsHorizontal, [](int, int y) { return Mod8(y) == 7; }},
    {"bsVertical", bsVertical, [](int x, int) { return Mod8(x) == 7; }},
    {"bsFDiagonal", bsFDiagonal, [](int x, int y) { return Mod8(x - y) == 0; }},
    {"bsBDiagonal", bsBDiagonal, [](int x, int y) { return Mod8(x + y) == 7; }},
    {"bsCross", bsCross, [](int x, int y) { return Mod8(x) == 7 || Mod8(y) == 7; }},
    {"bsDiagCross", bsDiagCross, [](int x, int y) { return Mod8(x - y) == 0 || Mod8(x + y) == 7; }},
};

class HatchTest : public ::testing::TestWithParam<HatchCase> {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

// Hatches are anchored at the device origin and leave the background alone.
TEST_P(HatchTest, PatternAnchoredAtTheOrigin) {
  const HatchCase& hc = GetParam();
  auto bmp = NewBitmap(kSize, kSize, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  c.SetBrush({clBlue, bsSolid});
  c.FillRect({0, 0, 3, 3});  // must survive: the hatch is drawn on a transparent ground
  c.SetBrush({clRed, hc.style});
  c.FillRect({3, 5, 40, 37});
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const bool inside = x >= 3 && x < 40 && y >= 5 && y < 37;
      const TColor expected = x < 3 && y < 3 ? clBlue : (inside && hc.on(x, y) ? clRed : clWhite);
      ASSERT_EQ(bmp->Pixel(x, y), expected) << "hatch " << int(hc.style) << " at " << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(AllHatches, HatchTest, ::testing::ValuesIn(kHatches),
                         [](const auto& info) { return std::string(info.param.name); });

class BitmapCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureGuiApp(); }
};

TEST_F(BitmapCanvasTest, InvertingPenRestoresWhenDrawnTwice) {
  auto bmp = NewBitmap(20, 10, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  c.SetBrush({clBlack, bsSolid});
  c.FillRect({0, 0, 10, 10});
  TPen pen;
  pen.Color = clWhite;
  pen.Mode = pmXor;
  c.SetPen(pen);
  c.MoveTo(0, 4);
  c.LineTo(20, 4);
  EXPECT_EQ(bmp->Pixel(3, 4), clWhite);   // black inverted
  EXPECT_EQ(bmp->Pixel(15, 4), clBlack);  // white inverted
  EXPECT_EQ(bmp->Pixel(3, 5), clBlack);   // untouched
  c.MoveTo(0, 4);
  c.LineTo(20, 4);
  EXPECT_EQ(bmp->Pixel(3, 4), clBlack);
  EXPECT_EQ(bmp->Pixel(15, 4), clWhite);
}

TEST_F(BitmapCanvasTest, RectangleFillsInsideThePen) {
  auto bmp = NewBitmap(20, 20, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  TPen pen;
  pen.Color = clBlack;
  c.SetPen(pen);
  c.SetBrush({clRed, bsSolid});
  c.Rectangle({2, 2, 10, 8});
  EXPECT_EQ(bmp->Pixel(2, 2), clBlack);
  EXPECT_EQ(bmp->Pixel(9, 7), clBlack);
  EXPECT_EQ(bmp->Pixel(5, 5), clRed);
  EXPECT_EQ(bmp->Pixel(10, 8), clWhite);
}

TEST_F(BitmapCanvasTest, EllipseStaysInsideItsBox) {
  auto bmp = NewBitmap(30, 30, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  c.SetPen(PenOf(1));
  c.SetBrush({clRed, bsSolid});
  c.Ellipse({5, 5, 25, 21});
  EXPECT_EQ(bmp->Pixel(15, 13), clRed);
  EXPECT_EQ(bmp->Pixel(5, 5), clWhite);     // corner of the box
  EXPECT_EQ(bmp->Pixel(24, 20), clWhite);
  for (int y = 0; y < 30; ++y) {
    EXPECT_EQ(bmp->Pixel(4, y), clWhite);
    EXPECT_EQ(bmp->Pixel(25, y), clWhite);
  }
  EXPECT_EQ(bmp->Pixel(5, 13), clRed);   // leftmost column of the box is reached
  EXPECT_EQ(bmp->Pixel(24, 13), clRed);  // and the rightmost
}

TEST_F(BitmapCanvasTest, PixelsFollowLaterDrawing) {
  auto bmp = NewBitmap(4, 4, TPixelFormat::pf24bit);
  EXPECT_EQ(bmp->Pixel(1, 1), clWhite);
  bmp->Canvas().SetPixel(1, 1, clGreen);
  EXPECT_EQ(bmp->Pixel(1, 1), clGreen);
  const uint8_t* row = bmp->ScanLine(1);
  EXPECT_EQ(row[3], 0);
  EXPECT_EQ(row[4], 0x80);
  EXPECT_EQ(row[5], 0);
}

TEST_F(BitmapCanvasTest, DepthsGiveTheirOwnRows) {
  struct Case {
    TPixelFormat format;
    size_t stride;  // for a 10-pixel row
  };
  for (const Case& k : {Case{TPixelFormat::pf1bit, 4}, Case{TPixelFormat::pf24bit, 32},
                        Case{TPixelFormat::pf32bit, 40}}) {
    auto bmp = NewBitmap(10, 3, k.format);
    bmp->Canvas().SetBrush({clBlack, bsSolid});
    bmp->Canvas().FillRect({0, 1, 3, 2});
    const TRasterImage& px = bmp->Pixels();
    EXPECT_EQ(px.Stride(), k.stride);
    EXPECT_EQ(px.Format(), k.format);
    EXPECT_EQ(px.Pixel(2, 1), clBlack);
    EXPECT_EQ(px.Pixel(3, 1), clWhite);
    EXPECT_EQ(px.Pixel(2, 0), clWhite);
    if (k.format == TPixelFormat::pf1bit) {
      EXPECT_EQ(bmp->ScanLine(1)[0], 0x1F);
    }
    if (k.format == TPixelFormat::pf32bit) {
      EXPECT_EQ(bmp->ScanLine(1)[3], 255);
    }
  }
}

TEST_F(BitmapCanvasTest, StretchDrawScalesAndKeepsTransparentColourOut) {
  TRasterImage pic(2, 2, TPixelFormat::pf24bit);
  pic.SetPixel(0, 0, clRed);
  pic.SetPixel(1, 0, clGreen);
  pic.SetPixel(0, 1, clBlue);
  pic.SetPixel(1, 1, clWhite);
  auto bmp = NewBitmap(12, 12, TPixelFormat::pf24bit);
  TCanvas& c = bmp->Canvas();
  c.SetBrush({clBlack, bsSolid});
  c.FillRect({0, 0, 12, 12});
  c.StretchDraw({2, 2, 10, 10}, pic, clWhite);
  EXPECT_EQ(bmp->Pixel(2, 2), clRed);
  EXPECT_EQ(bmp->Pixel(5, 5), clRed);
  EXPECT_EQ(bmp->Pixel(6, 2), clGreen);
  EXPECT_EQ(bmp->Pixel(2, 9), clBlue);
  EXPECT_EQ(bmp->Pixel(8, 8), clBlack);   // the transparent quarter
  EXPECT_EQ(bmp->Pixel(10, 10), clBlack);  // outside the rectangle
  EXPECT_EQ(bmp->Pixel(1, 1), clBlack);
}

TEST_F(BitmapCanvasTest, AlphaPicturesBlend) {
  TRasterImage pic(1, 1, TPixelFormat::pf32bit);
  pic.SetPixel(0, 0, clBlack, 0);
  auto bmp = NewBitmap(4, 4, TPixelFormat::pf24bit);
  bmp->Canvas().StretchDraw({0, 0, 4, 4}, pic);
  EXPECT_EQ(bmp->Pixel(1, 1), clWhite);
}

TEST_F(BitmapCanvasTest, BitmapOverTheLimitIsRefused) {
  EXPECT_THROW(NewBitmap(100000, 100000, TPixelFormat::pf24bit), TPictureError);
  EXPECT_THROW(NewBitmap(-1, 5, TPixelFormat::pf24bit), TPictureError);
}

TEST_F(BitmapCanvasTest, QueriesOfABitmap) {
  auto bmp = NewBitmap(30, 20, TPixelFormat::pf24bit, 600);
  TCanvas& c = bmp->Canvas();
  EXPECT_EQ(c.PixelsPerInchX(), 600);
  EXPECT_EQ(c.PixelsPerInchY(), 600);
  EXPECT_FALSE(c.IsPrinter());
  EXPECT_FALSE(c.IsRecording());
  EXPECT_EQ(c.SurfaceSize(), (TSize{30, 20}));
  EXPECT_EQ(c.ClipBounds(), (TRect{0, 0, 30, 20}));
  c.IntersectClip({5, 5, 50, 50});
  EXPECT_EQ(c.ClipBounds(), (TRect{5, 5, 30, 20}));
}

}  // namespace
