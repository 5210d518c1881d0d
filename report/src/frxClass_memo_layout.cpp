// Memo views through the text layout engine: measuring, splitting across pages, the
// overflow into a FlowTo memo, the second-pass values and drawing.

#include <algorithm>
#include <cctype>

#include "frxClass_drawing.h"
#include "platform/CodePage.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"
#include "report/frxVariables.h"

using frx_draw::Nearest;

namespace {

// The area text is measured in when its width is free.
const TRect kUnboundedArea{0, 0, 10000, 10000};

// Replaces the first occurrence of `tag` (ASCII case ignored) by `value`.
void ReplaceFirstNoCase(std::u16string& text, std::u16string_view tag, std::u16string_view value) {
  auto lower = [](char16_t c) { return c < 128 ? static_cast<char16_t>(std::tolower(c)) : c; };
  auto it = std::search(text.begin(), text.end(), tag.begin(), tag.end(),
                        [&](char16_t a, char16_t b) { return lower(a) == lower(b); });
  if (it != text.end()) text.replace(static_cast<size_t>(it - text.begin()), tag.size(), value);
}

}  // namespace

TfrxDrawText& TfrxCustomMemoView::LayoutEngine() const {
  if (auto* report = dynamic_cast<TfrxReport*>(OwningReport())) return report->DrawText();
  return frxDrawText();
}

TRect TfrxCustomMemoView::TextAreaAt100() const { return TextAreaOf(DeviceRectAt(1, 1, 0, 0), 1, 1); }

void TfrxCustomMemoView::PrepareLayout(TfrxDrawText& engine, const TRect& layoutArea, const TRect& targetArea,
                                       double printScale, double scaleX, double scaleY,
                                       const TWideStrings& text) const {
  engine.UseFont(highlight_.Active() ? highlight_.Font() : Font());
  engine.UseOptions(wordWrap_, allowHTMLTags_, rotation_, wysiwyg_, clipped_, wordBreak_, rtlReading_);
  engine.UseDefaultCharset(useDefaultCharset_);
  engine.UseGaps(lineSpacing_, charSpacing_, paragraphGap_);
  engine.UseAreas(layoutArea, targetArea, printScale, scaleX, scaleY);
  engine.LayOutText(text);
  engine.UseParagraphFlags(firstParaBreak_, lastParaBreak_);
}

void TfrxCustomMemoView::LayOutAt100(TfrxDrawText& engine) const {
  const TRect area = TextAreaAt100();
  PrepareLayout(engine, area, area, 1, 1, 1, lines_);
}

double TfrxCustomMemoView::CalcHeight() {
  TfrxDrawText& engine = LayoutEngine();
  TfrxDrawTextLock lock(engine);
  const TRect area = autoWidth_ ? kUnboundedArea : TextAreaAt100();
  PrepareLayout(engine, area, area, 1, 1, 1, lines_);
  return Nearest(engine.TextBlockHeight() + VerticalExtra());
}

double TfrxCustomMemoView::CalcWidth() {
  TfrxDrawText& engine = LayoutEngine();
  TfrxDrawTextLock lock(engine);
  PrepareLayout(engine, kUnboundedArea, kUnboundedArea, 1, 1, 1, lines_);
  return Nearest(engine.WidestLineWidth() + HorizontalExtra());
}

void TfrxCustomMemoView::StartParts() {
  partText_ = Text();
  firstParaBreak_ = false;
  lastParaBreak_ = false;
}

double TfrxCustomMemoView::SplitPart() {
  SetText(partText_);
  TfrxDrawText& engine = LayoutEngine();
  TfrxDrawTextLock lock(engine);
  const TRect area = TextAreaAt100();
  PrepareLayout(engine, area, area, 1, 1, 1, lines_);
  const double leftover = engine.LeftoverHeight();
  const TfrxTextSplit split = engine.SplitAtHeight();
  SetText(engine.FittingText());
  partText_ = split.Rest;
  lastParaBreak_ = split.InsideParagraph;
  return leftover == 0 ? Height() : leftover;
}

void TfrxCustomMemoView::ApplyFlowTo() {
  if (!flowTo_) return;
  StartParts();
  SplitPart();
  flowTo_->SetText(partText_);
  // The text was expanded here already.
  flowTo_->SetAllowExpressions(false);
}

void TfrxCustomMemoView::SubstituteSecondPass() {
  if (!allowExpressions_) return;
  std::u16string text = Text();
  ReplaceFirstNoCase(text, u"[TOTALPAGES#]", codepage::ToWide(std::to_string(totalPagesValue_)));
  const std::string copyName = "CopyName" + std::to_string(copyNumber_);
  const TfrxVariables& globals = frxGlobalVariables();
  const std::string value = globals.IndexOf(copyName) >= 0 ? globals.Get(copyName).toString8() : std::string();
  ReplaceFirstNoCase(text, u"[COPYNAME#]", codepage::ToWide(value));
  SetText(text);
}

// Auto-width memos take the width of their text, keeping their right edge or centre
// where the alignment puts it.
void TfrxCustomMemoView::FitWidthToText(TfrxDrawText& engine) {
  PrepareLayout(engine, kUnboundedArea, kUnboundedArea, 1, 1, 1, lines_);
  const double oldWidth = Width();
  const double newWidth = engine.WidestLineWidth() + HorizontalExtra();
  SetWidth(newWidth);
  if (hAlign_ == haRight)
    SetLeft(Left() + oldWidth - newWidth);
  else if (hAlign_ == haCenter)
    SetLeft(Left() + (oldWidth - newWidth) / 2);
  if (Parent()) Parent()->ApplyAlignment();
}

void TfrxCustomMemoView::DrawUnderlines(const TfrxDrawText& engine) {
  const double step = engine.LinePitch() * scaleY_;
  if (step <= 0) return;
  TPen pen;
  pen.Color = Frame().Color();
  pen.Width = frameWidth_;
  canvas_->SetPen(pen);
  for (double y = device_.Top + (gapY_ - lineSpacing_ + 1) * scaleY_ + step; y < device_.Bottom; y += step) {
    canvas_->MoveTo(device_.Left, Nearest(y));
    canvas_->LineTo(device_.Right, Nearest(y));
  }
}

void TfrxCustomMemoView::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  TfrxDrawText& engine = LayoutEngine();
  TfrxDrawTextLock lock(engine);
  if (!Designing()) SubstituteSecondPass();
  TWideStrings shown = lines_;
  if (Designing() && IsDataBound()) shown.SetText(codepage::ToWide("[" + DataSetName() + ".\"" + DataField() + "\"]"));

  const TColor savedColor = Color();
  if (highlight_.Active()) SetColor(highlight_.Color());
  if (!Designing() && autoWidth_) FitWidthToText(engine);
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
  PrepareLayout(engine, TextAreaAt100(), CalcTextArea(), Printing() ? printScale_ : 1, scaleX, scaleY, shown);
  PaintBackground();
  PaintFrame();
  if (underlines_ && rotation_ == 0) DrawUnderlines(engine);
  engine.PaintLines(canvas, hAlign_, vAlign_);
  SetColor(savedColor);
}
