// Lines and shapes: normalisation, designer flags, and the pixels they draw on a bitmap.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "report/frxClassShapes.h"
#include "frxTestClasses.h"

namespace {

constexpr TColor B = clBlack, W = clWhite, Y = 0x00FFFF;

struct Probe {
  int x, y;
  TColor color;
};

std::unique_ptr<TBitmap> DrawOn(TfrxView& view, double scale = 1) {
  auto bitmap = NewBitmap(240, 120, TPixelFormat::pf24bit);
  view.Draw(bitmap->Canvas(), scale, scale, 0, 0);
  return bitmap;
}

void ExpectProbes(TBitmap& bitmap, const std::vector<Probe>& probes, const char* what) {
  for (const Probe& p : probes)
    EXPECT_EQ(bitmap.Pixel(p.x, p.y), p.color) << what << " at (" << p.x << ", " << p.y << ")";
}

TEST(LineView, StraightLinesAreNormalisedToOneSide) {
  const struct {
    double width, height;
    double newWidth, newHeight;
    TfrxFrameTypes typ;
  } cases[] = {
      {100, 3, 100, 0, 1 << ftTop},   {3, 100, 0, 100, 1 << ftLeft}, {50, 50, 0, 50, 1 << ftLeft},
      {0, -50, 0, -50, 1 << ftLeft},  {-80, 10, -80, 0, 1 << ftTop},
  };
  for (const auto& c : cases) {
    TfrxLineView line(nullptr);
    line.SetBounds(10, 10, c.width, c.height);
    line.Frame().SetTyp(15);
    line.Normalise();
    EXPECT_EQ(line.Width(), c.newWidth) << c.width << " x " << c.height;
    EXPECT_EQ(line.Height(), c.newHeight) << c.width << " x " << c.height;
    EXPECT_EQ(line.Frame().Typ(), c.typ) << c.width << " x " << c.height;
  }
}

TEST(LineView, DrawingNormalisesAStraightLineButNotADiagonal) {
  TfrxLineView line(nullptr);
  line.SetBounds(10, 20, 100, 3);
  DrawOn(line);
  EXPECT_EQ(line.Height(), 0);
  EXPECT_EQ(line.Frame().Typ(), 1 << ftTop);
  line.SetDiagonal(true);
  line.SetHeight(40);
  DrawOn(line);
  EXPECT_EQ(line.Height(), 40);
}

TEST(LineView, DesignerFlagsGiveDiagonalAndArrows) {
  const struct {
    int flags;
    bool diagonal, arrowEnd, arrowStart;
  } cases[] = {{0, false, false, false}, {1, true, false, false}, {2, true, true, false},
               {3, true, false, true},   {4, true, true, true}};
  TfrxTestReport report;
  for (const auto& c : cases) {
    auto* line = static_cast<TfrxLineView*>(
        TfrxComponent::CreateForDesigner(TfrxLineView::StaticClassInfo(), &report, c.flags));
    EXPECT_EQ(line->Diagonal(), c.diagonal) << c.flags;
    EXPECT_EQ(line->ArrowEnd(), c.arrowEnd) << c.flags;
    EXPECT_EQ(line->ArrowStart(), c.arrowStart) << c.flags;
    EXPECT_TRUE(line->Designing());
  }
}

TEST(LineView, PublishedPropertiesAndOutputForm) {
  std::vector<std::string> names;
  const auto& props = TfrxLineView::StaticClassInfo().Properties();
  for (size_t i = TfrxView::StaticClassInfo().Properties().size(); i < props.size(); ++i)
    names.push_back(props[i]->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"StretchMode", "TagStr", "ArrowEnd", "ArrowLength", "ArrowSolid",
                                             "ArrowStart", "ArrowWidth", "Frame", "Diagonal"}));
  TfrxLineView line(nullptr);
  EXPECT_EQ(line.StyleFlags() & csoStoredInFull, 0);
  EXPECT_EQ(line.ArrowLength(), 20);
  EXPECT_EQ(line.ArrowWidth(), 5);
}

struct LineCase {
  const char* what;
  double left, top, width, height;
  bool diagonal;
  double frameWidth;
  std::function<void(TfrxLineView&)> setUp;
  std::vector<Probe> probes;
};

TEST(LineView, LinesAndArrowheadsOnABitmap) {
  const LineCase cases[] = {
      {"horizontal, width 1", 10, 20, 60, 0, false, 1, nullptr,
       {{10, 20, B}, {40, 20, B}, {70, 20, B}, {71, 20, W}, {9, 20, W}, {40, 19, W}, {40, 21, W}}},
      {"horizontal, width 3", 10, 20, 60, 0, false, 3, nullptr,
       {{40, 19, B}, {40, 20, B}, {40, 21, B}, {40, 18, W}, {40, 22, W}}},
      {"vertical", 50, 10, 0, 60, false, 1, nullptr, {{50, 10, B}, {50, 40, B}, {50, 70, B}, {49, 40, W}, {51, 40, W}}},
      {"diagonal", 10, 10, 40, 40, true, 1, nullptr, {{30, 30, B}, {20, 20, B}, {30, 20, W}, {20, 30, W}}},
      {"diagonal, width 3: a band across", 10, 10, 40, 40, true, 3, nullptr,
       {{29, 30, B}, {30, 30, B}, {31, 30, B}, {33, 30, W}, {27, 30, W}}},
      {"diagonal without frame colour", 10, 10, 40, 40, true, 1,
       [](TfrxLineView& l) { l.Frame().SetColor(clTransparent); }, {{30, 30, W}, {20, 20, W}}},
      // Tip (50, 70), base 20 above it at (50, 50), wings 5 to either side.
      {"solid arrow at the end of a vertical line", 50, 10, 0, 60, false, 1,
       [](TfrxLineView& l) {
         l.SetArrowEnd(true);
         l.SetArrowSolid(true);
       },
       {{48, 55, B}, {52, 55, B}, {44, 55, W}, {56, 52, W}, {50, 30, B}}},
      {"open arrow at the end of a vertical line", 50, 10, 0, 60, false, 1,
       [](TfrxLineView& l) { l.SetArrowEnd(true); }, {{48, 55, W}, {52, 55, W}, {53, 58, B}, {47, 58, B}}},
      {"arrow at the start of a vertical line", 50, 10, 0, 60, false, 1,
       [](TfrxLineView& l) {
         l.SetArrowStart(true);
         l.SetArrowSolid(true);
       },
       {{48, 25, B}, {52, 25, B}, {48, 55, W}}},
      // Tip (10, 10) of a line to (50, 50): base about 14 along each axis, wings across.
      {"solid arrow at the start of a diagonal", 10, 10, 40, 40, true, 1,
       [](TfrxLineView& l) {
         l.SetArrowStart(true);
         l.SetArrowSolid(true);
       },
       {{20, 22, B}, {22, 20, B}, {28, 35, W}}},
      {"open arrow at the start of a diagonal", 10, 10, 40, 40, true, 1,
       [](TfrxLineView& l) { l.SetArrowStart(true); }, {{20, 22, W}, {22, 20, W}}},
  };
  for (const LineCase& c : cases) {
    TfrxLineView line(nullptr);
    line.SetBounds(c.left, c.top, c.width, c.height);
    line.SetDiagonal(c.diagonal);
    line.Frame().SetWidth(c.frameWidth);
    if (c.setUp) c.setUp(line);
    auto bitmap = DrawOn(line);
    ExpectProbes(*bitmap, c.probes, c.what);
  }
}

TEST(ShapeView, DefaultsFlagsAndDifferences) {
  TfrxShapeView shape(nullptr);
  EXPECT_EQ(shape.Shape(), skRectangle);
  EXPECT_EQ(shape.StyleFlags() & csoStoredInFull, 0);
  TfrxTestReport report;
  auto* ellipse = static_cast<TfrxShapeView*>(
      TfrxComponent::CreateForDesigner(TfrxShapeView::StaticClassInfo(), &report, skEllipse));
  EXPECT_EQ(ellipse->Shape(), skEllipse);
  TfrxShapeView reference(nullptr);
  shape.SetShape(skDiamond);
  shape.SetColor(0xFF);
  EXPECT_EQ(shape.WriteDifferences(&reference), " Color=\"255\" Shape=\"4\"");
}

struct ShapeCase {
  const char* what;
  TfrxShapeKind kind;
  double scale;
  std::function<void(TfrxShapeView&)> setUp;
  std::vector<Probe> probes;
};

// The shape is at (10, 10), 100 x 40, yellow with a black frame of width 1: at scale 1
// its device corners are (10, 10) and (110, 50).
TEST(ShapeView, TheSevenShapesOnABitmap) {
  const ShapeCase cases[] = {
      {"rectangle", skRectangle, 1, nullptr,
       {{10, 10, B}, {110, 50, B}, {60, 10, B}, {110, 30, B}, {60, 30, Y}, {111, 30, W}, {60, 51, W}, {9, 30, W}}},
      {"ellipse", skEllipse, 1, nullptr, {{60, 10, B}, {60, 50, B}, {60, 30, Y}, {10, 10, W}, {12, 12, W}}},
      // Radius min(100, 40) div 4 = 10: the corner arc leaves (16, 10) free, the straight
      // top edge starts at x = 20.
      {"round rectangle, curve 0", skRoundRectangle, 1, nullptr,
       {{16, 10, W}, {10, 10, W}, {22, 10, B}, {60, 10, B}, {60, 30, Y}, {10, 30, B}}},
      {"round rectangle, curve 1 is a radius of 10", skRoundRectangle, 1,
       [](TfrxShapeView& s) { s.SetCurve(1); }, {{16, 10, W}, {22, 10, B}}},
      {"round rectangle, curve 1 at scale 2 is a radius of 20", skRoundRectangle, 2,
       [](TfrxShapeView& s) { s.SetCurve(1); }, {{30, 20, W}, {62, 20, B}}},
      {"triangle", skTriangle, 1, nullptr, {{60, 10, B}, {60, 30, Y}, {60, 50, B}, {15, 15, W}, {105, 15, W}}},
      {"diamond", skDiamond, 1, nullptr, {{60, 10, B}, {35, 20, B}, {60, 30, Y}, {12, 12, W}, {108, 48, W}}},
      {"diagonal rising", skDiagonal1, 1, nullptr, {{60, 30, B}, {35, 40, B}, {10, 10, W}, {60, 20, W}}},
      {"diagonal falling", skDiagonal2, 1, nullptr, {{60, 30, B}, {35, 20, B}, {10, 50, W}, {60, 40, W}}},
      {"no frame colour: fill only", skRectangle, 1, [](TfrxShapeView& s) { s.Frame().SetColor(clTransparent); },
       {{10, 10, Y}, {60, 30, Y}}},
      {"no colour: outline only", skRectangle, 1, [](TfrxShapeView& s) { s.SetColor(clTransparent); },
       {{10, 10, B}, {60, 30, W}}},
      // Rows y % 8 == 7 and columns x % 8 == 7 of the hatch, over the yellow fill.
      {"cross hatch over the fill", skRectangle, 1, [](TfrxShapeView& s) { s.SetBrushStyle(bsCross); },
       {{60, 15, B}, {63, 20, B}, {60, 16, Y}, {61, 30, Y}}},
      {"hatch without a colour", skRectangle, 1,
       [](TfrxShapeView& s) {
         s.SetColor(clTransparent);
         s.SetBrushStyle(bsHorizontal);
       },
       {{60, 15, B}, {60, 16, W}, {63, 20, W}}},
      // The inner outline is inset by 2 frame widths: (12, 12)-(108, 48).
      {"double frame", skRectangle, 1,
       [](TfrxShapeView& s) {
         s.Frame().SetStyle(fsDouble);
         s.SetColor(clTransparent);
       },
       {{10, 10, B}, {110, 50, B}, {12, 12, B}, {108, 48, B}, {60, 12, B}, {11, 11, W}, {13, 13, W}, {60, 30, W}}},
      {"thick frame", skRectangle, 1, [](TfrxShapeView& s) { s.Frame().SetWidth(3); },
       {{9, 30, B}, {10, 30, B}, {11, 30, B}, {12, 30, Y}, {8, 30, W}}},
  };
  for (const ShapeCase& c : cases) {
    TfrxShapeView shape(nullptr);
    shape.SetBounds(10, 10, 100, 40);
    shape.SetShape(c.kind);
    shape.SetColor(Y);
    if (c.setUp) c.setUp(shape);
    auto bitmap = DrawOn(shape, c.scale);
    ExpectProbes(*bitmap, c.probes, c.what);
    // Drawing leaves the template's bounds as they were.
    EXPECT_EQ(shape.Left(), 10) << c.what;
    EXPECT_EQ(shape.Width(), 100) << c.what;
  }
}

}  // namespace
