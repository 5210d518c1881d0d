#pragma once
// Lines (TfrxCustomLineView, TfrxLineView) and shapes (TfrxShapeView). Their pen is the
// view's frame: its colour, device width and style.
//
// Drawing contract
// - A line that is not Diagonal is first normalised to the frame side it is: vertical
//   (Width 0, left side only) when |Width| <= |Height|, else horizontal (Height 0, top
//   side only), and drawn as that side. A diagonal line runs from the device top-left
//   to the device bottom-right corner as a band of one-pixel lines as thick as the
//   device frame width. Arrowheads sit at the first point (ArrowStart) and the second
//   (ArrowEnd).
// - A shape is filled with Color and outlined in the frame pen; a hatch brush style
//   draws it once more with the hatch in the frame colour. fsDouble draws the shape
//   twice with a solid pen, at its bounds and inset.

#include "report/frxClassView.h"

enum TfrxShapeKind : uint8_t {
  skRectangle,
  skRoundRectangle,
  skEllipse,
  skTriangle,
  skDiamond,
  skDiagonal1,
  skDiagonal2
};

const TfrxEnumType& frxShapeKindType();  // "TfrxShapeKind"

class TfrxCustomLineView : public TfrxStretcheable {
 public:
  explicit TfrxCustomLineView(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS

  bool ArrowEnd() const { return arrowEnd_; }
  void SetArrowEnd(bool v) { arrowEnd_ = v; }
  int ArrowLength() const { return arrowLength_; }
  void SetArrowLength(int v) { arrowLength_ = v; }
  bool ArrowSolid() const { return arrowSolid_; }
  void SetArrowSolid(bool v) { arrowSolid_ = v; }
  bool ArrowStart() const { return arrowStart_; }
  void SetArrowStart(bool v) { arrowStart_ = v; }
  int ArrowWidth() const { return arrowWidth_; }
  void SetArrowWidth(int v) { arrowWidth_ = v; }
  bool Diagonal() const { return diagonal_; }
  void SetDiagonal(bool v) { diagonal_ = v; }

  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
  // Makes a straight line vertical or horizontal, with the one frame side it draws.
  void Normalise();

 protected:
  // The designer's flags word k: Diagonal = (k != 0), ArrowEnd for 2 and 4,
  // ArrowStart for 3 and 4.
  void DesignerFlags(int flags) override;

 private:
  void DrawDiagonal();
  void DrawArrow(TPoint tip, TPoint other);

  bool arrowEnd_ = false;
  int arrowLength_ = 20;
  bool arrowSolid_ = false;
  bool arrowStart_ = false;
  int arrowWidth_ = 5;
  bool diagonal_ = false;
};

class TfrxLineView : public TfrxCustomLineView {
 public:
  explicit TfrxLineView(TfrxComponent* owner) : TfrxCustomLineView(owner) {}
  TFRX_PERSISTENT_CLASS
};

class TfrxShapeView : public TfrxView {
 public:
  explicit TfrxShapeView(TfrxComponent* owner);
  TFRX_PERSISTENT_CLASS

  int Curve() const { return curve_; }
  void SetCurve(int v) { curve_ = v; }
  TfrxShapeKind Shape() const { return shape_; }
  void SetShape(TfrxShapeKind v) { shape_ = v; }

  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
  std::string WriteDifferences(const TfrxComponent* reference) const override;

 protected:
  // The designer's flags word is the shape kind.
  void DesignerFlags(int flags) override;

 private:
  // One pass over the device geometry with the pen and brush already selected.
  void DrawOutline(const TPen& pen);
  void DrawFilled(const TPen& pen);

  int curve_ = 0;
  TfrxShapeKind shape_ = skRectangle;
};
