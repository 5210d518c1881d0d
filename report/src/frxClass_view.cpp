#include <algorithm>
#include <cstdio>

#include "report/frxBrackets.h"
#include "report/frxClassView.h"

// ---------------------------------------------------------------------------------------
// Enumeration types

const TfrxEnumType& frxAlignType() {
  static const TfrxEnumType type{"TfrxAlign", {"baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baClient"}};
  return type;
}
const TfrxEnumType& frxBrushStyleType() {
  static const TfrxEnumType type{"TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                                 "bsBDiagonal", "bsCross", "bsDiagCross"}};
  return type;
}
const TfrxEnumType& frxShiftModeType() {
  static const TfrxEnumType type{"TfrxShiftMode", {"smDontShift", "smAlways", "smWhenOverlapped"}};
  return type;
}
const TfrxEnumType& frxStretchModeType() {
  static const TfrxEnumType type{"TfrxStretchMode", {"smDontStretch", "smActualHeight", "smMaxHeight"}};
  return type;
}
const TfrxEnumType& frxFrameStyleType() {
  static const TfrxEnumType type{"TfrxFrameStyle", {"fsSolid", "fsDash", "fsDot", "fsDashDot", "fsDashDotDot",
                                                    "fsDouble", "fsAltDot", "fsSquare"}};
  return type;
}
const TfrxEnumType& frxFrameTypesType() {
  static const TfrxEnumType type{"TfrxFrameTypes", {"ftLeft", "ftRight", "ftTop", "ftBottom"}};
  return type;
}

// ---------------------------------------------------------------------------------------
// TfrxFrameLine

const TfrxClassInfo& TfrxFrameLine::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxFrameLine", nullptr, nullptr, [](TfrxClassInfo& c) {
    using L = TfrxFrameLine;
    TfrxPublish<L> p(c);
    p.Integer("Color", &L::Color, &L::SetColor).Stored(&L::IsColorStored);
    p.Enum("Style", frxFrameStyleType(), &L::Style, &L::SetStyle).Stored(&L::IsStyleStored);
    p.Float("Width", &L::Width, &L::SetWidth).Stored(&L::IsWidthStored);
  });
  return info;
}

void TfrxFrameLine::Assign(const TfrxFrameLine& source) {
  color_ = source.color_;
  style_ = source.style_;
  width_ = source.width_;
}

bool TfrxFrameLine::IsColorStored() const { return color_ != frame_->Color(); }
bool TfrxFrameLine::IsStyleStored() const { return style_ != frame_->Style(); }
bool TfrxFrameLine::IsWidthStored() const { return width_ != frame_->Width(); }
bool TfrxFrameLine::IsDefault() const { return !IsColorStored() && !IsStyleStored() && !IsWidthStored(); }

// ---------------------------------------------------------------------------------------
// TfrxFrame

TfrxFrame::TfrxFrame() : leftLine_(this), topLine_(this), rightLine_(this), bottomLine_(this) {}

const TfrxClassInfo& TfrxFrame::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxFrame", nullptr, nullptr, [](TfrxClassInfo& c) {
    using F = TfrxFrame;
    TfrxPublish<F> p(c);
    p.Integer("Color", &F::Color, &F::SetColor).Default(clBlack);
    p.Boolean("DropShadow", &F::DropShadow, &F::SetDropShadow).Default(0);
    p.Float("ShadowWidth", &F::ShadowWidth, &F::SetShadowWidth).DefaultFloat(4);
    p.Integer("ShadowColor", &F::ShadowColor, &F::SetShadowColor).Default(clBlack);
    p.Enum("Style", frxFrameStyleType(), &F::Style, &F::SetStyle).Default(fsSolid);
    p.Set("Typ", frxFrameTypesType(), &F::Typ, &F::SetTyp).Default(0);
    p.Float("Width", &F::Width, &F::SetWidth).DefaultFloat(1);
    // The sides come after the frame's own values: those set all four sides.
    p.Object("LeftLine", "TfrxFrameLine", &F::LeftLinePtr).Stored(&F::IsLeftLineStored);
    p.Object("TopLine", "TfrxFrameLine", &F::TopLinePtr).Stored(&F::IsTopLineStored);
    p.Object("RightLine", "TfrxFrameLine", &F::RightLinePtr).Stored(&F::IsRightLineStored);
    p.Object("BottomLine", "TfrxFrameLine", &F::BottomLinePtr).Stored(&F::IsBottomLineStored);
  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxFrame);

void TfrxFrame::SetColor(TColor v) {
  color_ = v;
  for (TfrxFrameLine* line : {&leftLine_, &topLine_, &rightLine_, &bottomLine_}) line->SetColor(v);
}

void TfrxFrame::SetStyle(TfrxFrameStyle v) {
  style_ = v;
  for (TfrxFrameLine* line : {&leftLine_, &topLine_, &rightLine_, &bottomLine_}) line->SetStyle(v);
}

void TfrxFrame::SetWidth(double v) {
  width_ = v;
  for (TfrxFrameLine* line : {&leftLine_, &topLine_, &rightLine_, &bottomLine_}) line->SetWidth(v);
}

void TfrxFrame::Assign(const TfrxFrame& source) {
  color_ = source.color_;
  dropShadow_ = source.dropShadow_;
  shadowWidth_ = source.shadowWidth_;
  shadowColor_ = source.shadowColor_;
  style_ = source.style_;
  typ_ = source.typ_;
  width_ = source.width_;
  leftLine_.Assign(source.leftLine_);
  topLine_.Assign(source.topLine_);
  rightLine_.Assign(source.rightLine_);
  bottomLine_.Assign(source.bottomLine_);
}

// ---------------------------------------------------------------------------------------
// TfrxView

TfrxView::TfrxView(TfrxComponent* owner) : TfrxReportComponent(owner), dataSetLink_(*this) {
  SetStyleFlags(StyleFlags() | csoStoredInFull);
}

TfrxView::~TfrxView() = default;

const TfrxClassInfo& TfrxView::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxView", &TfrxReportComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using V = TfrxView;
    TfrxPublish<V> p(c);
    p.Enum("Align", frxAlignType(), &V::Align, &V::SetAlign).Default(baNone);
    p.Boolean("Printable", &V::Printable, &V::SetPrintable).Default(1);
    p.Enum("ShiftMode", frxShiftModeType(), &V::ShiftMode, &V::SetShiftMode).Default(smAlways);
    p.Publish("Left");
    p.Publish("Top");
    p.Publish("Width");
    p.Publish("Height");
    p.Publish("GroupIndex");
    p.Publish("Restrictions");
    p.Publish("Visible");
    p.Publish("OnAfterData");
    p.Publish("OnAfterPrint");
    p.Publish("OnBeforePrint");
    p.Publish("OnPreviewClick");
    p.Publish("OnPreviewDblClick");
    p.String("Hint", &V::Hint, &V::SetHint);
    p.Boolean("ShowHint", &V::ShowHint, &V::SetShowHint).Default(0);
    // Published by the concrete views, each its own choice of them.
    p.Enum("BrushStyle", frxBrushStyleType(), &V::BrushStyle, &V::SetBrushStyle).Default(bsSolid).Protected();
    p.Integer("Color", &V::Color, &V::SetColor).Default(clTransparent).Protected();
    p.Integer("Cursor", &V::Cursor, &V::SetCursor).Default(0).Protected();
    p.String("DataField", &V::DataField, &V::SetDataField).Protected();
    p.Reference("DataSet", "TfrxDataSet", &V::DataSet, &V::SetDataSet).Protected();
    p.String("DataSetName", &V::DataSetName, &V::SetDataSetName).Protected();
    p.Object("Frame", "TfrxFrame", &V::FramePtr).Protected();
    p.String("TagStr", &V::TagStr, &V::SetTagStr).Protected();
    p.String("URL", &V::URL, &V::SetURL).Protected();
  });
  return info;
}

void TfrxView::Notification(TComponent* component, TOperation operation) {
  TfrxReportComponent::Notification(component, operation);
  if (operation == opRemove) dataSetLink_.Forget(component);
}

void TfrxView::BeforePrint() {
  TfrxReportComponent::BeforePrint();
  savedTagStr_ = tagStr_;
  savedURL_ = url_;
  if (TfrxComponent* report = OwningReport()) report->SetScriptSelf(this);
}

void TfrxView::AfterPrint() {
  TfrxReportComponent::AfterPrint();
  tagStr_ = savedTagStr_;
  url_ = savedURL_;
}

std::string TfrxView::ExpandBrackets(const std::string& text) {
  TfrxComponent* report = OwningReport();
  if (!report || text.find('[') == std::string::npos) return text;
  std::string out = text;
  size_t pos = 0;
  for (;;) {
    size_t open = out.find('[', pos);
    if (open == std::string::npos) break;
    const auto part = frx_brackets::FindBracketEnd<char>(out, "[", "]", open);
    if (!part.Closed) break;
    std::string value = report->ExpressionText(std::string(part.Expression));
    out.replace(open, part.End - open + 1, value);
    pos = open + value.size();
  }
  return out;
}

void TfrxView::FetchData() {
  if (tagStr_.find('[') != std::string::npos) tagStr_ = ExpandBrackets(tagStr_);
  if (url_.find('[') != std::string::npos) url_ = ExpandBrackets(url_);
}

// ---------------------------------------------------------------------------------------
// TfrxStretcheable

const TfrxClassInfo& TfrxStretcheable::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxStretcheable", &TfrxView::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using S = TfrxStretcheable;
    TfrxPublish<S> p(c);
    p.Enum("StretchMode", frxStretchModeType(), &S::StretchMode, &S::SetStretchMode).Default(smDontStretch).Protected();
  });
  return info;
}

// ---------------------------------------------------------------------------------------
// Alignment of the direct view children

namespace {
struct AlignEntry {
  std::string key;
  TfrxView* view;
};

std::string AlignKey(double left) {
  char buf[64];
  if (left >= 0)
    std::snprintf(buf, sizeof buf, "1%9.2f", left);
  else
    std::snprintf(buf, sizeof buf, "0%9.2f", -left);
  return buf;
}

bool OverlapVertically(const TfrxView& a, const TfrxView& b) {
  return b.AbsTop() < a.AbsTop() + a.Height() - 0.0001 && a.AbsTop() < b.AbsTop() + b.Height() - 0.0001;
}
}  // namespace

void TfrxComponent::ApplyAlignment() {
  std::vector<AlignEntry> sorted;
  for (TfrxComponent* child : Objects())
    if (child->InheritsFrom(TfrxView::StaticClassInfo()))
      sorted.push_back({AlignKey(child->Left()), static_cast<TfrxView*>(child)});
  std::stable_sort(sorted.begin(), sorted.end(), [](const AlignEntry& a, const AlignEntry& b) { return a.key < b.key; });

  for (size_t i = 0; i < sorted.size(); ++i) {
    TfrxView& v = *sorted[i].view;
    if (v.Align() != baLeft && v.Align() != baWidth) continue;
    const TfrxView* neighbour = nullptr;
    for (size_t j = i; j-- > 0;) {
      const TfrxView& c = *sorted[j].view;
      if (v.Align() == baWidth && c.Left() > v.Left()) continue;
      if (OverlapVertically(v, c)) {
        neighbour = &c;
        break;
      }
    }
    v.SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : 0);
  }

  for (size_t i = sorted.size(); i-- > 0;) {
    TfrxView& v = *sorted[i].view;
    if (v.Align() != baRight && v.Align() != baWidth) continue;
    const TfrxView* neighbour = nullptr;
    for (size_t j = i + 1; j < sorted.size(); ++j) {
      const TfrxView& c = *sorted[j].view;
      if (v.Align() == baWidth && c.Left() + c.Width() < v.Left() + v.Width()) continue;
      if (OverlapVertically(v, c)) {
        neighbour = &c;
        break;
      }
    }
    double edge = neighbour ? neighbour->Left() : Width();
    if (v.Align() == baRight)
      v.SetLeft(edge - v.Width());
    else
      v.SetWidth(edge - v.Left());
  }

  for (TfrxComponent* child : Objects()) {
    if (!child->InheritsFrom(TfrxView::StaticClassInfo())) continue;
    TfrxView& v = *static_cast<TfrxView*>(child);
    switch (v.Align()) {
      case baCenter: v.SetLeft((Width() - v.Width()) / 2); break;
      case baBottom: v.SetTop(Height() - v.Height()); break;
      case baClient:
        v.SetLeft(0);
        v.SetTop(0);
        v.SetWidth(Width());
        v.SetHeight(Height());
        break;
      default: break;
    }
  }
}
