// TfrxReport: members, published properties, Clear, value lookup, Calc and the answers
// behind the script's registered functions.
#include <algorithm>

#include "platform/Format.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"
#include "text/frxGraphicUtils.h"

namespace {

// The default IniFile: the registry path of the library's settings.
constexpr const char* kDefaultIniFile = "\\Software\\Tavrel";

const std::vector<std::string>& DefaultScript() {
  static const std::vector<std::string> lines{"begin", "", "end."};
  return lines;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

// A null field value by the field's type: 0, empty text or false.
Variant ConvertNull(TfrxFieldType type) {
  switch (type) {
    case fftString:
      return Variant(std::string());
    case fftBoolean:
      return Variant(false);
    case fftNumeric:
      break;
  }
  return Variant(int32_t{0});
}

bool IsDivisionByZero(const std::string& error) {
  return error.find("Division by zero") != std::string::npos || error.find("division by zero") != std::string::npos;
}

bool IsAggregateCall(const std::string& name) {
  size_t open = name.find('(');
  if (open == std::string::npos) return false;
  std::string function = Upper(Trim(std::string_view(name).substr(0, open)));
  return function == "SUM" || function == "MIN" || function == "MAX" || function == "AVG" || function == "COUNT";
}

}  // namespace

TFRX_REGISTER_CLASS(TfrxReport);

const TfrxClassInfo& TfrxReport::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxReport", &TfrxComponent::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
    using R = TfrxReport;
    TfrxPublish<R> p(c);
    p.String("Version", &R::Version, &R::SetVersion);
    p.String("ParentReport", &R::ParentReport, &R::SetParentReport);
    p.Reference("DataSet", "TfrxDataSet", &R::DataSetRef, &R::SetDataSetRef);
    p.String("DataSetName", &R::DataSetName, &R::SetDataSetName);
    p.Boolean("DotMatrixReport", &R::DotMatrixReport, &R::SetDotMatrixReport).Default(0);
    p.Object("EngineOptions", "TfrxEngineOptions", &R::EngineOptionsPtr);
    p.String("IniFile", &R::IniFile, &R::SetIniFile);
    p.Boolean("OldStyleProgress", &R::OldStyleProgress, &R::SetOldStyleProgress).Default(0);
    p.Object("PreviewOptions", "TfrxPreviewOptions", &R::PreviewOptionsPtr);
    p.Object("PrintOptions", "TfrxPrintOptions", &R::PrintOptionsPtr);
    p.Object("ReportOptions", "TfrxReportOptions", &R::ReportOptionsPtr);
    p.String("ScriptLanguage", &R::ScriptLanguage, &R::SetScriptLanguage);
    p.Strings("ScriptText", &R::ScriptTextText, &R::SetScriptTextText);
    p.Boolean("ShowProgress", &R::ShowProgress, &R::SetShowProgress).Default(1);
    p.Boolean("StoreInDFM", &R::StoreInDFM, &R::SetStoreInDFM).Default(1);
    p.String("OnStartReport", &R::OnStartReportName, &R::SetOnStartReportName);
    p.String("OnStopReport", &R::OnStopReportName, &R::SetOnStopReportName);
    p.String("OnReportPrint", &R::OnReportPrintName, &R::SetOnReportPrintName);
  });
  return info;
}

TfrxReport::TfrxReport()
    : TfrxComponent(nullptr),
      dataSets_(*this),
      iniFile_(kDefaultIniFile),
      styles_(this),
      drawText_(std::make_unique<TfrxDrawText>()) {
  const TfrxReportCollaborators& with = frxReportCollaborators();
  if (with.Script) script_ = with.Script(*this);
  if (with.Pages) pages_ = with.Pages(*this);
  if (with.Engine) engine_ = with.Engine(*this, pages_.get());
  if (pages_) pages_->SetEngine(engine_.get());
  Clear();
}

TfrxReport::~TfrxReport() {
  // The datasets outlive us: take our pointer back from each.
  dataSets_.Clear();
  // Pages and children go before the collaborators that may refer to them.
  TfrxComponent::Clear();
  engine_.reset();
  pages_.reset();
  script_.reset();
}

void TfrxReport::SetPreviewPages(std::unique_ptr<TfrxReportPages> pages, std::unique_ptr<TfrxReportEngine> engine) {
  engine_ = std::move(engine);
  pages_ = std::move(pages);
  if (pages_) pages_->SetEngine(engine_.get());
}

void TfrxReport::FillSystemVariables() {
  systemVariables_ = {"Date", "Time", "Page", "Page#", "TotalPages", "TotalPages#", "Line", "Line#", "CopyName#"};
}

void TfrxReport::Clear() {
  TfrxComponent::Clear();
  dataSets_.Clear();
  variables_.Clear();
  engineOptions_.Clear();
  previewOptions_.Clear();
  printOptions_.Clear();
  reportOptions_.Clear();
  styles_.Clear();
  SetDataSet(nullptr);
  dataSetName_.clear();
  dotMatrixReport_ = false;
  parentReport_.clear();
  scriptLanguage_ = "PascalScript";
  scriptText_ = DefaultScript();
  FillSystemVariables();
  OnRunDialogs.clear();
  OnStartReport.clear();
  OnStopReport.clear();
  designLeft_.reset();
  designTop_.reset();
}

// ---------------------------------------------------------------------------------------
// Properties

std::string TfrxReport::ScriptTextText() const { return frxJoinLines(scriptText_); }

void TfrxReport::SetScriptTextText(const std::string& text) { scriptText_ = frxSplitLines(text); }

TfrxComponent* TfrxReport::DataSetRef() const { return dataSet_; }

void TfrxReport::SetDataSetRef(TfrxComponent* c) { SetDataSet(dynamic_cast<TfrxDataSet*>(c)); }

void TfrxReport::SetDataSet(TfrxDataSet* dataSet) {
  dataSet_ = dataSet;
  if (dataSet) {
    dataSetName_ = dataSet->UserName();
    FreeNotification(dataSet);
  }
}

std::string TfrxReport::DataSetName() const { return dataSet_ ? dataSet_->UserName() : dataSetName_; }

void TfrxReport::SetDataSetName(const std::string& name) {
  dataSetName_ = name;
  dataSet_ = dynamic_cast<TfrxDataSet*>(FindDataSetByName(name));
  if (dataSet_) FreeNotification(dataSet_);
}

TfrxComponent* TfrxReport::FindDataSetByName(const std::string& name) const {
  if (name.empty()) return nullptr;
  if (engineOptions_.UseGlobalDataSetList) return frxFindGlobalDataSet(name, this);
  for (TfrxDataSet* d : enabledDataSets_)
    if (frxSameText(d->UserName(), name)) return d;
  return nullptr;
}

void TfrxReport::Notification(TComponent* component, TOperation operation) {
  TfrxComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == dataSet_) dataSet_ = nullptr;
  dataSets_.Forget(component);
  std::erase(enabledDataSets_, component);
}

void TfrxReport::SetTerminated(bool v) {
  terminated_ = v;
  if (v && script_) script_->Terminate();
}

// ---------------------------------------------------------------------------------------
// Errors

void TfrxReport::ShowErrors(const std::string& text) {
  switch (engineOptions_.NewSilentMode) {
    case simMessageBoxes:
      frxShowErrorBox(text, frxResources().Get("mbError"));
      break;
    case simSilent:
      break;
    case simReThrow:
      throw EfrxReportError(text);
  }
}

std::string TfrxReport::ErrorsReport() const {
  std::string text = frxResources().Get("clErrors") + "\r\n";
  for (int i = 0; i < errors_.Count(); ++i) {
    if (i) text += "\r\n";
    text += errors_[i];
  }
  return text;
}

// ---------------------------------------------------------------------------------------
// Progress

namespace {

void ProcessPendingMessages() {
  if (const auto& process = frxReportCollaborators().ProcessMessages) process();
}

}  // namespace

void TfrxReport::ProgressStart(TfrxProgressType type) {
  progressType_ = type;
  if (OnProgressStart) OnProgressStart(*this, type, 0);
  const bool window = showProgress_ && (type != TfrxProgressType::Running || oldStyleProgress_);
  if (window && frxReportCollaborators().ProgressWindow) progressWindow_ = frxReportCollaborators().ProgressWindow(*this);
  ProcessPendingMessages();
}

void TfrxReport::ProgressStep(int progress) {
  if (OnProgress) OnProgress(*this, progressType_, progress);
  if (progressWindow_) progressWindow_->ShowCaption(ProgressCaption(progress));
  ProcessPendingMessages();
}

std::string TfrxReport::ProgressCaption(int progress) const {
  const char* key = "prRunning";
  if (progressType_ == TfrxProgressType::Exporting)
    key = "prExporting";
  else if (progressType_ == TfrxProgressType::Printing)
    key = "prPrinting";
  else if (engineOptions_.DoublePass && engine_ && !engine_->FinalPass())
    key = "prRunningFirst";
  const Variant number(progress);
  return Format(frxResources().Get(key), std::span<const Variant>(&number, 1));
}

void TfrxReport::ProgressStop() {
  if (OnProgressStop) OnProgressStop(*this, progressType_, 0);
  progressWindow_.reset();
  ProcessPendingMessages();
}

// ---------------------------------------------------------------------------------------
// Values

TfrxDataSet* TfrxReport::GetDataset(std::string_view alias) const { return dataSets_.FindByAlias(alias); }

bool TfrxReport::SystemVariableValue(const std::string& name, Variant& value) const {
  auto known = [&](const char* n) { return frxSameText(name, n); };
  if (std::none_of(systemVariables_.begin(), systemVariables_.end(),
                   [&](const std::string& s) { return frxSameText(s, name); }))
    return false;
  if (known("CopyName#")) {
    value = frxGlobalVariables().Get("CopyName0");
    return true;
  }
  // The other system variables are the engine's and the prepared pages' counters; before
  // either exists they read as null.
  value = Variant::Null();
  if (engine_) {
    if (known("Date")) value = Variant::Date(engine_->StartDate());
    if (known("Time")) value = Variant::Date(engine_->StartTime());
    if (known("TotalPages#")) value = Variant(int32_t{engine_->TotalPages()});
    if (known("Line")) value = Variant(int32_t{engine_->RowNo()});
    if (known("Line#")) value = Variant(int32_t{engine_->RowNoThrough()});
  }
  if (pages_) {
    if (known("Page")) value = Variant(int32_t{pages_->LogicalPageNo()});
    if (known("Page#")) value = Variant(int32_t{pages_->CurrentPage() + 1});
    if (known("TotalPages")) value = Variant(int32_t{pages_->LogicalTotalPages()});
  }
  return true;
}

bool TfrxReport::GetDataSetAndField(std::string_view name, TfrxDataSet*& dataSet, std::string& field) const {
  // alias."field"
  const size_t dot = name.find(".\"");
  if (dot == std::string_view::npos || name.size() < dot + 3 || name.back() != '"') return false;
  field = std::string(name.substr(dot + 2, name.size() - dot - 3));
  dataSet = GetDataset(name.substr(0, dot));
  return dataSet && !field.empty();
}

Variant TfrxReport::LookupValue(const std::string& name, bool& found) {
  found = true;
  TfrxDataSet* ds = nullptr;
  std::string field;
  if (GetDataSetAndField(name, ds, field)) {
    Variant v = ds->Value(field);
    if (v.isNull() && engineOptions_.ConvertNulls) v = ConvertNull(ds->FieldType(field));
    return v;
  }
  Variant value = Variant::Null();
  if (SystemVariableValue(name, value)) return value;

  if (OnGetValue) OnGetValue(name, value);
  if (value.isNull() && OnNewGetValue) OnNewGetValue(*this, name, value);
  if (!value.isNull()) return value;

  if (int i = variables_.IndexOf(name); i >= 0) {
    const Variant& v = variables_.Items(i).Value();
    if (v.isText()) {
      std::string text = v.toString8();
      if (text.find("\r\n") == std::string::npos) return Calc(text);
    }
    return v;
  }
  if (int i = frxGlobalVariables().IndexOf(name); i >= 0) return frxGlobalVariables().Items(i).Value();
  if (script_ && script_->FindVariable(name, value)) return value;
  found = false;
  return Variant::Null();
}

Variant TfrxReport::Calc(const std::string& expression, bool fromScript) {
  bool found = false;
  Variant value = LookupValue(expression, found);
  if (found) return value;

  std::string error;
  if (!script_) {
    error = "Expression '" + expression + "' cannot be evaluated: no script engine is connected";
  } else if (script_->Evaluate(expression, value, error)) {
    return value;
  }
  // The division-by-zero texts of the expression evaluator: "Division by zero" of
  // integers and "Floating point division by zero" of reals.
  if (engineOptions_.IgnoreDevByZero && IsDivisionByZero(error)) return value;
  std::string message;
  if (fromScript) {
    message = "Error in Calc expression: " + error;
  } else {
    message = currentObjectName_.empty() ? error : currentObjectName_ + ": " + error;
    errors_.Add(message);
  }
  throw EfrxReportError(message);
}

std::string TfrxReport::ExpressionText(const std::string& expression) {
  // Written as memo texts write values: numbers and dates with the locale record.
  std::string text;
  TryVarToStr(Calc(expression), text);
  return text;
}

Variant TfrxReport::ScriptGet(const std::string& name) {
  bool found = false;
  Variant value = LookupValue(name, found);
  if (found) return value;
  if (IsAggregateCall(name)) return Calc(name);
  errors_.Add(frxResources().Get("clUnknownVar") + " " + name);
  return Variant::Null();
}

void TfrxReport::ScriptSet(const std::string& name, const Variant& value) { variables_.Set(name, value); }

Variant TfrxReport::ScriptIIF(const std::string& expr, const std::string& trueValue, const std::string& falseValue) {
  try {
    Variant condition = Calc(expr);
    bool isTrue = condition.kind() == VarKind::Boolean ? condition.toBool()
                                                        : (condition.isOrdinal() && condition.toInt64() != 0);
    return Calc(isTrue ? trueValue : falseValue);
  } catch (const std::exception&) {
    return Variant::Null();
  }
}

Variant TfrxReport::ScriptAggregate(const std::string& function, const std::string& expression,
                                    const std::string& band, const std::string& flags) {
  Variant bandValue = Trim(band).empty() ? Variant(int32_t{0}) : Calc(band);
  Variant flagsValue = Trim(flags).empty() ? Variant(int32_t{0}) : Calc(flags);
  if (!engine_) throw EfrxReportError(function + ": no report engine is connected");
  int flagBits = flagsValue.isOrdinal() ? flagsValue.toInt32() : 0;
  return engine_->FetchAggregateValue(Upper(function), expression, flagBits, bandValue);
}

// ---------------------------------------------------------------------------------------
// Events

void TfrxReport::RunScriptEvent(TfrxComponent* object, const std::string& eventName, bool force) {
  if (eventName.empty() || !script_) return;
  if (!force && !(engine_ && engine_->Running())) return;
  script_->CallProcedure(eventName, object);
}

void TfrxReport::FireBeforePrint(TfrxReportComponent& object) {
  if (OnBeforePrint) OnBeforePrint(object);
  RunScriptEvent(&object, object.OnBeforePrint());
}

void TfrxReport::FireAfterPrint(TfrxReportComponent& object) {
  if (OnAfterPrint) OnAfterPrint(object);
  RunScriptEvent(&object, object.OnAfterPrint());
}

void TfrxReport::SetScriptValue(const Variant& value) {
  if (script_) script_->SetValueVariable(value);
}

void TfrxReport::SetScriptSelf(TfrxComponent* view) {
  if (script_) script_->SetSelfVariable(view);
}
