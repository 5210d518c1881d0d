#include "tables/frxDBSet.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxRes.h"

namespace {

char UpperAscii(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch; }

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return UpperAscii(x) < UpperAscii(y); });
}

// One line of FieldAliases: "table field=alias"; a line without "=" shows the field
// under its own name.
struct AliasLine {
  std::string name;
  std::string alias;
  bool hidden() const { return !name.empty() && name[0] == '-'; }
};

AliasLine ParseAliasLine(const std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return {line, line};
  return {line.substr(0, eq), line.substr(eq + 1)};
}

std::u16string Wide(const std::string& text) { return codepage::ToWide(text); }

std::string Quoted(const std::string& alias, const std::string& fieldName) {
  return alias + ".\"" + fieldName + "\"";
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TfrxCustomDBDataSet

const TfrxClassInfo& TfrxCustomDBDataSet::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxCustomDBDataSet", &TfrxDataSet::StaticClassInfo(), nullptr,
                                  [](TfrxClassInfo& c) {
                                    using D = TfrxCustomDBDataSet;
                                    TfrxPublish<D> p(c);
                                    p.Boolean("CloseDataSource", &D::CloseDataSource, &D::SetCloseDataSource)
                                        .Default(0);
                                    p.Strings("FieldAliases", &D::FieldAliasesText, &D::SetFieldAliasesText);
                                    p.Boolean("OpenDataSource", &D::OpenDataSource, &D::SetOpenDataSource)
                                        .Default(1);
                                  });
  return info;
}

std::string TfrxCustomDBDataSet::TableFieldName(const std::string& fieldName) const {
  for (const std::string& text : fieldAliases_) {
    AliasLine line = ParseAliasLine(text);
    if (!line.hidden() && frxSameText(line.alias, fieldName)) return line.name;
  }
  return fieldName;
}

std::vector<std::string> TfrxCustomDBDataSet::VisibleAliases() const {
  std::vector<std::string> aliases;
  for (const std::string& text : fieldAliases_) {
    AliasLine line = ParseAliasLine(text);
    // A blank alias could never be named by a template.
    if (!line.hidden() && !line.alias.empty()) aliases.push_back(line.alias);
  }
  return aliases;
}

int TfrxCustomDBDataSet::FieldsCount() {
  std::vector<std::string> list;
  GetFieldList(list);
  return static_cast<int>(list.size());
}

// ---------------------------------------------------------------------------------------
// TfrxDBDataset: the table and its notification handlers

// The handler the dataset puts in front of the table's own AfterOpen or BeforeClose.
// It is a named type so that a dataset can find its own hook in a chain of hooks when
// several datasets over one table end their use in any order.
struct TfrxDBDataset::Hook {
  TfrxDBDataset* owner;
  TDataSetNotifyEvent TfrxDBDataset::*own;  // where the owner keeps the table's handler

  void operator()(TRxMemoryData& table) const {
    TfrxDBDataset* dataSet = owner;  // this hook may be replaced by the handler below
    TDataSetNotifyEvent handler = dataSet->*own;
    if (handler) handler(table);
    dataSet->opened_ = false;
    dataSet->ForgetFieldMap();
  }
};

namespace {

// Takes `owner`'s hook out of the chain that starts at `slot`, putting back what the
// hook had saved. False when the hook is not in the chain.
template <class HookT, class Owner>
bool Splice(TDataSetNotifyEvent& slot, Owner* owner, TDataSetNotifyEvent Owner::*own) {
  TDataSetNotifyEvent* current = &slot;
  while (const HookT* hook = current->template target<HookT>()) {
    if (hook->owner == owner && hook->own == own) {
      TDataSetNotifyEvent saved = std::move(owner->*own);
      *current = std::move(saved);
      return true;
    }
    current = &(hook->owner->*(hook->own));
  }
  return false;
}

}  // namespace

void TfrxDBDataset::HookTable(TRxMemoryData& table) {
  UnhookTable();
  ownAfterOpen_ = table.AfterOpen;
  ownBeforeClose_ = table.BeforeClose;
  table.AfterOpen = Hook{this, &TfrxDBDataset::ownAfterOpen_};
  table.BeforeClose = Hook{this, &TfrxDBDataset::ownBeforeClose_};
  hooked_ = &table;
}

void TfrxDBDataset::UnhookTable() {
  if (!hooked_) return;
  Splice<Hook>(hooked_->AfterOpen, this, &TfrxDBDataset::ownAfterOpen_);
  Splice<Hook>(hooked_->BeforeClose, this, &TfrxDBDataset::ownBeforeClose_);
  ownAfterOpen_ = nullptr;
  ownBeforeClose_ = nullptr;
  hooked_ = nullptr;
}

TfrxDBDataset::~TfrxDBDataset() { UnhookTable(); }

const TfrxClassInfo& TfrxDBDataset::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxDBDataset", &TfrxCustomDBDataSet::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxDBDataset(owner); }, [](TfrxClassInfo& c) {
        using D = TfrxDBDataset;
        TfrxPublish<D> p(c);
        p.Boolean("BCDToCurrency", &D::BCDToCurrency, &D::SetBCDToCurrency).Default(0);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxDBDataset);

void TfrxDBDataset::SetDataSet(TRxMemoryData* table) {
  TRxMemoryData* before = GetDataSet();
  dataSet_ = table;
  dataSource_ = nullptr;
  if (GetDataSet() != before) ForgetTable();
}

void TfrxDBDataset::SetDataSource(TDataSource* source) {
  TRxMemoryData* before = GetDataSet();
  dataSource_ = source;
  dataSet_ = nullptr;
  if (GetDataSet() != before) ForgetTable();
}

// Another table: nothing learnt of the old one holds any more.
void TfrxDBDataset::ForgetTable() {
  UnhookTable();
  opened_ = false;
  ForgetFieldMap();
  bookmark_.reset();
}

TRxMemoryData* TfrxDBDataset::GetDataSet() const {
  if (dataSet_) return dataSet_;
  return dataSource_ ? dataSource_->DataSet() : nullptr;
}

// ---------------------------------------------------------------------------------------
// TfrxDBDataset: the field map

void TfrxDBDataset::GetFieldList(std::vector<std::string>& list) {
  list.clear();
  if (!FieldAliases().empty()) {
    list = VisibleAliases();
    return;
  }
  TRxMemoryData* table = GetDataSet();
  if (!table) return;
  if (table->Active()) {
    list = table->FieldNames();
  } else {
    for (const TFieldDef& def : table->FieldDefs()) list.push_back(def.Name);
  }
}

void TfrxDBDataset::BuildFieldMap(TRxMemoryData& table) {
  fieldMap_.clear();
  if (!table.Active()) return;
  std::vector<std::string> names;
  GetFieldList(names);
  for (const std::string& name : names) {
    std::string tableField = TableFieldName(name);
    if (TField* field = table.FindField(tableField)) fieldMap_.push_back({name, tableField, field->Index()});
  }
  // Sorted without regard to case, the first of equal names kept.
  std::stable_sort(fieldMap_.begin(), fieldMap_.end(),
                   [](const MappedField& a, const MappedField& b) { return LessNoCase(a.name, b.name); });
  fieldMap_.erase(std::unique(fieldMap_.begin(), fieldMap_.end(),
                              [](const MappedField& a, const MappedField& b) { return frxSameText(a.name, b.name); }),
                  fieldMap_.end());
}

void TfrxDBDataset::ForgetFieldMap() { fieldMap_.clear(); }

TField* TfrxDBDataset::FindMapped(const std::string& fieldName) {
  TRxMemoryData* table = GetDataSet();
  if (!table || !table->Active()) return nullptr;
  auto lookup = [&]() -> const MappedField* {
    auto it = std::lower_bound(fieldMap_.begin(), fieldMap_.end(), fieldName,
                               [](const MappedField& m, const std::string& name) { return LessNoCase(m.name, name); });
    return it != fieldMap_.end() && frxSameText(it->name, fieldName) ? &*it : nullptr;
  };
  auto fieldOf = [&](const MappedField& m) -> TField* {
    if (m.index >= table->FieldCount()) return nullptr;
    TField& field = table->Fields(m.index);
    return frxSameText(field.FieldName(), m.tableField) ? &field : nullptr;
  };
  // A table opened behind the dataset's back (outside a use) has its fields now.
  if (fieldMap_.empty()) BuildFieldMap(*table);
  const MappedField* mapped = lookup();
  if (!mapped) return nullptr;
  if (TField* field = fieldOf(*mapped)) return field;
  // The table was rebuilt with other definitions behind the dataset's back.
  BuildFieldMap(*table);
  mapped = lookup();
  return mapped ? fieldOf(*mapped) : nullptr;
}

std::string TfrxDBDataset::NotFoundMessage(const std::string& fieldName) const {
  return CurrentObjectName() + ": " + frxResources().Get("dbFldNotFound") + " " + Quoted(UserName(), fieldName);
}

TField* TfrxDBDataset::FieldOrReport(const std::string& fieldName) {
  TField* field = FindMapped(fieldName);
  if (!field) ReportError(NotFoundMessage(fieldName));
  return field;
}

const TFieldDef* TfrxDBDataset::FindFieldDef(const std::string& fieldName) const {
  TRxMemoryData* table = GetDataSet();
  if (!table) return nullptr;
  std::string tableField = TableFieldName(fieldName);
  for (const TFieldDef& def : table->FieldDefs())
    if (frxSameText(def.Name, tableField)) return &def;
  return nullptr;
}

// ---------------------------------------------------------------------------------------
// TfrxDBDataset: use, open, navigation

void TfrxDBDataset::BeginUse() {
  TRxMemoryData* table = GetDataSet();
  if (!table) {
    std::string text = frxResources().Get("dbNotConn");
    if (size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, Name());
    throw EfrxDataSetError(text);
  }
  HookTable(*table);
  opened_ = false;
  ForgetFieldMap();
}

void TfrxDBDataset::EndUse() {
  TRxMemoryData* table = GetDataSet();
  if (bookmark_) {
    if (table && table->Active() && table->BookmarkValid(*bookmark_)) table->GotoBookmark(*bookmark_);
    bookmark_.reset();
  }
  if (CloseDataSource()) Close();
  UnhookTable();
  opened_ = false;
  ForgetFieldMap();
}

void TfrxDBDataset::EnsureOpen() {
  if (!opened_) Open();
}

void TfrxDBDataset::Open() {
  if (opened_) return;
  if (TRxMemoryData* table = GetDataSet()) {
    if (OpenDataSource() && !table->Active()) table->Open();
    BuildFieldMap(*table);
    bookmark_.reset();
    if ((RangeBegin() == rbCurrent || RangeEnd() == reCurrent) && table->Active()) bookmark_ = table->GetBookmark();
  }
  opened_ = true;
  TfrxCustomDBDataSet::Open();
}

void TfrxDBDataset::Close() {
  TfrxCustomDBDataSet::Close();
  bookmark_.reset();
  if (TRxMemoryData* table = GetDataSet()) table->Close();
  opened_ = false;
  ForgetFieldMap();
}

void TfrxDBDataset::First() {
  EnsureOpen();
  TRxMemoryData* table = GetDataSet();
  if (table && table->Active()) {
    if (RangeBegin() == rbCurrent && bookmark_ && table->BookmarkValid(*bookmark_))
      table->GotoBookmark(*bookmark_);
    else
      table->First();
  }
  eof_ = false;
  TfrxCustomDBDataSet::First();
}

void TfrxDBDataset::Next() {
  EnsureOpen();
  eof_ = false;
  TRxMemoryData* table = GetDataSet();
  bool active = table && table->Active();
  if (RangeEnd() == reCurrent && bookmark_ && active && table->GetBookmark() == bookmark_) {
    eof_ = true;
    return;
  }
  if (active) table->Next();
  TfrxCustomDBDataSet::Next();
}

void TfrxDBDataset::Prior() {
  EnsureOpen();
  TRxMemoryData* table = GetDataSet();
  if (table && table->Active()) table->Prior();
  TfrxCustomDBDataSet::Prior();
}

bool TfrxDBDataset::Eof() {
  EnsureOpen();
  bool result = TfrxCustomDBDataSet::Eof();
  TRxMemoryData* table = GetDataSet();
  // Without an open table there is nothing to walk.
  bool tableAtEnd = !table || !table->Active() || table->Eof();
  return result || tableAtEnd || eof_;
}

int TfrxDBDataset::RecordCount() {
  TRxMemoryData* table = GetDataSet();
  return table ? table->RecordCount() : 0;
}

// ---------------------------------------------------------------------------------------
// TfrxDBDataset: values

Variant TfrxDBDataset::Value(const std::string& fieldName) {
  EnsureOpen();
  TRxMemoryData* table = GetDataSet();
  if (!table || !table->Active()) return Variant::Null();
  TField* field = FieldOrReport(fieldName);
  return field ? field->Value() : Variant::Null();
}

std::u16string TfrxDBDataset::DisplayText(const std::string& fieldName) {
  EnsureOpen();
  TRxMemoryData* table = GetDataSet();
  if (!table || !table->Active()) return Wide(Quoted(UserName(), fieldName));
  TField* field = fieldMap_.empty() ? table->FindField(fieldName) : FindMapped(fieldName);
  if (field) return Wide(field->DisplayText());
  std::string message = NotFoundMessage(fieldName);
  ReportError(message);
  return Wide(message);
}

int TfrxDBDataset::DisplayWidth(const std::string& fieldName) {
  EnsureOpen();
  if (TField* field = FindMapped(fieldName)) return field->DisplayWidth();
  const TFieldDef* def = FindFieldDef(fieldName);
  if (!def) return 10;
  switch (def->DataType) {
    case TFieldType::ftString: return def->Size;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime: return 20;
    default: return 10;
  }
}

TfrxFieldType TfrxDBDataset::FieldType(const std::string& fieldName) {
  EnsureOpen();
  TField* field = FindMapped(fieldName);
  const TFieldDef* def = field ? nullptr : FindFieldDef(fieldName);
  if (!field && !def) return fftNumeric;
  switch (field ? field->DataType() : def->DataType) {
    case TFieldType::ftString: return fftString;
    case TFieldType::ftBoolean: return fftBoolean;
    default: return fftNumeric;
  }
}

bool TfrxDBDataset::IsBlobField(const std::string& fieldName) {
  EnsureOpen();
  if (TField* field = FindMapped(fieldName)) return field->IsBlob();
  const TFieldDef* def = FindFieldDef(fieldName);
  return def && def->DataType == TFieldType::ftBlob;
}

void TfrxDBDataset::CopyBlobTo(const std::string& fieldName, TStream& stream) {
  EnsureOpen();
  TField* field = FindMapped(fieldName);
  if (!field || !field->IsBlob()) return;
  stream.WriteString(field->AsString());
  stream.Seek(0, TSeekOrigin::Beginning);
}
