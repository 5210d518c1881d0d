// Memo views: their published settings, text, styles and the printing bracket.

#include <algorithm>
#include <cctype>
#include <utility>

#include "frxClass_diffattr.h"
#include "frxClass_drawing.h"
#include "platform/CodePage.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"

// ---------------------------------------------------------------------------------------
// Enumeration types

const TfrxEnumType& frxHAlignType() {
  static const TfrxEnumType type{"TfrxHAlign", {"haLeft", "haRight", "haCenter", "haBlock"}};
  return type;
}
const TfrxEnumType& frxVAlignType() {
  static const TfrxEnumType type{"TfrxVAlign", {"vaTop", "vaBottom", "vaCenter"}};
  return type;
}
const TfrxEnumType& frxFormatKindType() {
  static const TfrxEnumType type{"TfrxFormatKind", {"fkText", "fkNumeric", "fkDateTime", "fkBoolean"}};
  return type;
}

// ---------------------------------------------------------------------------------------
// TfrxHighlight and TfrxFormat

TfrxHighlight::TfrxHighlight() : fontProps_(font_, nullptr) { font_.Color = clRed; }

const TfrxClassInfo& TfrxHighlight::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxHighlight", nullptr, nullptr, [](TfrxClassInfo& c) {
    using H = TfrxHighlight;
    TfrxPublish<H> p(c);
    p.Boolean("Active", &H::Active, &H::SetActive).Default(0);
    p.Object("Font", "TFont", &H::FontProps);
    p.Integer("Color", &H::Color, &H::SetColor).Default(clTransparent);
    p.String("Condition", &H::Condition, &H::SetCondition);
  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxHighlight);

bool TfrxHighlight::HasCondition() const {
  return std::any_of(condition_.begin(), condition_.end(), [](char c) { return static_cast<unsigned char>(c) > ' '; });
}

const TfrxClassInfo& TfrxFormat::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxFormat", nullptr, nullptr, [](TfrxClassInfo& c) {
    using F = TfrxFormat;
    TfrxPublish<F> p(c);
    p.String("DecimalSeparator", &F::DecimalSeparator, &F::SetDecimalSeparator);
    p.String("ThousandSeparator", &F::ThousandSeparator, &F::SetThousandSeparator);
    p.String("FormatStr", &F::FormatStr, &F::SetFormatStr);
    p.Enum("Kind", frxFormatKindType(), &F::Kind, &F::SetKind).Default(fkText);
  });
  return info;
}

// ---------------------------------------------------------------------------------------
// Class declarations: the custom memo declares every setting, the two concrete memos
// publish their own choice of them.

const TfrxClassInfo& TfrxCustomMemoView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxCustomMemoView", &TfrxStretcheable::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxCustomMemoView(owner); }, [](TfrxClassInfo& c) {
        using M = TfrxCustomMemoView;
        TfrxPublish<M> p(c);
        p.Boolean("FirstParaBreak", &M::FirstParaBreak, &M::SetFirstParaBreak).Default(0).Protected();
        p.Boolean("LastParaBreak", &M::LastParaBreak, &M::SetLastParaBreak).Default(0).Protected();
        p.Boolean("AutoWidth", &M::AutoWidth, &M::SetAutoWidth).Default(0).Protected();
        p.Boolean("AllowExpressions", &M::AllowExpressions, &M::SetAllowExpressions).Default(1).Protected();
        p.Boolean("AllowHTMLTags", &M::AllowHTMLTags, &M::SetAllowHTMLTags).Default(0).Protected();
        p.Float("CharSpacing", &M::CharSpacing, &M::SetCharSpacing).DefaultFloat(0).Protected();
        p.Boolean("Clipped", &M::Clipped, &M::SetClipped).Default(1).Protected();
        p.Object("DisplayFormat", "TfrxFormat", &M::DisplayFormatPtr).Protected();
        p.String("ExpressionDelimiters", &M::ExpressionDelimiters, &M::SetExpressionDelimiters)
            .Stored(&M::IsExpressionDelimitersStored)
            .Protected();
        p.Reference("FlowTo", "TfrxCustomMemoView", &M::FlowToComponent, &M::SetFlowToComponent).Protected();
        p.Float("GapX", &M::GapX, &M::SetGapX).DefaultFloat(2).Protected();
        p.Float("GapY", &M::GapY, &M::SetGapY).DefaultFloat(1).Protected();
        p.Enum("HAlign", frxHAlignType(), &M::HAlign, &M::SetHAlign).Default(haLeft).Protected();
        p.Boolean("HideZeros", &M::HideZeros, &M::SetHideZeros).Default(0).Protected();
        p.Object("Highlight", "TfrxHighlight", &M::HighlightPtr).Stored(&M::IsHighlightStored).Protected();
        p.Float("LineSpacing", &M::LineSpacing, &M::SetLineSpacing).DefaultFloat(2).Protected();
        p.WideStrings("Memo", &M::Text, &M::SetSystemText).Protected();
        p.Float("ParagraphGap", &M::ParagraphGap, &M::SetParagraphGap).DefaultFloat(0).Protected();
        p.Integer("Rotation", &M::Rotation, &M::SetRotation).Default(0).Protected();
        p.Boolean("RTLReading", &M::RTLReading, &M::SetRTLReading).Default(0).Protected();
        p.String("Style", &M::Style, &M::SetStyle).Protected();
        p.Boolean("SuppressRepeated", &M::SuppressRepeated, &M::SetSuppressRepeated).Default(0).Protected();
        p.Boolean("Underlines", &M::Underlines, &M::SetUnderlines).Default(0).Protected();
        p.Boolean("UseDefaultCharset", &M::UseDefaultCharset, &M::SetUseDefaultCharset).Default(0).Protected();
        p.Boolean("WordBreak", &M::WordBreak, &M::SetWordBreak).Default(0).Protected();
        p.Boolean("WordWrap", &M::WordWrap, &M::SetWordWrap).Default(1).Protected();
        p.Boolean("Wysiwyg", &M::Wysiwyg, &M::SetWysiwyg).Default(1).Protected();
        p.Enum("VAlign", frxVAlignType(), &M::VAlign, &M::SetVAlign).Default(vaTop).Protected();
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxCustomMemoView);

const TfrxClassInfo& TfrxMemoView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxMemoView", &TfrxCustomMemoView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxMemoView(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxMemoView> p(c);
        for (const char* name :
             {"StretchMode", "FirstParaBreak", "LastParaBreak", "Cursor", "TagStr", "URL", "AutoWidth",
              "AllowExpressions", "AllowHTMLTags", "BrushStyle", "CharSpacing", "Clipped", "Color", "DataField",
              "DataSet", "DataSetName", "DisplayFormat", "ExpressionDelimiters", "FlowTo", "Font", "Frame", "GapX",
              "GapY", "HAlign", "HideZeros", "Highlight", "LineSpacing", "Memo", "ParagraphGap", "ParentFont",
              "Rotation", "RTLReading", "Style", "SuppressRepeated", "Underlines", "UseDefaultCharset", "WordBreak",
              "WordWrap", "Wysiwyg", "VAlign"})
          p.Publish(name);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxMemoView);

const TfrxClassInfo& TfrxSysMemoView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxSysMemoView", &TfrxCustomMemoView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxSysMemoView(owner); }, [](TfrxClassInfo& c) {
        TfrxPublish<TfrxSysMemoView> p(c);
        for (const char* name : {"StretchMode", "FirstParaBreak", "LastParaBreak", "Cursor", "TagStr", "URL",
                                 "AutoWidth", "BrushStyle", "CharSpacing", "Color", "DisplayFormat", "Font", "Frame",
                                 "GapX", "GapY", "HAlign", "HideZeros", "Highlight", "Memo", "ParentFont", "Rotation",
                                 "RTLReading", "Style", "SuppressRepeated", "VAlign", "WordWrap"})
          p.Publish(name);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxSysMemoView);

// ---------------------------------------------------------------------------------------
// TfrxCustomMemoView

TfrxCustomMemoView::TfrxCustomMemoView(TfrxComponent* owner) : TfrxStretcheable(owner) {
  // Output copies of memos are written through their own differences.
  SetStyleFlags(StyleFlags() & ~csoStoredInFull);
}

TfrxCustomMemoView::~TfrxCustomMemoView() = default;

std::string TfrxCustomMemoView::AnsiText() const {
  return codepage::FromWide(Text(), codepage::CharsetCodePage(Font().Charset));
}

void TfrxCustomMemoView::SetAnsiText(std::string_view text) {
  SetText(codepage::ToWide(text, codepage::CharsetCodePage(Font().Charset)));
}

void TfrxCustomMemoView::SetSystemText(const std::string& text) { SetText(codepage::ToWide(text)); }

void TfrxCustomMemoView::SetFlowTo(TfrxCustomMemoView* memo) {
  if (memo == this) memo = nullptr;  // a memo cannot take its own overflow
  if (flowTo_ && flowTo_ != memo) RemoveFreeNotification(flowTo_);
  flowTo_ = memo;
  if (flowTo_) FreeNotification(flowTo_);
}

void TfrxCustomMemoView::SetFlowToComponent(TfrxComponent* c) { SetFlowTo(dynamic_cast<TfrxCustomMemoView*>(c)); }

void TfrxCustomMemoView::Notification(TComponent* component, TOperation operation) {
  TfrxStretcheable::Notification(component, operation);
  if (operation == opRemove && flowTo_ && static_cast<TComponent*>(flowTo_) == component) flowTo_ = nullptr;
}

void TfrxCustomMemoView::SetStyle(const std::string& name) {
  style_ = name;
  auto* report = dynamic_cast<TfrxReport*>(OwningReport());
  if (!report) return;
  if (const TfrxStyleItem* item = report->Styles().Find(name)) TakeStyle(*item);
}

void TfrxCustomMemoView::TakeStyle(const TfrxStyleItem& item) {
  SetColor(item.Color());
  SetFont(item.Font());
  Frame().Assign(item.Frame());
}

void TfrxCustomMemoView::BeforePrint() {
  TfrxStretcheable::BeforePrint();
  if (!IsDataBound()) savedText_ = lines_;
}

void TfrxCustomMemoView::AfterPrint() {
  if (!IsDataBound()) lines_ = savedText_;
  TfrxStretcheable::AfterPrint();
}

// The position of `what` in `text` compared without regard to ASCII case, or npos.
static size_t FindNoCase(std::string_view text, std::string_view what) {
  auto it = std::search(text.begin(), text.end(), what.begin(), what.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it == text.end() ? std::string_view::npos : static_cast<size_t>(it - text.begin());
}

std::string TfrxCustomMemoView::ComponentText() const {
  std::string text = codepage::FromWide(Text());
  if (allowExpressions_) {
    static constexpr std::string_view kTotalPages = "[TOTALPAGES]";
    size_t at = FindNoCase(text, kTotalPages);
    if (at != std::string::npos) text.replace(at, kTotalPages.size(), std::to_string(totalPagesValue_));
  }
  return text;
}

// ---------------------------------------------------------------------------------------
// Geometry of the text

TRect TfrxCustomMemoView::TextAreaOf(const TfrxDeviceRect& d, double scaleX, double scaleY) const {
  using frx_draw::Nearest;
  const TfrxFrame& f = Frame();
  const double w = f.Width();
  const int gx = Nearest(scaleX * gapX_), gy = Nearest(scaleY * gapY_);
  return TRect{d.Left + gx + (f.Has(ftLeft) ? Nearest((scaleX * w - 1) / 2) : 0),
               d.Top + gy + (f.Has(ftTop) ? Nearest((scaleY * w - 1) / 2) : 0),
               d.Right - gx + 1 - (f.Has(ftRight) ? Nearest(scaleX * w / 2) : 0),
               d.Bottom - gy + 1 - (f.Has(ftBottom) ? Nearest(scaleY * w / 2) : 0)};
}

TRect TfrxCustomMemoView::CalcTextArea() {
  textArea_ = TextAreaOf(device_, scaleX_, scaleY_);
  return textArea_;
}

double TfrxCustomMemoView::VerticalExtra() const {
  const TfrxFrame& f = Frame();
  const double w = f.Width();
  return 2 * gapY_ + (f.Has(ftTop) ? (w - 1) / 2 : 0) + (f.Has(ftBottom) ? w / 2 : 0) +
         (f.DropShadow() ? f.ShadowWidth() : 0);
}

double TfrxCustomMemoView::HorizontalExtra() const {
  const TfrxFrame& f = Frame();
  const double w = f.Width();
  return 2 * gapX_ + (f.Has(ftLeft) ? (w - 1) / 2 : 0) + (f.Has(ftRight) ? w / 2 : 0) +
         (f.DropShadow() ? f.ShadowWidth() : 0);
}

// ---------------------------------------------------------------------------------------
// Difference form

void TfrxCustomMemoView::WriteMemoDifferences(const TfrxCustomMemoView& r, std::string& out) const {
  using namespace frx_diff;
  BoolAttr(out, "AutoWidth", autoWidth_, r.autoWidth_);
  FloatAttr(out, "CharSpacing", charSpacing_, r.charSpacing_);
  FloatAttr(out, "GapX", gapX_, r.gapX_);
  FloatAttr(out, "GapY", gapY_, r.gapY_);
  IntAttr(out, "HAlign", hAlign_, r.hAlign_);
  BoolAttr(out, "Highlight.Active", highlight_.Active(), r.highlight_.Active());
  FloatAttr(out, "LineSpacing", lineSpacing_, r.lineSpacing_);
  BoolAttr(out, "UseDefaultCharset", useDefaultCharset_, r.useDefaultCharset_);
  // The text always, without its final line break.
  const std::u16string whole = Text();
  std::u16string_view text = whole;
  if (text.size() >= 2 && text.substr(text.size() - 2) == u"\r\n") text.remove_suffix(2);
  Attr(out, "u", EscapeXMLText(codepage::WideToUtf8(text)));
  FloatAttr(out, "ParagraphGap", paragraphGap_, r.paragraphGap_);
  IntAttr(out, "Rotation", rotation_, r.rotation_);
  BoolAttr(out, "RTLReading", rtlReading_, r.rtlReading_);
  BoolAttr(out, "Underlines", underlines_, r.underlines_);
  IntAttr(out, "VAlign", vAlign_, r.vAlign_);
  BoolAttr(out, "WordWrap", wordWrap_, r.wordWrap_);
  const TfrxFormat &f = displayFormat_, &rf = r.displayFormat_;
  IntAttr(out, "DisplayFormat.Kind", f.Kind(), rf.Kind());
  TextAttr(out, "DisplayFormat.DecimalSeparator", f.DecimalSeparator(), rf.DecimalSeparator());
  TextAttr(out, "DisplayFormat.ThousandSeparator", f.ThousandSeparator(), rf.ThousandSeparator());
  TextAttr(out, "DisplayFormat.FormatStr", f.FormatStr(), rf.FormatStr());
  if (firstParaBreak_) Attr(out, "FirstParaBreak", "1");
  if (lastParaBreak_) Attr(out, "LastParaBreak", "1");
  // The continuation on the next page starts where this part ended.
  firstParaBreak_ = lastParaBreak_;
  lastParaBreak_ = false;
}

std::string TfrxCustomMemoView::WriteDifferences(const TfrxComponent* reference) const {
  std::string out = TfrxStretcheable::WriteDifferences(reference);
  if (const auto* r = dynamic_cast<const TfrxCustomMemoView*>(reference)) WriteMemoDifferences(*r, out);
  return out;
}
