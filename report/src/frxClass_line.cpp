// Line views: normalisation, straight and diagonal lines, arrowheads.

#include <cmath>
#include <cstdlib>

#include "frxClass_drawing.h"
#include "report/frxClassShapes.h"

using frx_draw::Nearest;

const TfrxClassInfo& TfrxCustomLineView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxCustomLineView", &TfrxStretcheable::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxCustomLineView(owner); }, [](TfrxClassInfo& c) {
        using L = TfrxCustomLineView;
        TfrxPublish<L> p(c);
        p.Boolean("ArrowEnd", &L::ArrowEnd, &L::SetArrowEnd).Default(0).Protected();
        p.Integer("ArrowLength", &L::ArrowLength, &L::SetArrowLength).Default(20).Protected();
        p.Boolean("ArrowSolid", &L::ArrowSolid, &L::SetArrowSolid).Default(0).Protected();
        p.Boolean("ArrowStart", &L::ArrowStart, &L::SetArrowStart).Default(0).Protected();
        p.Integer("ArrowWidth", &L::ArrowWidth, &L::SetArrowWidth).Default(5).Protected();
        p.Boolean("Diagonal", &L::Diagonal, &L::SetDiagonal).Default(0).Protected();
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxCustomLineView);

const TfrxClassInfo& TfrxLineView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxLineView", &TfrxCustomLineView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxLineView(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxLineView> p(c);
        for (const char* name : {"StretchMode", "TagStr", "ArrowEnd", "ArrowLength", "ArrowSolid", "ArrowStart",
                                 "ArrowWidth", "Frame", "Diagonal"})
          p.Publish(name);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxLineView);

TfrxCustomLineView::TfrxCustomLineView(TfrxComponent* owner) : TfrxStretcheable(owner) {
  // Output copies of lines are written through the view's differences.
  SetStyleFlags(StyleFlags() & ~csoStoredInFull);
}

void TfrxCustomLineView::DesignerFlags(int flags) {
  diagonal_ = flags != 0;
  arrowEnd_ = flags == 2 || flags == 4;
  arrowStart_ = flags == 3 || flags == 4;
}

void TfrxCustomLineView::Normalise() {
  // Compared by size, so that a line drawn upwards or leftwards keeps its direction.
  if (std::fabs(Width()) <= std::fabs(Height())) {
    SetWidth(0);
    Frame().SetTyp(1 << ftLeft);
  } else {
    SetHeight(0);
    Frame().SetTyp(1 << ftTop);
  }
}

void TfrxCustomLineView::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  if (diagonal_) {
    PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
    DrawDiagonal();
  } else {
    Normalise();
    TfrxStretcheable::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
  }
  const TPoint first{device_.Left, device_.Top}, second{device_.Right, device_.Bottom};
  if (arrowStart_) DrawArrow(first, second);
  if (arrowEnd_) DrawArrow(second, first);
}

void TfrxCustomLineView::DrawDiagonal() {
  const TfrxFrame& f = Frame();
  if (f.Color() == clTransparent || f.Width() == 0) return;
  TPen pen;
  pen.Color = f.Color();
  pen.Style = frx_draw::PatternStyleOf(f.Style());
  frx_draw::BandLine(*canvas_, {device_.Left, device_.Top}, {device_.Right, device_.Bottom}, frameWidth_, pen);
}

// An arrowhead at `tip` of the line that runs to `other`: its base lies ArrowLength
// along the line from the tip, its wings ArrowWidth either side of the base, across
// the line.
void TfrxCustomLineView::DrawArrow(TPoint tip, TPoint other) {
  const double a = arrowLength_ * scaleX_, b = arrowWidth_ * scaleX_;
  const double dx = other.X - tip.X, dy = other.Y - tip.Y;
  double baseX, baseY, acrossX, acrossY;
  if (std::abs(device_.Right - device_.Left) <= 8) {
    // Nearly vertical: straight above or below the tip, wings to the sides.
    baseX = tip.X;
    baseY = tip.Y + (dy < 0 ? -a : a);
    acrossX = b;
    acrossY = 0;
  } else {
    const double length = std::hypot(dx, dy);
    const double ux = dx / length, uy = dy / length;
    baseX = tip.X + a * ux;
    baseY = tip.Y + a * uy;
    acrossX = -uy * b;
    acrossY = ux * b;
  }
  const TPoint wing1{Nearest(baseX + acrossX), Nearest(baseY + acrossY)};
  const TPoint wing2{Nearest(baseX - acrossX), Nearest(baseY - acrossY)};
  TCanvas& canvas = *canvas_;
  const TColor color = Frame().Color();
  TPen pen;
  pen.Color = color;
  if (arrowSolid_) {
    canvas.SetPen(pen);
    canvas.SetBrush(TBrush{color, color == clTransparent ? bsClear : bsSolid});
    const TPoint triangle[] = {tip, wing1, wing2};
    canvas.Polygon(triangle);
  } else {
    pen.Width = Nearest(Frame().Width() * scaleX_);
    canvas.SetPen(pen);
    const TPoint wings[] = {wing1, tip, wing2};
    canvas.Polyline(wings);
  }
}
