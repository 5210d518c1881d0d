// The compact difference form of output copies: attributes for the properties in which
// an object differs from a reference object of its class.

#include "frxClass_diffattr.h"
#include "report/frxClassView.h"

using namespace frx_diff;

std::string TfrxComponent::WriteDifferences(const TfrxComponent* reference) const {
  std::string out;
  if (!reference) return out;
  const TfrxComponent& r = *reference;
  FloatAttr(out, "l", Left(), r.Left());
  if (DifferencesAlwaysWriteTop())
    Attr(out, "t", frxFloatToStr(Top()));
  else
    FloatAttr(out, "t", Top(), r.Top());
  if (DifferencesWriteWidth()) FloatAttr(out, "w", Width(), r.Width());
  FloatAttr(out, "h", Height(), r.Height());
  BoolAttr(out, "Visible", Visible(), r.Visible());
  if (!ParentFont()) {
    const TFont& f = Font();
    const TFont& rf = r.Font();
    TextAttr(out, "Font.Name", f.Name, rf.Name);
    IntAttr(out, "Font.Size", f.Size, rf.Size);
    IntAttr(out, "Font.Color", f.Color, rf.Color);
    IntAttr(out, "Font.Style", f.Style, rf.Style);
    IntAttr(out, "Font.Charset", f.Charset, rf.Charset);
  }
  BoolAttr(out, "ParentFont", ParentFont(), r.ParentFont());
  IntAttr(out, "Tag", Tag(), r.Tag());
  return out;
}

void TfrxFrame::WriteDifferences(const TfrxFrame& r, std::string& out) const {
  const bool colorWritten = color_ != r.color_;
  const bool styleWritten = style_ != r.style_;
  const bool widthWritten = FloatDiffers(width_, r.width_);
  IntAttr(out, "Frame.Color", color_, r.color_);
  BoolAttr(out, "Frame.DropShadow", dropShadow_, r.dropShadow_);
  IntAttr(out, "Frame.ShadowColor", shadowColor_, r.shadowColor_);
  FloatAttr(out, "Frame.ShadowWidth", shadowWidth_, r.shadowWidth_);
  IntAttr(out, "Frame.Style", style_, r.style_);
  IntAttr(out, "Frame.Typ", typ_, r.typ_);
  FloatAttr(out, "Frame.Width", width_, r.width_);

  struct LinePair {
    const char* name;
    const TfrxFrameLine& line;
    const TfrxFrameLine& ref;
  };
  const LinePair lines[] = {{"Frame.LeftLine", leftLine_, r.leftLine_},
                            {"Frame.TopLine", topLine_, r.topLine_},
                            {"Frame.RightLine", rightLine_, r.rightLine_},
                            {"Frame.BottomLine", bottomLine_, r.bottomLine_}};
  // A side is written against the frame's new value when that was written, else
  // against the reference's side.
  for (const LinePair& p : lines) {
    const std::string prefix = p.name;
    if (colorWritten ? p.line.Color() != color_ : p.line.Color() != p.ref.Color())
      Attr(out, prefix + ".Color", std::to_string(p.line.Color()));
    if (styleWritten ? p.line.Style() != style_ : p.line.Style() != p.ref.Style())
      Attr(out, prefix + ".Style", std::to_string(p.line.Style()));
    if (widthWritten ? FloatDiffers(p.line.Width(), width_) : FloatDiffers(p.line.Width(), p.ref.Width()))
      Attr(out, prefix + ".Width", frxFloatToStr(p.line.Width()));
  }
}

std::string TfrxView::WriteDifferences(const TfrxComponent* reference) const {
  std::string out = TfrxReportComponent::WriteDifferences(reference);
  const TfrxView* r = dynamic_cast<const TfrxView*>(reference);
  if (!r) return out;
  IntAttr(out, "BrushStyle", brushStyle_, r->brushStyle_);
  IntAttr(out, "Align", align_, r->align_);
  IntAttr(out, "Color", color_, r->color_);
  frame_.WriteDifferences(r->frame_, out);
  IntAttr(out, "Cursor", cursor_, r->cursor_);
  BoolAttr(out, "Printable", printable_, r->printable_);
  TextAttr(out, "TagStr", tagStr_, r->tagStr_);
  TextAttr(out, "URL", url_, r->url_);
  return out;
}
