// Shape views: the seven shapes, their fill, hatch and double outline.

#include <algorithm>

#include "frxClass_diffattr.h"
#include "frxClass_drawing.h"
#include "report/frxClassShapes.h"

using frx_draw::Nearest;

const TfrxEnumType& frxShapeKindType() {
  static const TfrxEnumType type{"TfrxShapeKind", {"skRectangle", "skRoundRectangle", "skEllipse", "skTriangle",
                                                   "skDiamond", "skDiagonal1", "skDiagonal2"}};
  return type;
}

const TfrxClassInfo& TfrxShapeView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxShapeView", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxShapeView(owner); }, [](TfrxClassInfo& c) {
        using S = TfrxShapeView;
        TfrxPublish<S> p(c);
        p.Publish("BrushStyle");
        p.Publish("Color");
        p.Publish("Cursor");
        p.Integer("Curve", &S::Curve, &S::SetCurve).Default(0);
        p.Publish("Frame");
        p.Enum("Shape", frxShapeKindType(), &S::Shape, &S::SetShape).Default(skRectangle);
        p.Publish("TagStr");
        p.Publish("URL");
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxShapeView);

TfrxShapeView::TfrxShapeView(TfrxComponent* owner) : TfrxView(owner) {
  // Output copies of shapes are written through their own differences.
  SetStyleFlags(StyleFlags() & ~csoStoredInFull);
}

void TfrxShapeView::DesignerFlags(int flags) {
  if (flags >= skRectangle && flags <= skDiagonal2) shape_ = static_cast<TfrxShapeKind>(flags);
}

std::string TfrxShapeView::WriteDifferences(const TfrxComponent* reference) const {
  std::string out = TfrxView::WriteDifferences(reference);
  if (const auto* r = dynamic_cast<const TfrxShapeView*>(reference)) frx_diff::IntAttr(out, "Shape", shape_, r->shape_);
  return out;
}

void TfrxShapeView::DrawOutline(const TPen& pen) {
  TCanvas& canvas = *canvas_;
  const int x = device_.Left, y = device_.Top, x1 = device_.Right, y1 = device_.Bottom;
  const int dx = device_.Width, dy = device_.Height;
  const TRect box{x, y, x1 + 1, y1 + 1};
  switch (shape_) {
    case skRectangle: canvas.Rectangle(box); break;
    case skEllipse: canvas.Ellipse(box); break;
    case skRoundRectangle: {
      const int radius = curve_ == 0 ? std::min(dx, dy) / 4 : Nearest(curve_ * scaleX_ * 10);
      canvas.RoundRect(box, 2 * radius, 2 * radius);
      break;
    }
    case skTriangle: {
      const TPoint points[] = {{x1, y1}, {x, y1}, {x + dx / 2, y}};
      canvas.Polygon(points);
      break;
    }
    case skDiamond: {
      const TPoint points[] = {{x + dx / 2, y}, {x1, y + dy / 2}, {x + dx / 2, y1}, {x, y + dy / 2}};
      canvas.Polygon(points);
      break;
    }
    case skDiagonal1: frx_draw::BandLine(canvas, {x, y1}, {x1, y}, frameWidth_, pen); break;
    case skDiagonal2: frx_draw::BandLine(canvas, {x, y}, {x1, y1}, frameWidth_, pen); break;
  }
}

void TfrxShapeView::DrawFilled(const TPen& pen) {
  TCanvas& canvas = *canvas_;
  const TColor color = Color(), frameColor = Frame().Color();
  auto pass = [&](TColor brushColor, TBrushStyle style) {
    canvas.SetPen(pen);
    canvas.SetBrush(TBrush{brushColor, brushColor == clTransparent ? bsClear : style});
    DrawOutline(pen);
  };
  if (BrushStyle() == bsSolid) {
    pass(color, bsSolid);
    return;
  }
  if (color != clTransparent) pass(color, bsSolid);
  pass(frameColor, BrushStyle());
}

void TfrxShapeView::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
  const TfrxFrame& f = Frame();
  const bool twice = f.Style() == fsDouble;
  TPen pen;
  pen.Color = clTransparent;
  if (f.Color() != clTransparent) pen = frx_draw::OutlinePen(twice ? fsSolid : f.Style(), frameWidth_, f.Color());
  DrawFilled(pen);
  if (!twice) return;

  // The inner outline, drawn on bounds moved inwards by multiples of the frame width.
  const TfrxBounds saved{Left(), Top(), Width(), Height()};
  const double w = f.Width();
  switch (shape_) {
    case skTriangle: SetBounds(saved.Left + 4 * w, saved.Top + 4 * w, saved.Width - 8 * w, saved.Height - 6 * w); break;
    case skDiamond: SetBounds(saved.Left + 3 * w, saved.Top + 3 * w, saved.Width - 6 * w, saved.Height - 6 * w); break;
    case skDiagonal1:
    case skDiagonal2: SetLeft(saved.Left + 2 * w); break;
    default: SetBounds(saved.Left + 2 * w, saved.Top + 2 * w, saved.Width - 4 * w, saved.Height - 4 * w); break;
  }
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
  DrawFilled(pen);
  SetBounds(saved.Left, saved.Top, saved.Width, saved.Height);
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
}
