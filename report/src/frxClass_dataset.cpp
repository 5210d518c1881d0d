#include <algorithm>
#include <mutex>

#include "platform/CodePage.h"
#include "report/frxClassDataSet.h"
#include "report/frxRes.h"

// ---------------------------------------------------------------------------------------
// TfrxDialogComponent

TfrxDialogComponent::TfrxDialogComponent(TfrxComponent* owner) : TfrxReportComponent(owner) {
  SetStyleFlags(StyleFlags() & ~csoCopiedToOutput);
}

const TfrxClassInfo& TfrxDialogComponent::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxDialogComponent", &TfrxReportComponent::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    // The designer keeps the icon's place on the page.
                                    TfrxPublish<TfrxDialogComponent> p(c);
                                    p.Publish("Left");
                                    p.Publish("Top");
                                  });
  return info;
}

// ---------------------------------------------------------------------------------------
// The application-wide dataset list

namespace {

struct DataSetRegistry {
  std::mutex lock;
  std::vector<TfrxDataSet*> list;
};

DataSetRegistry& Registry() {
  static DataSetRegistry registry;
  return registry;
}

// The report a dataset belongs to: the report above it in the tree, or its owner when
// that is a report.
const TfrxComponent* ReportOf(const TfrxDataSet& dataSet) {
  if (const TfrxComponent* report = dataSet.OwningReport()) return report;
  auto* owner = dynamic_cast<const TfrxComponent*>(dataSet.Owner());
  return owner && owner->IsReportObject() ? owner : nullptr;
}

}  // namespace

std::vector<TfrxDataSet*> frxGlobalDataSets() {
  DataSetRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  return r.list;
}

TfrxDataSet* frxFindGlobalDataSet(std::string_view alias, const TfrxComponent* report) {
  if (alias.empty()) return nullptr;
  DataSetRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  for (TfrxDataSet* dataSet : r.list) {
    if (!frxSameText(dataSet->UserName(), alias)) continue;
    const TfrxComponent* owner = ReportOf(*dataSet);
    if (owner && owner != report) continue;
    return dataSet;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// Text helpers

std::vector<std::string> frxSplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string frxJoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string frxDataSetValueText(const Variant& value) {
  if (value.isText()) return value.toString8();
  switch (value.kind()) {
    case VarKind::Empty:
    case VarKind::Null: return {};
    case VarKind::Boolean: return value.toBool() ? "True" : "False";
    default: break;
  }
  if (value.isOrdinal()) return std::to_string(value.toInt64());
  if (value.isFloat()) return frxFloatToStr(value.toDouble());
  return {};
}

// ---------------------------------------------------------------------------------------
// TfrxDataSet

const TfrxEnumType& frxRangeBeginType() {
  static const TfrxEnumType type{"TfrxRangeBegin", {"rbFirst", "rbCurrent"}};
  return type;
}

const TfrxEnumType& frxRangeEndType() {
  static const TfrxEnumType type{"TfrxRangeEnd", {"reLast", "reCurrent", "reCount"}};
  return type;
}

TfrxDataSet::TfrxDataSet(TfrxComponent* owner) : TfrxDialogComponent(owner) {
  DataSetRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  r.list.push_back(this);
}

TfrxDataSet::~TfrxDataSet() {
  DataSetRegistry& r = Registry();
  std::lock_guard guard(r.lock);
  r.list.erase(std::remove(r.list.begin(), r.list.end(), this), r.list.end());
}

const TfrxClassInfo& TfrxDataSet::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxDataSet", &TfrxDialogComponent::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using D = TfrxDataSet;
                                    TfrxPublish<D> p(c);
                                    p.Boolean("Enabled", &D::Enabled, &D::SetEnabled).Default(1);
                                    p.Enum("RangeBegin", frxRangeBeginType(), &D::RangeBegin, &D::SetRangeBegin)
                                        .Default(rbFirst);
                                    p.Enum("RangeEnd", frxRangeEndType(), &D::RangeEnd, &D::SetRangeEnd)
                                        .Default(reLast);
                                    p.Integer("RangeEndCount", &D::RangeEndCount, &D::SetRangeEndCount).Default(0);
                                    p.String("UserName", &D::UserName, &D::SetUserName);
                                  });
  return info;
}

void TfrxDataSet::SetName(const std::string& name) {
  TfrxDialogComponent::SetName(name);
  if (userName_.empty()) userName_ = Name();
}

std::u16string TfrxDataSet::DisplayText(const std::string&) { return {}; }
int TfrxDataSet::DisplayWidth(const std::string&) { return 10; }
TfrxFieldType TfrxDataSet::FieldType(const std::string&) { return fftNumeric; }
Variant TfrxDataSet::Value(const std::string&) { return Variant::Null(); }

void TfrxDataSet::SetUserName(const std::string& name) {
  bool blank = std::all_of(name.begin(), name.end(), [](char ch) { return static_cast<unsigned char>(ch) <= ' '; });
  if (blank) throw EfrxDataSetError(frxResources().Get("prInvProp"));
  userName_ = name;
}

void TfrxDataSet::Open() {
  if (OnOpen) OnOpen(*this);
}

void TfrxDataSet::Close() {
  if (OnClose) OnClose(*this);
}

void TfrxDataSet::First() {
  recNo_ = 0;
  eof_ = false;
  if (OnFirst) OnFirst(*this);
}

void TfrxDataSet::Next() {
  eof_ = false;
  ++recNo_;
  if (rangeEnd_ == reCount && recNo_ >= rangeEndCount_) {
    recNo_ = rangeEndCount_ - 1;
    eof_ = true;
  } else if (OnNext) {
    OnNext(*this);
  }
}

void TfrxDataSet::Prior() {
  --recNo_;
  if (OnPrior) OnPrior(*this);
}

bool TfrxDataSet::Eof() {
  bool result = rangeEnd_ == reCount && (recNo_ >= rangeEndCount_ || eof_);
  if (OnCheckEOF) OnCheckEOF(*this, result);
  return result;
}

int TfrxDataSet::RecordCount() { return rangeBegin_ == rbFirst && rangeEnd_ == reCount ? rangeEndCount_ : 0; }

void TfrxDataSet::GetFieldList(std::vector<std::string>& list) { list.clear(); }

bool TfrxDataSet::HasField(std::string_view fieldName) {
  std::vector<std::string> list;
  GetFieldList(list);
  return std::any_of(list.begin(), list.end(), [&](const std::string& name) { return frxSameText(name, fieldName); });
}

void TfrxDataSet::ReportError(const std::string& message) const {
  if (report_) report_->AddError(message);
}

std::string TfrxDataSet::CurrentObjectName() const { return report_ ? report_->CurrentObjectName() : std::string(); }

// ---------------------------------------------------------------------------------------
// TfrxUserDataSet

const TfrxClassInfo& TfrxUserDataSet::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxUserDataSet", &TfrxDataSet::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxUserDataSet(owner); }, [](TfrxClassInfo& c) {
        using D = TfrxUserDataSet;
        TfrxPublish<D> p(c);
        p.Strings("Fields", &D::FieldsText, &D::SetFieldsText);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxUserDataSet);

std::string TfrxUserDataSet::FieldsText() const { return frxJoinLines(fields_); }
void TfrxUserDataSet::SetFieldsText(const std::string& text) { fields_ = frxSplitLines(text); }

Variant TfrxUserDataSet::Value(const std::string& fieldName) {
  Variant value = Variant::Null();
  if (OnGetValue) OnGetValue(fieldName, value);
  if (OnNewGetValue) OnNewGetValue(*this, fieldName, value);
  return value;
}

std::u16string TfrxUserDataSet::DisplayText(const std::string& fieldName) {
  return codepage::ToWide(frxDataSetValueText(Value(fieldName)));
}
