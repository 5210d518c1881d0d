#include "EngineTestRun.h"

#include <cmath>
#include <sstream>

double TfrxTestLines::SplitPart() {
  const int fit = std::min(remaining_, static_cast<int>(std::floor(Height() / kLine)));
  partLines_ = fit;
  remaining_ -= fit;
  return fit == 0 ? Height() : Height() - fit * kLine;
}

const TfrxClassInfo& TfrxTestLines::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxTestLines", &TfrxStretcheable::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestLines(owner); }, [](TfrxClassInfo& c) {
        using L = TfrxTestLines;
        TfrxPublish<L> p(c);
        p.Publish("Left").Publish("Top").Publish("Width").Publish("Height").Publish("Visible");
        p.Publish("StretchMode").Publish("ShiftMode");
        p.Integer("Lines", &L::Lines, &L::SetLines);
        p.Integer("PartLines", &L::PartLines, &L::SetPartLines);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxTestLines);

const TfrxClassInfo& TfrxTestValue::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxTestValue", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxTestValue(owner); }, [](TfrxClassInfo& c) {
        using V = TfrxTestValue;
        TfrxPublish<V> p(c);
        p.Publish("Left").Publish("Top").Publish("Width").Publish("Height").Publish("Visible");
        p.String("Expression", &V::Expression, &V::SetExpression);
        p.String("Shown", &V::Shown, &V::SetShown);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxTestValue);

void TfrxTestValue::BeforePrint() {
  TfrxView::BeforePrint();
  savedShown_ = shown_;
}

void TfrxTestValue::FetchData() {
  TfrxView::FetchData();
  if (TfrxComponent* report = OwningReport()) shown_ = report->ExpressionText(expression_);
}

void TfrxTestValue::AfterPrint() {
  TfrxView::AfterPrint();
  shown_ = savedShown_;
}

TTestTable::TTestTable(const std::string& alias, std::vector<std::string> fields) : TfrxUserDataSet(nullptr) {
  SetUserName(alias);
  Fields() = std::move(fields);
  SetRangeEnd(reCount);
  OnGetValue = [this](const std::string& field, Variant& value) {
    const int index = FieldIndex(field);
    if (index >= 0 && RecNo() >= 0 && static_cast<size_t>(RecNo()) < visible_.size())
      value = rows_[visible_[static_cast<size_t>(RecNo())]][static_cast<size_t>(index)];
  };
}

int TTestTable::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < Fields().size(); ++i)
    if (Fields()[i] == name) return static_cast<int>(i);
  return -1;
}

void TTestTable::First() {
  visible_.clear();
  const int key = master_ ? FieldIndex(keyField_) : -1;
  const Variant masterKey = master_ ? master_->Value(keyField_) : Variant();
  for (size_t i = 0; i < rows_.size(); ++i)
    if (!master_ || rows_[i][static_cast<size_t>(key)].identical(masterKey)) visible_.push_back(i);
  SetRangeEndCount(static_cast<int32_t>(visible_.size()));
  TfrxUserDataSet::First();
}

TemplateRun::TemplateRun() {
  auto pages = std::make_unique<TfrxPreviewPages>(report);
  store = pages.get();
  auto e = std::make_unique<TfrxEngine>(report, *store);
  engine = e.get();
  report.SetPreviewPages(std::move(pages), std::move(e));
  report.EngineOptions().NewSilentMode = simSilent;
  // The tests hold the template objects they built: no reload from a copy after the run.
  report.EngineOptions().KeepTemplateCopy = false;
  page = AddPage("Strona1");
  report.OnManualBuild = [this](TfrxComponent& built) {
    if (build) {
      build(static_cast<TfrxReportPage&>(built));
      return;
    }
    if (&built == page)
      for (int i = 0; i < rows; ++i) engine->ShowBand(row);
  };
}

TfrxReportPage* TemplateRun::AddPage(const std::string& name) {
  auto* p = new TfrxReportPage(&report);
  p->SetName(name);
  p->SetPaper(256, 100, 100);
  p->SetLeftMargin(0);
  p->SetRightMargin(0);
  p->SetTopMargin(0);
  p->SetBottomMargin(0);
  return p;
}

TfrxMasterData* TemplateRun::AddTallBand() {
  auto* tall = AddBand<TfrxMasterData>("Wysoki", 500);
  auto* text = new TfrxTestLines(tall);
  text->SetName("Tekst");
  text->SetBounds(0, 0, 100, 500);
  text->SetLines(50);
  return tall;
}

TfrxTestValue* TemplateRun::Show(TfrxBand& band, const std::string& expression) {
  auto* value = new TfrxTestValue(&band);
  value->SetName(band.Name() + "Wartosc" + std::to_string(band.Objects().size()));
  value->SetBounds(0, 0, 100, 10);
  value->SetExpression(expression);
  return value;
}

std::vector<std::string> TemplateRun::Layout() {
  std::vector<std::string> pages;
  for (int i = 0; i < store->Count(); ++i) {
    std::ostringstream out;
    TfrxComponent* built = store->BuildPage(i);
    for (TfrxComponent* c : built->Objects()) {
      if (c != built->Objects().front()) out << " ";
      out << c->Name() << "@";
      if (std::lround(c->Left()) != 0) out << std::lround(c->Left()) << ",";
      out << std::lround(c->Top());
    }
    pages.push_back(out.str());
  }
  return pages;
}

std::vector<std::string> TemplateRun::Rows() {
  std::vector<std::string> bands;
  for (int i = 0; i < store->Count(); ++i) {
    TfrxComponent* built = store->BuildPage(i);
    for (TfrxComponent* band : built->Objects()) {
      std::string text = band->Name();
      std::string values;
      for (TfrxComponent* c : band->Objects())
        if (auto* value = dynamic_cast<TfrxTestValue*>(c)) values += (values.empty() ? "" : " ") + value->Shown();
      if (!values.empty()) text += "[" + values + "]";
      bands.push_back(text);
    }
  }
  return bands;
}
