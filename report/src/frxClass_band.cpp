// Bands: the base with its shared flags and the child chain, every kind of band with
// its published choice of flags, the data band's record counter and columns, and the
// group header's drill-down differences.
#include <algorithm>
#include <initializer_list>
#include <set>

#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassPage.h"

namespace {

template <class T>
void PublishAll(TfrxPublish<T>& p, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names) p.Publish(name);
}

template <class T>
TfrxComponent* Create(TfrxComponent* owner) {
  return new T(owner);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TfrxBand

const TfrxClassInfo& TfrxBand::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxBand", &TfrxReportComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using B = TfrxBand;
    TfrxPublish<B> p(c);
    p.Publish("Font");
    p.Publish("Height");
    p.Publish("Left");
    p.Publish("ParentFont");
    p.Publish("Restrictions");
    p.Publish("Top");
    p.Boolean("Vertical", &B::Vertical, &B::SetVertical).Default(0);
    p.Publish("Visible");
    p.Publish("Width");
    p.String("OnAfterCalcHeight", &B::OnAfterCalcHeight, &B::SetOnAfterCalcHeight);
    p.Publish("OnAfterPrint");
    p.Publish("OnBeforePrint");
    // The shared flags, published by the kinds that have them.
    p.Boolean("AllowSplit", &B::AllowSplit, &B::SetAllowSplit).Default(0).Protected();
    p.Reference("Child", "TfrxChild", &B::ChildRef, &B::SetChildRef).Protected();
    p.Boolean("KeepChild", &B::KeepChild, &B::SetKeepChild).Default(0).Protected();
    p.Boolean("KeepTogether", &B::KeepTogether, &B::SetKeepTogether).Default(0).Protected();
    p.String("OutlineText", &B::OutlineText, &B::SetOutlineText).Protected();
    p.Boolean("PrintChildIfInvisible", &B::PrintChildIfInvisible, &B::SetPrintChildIfInvisible)
        .Default(0)
        .Protected();
    p.Boolean("PrintOnFirstPage", &B::PrintOnFirstPage, &B::SetPrintOnFirstPage).Default(1).Protected();
    p.Boolean("ReprintOnNewPage", &B::ReprintOnNewPage, &B::SetReprintOnNewPage).Default(0).Protected();
    p.Boolean("StartNewPage", &B::StartNewPage, &B::SetStartNewPage).Default(0).Protected();
    p.Boolean("Stretched", &B::Stretched, &B::SetStretched).Default(0).Protected();
    c.SetParentRule([](const TfrxComponent& parent) { return parent.InheritsFrom(TfrxReportPage::StaticClassInfo()); },
                    "a band belongs on a report page");
  });
  return info;
}

int TfrxBand::KindIndex() const {
  // In the engine's order; a class that derives from several entries takes the last.
  static const TfrxClassInfo* const kinds[] = {
      &TfrxReportTitle::StaticClassInfo(),   &TfrxReportSummary::StaticClassInfo(),
      &TfrxPageHeader::StaticClassInfo(),    &TfrxPageFooter::StaticClassInfo(),
      &TfrxHeader::StaticClassInfo(),        &TfrxFooter::StaticClassInfo(),
      &TfrxMasterData::StaticClassInfo(),    &TfrxDetailData::StaticClassInfo(),
      &TfrxSubdetailData::StaticClassInfo(), &TfrxDataBand4::StaticClassInfo(),
      &TfrxDataBand5::StaticClassInfo(),     &TfrxDataBand6::StaticClassInfo(),
      &TfrxGroupHeader::StaticClassInfo(),   &TfrxGroupFooter::StaticClassInfo(),
      &TfrxChild::StaticClassInfo(),         &TfrxColumnHeader::StaticClassInfo(),
      &TfrxColumnFooter::StaticClassInfo(),  &TfrxOverlay::StaticClassInfo(),
  };
  int index = 0;
  for (int i = 0; i < static_cast<int>(std::size(kinds)); ++i)
    if (InheritsFrom(*kinds[i])) index = i;
  return index;
}

std::string TfrxBand::KindName() const {
  std::string name = ClassName();
  if (auto at = name.find("Tfrx"); at != std::string::npos) name.erase(at, 4);
  if (auto at = name.find("Band"); at != std::string::npos) name.erase(at, 4);
  return name;
}

TfrxComponent* TfrxBand::ChildRef() const { return child_; }

void TfrxBand::SetChildRef(TfrxComponent* c) {
  SetChild(c && c->InheritsFrom(TfrxChild::StaticClassInfo()) ? static_cast<TfrxChild*>(c) : nullptr);
}

void TfrxBand::SetChild(TfrxChild* child) {
  // Follow the chain the new child starts; the visited set also ends a chain that
  // loops without us (none should, every link having passed this test).
  std::set<const TfrxBand*> visited;
  for (const TfrxBand* b = child; b && visited.insert(b).second; b = b->child_)
    if (b == this) throw EfrxBandError("Circular child reference is not allowed");
  if (child_ && child_ != child) RemoveFreeNotification(child_);
  child_ = child;
  if (child_) FreeNotification(child_);
}

void TfrxBand::Notification(TComponent* component, TOperation operation) {
  TfrxReportComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (child_ && static_cast<TComponent*>(child_) == component) child_ = nullptr;
  std::erase_if(linkedBands_, [component](TfrxBand* b) { return static_cast<TComponent*>(b) == component; });
  for (TfrxBand** link : {&HeaderBand, &FooterBand, &GroupBand})
    if (*link && static_cast<TComponent*>(*link) == component) *link = nullptr;
}

// ---------------------------------------------------------------------------------------
// The kinds

#define TFRX_BAND_KIND_INFO(Kind, Base, ...)                                                        \
  const TfrxClassInfo& Kind::StaticClassInfo() {                                                  \
    static const TfrxClassInfo info(#Kind, &Base::StaticClassInfo(), &Create<Kind>, [](TfrxClassInfo& c) { \
      TfrxPublish<Kind> p(c);                                                                      \
      PublishAll(p, {__VA_ARGS__});                                                                \
    });                                                                                            \
    return info;                                                                                   \
  }                                                                                                \
  TFRX_REGISTER_CLASS(Kind)

TFRX_BAND_KIND_INFO(TfrxReportTitle, TfrxBand, "AllowSplit", "Child", "KeepChild", "PrintChildIfInvisible",
                    "StartNewPage", "Stretched");
TFRX_BAND_KIND_INFO(TfrxReportSummary, TfrxBand, "AllowSplit", "Child", "KeepChild", "PrintChildIfInvisible",
                    "StartNewPage", "Stretched");
TFRX_BAND_KIND_INFO(TfrxChild, TfrxBand, "AllowSplit", "Child", "KeepChild", "PrintChildIfInvisible", "StartNewPage",
                    "Stretched");
TFRX_BAND_KIND_INFO(TfrxPageHeader, TfrxBand, "Child", "PrintChildIfInvisible", "PrintOnFirstPage", "Stretched");
TFRX_BAND_KIND_INFO(TfrxHeader, TfrxBand, "AllowSplit", "Child", "KeepChild", "PrintChildIfInvisible",
                    "ReprintOnNewPage", "StartNewPage", "Stretched");
TFRX_BAND_KIND_INFO(TfrxFooter, TfrxBand, "AllowSplit", "Child", "KeepChild", "PrintChildIfInvisible", "Stretched");
TFRX_BAND_KIND_INFO(TfrxColumnHeader, TfrxBand, "Child", "Stretched");
TFRX_BAND_KIND_INFO(TfrxColumnFooter, TfrxBand, );
TFRX_BAND_KIND_INFO(TfrxNullBand, TfrxBand, );
TFRX_BAND_KIND_INFO(TfrxMasterData, TfrxDataBand, );
TFRX_BAND_KIND_INFO(TfrxDetailData, TfrxDataBand, );
TFRX_BAND_KIND_INFO(TfrxSubdetailData, TfrxDataBand, );
TFRX_BAND_KIND_INFO(TfrxDataBand4, TfrxDataBand, );
TFRX_BAND_KIND_INFO(TfrxDataBand5, TfrxDataBand, );
TFRX_BAND_KIND_INFO(TfrxDataBand6, TfrxDataBand, );

const TfrxClassInfo& TfrxPageFooter::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxPageFooter", &TfrxBand::StaticClassInfo(), &Create<TfrxPageFooter>,
                                  [](TfrxClassInfo& c) {
                                    using B = TfrxPageFooter;
                                    TfrxPublish<B> p(c);
                                    p.Publish("PrintOnFirstPage");
                                    p.Boolean("PrintOnLastPage", &B::PrintOnLastPage, &B::SetPrintOnLastPage)
                                        .Default(1);
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxPageFooter);

const TfrxClassInfo& TfrxOverlay::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxOverlay", &TfrxBand::StaticClassInfo(), &Create<TfrxOverlay>,
                                  [](TfrxClassInfo& c) {
                                    using B = TfrxOverlay;
                                    TfrxPublish<B> p(c);
                                    p.Boolean("PrintOnTop", &B::PrintOnTop, &B::SetPrintOnTop).Default(0);
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxOverlay);

const TfrxClassInfo& TfrxGroupFooter::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxGroupFooter", &TfrxBand::StaticClassInfo(), &Create<TfrxGroupFooter>,
                                  [](TfrxClassInfo& c) {
                                    using B = TfrxGroupFooter;
                                    TfrxPublish<B> p(c);
                                    p.Publish("AllowSplit");
                                    p.Publish("Child");
                                    p.Boolean("HideIfSingleDataRecord", &B::HideIfSingleDataRecord,
                                              &B::SetHideIfSingleDataRecord)
                                        .Default(0);
                                    PublishAll(p, {"KeepChild", "PrintChildIfInvisible", "Stretched"});
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxGroupFooter);

// ---------------------------------------------------------------------------------------
// TfrxDataBand

TfrxDataBand::TfrxDataBand(TfrxComponent* owner)
    : TfrxBand(owner), dataSetLink_(*this), recordCounter_(std::make_unique<TfrxUserDataSet>(nullptr)) {
  recordCounter_->SetRangeEnd(reCount);
  // A new band without a dataset prints one row, as one placed in the designer should.
  SetRowCount(1);
}

TfrxDataBand::~TfrxDataBand() = default;

const TfrxClassInfo& TfrxDataBand::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxDataBand", &TfrxBand::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using B = TfrxDataBand;
    TfrxPublish<B> p(c);
    p.Publish("AllowSplit");
    p.Publish("Child");
    p.Integer("Columns", &B::Columns, &B::SetColumns).Default(0);
    p.Float("ColumnWidth", &B::ColumnWidth, &B::SetColumnWidth);
    p.Float("ColumnGap", &B::ColumnGap, &B::SetColumnGap);
    p.Reference("DataSet", "TfrxDataSet", &B::DataSet, &B::SetDataSet);
    p.String("DataSetName", &B::DataSetName, &B::SetDataSetName);
    p.Boolean("FooterAfterEach", &B::FooterAfterEach, &B::SetFooterAfterEach).Default(0);
    p.Publish("KeepChild");
    p.Boolean("KeepFooter", &B::KeepFooter, &B::SetKeepFooter).Default(0);
    p.Boolean("KeepHeader", &B::KeepHeader, &B::SetKeepHeader).Default(0);
    PublishAll(p, {"KeepTogether", "OutlineText", "PrintChildIfInvisible"});
    p.Boolean("PrintIfDetailEmpty", &B::PrintIfDetailEmpty, &B::SetPrintIfDetailEmpty).Default(0);
    p.Integer("RowCount", &B::RowCount, &B::SetRowCount);
    PublishAll(p, {"StartNewPage", "Stretched"});
    p.String("OnMasterDetail", &B::OnMasterDetail, &B::SetOnMasterDetail);
  });
  return info;
}

int32_t TfrxDataBand::RowCount() const { return recordCounter_->RangeEndCount(); }
void TfrxDataBand::SetRowCount(int32_t count) { recordCounter_->SetRangeEndCount(count); }

void TfrxDataBand::SetCurrentColumn(int column) {
  if (column > columns_) column = 1;
  currentColumn_ = column;
  if (column == 1) ColumnsBottom = 0;
  SetLeft((column - 1) * (columnWidth_ + columnGap_));
}

void TfrxDataBand::Notification(TComponent* component, TOperation operation) {
  TfrxBand::Notification(component, operation);
  if (operation == opRemove) dataSetLink_.Forget(component);
}

// ---------------------------------------------------------------------------------------
// TfrxGroupHeader

const TfrxClassInfo& TfrxGroupHeader::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxGroupHeader", &TfrxBand::StaticClassInfo(), &Create<TfrxGroupHeader>,
                                  [](TfrxClassInfo& c) {
                                    using B = TfrxGroupHeader;
                                    TfrxPublish<B> p(c);
                                    PublishAll(p, {"AllowSplit", "Child"});
                                    p.String("Condition", &B::Condition, &B::SetCondition);
                                    p.Boolean("DrillDown", &B::DrillDown, &B::SetDrillDown).Default(0);
                                    p.Boolean("ExpandDrillDown", &B::ExpandDrillDown, &B::SetExpandDrillDown)
                                        .Default(0);
                                    PublishAll(p, {"KeepChild", "KeepTogether", "ReprintOnNewPage", "OutlineText",
                                                   "PrintChildIfInvisible"});
                                    p.Boolean("ResetPageNumbers", &B::ResetPageNumbers, &B::SetResetPageNumbers)
                                        .Default(0);
                                    p.Boolean("ShowFooterIfDrillDown", &B::ShowFooterIfDrillDown,
                                              &B::SetShowFooterIfDrillDown)
                                        .Default(0);
                                    p.Boolean("ShowChildIfDrillDown", &B::ShowChildIfDrillDown,
                                              &B::SetShowChildIfDrillDown)
                                        .Default(0);
                                    PublishAll(p, {"StartNewPage", "Stretched"});
                                    p.String("DrillName", &B::DrillName, &B::SetDrillName);
                                  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxGroupHeader);

std::string TfrxGroupHeader::WriteDifferences(const TfrxComponent* reference) const {
  std::string out = TfrxBand::WriteDifferences(reference);
  if (drillDown_) out += " DrillName=\"" + drillName_ + "\"";
  return out;
}
