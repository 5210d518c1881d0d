// Frames, fills and shadows drawn on a bitmap land on the pixels the view geometry gives.
// The view is at (10, 10), 40 x 20 pixels: at scale 1 its device rectangle is
// (10, 10)-(50, 30), at scale 2 (20, 20)-(100, 60).

#include <gtest/gtest.h>

#include <memory>

#include "platform/Canvas.h"
#include "frxTestClasses.h"

namespace {

constexpr TColor kShadow = 0x808080;

struct Probe {
  int x, y;
  TColor color;
};

struct FrameCase {
  const char* what;
  double scale;
  TfrxFrameTypes typ;
  double width;
  TfrxFrameStyle style;
  bool dropShadow;
  int blackPixels;  // pixels of the frame colour over the whole bitmap
  std::vector<Probe> probes;
};

std::unique_ptr<TBitmap> Draw(TfrxView& view, double scale) {
  auto bitmap = NewBitmap(120, 90, TPixelFormat::pf24bit);
  view.Draw(bitmap->Canvas(), scale, scale, 0, 0);
  return bitmap;
}

int Count(TBitmap& bitmap, TColor color) {
  int n = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.Pixel(x, y) == color) ++n;
  return n;
}

void ExpectProbes(TBitmap& bitmap, const std::vector<Probe>& probes, const char* what) {
  for (const Probe& p : probes)
    EXPECT_EQ(bitmap.Pixel(p.x, p.y), p.color) << what << " at (" << p.x << ", " << p.y << ")";
}

TfrxTestMemoView& MakeView(TfrxTestMemoView& view) {
  view.SetBounds(10, 10, 40, 20);
  return view;
}

TEST(FrameDrawing, SidesWidthsAndScales) {
  const TColor B = clBlack, W = clWhite;
  const FrameCase cases[] = {
      {"all sides, width 1", 1, 15, 1, fsSolid, false, 2 * 41 + 2 * 19,
       {{10, 10, B}, {50, 30, B}, {30, 10, B}, {10, 20, B}, {50, 20, B}, {30, 30, B}, {11, 11, W}, {9, 20, W}, {51, 20, W}}},
      {"left only, width 1", 1, 1 << ftLeft, 1, fsSolid, false, 21, {{10, 10, B}, {10, 30, B}, {10, 31, W}, {11, 10, W}}},
      {"right only, width 1", 1, 1 << ftRight, 1, fsSolid, false, 21, {{50, 10, B}, {50, 30, B}, {49, 20, W}}},
      {"top only, width 1", 1, 1 << ftTop, 1, fsSolid, false, 41, {{10, 10, B}, {50, 10, B}, {51, 10, W}, {30, 11, W}}},
      {"bottom only, width 1", 1, 1 << ftBottom, 1, fsSolid, false, 41, {{10, 30, B}, {50, 30, B}, {30, 29, W}}},
      // Width 3: centred on the edge; the caps reach the corners where sides meet.
      {"all sides, width 3", 1, 15, 3, fsSolid, false, 43 * 23 - 37 * 17,
       {{9, 9, B}, {51, 31, B}, {11, 11, B}, {12, 12, W}, {8, 20, W}, {52, 20, W}}},
      {"left only, width 3: ends stop at the corners", 1, 1 << ftLeft, 3, fsSolid, false, 3 * 21,
       {{9, 10, B}, {11, 30, B}, {9, 9, W}, {9, 31, W}, {12, 20, W}}},
      {"top only, width 3", 1, 1 << ftTop, 3, fsSolid, false, 3 * 41, {{10, 9, B}, {50, 11, B}, {9, 10, W}, {51, 10, W}}},
      // Scale 2: width 1 becomes 2 device pixels, the rectangle (20, 20)-(100, 60).
      {"all sides, scale 2", 2, 15, 1, fsSolid, false, 82 * 42 - 78 * 38,
       {{19, 19, B}, {100, 60, B}, {20, 20, B}, {21, 21, W}, {18, 40, W}, {101, 40, W}}},
      {"left only, scale 2", 2, 1 << ftLeft, 1, fsSolid, false, 2 * 40, {{19, 20, B}, {20, 59, B}, {20, 60, W}, {21, 40, W}}},
      {"bottom only, width 2 at scale 2", 2, 1 << ftBottom, 2, fsSolid, false, 4 * 80,
       {{20, 58, B}, {99, 61, B}, {19, 60, W}, {100, 60, W}, {20, 57, W}, {20, 62, W}}},
      // Double: two rectangles one line width outside and inside the edge.
      {"double, width 1", 1, 15, 1, fsDouble, false, (2 * 43 + 2 * 21) + (2 * 39 + 2 * 17),
       {{9, 9, B}, {51, 31, B}, {11, 11, B}, {49, 29, B}, {10, 10, W}, {10, 20, W}, {30, 30, W}}},
  };
  for (const FrameCase& c : cases) {
    TfrxTestMemoView view(nullptr);
    MakeView(view);
    view.Frame().SetTyp(c.typ);
    view.Frame().SetWidth(c.width);
    view.Frame().SetStyle(c.style);
    auto bitmap = Draw(view, c.scale);
    EXPECT_EQ(Count(*bitmap, clBlack), c.blackPixels) << c.what;
    ExpectProbes(*bitmap, c.probes, c.what);
  }
}

TEST(FrameDrawing, DropShadowKeepsTheObjectsBounds) {
  struct Case {
    double scale;
    TfrxFrameTypes typ;
    int shadowPixels;
    std::vector<Probe> probes;
  };
  const TColor S = kShadow, W = clWhite, B = clBlack;
  const Case cases[] = {
      // Device rectangle (10, 10)-(46, 26); shadow bands x 47..50 from y 14, y 27..30 from x 14.
      {1, 0, 4 * 13 + 4 * 37, {{47, 14, S}, {50, 26, S}, {47, 13, W}, {14, 27, S}, {50, 30, S}, {13, 27, W}, {51, 30, W}, {50, 31, W}}},
      {1, 15, 4 * 13 + 4 * 37, {{46, 26, B}, {46, 10, B}, {50, 10, W}, {47, 20, S}}},
      // Scale 2: shadow 8 pixels; rectangle (20, 20)-(92, 52).
      {2, 0, 8 * 25 + 8 * 73, {{93, 28, S}, {100, 60, S}, {93, 27, W}, {28, 53, S}, {27, 53, W}, {101, 60, W}}},
  };
  for (const Case& c : cases) {
    TfrxTestMemoView view(nullptr);
    MakeView(view);
    view.Frame().SetTyp(c.typ);
    view.Frame().SetDropShadow(true);
    view.Frame().SetShadowColor(kShadow);
    auto bitmap = Draw(view, c.scale);
    EXPECT_EQ(Count(*bitmap, kShadow), c.shadowPixels) << "scale " << c.scale << " typ " << int(c.typ);
    ExpectProbes(*bitmap, c.probes, "shadow");
    EXPECT_EQ(view.DeviceRect().Right, c.scale == 1 ? 46 : 92);
  }
}

TEST(FrameDrawing, NothingWithoutSidesColourOrWidth) {
  struct Case {
    const char* what;
    TfrxFrameTypes typ;
    TColor color;
    double width;
  };
  const Case cases[] = {{"no sides", 0, clBlack, 1}, {"transparent frame", 15, clTransparent, 1}, {"zero width", 15, clBlack, 0}};
  for (const Case& c : cases) {
    TfrxTestMemoView view(nullptr);
    MakeView(view);
    view.Frame().SetTyp(c.typ);
    view.Frame().SetColor(c.color);
    view.Frame().SetWidth(c.width);
    auto bitmap = Draw(view, 1);
    EXPECT_EQ(Count(*bitmap, clWhite), 120 * 90) << c.what;
  }
}

TEST(FrameDrawing, EachSideTakesItsOwnLine) {
  TfrxTestMemoView view(nullptr);
  MakeView(view);
  view.Frame().SetTyp(15);
  view.Frame().LeftLine().SetColor(clRed);
  view.Frame().RightLine().SetColor(clBlue);
  view.Frame().TopLine().SetColor(clGreen);
  view.Frame().BottomLine().SetWidth(3);
  auto bitmap = Draw(view, 1);
  ExpectProbes(*bitmap,
               {{10, 20, clRed}, {50, 20, clBlue}, {30, 10, clGreen}, {30, 29, clBlack}, {30, 31, clBlack}, {30, 32, clWhite}},
               "own lines");
  // Drawn in the order left, right, top, bottom: the top line covers the corners.
  EXPECT_EQ(bitmap->Pixel(10, 10), clGreen);
  EXPECT_EQ(bitmap->Pixel(50, 10), clGreen);
}

TEST(FrameDrawing, DashedSidesStayOnTheirBandAndHaveGaps) {
  struct Case {
    TfrxFrameStyle style;
    double width;
    int firstRow, lastRow;
  };
  const Case cases[] = {{fsDash, 1, 10, 10}, {fsDot, 1, 10, 10}, {fsDashDot, 3, 9, 11}, {fsDashDotDot, 2, 9, 10},
                        {fsSquare, 1, 10, 10}, {fsSquare, 4, 8, 11}, {fsAltDot, 1, 10, 10}};
  for (const Case& c : cases) {
    TfrxTestMemoView view(nullptr);
    MakeView(view);
    view.Frame().SetTyp(1 << ftTop);
    view.Frame().SetStyle(c.style);
    view.Frame().SetWidth(c.width);
    auto bitmap = Draw(view, 1);
    int inside = 0, gaps = 0, outside = 0;
    for (int y = 0; y < bitmap->Height(); ++y)
      for (int x = 0; x < bitmap->Width(); ++x) {
        bool onBand = y >= c.firstRow && y <= c.lastRow && x >= 8 && x <= 52;
        bool black = bitmap->Pixel(x, y) != clWhite;
        if (black && onBand) ++inside;
        if (black && !onBand) ++outside;
        if (!black && onBand && x >= 14 && x <= 46) ++gaps;
      }
    EXPECT_GT(inside, 0) << int(c.style) << " w" << c.width;
    EXPECT_GT(gaps, 0) << int(c.style) << " w" << c.width;
    EXPECT_EQ(outside, 0) << int(c.style) << " w" << c.width;
  }
}

TEST(BackgroundDrawing, FillCoversTheDeviceRectangle) {
  struct Case {
    double scale;
    int pixels;
    std::vector<Probe> probes;
  };
  const Case cases[] = {
      {1, 40 * 20, {{10, 10, clRed}, {49, 29, clRed}, {50, 29, clWhite}, {49, 30, clWhite}, {9, 10, clWhite}}},
      {2, 80 * 40, {{20, 20, clRed}, {99, 59, clRed}, {100, 59, clWhite}, {99, 60, clWhite}}},
  };
  for (const Case& c : cases) {
    TfrxTestMemoView view(nullptr);
    MakeView(view);
    view.SetColor(clRed);
    auto bitmap = Draw(view, c.scale);
    EXPECT_EQ(Count(*bitmap, clRed), c.pixels);
    ExpectProbes(*bitmap, c.probes, "fill");
  }
}

TEST(BackgroundDrawing, HatchInFrameColourOnePixelLarger) {
  TfrxTestMemoView view(nullptr);
  MakeView(view);
  view.SetBrushStyle(bsHorizontal);
  view.Frame().SetColor(clBlue);
  auto bitmap = Draw(view, 1);
  // Rows y % 8 == 7 within (10, 10)-(51, 31): 15 and 23, 41 pixels each.
  EXPECT_EQ(Count(*bitmap, clBlue), 2 * 41);
  ExpectProbes(*bitmap, {{10, 15, clBlue}, {50, 23, clBlue}, {51, 15, clWhite}, {20, 14, clWhite}}, "hatch");
}

TEST(DrawGeometry, DeviceRectangleRoundsHalvesToEven) {
  TfrxTestMemoView view(nullptr);
  view.SetBounds(0.5, 1.5, 2, 2);
  auto bitmap = NewBitmap(10, 10, TPixelFormat::pf24bit);
  view.PrepareDrawGeometry(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(view.DeviceRect(), (TfrxDeviceRect{0, 2, 2, 4, 2, 2}));
  view.Frame().SetWidth(2.5);
  view.PrepareDrawGeometry(bitmap->Canvas(), 1, 1, 10, 0);
  EXPECT_EQ(view.DeviceFrameWidth(), 2);
  EXPECT_EQ(view.DeviceRect().Left, 10);
}

}  // namespace
